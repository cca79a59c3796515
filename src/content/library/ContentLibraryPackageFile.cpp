#include "content/library/ContentLibraryPackageFile.h"

#include "archive/ArchivePath.h"
#include "archive/CustomFileSystemEngineHandler.h"

#include <QFileInfo>

ContentLibraryPackageFile::ContentLibraryPackageFile(const QString& path, const PolicyBase* policy)
    : ContentLibraryPackage(policy) {
    SetName(QFileInfo(ArchivePath::Split(path).ArchiveFile()).completeBaseName());
    SetDirPath(path);
}

ContentLibraryPackageDestinationFile::ContentLibraryPackageDestinationFile(
    const QString& archiveFile, const PolicyBase* policy)
    : ContentLibraryPackageFile(archiveFile, policy) {
    const ArchiveWriterEnabler writing;
    m_writer = CustomFileSystemEngineHandler::create(archiveFile + '/');
}

ContentLibraryPackageDestinationFile::~ContentLibraryPackageDestinationFile() = default;

bool ContentLibraryPackageDestinationFile::HasChildDirectory(const QString& name) const {
    return FindChild(name) != nullptr;
}
