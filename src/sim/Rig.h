#pragma once

#include "sim/SimWidget.h"

#include <QList>
#include <QString>

#include <optional>

namespace Sim {

class SimulatedPortLayer;

// A virtual rig: the widgets (and, on their ports, the fixtures) that stand for hardware.
// Described in a JSON file:
//   { "widgets": [ { "name": "dmx-8", "productCode": 26, "firmware": "2.7",
//                    "interfaceClass": "5621b03d-10b4-4624-9a0c-1d4a87217b1d" } ] }
struct Rig {
    QList<WidgetConfig> widgets;

    // Reads a rig; on failure returns nothing and says why in *error.
    static std::optional<Rig> Load(const QString& path, QString* error);
    static std::optional<Rig> Parse(const QByteArray& json, QString* error);
    // The rig the program runs on when asked for a demonstration.
    static Rig Demo();

    // Plugs every widget into an in-process port layer.
    void PlugInto(SimulatedPortLayer& layer) const;
};

}  // namespace Sim
