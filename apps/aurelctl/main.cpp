// aurelctl: the command-line front end.
//   aurelctl widgets [--widget-dir DIR | --rig FILE | --demo] [--json]

#include "WidgetsCommand.h"

#include "hardware/HardwareLog.h"
#include "hardware/WidgetManager.h"
#include "os/Thread.h"
#include "sim/PortLayerSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

int Fail(const QString& message, int status) {
    std::fprintf(stderr, "aurelctl: %s\n", qPrintable(message));
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setApplicationName("aurelctl");
    Os::Thread::SetCurrentName("main");

    QCommandLineParser parser;
    parser.setApplicationDescription("Aurel command-line tool.\n\nCommands:\n"
                                     "  widgets   list the present DMX widgets");
    parser.addHelpOption();
    parser.addPositionalArgument("command", "The command to run.");
    const QCommandLineOption widgetDir("widget-dir", "Use the socket widgets served in DIR.",
                                       "DIR");
    const QCommandLineOption rig("rig", "Run the virtual rig described in FILE.", "FILE");
    const QCommandLineOption demo("demo", "Run the built-in demonstration rig.");
    const QCommandLineOption json("json", "Print JSON instead of a table.");
    const QCommandLineOption verbose({"v", "verbose"}, "Print the device link's log.");
    parser.addOptions({widgetDir, rig, demo, json, verbose});
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1 || arguments.first() != "widgets") {
        return Fail(arguments.isEmpty() ? "no command given (try --help)"
                                        : "unknown command: " + arguments.join(' '),
                    2);
    }
    if (!parser.isSet(verbose) && qEnvironmentVariableIsEmpty("AUREL_LOG")) {
        Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    }

    QString error;
    const Sim::PortLayerChoice choice{parser.value(widgetDir), parser.value(rig),
                                      parser.isSet(demo)};
    if (!Sim::InstallPortLayer(choice, &error)) {
        return Fail(error, 2);
    }

    const QList<Hardware::WidgetSummary> widgets = Hardware::WidgetSummary::ListPresent();
    const QByteArray text = parser.isSet(json) ? WidgetsCommand::FormatJson(widgets)
                                               : WidgetsCommand::FormatTable(widgets);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    Hardware::WidgetManager::Shutdown();
    return 0;
}
