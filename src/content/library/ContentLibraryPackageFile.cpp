#include "content/library/ContentLibraryPackageFile.h"

#include "archive/ArchivePath.h"

#include <QFileInfo>

ContentLibraryPackageFile::ContentLibraryPackageFile(const QString& path, const PolicyBase* policy)
    : ContentLibraryPackage(policy) {
    SetName(QFileInfo(ArchivePath::Split(path).ArchiveFile()).completeBaseName());
    SetDirPath(path);
}

ContentLibraryPackageDestinationFile::ContentLibraryPackageDestinationFile(
    const QString& archiveFile, const PolicyBase* policy)
    : ContentLibraryPackageFile(archiveFile, policy) {}
