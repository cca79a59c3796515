#include "ui/AurelApplication.h"

#include "ui/Resources.h"

#include <QClipboard>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>

AurelApplication::AurelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetIdentity();
    InitAurelResources();
    QIcon icon;
    icon.addFile(":/Resources/icon16.png");
    icon.addFile(":/Resources/icon32.png");
    setWindowIcon(icon);
    RegisterNamedFolders();
}

AurelApplication::~AurelApplication() {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard && clipboard->ownsClipboard()) {
        clipboard->clear();
    }
}

void AurelApplication::SetIdentity() {
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setOrganizationDomain("corvane.com");
    QCoreApplication::setApplicationName("Aurel");
    QCoreApplication::setApplicationVersion(QStringLiteral(AUREL_VERSION));
}

QString AurelApplication::DocumentsFolder() {
    QString folder = qEnvironmentVariable("AUREL_DOCUMENTS_DIR");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return folder;
}

QString AurelApplication::SharedDataFolder() {
    QString folder = qEnvironmentVariable("AUREL_DATA_DIR");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder + "Corvane/Aurel/";
}

void AurelApplication::RegisterNamedFolders() {
    const QString documents = DocumentsFolder();
    const QString shared = SharedDataFolder();
    const QString library = documents + "/Aurel Content Library";
    const QString oldLibrary = documents + "/Marqa Content Library";
    if (QDir(oldLibrary).exists() && !QDir(library).exists()) {
        QDir().rename(oldLibrary, library);
    }
    const std::pair<const char*, QString> folders[] = {
        {"ContentLibraryRoot", library},
        {"QuorelContentLibraryRoot", documents + "/Aurel Quorel Content Library"},
        {"Firmware", shared + "Firmware"},
        {"StockContent", shared + "Content"},
        {"ContentCache", shared + "Cache"},
    };
    for (const auto& [prefix, folder] : folders) {
        QDir().mkpath(folder);
        QDir::setSearchPaths(prefix, {QDir(folder).absolutePath()});
    }
}
