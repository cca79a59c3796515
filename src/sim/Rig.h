#pragma once

#include "sim/SimLumoFixture.h"
#include "sim/SimOrxFixture.h"
#include "sim/SimRdmResponder.h"
#include "sim/SimWidget.h"

#include <QList>
#include <QString>

#include <optional>

namespace Sim {

class SimulatedPortLayer;

// A fixture on one port of a rig's widget.
struct RigFixture {
    enum Type { Rdm, Orx, Led };
    int port = 0;
    Type type = Rdm;
    RdmResponderConfig rdm;  // for an RDM fixture and an LED fixture
    LumoFixtureConfig led;   // for an LED fixture
    OrxFixtureConfig orx;    // for a legacy talk-back fixture
};

struct RigWidget {
    WidgetConfig config;
    QList<RigFixture> fixtures;

    // Puts the fixtures on the widget's lines, or all of them on `line` when one is given.
    void AttachFixtures(SimWidget& widget, std::optional<int> line = std::nullopt) const;
    // The widget as a USB Pro interface: one port, whose line carries the fixtures of all the
    // widget's ports.
    std::shared_ptr<SimWidget> AsUsbProInterface() const;
};

// A virtual rig: the widgets and, on their ports, the fixtures that stand for hardware.
// Described in a JSON file (the format is documented in README.md):
//   { "widgets": [ { "name": "dmx-8", "productCode": 26, "firmware": "2.7",
//                    "fixtures": [ { "port": 0, "uid": "7a70:00000001" } ] } ] }
struct Rig {
    QList<RigWidget> widgets;

    // Reads a rig; on failure returns nothing and says why in *error.
    static std::optional<Rig> Load(const QString& path, QString* error);
    // Files the rig names (images) are found relative to `folder`.
    static std::optional<Rig> Parse(const QByteArray& json, QString* error,
                                    const QString& folder = QString());
    // The rig the program runs on when asked for a demonstration.
    static Rig Demo();

    // Plugs every widget into an in-process port layer.
    void PlugInto(SimulatedPortLayer& layer) const;
};

}  // namespace Sim
