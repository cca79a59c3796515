// aurel-rig: serves the widgets of a virtual rig as socket widgets until stopped.
//   aurel-rig FILE [--widget-dir DIR]
//   aurel-rig --demo [--widget-dir DIR]

#include "hardware/SocketPortLayer.h"
#include "os/Thread.h"
#include "sim/Rig.h"
#include "sim/WidgetSocketServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "aurel-rig: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // The stop signals are taken by sigwait below; the serving threads inherit the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stopSignals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("aurel-rig");
    Os::Thread::SetCurrentName("main");

    QCommandLineParser parser;
    parser.setApplicationDescription("Serves the widgets of a virtual rig as socket widgets.");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "The rig file (JSON).", "FILE");
    const QCommandLineOption widgetDir("widget-dir", "Serve the widgets in DIR.", "DIR");
    const QCommandLineOption demo("demo", "Serve the built-in demonstration rig.");
    parser.addOptions({widgetDir, demo});
    parser.process(app);

    const QStringList files = parser.positionalArguments();
    if (files.size() != (parser.isSet(demo) ? 0 : 1)) {
        return Fail("give one rig file, or --demo (try --help)");
    }
    QString error;
    const std::optional<Sim::Rig> rig =
        parser.isSet(demo) ? Sim::Rig::Demo() : Sim::Rig::Load(files.first(), &error);
    if (!rig) {
        return Fail(error);
    }

    const QString dir = Hardware::SocketPortLayer::ResolveWidgetDir(parser.value(widgetDir));
    std::vector<std::unique_ptr<Sim::WidgetSocketServer>> servers;
    for (const Sim::RigWidget& widget : rig->widgets) {
        const Sim::WidgetConfig& config = widget.config;
        const QString classDir = Hardware::SocketPortLayer::ClassDir(dir, config.interfaceClass);
        if (!QDir().mkpath(classDir)) {
            return Fail("cannot create " + classDir);
        }
        auto simulated = std::make_shared<Sim::SimWidget>(config);
        widget.AttachFixtures(*simulated);
        auto server = std::make_unique<Sim::WidgetSocketServer>(
            simulated, classDir + "/" + config.name + ".sock");
        if (!server->Start(&error)) {
            return Fail(error);  // servers already started stop and remove their sockets
        }
        servers.push_back(std::move(server));
    }
    std::printf("aurel-rig: serving %d widget(s) in %s\n", int(servers.size()), qPrintable(dir));
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    servers.clear();
    std::printf("aurel-rig: stopped\n");
    return 0;
}
