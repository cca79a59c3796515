#include "WidgetsCommand.h"

#include "CommandLine.h"

#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/WidgetManager.h"
#include "sim/PortLayerSetup.h"

#include <QCommandLineParser>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace WidgetsCommand {

namespace {

QString Firmware(const Hardware::WidgetSummary& widget) {
    return QStringLiteral("%1.%2").arg(widget.firmwareMajor).arg(widget.firmwareMinor);
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("List the present DMX widgets.");
    parser.addHelpOption();
    parser.addPositionalArgument("widgets", "The command.");
    const QCommandLineOption json("json", "Print JSON instead of a table.");
    Sim::AddPortLayerOptions(parser);
    const QCommandLineOption verbose({"v", "verbose"}, "Print the device link's log.");
    parser.addOptions({json, verbose});
    CommandLine::Process(parser, arguments);

    if (parser.positionalArguments() != QStringList{"widgets"}) {
        return CommandLine::Fail("unknown command: " + parser.positionalArguments().join(' '), 2);
    }
    if (!parser.isSet(verbose) && qEnvironmentVariableIsEmpty("AUREL_LOG")) {
        Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    }

    QString error;
    const Sim::PortLayerChoice choice = Sim::PortLayerChoice::FromParser(parser);
    if (!Sim::InstallPortLayer(choice, &error)) {
        return CommandLine::Fail(error, 2);
    }

    const QList<Hardware::WidgetSummary> widgets = Hardware::WidgetSummary::ListPresent();
    const QByteArray text =
        parser.isSet(json) ? FormatJson(widgets) : FormatTable(widgets, choice.Searched());
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    Hardware::WidgetManager::Shutdown();
    return 0;
}

QByteArray FormatTable(const QList<Hardware::WidgetSummary>& widgets, const QString& searched) {
    if (widgets.isEmpty()) {
        return QStringLiteral("No widgets found; searched %1.\n").arg(searched).toUtf8();
    }
    QList<QStringList> rows;
    for (const Hardware::WidgetSummary& widget : widgets) {
        const QString serial = widget.SerialText();
        rows.append({widget.path, Hardware::InterfaceClasses::Text(widget.interfaceClass),
                     QString::number(widget.productCode), QString::number(widget.portCount),
                     Firmware(widget), serial.isEmpty() ? "-" : serial});
    }
    return CommandLine::Table({"PATH", "INTERFACE CLASS", "PRODUCT", "PORTS", "FIRMWARE", "SERIAL"},
                              rows)
        .toUtf8();
}

QByteArray FormatJson(const QList<Hardware::WidgetSummary>& widgets) {
    QJsonArray list;
    for (const Hardware::WidgetSummary& widget : widgets) {
        list.append(QJsonObject{
            {"path", widget.path},
            {"interfaceClass", Hardware::InterfaceClasses::Text(widget.interfaceClass)},
            {"productCode", widget.productCode},
            {"ports", widget.portCount},
            {"firmware", Firmware(widget)},
            {"serial", widget.SerialText()},
        });
    }
    return QJsonDocument(QJsonObject{{"widgets", list}}).toJson(QJsonDocument::Indented);
}

}  // namespace WidgetsCommand
