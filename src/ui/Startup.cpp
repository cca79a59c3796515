#include "ui/Startup.h"

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "content/library/ContentCache.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/devices/LumoFamily.h"
#include "sim/PortLayerSetup.h"
#include "ui/AurelMainWindow.h"
#include "ui/MessageBoxNotice.h"
#include "ui/SingleInstanceWrapper.h"
#include "ui/import/DialogImageImport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace Startup {

int Run(const SingleInstanceWrapper& instance, const QStringList& arguments) {
    if (instance.AlreadyExists()) {
        QMessageBox::warning(nullptr, "Aurel Application",
                             "Only one instance of Aurel can be run at one time. ");
        return 1;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription("Aurel: DMX512 and RDM fixtures and their content.");
    parser.addHelpOption();
    parser.addVersionOption();
    Sim::AddPortLayerOptions(parser);
    parser.process(Sim::SplitUsbProDevice(arguments));
    QString error;
    if (!Sim::InstallPortLayer(Sim::PortLayerChoice::FromParser(parser), &error)) {
        std::fprintf(stderr, "aurel: %s\n", qPrintable(error));
        return 2;
    }

    IFeedback::RegisterMetaTypes();
    // The cache of downloaded content keeps its most recent 10 MiB.
    ContentCache::Instance().Trim();
    // The command manager of this run: it owns the worker thread, which its destruction
    // stops after the main window has gone.
    auto comm = std::make_unique<CommManager>();
    CommManager* previous = CommManager::Install(comm.get());

    LumoFamily::RegisterAll();
    auto window = std::make_unique<AurelMainWindow>();
    MessageBoxNotice notice(window.get());
    UserNotice::Install(&notice, window.get());
    // Pictures and clips imported into LED images go through the import dialog.
    DialogImageImport import(window.get());
    IImageImport::Install(&import);
    window->show();
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, qApp, &QCoreApplication::quit);
    const int result = QApplication::exec();

    IImageImport::Install(nullptr);
    UserNotice::Install(nullptr, nullptr);
    window.reset();
    CommManager::Install(previous);
    comm.reset();
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
    return result;
}

}  // namespace Startup
