// aurel-rig: serves the widgets of a virtual rig as socket widgets until stopped, or its first
// widget as a USB Pro interface on a pseudo-terminal.
//   aurel-rig FILE [--widget-dir DIR | --usbpro-link PATH]
//   aurel-rig --demo [--widget-dir DIR | --usbpro-link PATH]
// with --firmware PACKAGE or --firmware FILE=VERSION for the versions new firmware stands for.

#include "hardware/SocketPortLayer.h"
#include "os/Thread.h"
#include "sim/FirmwareCatalogue.h"
#include "sim/Rig.h"
#include "sim/UsbProServer.h"
#include "sim/WidgetSocketServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void WaitForStop(const sigset_t& stopSignals) {
    int signal = 0;
    sigwait(&stopSignals, &signal);
}

int ServeUsbPro(const Sim::Rig& rig, const QString& link, const sigset_t& stopSignals) {
    if (rig.widgets.isEmpty()) {
        return Fail("the rig has no widget to serve");
    }
    const Sim::RigWidget& first = rig.widgets.first();
    Sim::UsbProServer server(first.AsUsbProInterface(), QFileInfo(link).absoluteFilePath());
    QString error;
    if (!server.Start(&error)) {
        return Fail(error);
    }
    std::printf("aurel-rig: serving %s as a USB Pro interface (serial %08x) at %s\n",
                qPrintable(first.config.name), Sim::UsbProServer::kDefaultSerialNumber,
                qPrintable(server.LinkPath()));
    std::fflush(stdout);
    WaitForStop(stopSignals);
    server.Stop();
    std::printf("aurel-rig: stopped\n");
    return 0;
}

// Tells the simulated fixtures which versions the images of a package or file stand for.
bool LearnFirmware(const QString& value, QString* error) {
    Sim::FirmwareCatalogue& catalogue = Sim::FirmwareCatalogue::Instance();
    if (!value.contains('=')) {
        return catalogue.LearnPackage(value, error);
    }
    const QString file = value.section('=', 0, 0);
    const QString version = value.section('=', 1);
    QFile image(file);
    if (!image.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + file + ": " + image.errorString();
        return false;
    }
    catalogue.Learn(image.readAll(), Sim::FirmwareRole::Talkback, version);
    return true;
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
    const QCommandLineOption usbProLink(
        "usbpro-link",
        "Serve the first widget, with the fixtures of all its ports on its one line, as a USB "
        "Pro interface on a pseudo-terminal named by a link at PATH.",
        "PATH");
    const QCommandLineOption firmware(
        "firmware",
        "Fixtures given an image of the LED fixture firmware package PACKAGE report its "
        "versions afterwards; FILE=MAJOR.MINOR does the same for a talk-back firmware file. May "
        "be given more than once.",
        "PACKAGE|FILE=VERSION");
    parser.addOptions({widgetDir, demo, usbProLink, firmware});
    parser.process(app);
    for (const QString& value : parser.values(firmware)) {
        QString error;
        if (!LearnFirmware(value, &error)) {
            return Fail(error);
        }
    }

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

    if (parser.isSet(widgetDir) && parser.isSet(usbProLink)) {
        return Fail("choose one of --widget-dir and --usbpro-link");
    }
    if (parser.isSet(usbProLink)) {
        return ServeUsbPro(*rig, parser.value(usbProLink), stopSignals);
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

    WaitForStop(stopSignals);
    servers.clear();
    std::printf("aurel-rig: stopped\n");
    return 0;
}
