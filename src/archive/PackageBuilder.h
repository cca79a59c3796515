#pragma once

#include <QString>

// Builds a package archive from a directory tree (a library package directory): every
// sub-directory becomes a directory entry and every file an entry, optionally enciphered
// (the form stock content ships in). Written through the archive writers, so the archive
// reaches the disk once, complete.
namespace PackageBuilder {

// False, with `error` set, when the directory cannot be read, the output is not a package path
// or the archive cannot be written. Returns the number of file entries in `fileCount`.
bool Pack(const QString& directory, const QString& archiveFile, bool encipher, QString* error,
          int* fileCount = nullptr);

}  // namespace PackageBuilder
