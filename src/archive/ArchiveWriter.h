#pragma once

#include "archive/ArchiveEngine.h"

namespace ArchiveLibInterface {
class WritingArchivedStream;
}

// Writes one entry into the archive file's shared writing stream. The archive reaches the disk
// when the last writer of it is destroyed.
class ArchiveWriter : public ArchiveEngine {
    Q_OBJECT

public:
    ArchiveWriter(const QString& suffix, const QString& fileName);
    ~ArchiveWriter() override;

    // Starts the entry (empty); false when the archive file cannot be written.
    bool open(OpenMode mode) override;
    void close() override;
    // Adds a directory entry for the inner path of `path`; false for an empty inner path.
    bool mkdir(const QString& path, bool recursive) const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // Shared with the other writers of the archive; released when this writer goes.
    ArchiveLibInterface::WritingArchivedStream* m_stream;
    QByteArray* m_buffer = nullptr;
};
