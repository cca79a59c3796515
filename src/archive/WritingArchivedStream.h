#pragma once

#include "archive/ArchivedStream.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

class QSaveFile;

namespace ArchiveLibInterface {

// The entries written into one archive file by all its writers. The archive reaches the disk
// once, complete, when the last writer releases the stream: ustar records compressed with
// gzip, entries in path order, through a save file that replaces the old archive only when the
// new one is whole.
class WritingArchivedStream : public ArchivedStream {
public:
    class FileSystemEntry {
    public:
        virtual ~FileSystemEntry() = default;
    };
    class FileEntry : public FileSystemEntry {
    public:
        QByteArray buffer;
    };
    class DirectoryEntry : public FileSystemEntry {};

    // The shared stream of the archive file, made when none exists ("Request Stream",
    // "New Stream Created"); each call raises its use count.
    static WritingArchivedStream* Request(const QString& archiveFile);
    // Lowers the use count ("Stream Released"); at zero the archive is written and the stream
    // deleted ("Stream Deleted").
    static void Release(WritingArchivedStream* stream);
    // Makes the archive's stream write nothing when its last writer goes (a failed build).
    static void Discard(const QString& archiveFile);
    // Empty when the archive file was last written successfully, else why it was not.
    static QString Failure(const QString& archiveFile);

    ~WritingArchivedStream() override;

    // The entry for the inner path, emptied; null when the archive file cannot be written.
    FileEntry* AddFile(const QString& innerPath);
    bool AddDirectory(const QString& innerPath);

protected:
    void FreeHandle() override;

private:
    explicit WritingArchivedStream(const QString& archiveFile);
    // Writes every entry; false (with the reason kept for Failure) when anything fails.
    bool WriteArchive();

    QString m_archiveFile;
    QString m_error;
    int m_useCount = 0;
    bool m_discarded = false;
    std::unique_ptr<QSaveFile> m_file;
    std::map<QString, std::unique_ptr<FileSystemEntry>> m_entries;
};

}  // namespace ArchiveLibInterface
