#include "DiscoverVerb.h"

#include "CommandLine.h"
#include "DeviceSession.h"
#include "InterruptCatcher.h"

#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace DiscoverVerb {

namespace {

constexpr int kInterruptPollMs = 50;
constexpr int kCancelledStatus = 130;

struct Row {
    QString uid;
    QString protocol;
    QString manufacturer;
    QString model;
    QString label;
    int address;
    int footprint;
    QString software;
    int port;
};

Row Describe(const Device& device) {
    Row row{device.UidText(),
            "RDM",
            device.GetManufacturer(),
            device.GetModelText(),
            {},
            device.GetDmxStartAddress(),
            0,
            device.GetSoftwareVersion(),
            device.GetPort()};
    if (const auto* rdm = qobject_cast<const RDMDevice*>(&device)) {
        row.label = rdm->GetDeviceLabel();
        row.footprint = rdm->GetDmxFootprint();
    } else if (const auto* orx = qobject_cast<const ORXDevice*>(&device)) {
        row.protocol = "ORX";
        row.footprint = orx->m_footprint;
    }
    return row;
}

QString Table(const QList<Row>& rows) {
    if (rows.isEmpty()) {
        return QStringLiteral("No devices found.\n");
    }
    QList<QStringList> cells;
    for (const Row& r : rows) {
        cells.append({r.uid, r.protocol, r.manufacturer, r.model, r.label,
                      QString::number(r.address), QString::number(r.footprint), r.software,
                      QString::number(r.port)});
    }
    return CommandLine::Table({"UID", "PROTOCOL", "MANUFACTURER", "MODEL", "LABEL", "ADDRESS",
                               "FOOTPRINT", "SOFTWARE", "PORT"},
                              cells);
}

QString Json(const QList<Row>& rows) {
    QJsonArray list;
    for (const Row& r : rows) {
        list.append(QJsonObject{{"uid", r.uid},
                                {"protocol", r.protocol},
                                {"manufacturer", r.manufacturer},
                                {"model", r.model},
                                {"label", r.label},
                                {"address", r.address},
                                {"footprint", r.footprint},
                                {"software", r.software},
                                {"port", r.port}});
    }
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{"devices", list}}).toJson(QJsonDocument::Indented));
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Find the fixtures on every port of the widget.");
    parser.addHelpOption();
    parser.addPositionalArgument("discover", "The command.");
    parser.addOptions({
        {"rdm", "Only RDM fixtures."},
        {"orx", "Only legacy talk-back fixtures."},
        {"all", "Both kinds (the default)."},
        {"thorough",
         "Search every range that answers down to single UIDs with the long reply window, "
         "as older fixtures may need."},
        {"json", "Print JSON instead of a table."},
        {"log", "Print the discovery's log lines as they come."},
    });
    DeviceSession::AddOptions(parser);
    CommandLine::Process(parser, arguments);
    if (parser.positionalArguments() != QStringList{"discover"}) {
        return CommandLine::Fail("unknown command: " + parser.positionalArguments().join(' '), 2);
    }
    if (int(parser.isSet("rdm")) + int(parser.isSet("orx")) + int(parser.isSet("all")) > 1) {
        return CommandLine::Fail("choose one of --rdm, --orx and --all", 2);
    }
    QList<IDiscoveryProtocol*> protocols;
    if (!parser.isSet("rdm")) {
        protocols.append(ORXProtocol::Instance());
    }
    if (!parser.isSet("orx")) {
        protocols.append(RDMProtocol::Instance());
    }

    DeviceSession session;
    QString error;
    if (!session.Open(parser, &error)) {
        return CommandLine::Fail(error, 2);
    }
    DiscoveryCommand command;
    command.SetLists(protocols, {});
    command.SetSearch(parser.isSet("thorough") ? DiscoverySearch::Thorough : DiscoverySearch::Fast);
    // Ctrl+C stops the search before its next request.
    const InterruptCatcher interrupts;
    QTimer watch;
    watch.callOnTimeout(&command, [&command] {
        if (InterruptCatcher::Interrupted()) {
            command.Cancel();
        }
    });
    watch.start(kInterruptPollMs);
    const QStringList errors = session.Run(&command, parser.isSet("log"));
    watch.stop();
    if (InterruptCatcher::Interrupted()) {
        return CommandLine::Fail("discovery cancelled", kCancelledStatus);
    }
    const QList<Device*> devices = command.GetDevices();
    QList<Row> rows;
    for (Device* device : devices) {
        rows.append(Describe(*device));
    }
    qDeleteAll(devices);
    if (!errors.isEmpty() && rows.isEmpty()) {
        return CommandLine::Fail(errors.join("\n"), 1);
    }
    CommandLine::Print(parser.isSet("json") ? Json(rows) : Table(rows));
    return 0;
}

}  // namespace DiscoverVerb
