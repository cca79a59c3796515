#pragma once

#include <QByteArray>
#include <QDir>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

// How the rest of the program opens files: a path that runs through a package archive is
// served by an archive engine, any other path by the file system. So a path into a package
// reads, lists and (in write mode) writes like a file.
namespace ArchivePathRouter {

// True when the path runs through a package archive.
bool IsArchivePath(const QString& path);
// The opened device for reading, or null.
std::unique_ptr<QIODevice> OpenRead(const QString& path);
// The largest file ReadAll takes unless told otherwise.
constexpr qint64 kDefaultReadLimit = qint64(256) * 1024 * 1024;
// All bytes of the file, read in pieces; false when it cannot be opened or read or holds more
// than `limit` bytes (then nothing is kept). `error`, when given, says why.
bool ReadAll(const QString& path, QByteArray* data, QString* error = nullptr,
             qint64 limit = kDefaultReadLimit);
// Writes the whole file: into the package being written for archive paths (write mode), else
// through a save file that replaces the old file only when complete.
bool WriteFile(const QString& path, const QByteArray& data);
// Makes a directory: a directory entry of the package being written, or one on disk.
bool MakeDirectory(const QString& path);
// Names one level below the directory, sorted by name (case-insensitively).
QStringList EntryList(const QString& directory, QDir::Filters filters,
                      const QStringList& nameFilters = {});
// True when the path is a directory: on disk, or the root or a directory entry of a readable
// package (folder names compared without regard to case, as in listings).
bool IsDirectory(const QString& path);
// True when the file or directory exists.
bool Exists(const QString& path);

}  // namespace ArchivePathRouter
