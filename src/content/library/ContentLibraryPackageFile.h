#pragma once

#include "archive/ArchiveEngine.h"
#include "content/library/ContentLibraryPackage.h"

#include <memory>

// A package that is a package archive file: its directory is a path into the archive, so its
// folders and items are read out of the archive ("decode#" paths through the decrypting
// reader). Call Scan() to read it.
class ContentLibraryPackageFile : public ContentLibraryPackage {
    Q_OBJECT

public:
    // `path`: the archive file, optionally with "decode#" in front; named after its base name.
    ContentLibraryPackageFile(const QString& path, const PolicyBase* policy);
};

// A package archive being written (export): folders made in it and items added to it are
// collected, and the archive is written, complete, when this object goes (it holds a writer
// of the archive for its lifetime). Operations on it must run while an ArchiveWriterEnabler
// is held.
class ContentLibraryPackageDestinationFile : public ContentLibraryPackageFile {
    Q_OBJECT

public:
    ContentLibraryPackageDestinationFile(const QString& archiveFile, const PolicyBase* policy);
    ~ContentLibraryPackageDestinationFile() override;

protected:
    // Only the folders made in it: an archive file already there is replaced, not read.
    bool HasChildDirectory(const QString& name) const override;

private:
    std::unique_ptr<ArchiveEngine> m_writer;
};
