#include "os/NamedFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace Os::NamedFolders {

namespace {

QString OrHome(QString folder) {
    return folder.isEmpty() ? QDir::homePath() : folder;
}

}  // namespace

QString DocumentsFolder() {
    const QString folder = qEnvironmentVariable("AUREL_DOCUMENTS_DIR");
    return OrHome(folder.isEmpty()
                      ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                      : folder);
}

QString ApplicationBase() {
    QString folder = qEnvironmentVariable("AUREL_DATA_DIR");
    folder = OrHome(folder.isEmpty()
                        ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                        : folder);
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder + "Corvane/Aurel/";
}

void Register() {
    const QString documents = DocumentsFolder();
    const QString base = ApplicationBase();
    const QString library = documents + "/Aurel Content Library";
    const QString oldLibrary = documents + "/Marqa Content Library";
    if (QDir(oldLibrary).exists() && !QDir(library).exists()) {
        QDir().rename(oldLibrary, library);
    }
    const std::pair<const char*, QString> folders[] = {
        {"ContentLibraryRoot", library},
        {"QuorelContentLibraryRoot", documents + "/Aurel Quorel Content Library"},
        {"StockContent", base + "Content"},
        {"ContentCache", base + "Cache"},
        {"Firmware", base + "Firmware"},
    };
    for (const auto& [prefix, folder] : folders) {
        QDir().mkpath(folder);
        QDir::setSearchPaths(QString::fromLatin1(prefix), {QDir(folder).absolutePath()});
    }
}

QString Path(const QString& prefix) {
    if (QDir::searchPaths(prefix).isEmpty()) {
        Register();
    }
    const QStringList paths = QDir::searchPaths(prefix);
    return paths.isEmpty() ? QString() : paths.first();
}

}  // namespace Os::NamedFolders
