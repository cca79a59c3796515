#include "DeviceVerbs.h"

#include "CommandLine.h"
#include "DeviceSession.h"

#include "rdm/LocateDeviceCommand.h"
#include "rdm/RDMChangeAddressCommand.h"
#include "rdm/RDMIdentifyCommand.h"
#include "rdm/devices/RDMDevice.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <functional>
#include <memory>

namespace DeviceVerbs {

namespace {

QString OnOffCheck(const QStringList& words) {
    return words.isEmpty() || words[0] == "on" || words[0] == "off"
               ? QString()
               : "expected on or off, not " + words[0];
}

int IdentifyAct(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    if (!words.isEmpty()) {
        // The command turns the state over, so it starts from the opposite of the wish.
        device.SetIdentify(words[0] == "on" ? 0 : 1);
    }
    RDMIdentifyCommand command;
    command.SetDevice(&device);
    bool ok = false;
    QObject::connect(
        &command, &RDMIdentifyCommand::FinishedIdentify, &command,
        [&ok](QUuid, bool result) { ok = result; }, Qt::DirectConnection);
    const QStringList errors = session.Run(&command, log);
    if (!ok) {
        return CommandLine::Fail(errors.isEmpty() ? "identify failed" : errors.join("\n"), 1);
    }
    CommandLine::Print(QStringLiteral("%1 identify %2\n")
                           .arg(device.UidText(), device.GetIdentify() ? "on" : "off"));
    return 0;
}

QString AddressCheck(const QStringList& words) {
    bool ok = false;
    const int address = words.value(0).toInt(&ok);
    return ok && address >= 1 && address <= 512
               ? QString()
               : "the address must be from 1 to 512, not " + words.value(0);
}

int AddressAct(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    RDMChangeAddressCommand command;
    command.SetDevice(&device, quint16(words[0].toInt()));
    bool ok = false;
    QObject::connect(
        &command, &RDMChangeAddressCommand::FinishedChangeAddress, &command,
        [&ok](QUuid, bool result) { ok = result; }, Qt::DirectConnection);
    const QStringList errors = session.Run(&command, log);
    if (!ok) {
        return CommandLine::Fail(errors.isEmpty() ? "address change failed" : errors.join("\n"), 1);
    }
    CommandLine::Print(
        QStringLiteral("%1 address %2\n").arg(device.UidText()).arg(device.GetDmxStartAddress()));
    return 0;
}

}  // namespace

const QCommandLineParser*& CurrentParser() {
    static const QCommandLineParser* parser = nullptr;
    return parser;
}

const QCommandLineParser& Options() {
    return *CurrentParser();
}

int RunVerb(const DeviceVerb& verb, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(verb.description);
    parser.addHelpOption();
    parser.addPositionalArgument(verb.name, "The command.");
    parser.addPositionalArgument("UID", "The fixture, as 0x4a4100000101 or 4a41:00000101.");
    parser.addPositionalArgument(verb.arguments, "");
    parser.addOption({"log", "Print the commands' log lines as they come."});
    parser.addOptions(verb.options);
    DeviceSession::AddOptions(parser);
    CommandLine::Process(parser, arguments);
    const QStringList words = parser.positionalArguments().mid(1);
    if (words.size() < 1 + verb.minArguments || words.size() > 1 + verb.maxArguments) {
        return CommandLine::Fail(QStringLiteral("usage: aurelctl %1 UID %2")
                                     .arg(QLatin1String(verb.name), QLatin1String(verb.arguments)),
                                 2);
    }
    quint64 uid = 0;
    if (!ParseUid(words[0], &uid)) {
        return CommandLine::Fail("not a UID: " + words[0], 2);
    }
    const QString problem = verb.check(words.mid(1));
    if (!problem.isEmpty()) {
        return CommandLine::Fail(problem, 2);
    }

    DeviceSession session;
    QString error;
    if (!session.Open(parser, &error)) {
        return CommandLine::Fail(error, 2);
    }
    const bool log = parser.isSet("log");
    LocateDeviceCommand locate(uid);
    const QStringList errors = session.Run(&locate, log);
    std::unique_ptr<RDMDevice> device = locate.TakeDevice();
    if (!device) {
        return CommandLine::Fail(errors.join("\n"), 1);
    }
    CurrentParser() = &parser;
    const int status = verb.act(session, *device, words.mid(1), log);
    CurrentParser() = nullptr;
    return status;
}

bool ParseUid(const QString& text, quint64* uid) {
    static const QRegularExpression pattern(
        "^(?:0x)?(?:([0-9A-Fa-f]{1,12})|([0-9A-Fa-f]{4}):([0-9A-Fa-f]{8}))$");
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    *uid = match.captured(1).isEmpty() ? match.captured(2).toULongLong(nullptr, 16) << 32 |
                                             match.captured(3).toULongLong(nullptr, 16)
                                       : match.captured(1).toULongLong(nullptr, 16);
    return true;
}

int Identify(const QStringList& arguments) {
    static const DeviceVerb verb{"identify",  "Turn a fixture's identify on or off (or over).",
                                 "[on|off]",  0,
                                 1,           &OnOffCheck,
                                 &IdentifyAct};
    return RunVerb(verb, arguments);
}

int Address(const QStringList& arguments) {
    static const DeviceVerb verb{
        "address", "Set a fixture's DMX start address.", "N", 1, 1, &AddressCheck, &AddressAct};
    return RunVerb(verb, arguments);
}

}  // namespace DeviceVerbs
