#include "ParameterVerbs.h"

#include "CommandLine.h"
#include "DeviceSession.h"
#include "DeviceVerbs.h"

#include "rdm/RDMProtocol.h"
#include "rdm/RDMRequestCommand.h"
#include "rdm/RDMSetParameterCommand.h"
#include "rdm/RdmDefs.h"
#include "rdm/SettableParameter.h"
#include "rdm/devices/PropertyTable.h"
#include "rdm/devices/RDMDevice.h"

#include <QRegularExpression>
#include <QStandardItemModel>

namespace ParameterVerbs {

namespace {

using DeviceVerbs::DeviceVerb;

// A property row's label as the command line names it: "Lamp On Mode" is "lamp-on-mode".
QString NameOf(const QString& label) {
    return label.toLower().replace(' ', '-');
}

// The property rows of a device, as "name" and "value".
QList<QStringList> Rows(const RDMDevice& device) {
    QStandardItemModel model;
    device.FillProperties(&model);
    QList<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows.append({NameOf(model.item(row, 0)->text()), model.item(row, 1)->text()});
    }
    return rows;
}

// Every name `get` takes: the property rows a fixture may have and the settable parameters.
QStringList ReadableNames() {
    RDMDevice every(0);
    for (quint16 pid : RDMDevice::ParametersWithRows()) {
        every.AddSupportedParameter(pid);
    }
    QStringList names;
    for (const QStringList& row : Rows(every)) {
        names.append(row[0]);
    }
    for (const SettableParameter& parameter : SettableParameter::All()) {
        if (parameter.KeepsValue()) {
            names.append(QLatin1String(parameter.name));
        }
    }
    names.removeDuplicates();
    return names;
}

QString SettableNames() {
    QStringList names;
    for (const SettableParameter& parameter : SettableParameter::All()) {
        names.append(QLatin1String(parameter.name));
    }
    return names.join(", ");
}

// Runs a command on the device; the exit status, with its error lines on failure.
int RunCommand(DeviceSession& session, Command& command, bool log, const QString& what) {
    bool ok = false;
    QObject::connect(
        &command, &Command::IFeedback_Finished, &command,
        [&ok](FeedbackResult result) { ok = result == FeedbackResultSuccess; },
        Qt::DirectConnection);
    const QStringList errors = session.Run(&command, log);
    if (!ok) {
        return CommandLine::Fail(errors.isEmpty() ? what + " failed" : errors.join("\n"), 1);
    }
    return 0;
}

// Reads every standard parameter the fixture lists into the device.
int ReadAll(DeviceSession& session, RDMDevice& device, bool log) {
    RDMRequestCommand read;
    read.SetReadAll(&device);
    return RunCommand(session, read, log, "reading the parameters");
}

QString GetCheck(const QStringList& words) {
    if (words.isEmpty() || ReadableNames().contains(words[0].toLower())) {
        return {};
    }
    if (SettableParameter::Find(words[0])) {
        return QStringLiteral("%1 can be set, not read").arg(words[0]);
    }
    return QStringLiteral("unknown parameter: %1 (one of %2)")
        .arg(words[0], ReadableNames().join(", "));
}

int GetAct(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    if (const int status = ReadAll(session, device, log)) {
        return status;
    }
    const QList<QStringList> rows = Rows(device);
    if (words.isEmpty()) {
        QList<QStringList> table;
        for (const QStringList& row : rows) {
            table.append(row);
        }
        CommandLine::Print(CommandLine::Table({"PARAMETER", "VALUE"}, table));
        return 0;
    }
    const SettableParameter* settable = SettableParameter::Find(words[0]);
    if (settable && device.GetSupportedParameters().contains(settable->pid) && settable->value) {
        CommandLine::Print(settable->Current(device) + "\n");
        return 0;
    }
    for (const QStringList& row : rows) {
        if (row[0] == words[0].toLower()) {
            CommandLine::Print(row[1] + "\n");
            return 0;
        }
    }
    return CommandLine::Fail(
        QStringLiteral("%1 does not list the parameter %2").arg(device.UidText(), words[0]), 1);
}

QString SetCheck(const QStringList& words) {
    const SettableParameter* parameter = SettableParameter::Find(words[0]);
    if (!parameter) {
        return QStringLiteral("not a parameter that can be set: %1 (one of %2)")
            .arg(words[0], SettableNames());
    }
    QByteArray data;
    return parameter->Encode(words[1], RDMDevice(0), &data);
}

int SetAct(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    if (const int status = ReadAll(session, device, log)) {
        return status;
    }
    const SettableParameter& parameter = *SettableParameter::Find(words[0]);
    if (!device.GetSupportedParameters().contains(parameter.pid)) {
        return CommandLine::Fail(QStringLiteral("%1 does not list the parameter %2")
                                     .arg(device.UidText(), QLatin1String(parameter.name)),
                                 1);
    }
    QByteArray data;
    // Now that the fixture's personalities are known, the number is checked against them.
    const QString problem = parameter.Encode(words[1], device, &data);
    if (!problem.isEmpty()) {
        return CommandLine::Fail(problem, CommandLine::kUsageStatus);
    }
    RDMSetParameterCommand command;
    command.SetDevice(&device, parameter, data);
    if (const int status = RunCommand(session, command, log, "setting the parameter")) {
        return status;
    }
    const QString shown = parameter.KeepsValue() ? parameter.Current(device) : words[1];
    CommandLine::Print(
        QStringLiteral("%1 %2 %3\n").arg(device.UidText(), QLatin1String(parameter.name), shown));
    return 0;
}

bool ParsePid(const QString& text, quint16* pid) {
    bool ok = false;
    const uint value = text.startsWith("0x", Qt::CaseInsensitive) ? text.mid(2).toUInt(&ok, 16)
                                                                  : text.toUInt(&ok, 10);
    *pid = quint16(value);
    return ok && value <= 0xFFFF;
}

bool ParseHex(const QString& text, QByteArray* data) {
    static const QRegularExpression pattern("^(?:0x)?((?:[0-9A-Fa-f]{2})*)$");
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    *data = QByteArray::fromHex(match.captured(1).toLatin1());
    return data->size() <= Rdm::kMaxParameterData;
}

QString RdmCheck(const QStringList& words) {
    quint16 pid = 0;
    QByteArray data;
    if (!ParsePid(words[0], &pid)) {
        return "not a parameter id (0 to 65535, or 0x0000 to 0xFFFF): " + words[0];
    }
    if (words.size() > 1 && !ParseHex(words[1], &data)) {
        return QStringLiteral(
                   "not parameter data (pairs of hexadecimal digits, at most %1 "
                   "bytes): %2")
            .arg(Rdm::kMaxParameterData)
            .arg(words[1]);
    }
    return {};
}

// The reply of a known parameter as the program reads it, one "name  value" line each.
QStringList Decoded(quint16 pid, const QByteArray& reply) {
    RDMDevice decoded(0);
    if (!RDMProtocol::Instance()->DecodeReply(&decoded, pid, reply)) {
        return {};
    }
    if (pid == Rdm::DeviceInfo) {
        const std::array<quint32, 4> version = decoded.GetSoftwareVersionId();
        return {
            QStringLiteral("protocol-version  %1.%2").arg(quint8(reply[0])).arg(quint8(reply[1])),
            QStringLiteral("model-id  0x%1").arg(decoded.GetModelNumber(), 4, 16, QLatin1Char('0')),
            QStringLiteral("product-category  0x%1")
                .arg(decoded.GetProductCategory(), 4, 16, QLatin1Char('0')),
            QStringLiteral("software-version-id  %1.%2.%3.%4")
                .arg(version[0])
                .arg(version[1])
                .arg(version[2])
                .arg(version[3]),
            QStringLiteral("footprint  %1").arg(decoded.GetDmxFootprint()),
            QStringLiteral("personality  %1 of %2")
                .arg(decoded.GetPersonality())
                .arg(decoded.GetPersonalityCount()),
            QStringLiteral("dmx-start-address  %1").arg(decoded.GetDmxStartAddress()),
            QStringLiteral("sub-devices  %1").arg(decoded.GetSubDeviceCount()),
            QStringLiteral("sensors  %1").arg(decoded.GetSensorCount()),
        };
    }
    decoded.AddSupportedParameter(pid);
    QStandardItemModel model;
    decoded.FillProperties(&model);
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.item(row, 1)->data(PropertyTable::kPidRole).toInt() == pid) {
            return {NameOf(model.item(row, 0)->text()) + "  " + model.item(row, 1)->text()};
        }
    }
    return {};
}

