#include "UpgradeVerb.h"

#include "CommandLine.h"
#include "DeviceSession.h"
#include "DeviceVerbs.h"

#include "firmware/FirmwarePackage.h"
#include "firmware/FirmwareUpgradeCommand.h"
#include "firmware/LumoUpgradeCommand.h"
#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMProtocol.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <map>
#include <memory>

namespace UpgradeVerb {

namespace {

using CommandLine::Fail;

// The fixtures on the line, found afresh.
QList<Device*> Discover(DeviceSession& session) {
    DiscoveryCommand discovery;
    discovery.SetLists({ORXProtocol::Instance(), RDMProtocol::Instance()}, {});
    session.Run(&discovery, false);
    return discovery.GetDevices();
}

QString Versions(const QList<Device*>& devices, const QSet<quint64>& uids) {
    QList<QStringList> rows;
    for (const Device* device : devices) {
        if (uids.contains(device->GetUid())) {
            rows.append({device->UidText(), device->GetModelText(),
                         QString::number(device->GetPort()), device->GetSoftwareVersion()});
        }
    }
    return CommandLine::Table({"UID", "MODEL", "PORT", "SOFTWARE"}, rows);
}

// One upgrade: the command and the devices it takes.
struct Upgrade {
    std::unique_ptr<Command> command;
    QList<Device*> devices;
};

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Upgrade the firmware of fixtures: LED fixtures from the package of their family, legacy "
        "talk-back fixtures from a firmware file.");
    parser.addHelpOption();
    parser.addPositionalArgument("upgrade", "The command.");
    parser.addPositionalArgument("uid", "The fixtures to upgrade.", "[UID...]");
    parser.addOptions({
        {"all", "Every fixture found that one of the files given is for."},
        {"package", "An LED fixture firmware package (.crvpkg); may be given once per family.",
         "PACKAGE"},
        {"file", "The firmware file for legacy talk-back fixtures.", "FIRMWARE"},
    });
    DeviceSession::AddOptions(parser);
    CommandLine::Process(parser, arguments);
    QStringList uidTexts = parser.positionalArguments();
    uidTexts.removeFirst();  // "upgrade"
    if (uidTexts.isEmpty() == !parser.isSet("all")) {
        return Fail("upgrade: name the fixtures by UID or give --all", 2);
    }
    const QStringList packages = parser.values("package");
    if (packages.isEmpty() && !parser.isSet("file")) {
        return Fail("upgrade: give --package PACKAGE or --file FIRMWARE", 2);
    }
    QHash<const FirmwarePackage::Family*, QString> byFamily;
    for (const QString& package : packages) {
        const FirmwarePackage::Family* family = FirmwarePackage::Detect(package);
        if (!QFileInfo(package).isFile() || !family) {
            return Fail("upgrade: not a firmware package of a known family: " + package, 1);
        }
        byFamily.insert(family, package);
    }
    if (parser.isSet("file") && !QFileInfo(parser.value("file")).isFile()) {
        return Fail("upgrade: no such firmware file: " + parser.value("file"), 1);
    }
    QSet<quint64> wanted;
    for (const QString& text : uidTexts) {
        quint64 uid = 0;
        if (!DeviceVerbs::ParseUid(text, &uid)) {
            return Fail("upgrade: not a UID: " + text, 2);
        }
        wanted.insert(uid);
    }

    DeviceSession session;
    QString error;
    if (!session.Open(parser, &error)) {
        return Fail(error, 2);
    }
    const QList<Device*> found = Discover(session);
    Upgrade legacy{std::make_unique<FirmwareUpgradeCommand>(), {}};
    std::map<const FirmwarePackage::Family*, Upgrade> led;
    QSet<quint64> chosen;
    for (Device* device : found) {
        if (!wanted.isEmpty() && !wanted.contains(device->GetUid())) {
            continue;
        }
        const FirmwarePackage::Family* family = FirmwarePackage::ForModel(device->GetModelText());
        if (family && byFamily.contains(family)) {
            Upgrade& upgrade = led[family];
            if (!upgrade.command) {
                upgrade.command = family == &FirmwarePackage::kMarqa
                                      ? std::unique_ptr<Command>(new MarqaUpgradeCommand)
                                      : std::unique_ptr<Command>(new SolviUpgradeCommand);
            }
            upgrade.devices.append(device);
        } else if (!family && qobject_cast<ORXDevice*>(device) && parser.isSet("file")) {
            legacy.devices.append(device);
        } else {
            continue;
        }
        chosen.insert(device->GetUid());
    }
    if (!wanted.isEmpty() && chosen != wanted) {
        qDeleteAll(found);
        return Fail(
            "upgrade: not found, or no file given for it: " + QStringList(uidTexts).join(' '), 1);
    }
    if (chosen.isEmpty()) {
        qDeleteAll(found);
        return Fail("upgrade: no fixture found that the files are for", 1);
    }
    CommandLine::Print("Before:\n" + Versions(found, chosen));

    bool ok = true;
    // Legacy fixtures first: the boot loader reset of their upload reaches every fixture, and
    // the LED fixtures it held back are running again by the end of their own upgrade.
    if (!legacy.devices.isEmpty()) {
        auto* command = static_cast<FirmwareUpgradeCommand*>(legacy.command.get());
        command->Setup(legacy.devices, ORXProtocol::Instance(), parser.value("file"));
        ok = session.Run(command, true).isEmpty() && ok;
    }
    for (auto& [family, upgrade] : led) {
        auto* command = static_cast<LumoUpgradeCommand*>(upgrade.command.get());
        command->Setup(upgrade.devices, byFamily.value(family));
        ok = session.Run(command, true).isEmpty() && ok;
    }
    // The commands hold uses of the devices: they go first.
    led.clear();
    legacy.command.reset();
    qDeleteAll(found);
    const QList<Device*> after = Discover(session);
    CommandLine::Print("After:\n" + Versions(after, chosen));
    qDeleteAll(after);
    return ok ? 0 : 1;
}

}  // namespace UpgradeVerb