int RdmAct(quint8 commandClass, DeviceSession& session, RDMDevice& device, const QStringList& words,
           bool log) {
    quint16 pid = 0;
    QByteArray data;
    ParsePid(words[0], &pid);
    if (words.size() > 1) {
        ParseHex(words[1], &data);
    }
    RDMRequestCommand request;
    request.SetRequest(&device, commandClass, pid, data);
    if (const int status = RunCommand(session, request, log, "the request")) {
        return status;
    }
    const QByteArray reply = request.GetReply();
    QString text = QStringLiteral("%1 %2 0x%3 ACK %4\n")
                       .arg(device.UidText(), commandClass == Rdm::kSet ? "SET" : "GET")
                       .arg(pid, 4, 16, QLatin1Char('0'))
                       .arg(reply.isEmpty() ? QStringLiteral("(no data)")
                                            : QString::fromLatin1(reply.toHex(' ')));
    if (commandClass == Rdm::kGet) {
        for (const QString& line : Decoded(pid, reply)) {
            text += "  " + line + "\n";
        }
    }
    CommandLine::Print(text);
    return 0;
}

}  // namespace

int Get(const QStringList& arguments) {
    static const DeviceVerb verb{
        "get", "Read a fixture's standard parameters.", "[PARAM]", 0, 1, &GetCheck, &GetAct};
    return DeviceVerbs::RunVerb(verb, arguments);
}

int Set(const QStringList& arguments) {
    static const DeviceVerb verb{
        "set",  "Set one of a fixture's standard parameters.", "PARAM VALUE", 2, 2, &SetCheck,
        &SetAct};
    return DeviceVerbs::RunVerb(verb, arguments);
}

int Rdm(const QStringList& arguments) {
    // The word after "rdm" says which request; the rest reads as any device verb's.
    const qsizetype at = arguments.indexOf("rdm");
    const QString kind = arguments.value(at + 1);
    if (kind != "get" && kind != "set") {
        return CommandLine::Fail("usage: aurelctl rdm get|set UID PID [HEXDATA]",
                                 CommandLine::kUsageStatus);
    }
    QStringList rest = arguments;
    rest.removeAt(at + 1);
    const quint8 commandClass = kind == "set" ? Rdm::kSet : Rdm::kGet;
    const DeviceVerb verb{
        kind == "set" ? "rdm set" : "rdm get",
        "Send one RDM GET or SET of any parameter and print the reply.",
        "PID [HEXDATA]",
        1,
        2,
        &RdmCheck,
        [commandClass](DeviceSession& session, RDMDevice& device, const QStringList& words,
                       bool log) { return RdmAct(commandClass, session, device, words, log); }};
    return DeviceVerbs::RunVerb(verb, rest);
}

}  // namespace ParameterVerbs
