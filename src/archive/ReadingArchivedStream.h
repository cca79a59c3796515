#pragma once

#include "archive/ArchiveIndex.h"
#include "archive/ArchivedStream.h"

#include <QString>

#include <memory>

namespace ArchiveLibInterface {

// One entry of a package archive, read from its start to its end. Entries that the archive's
// index keeps in memory are served from there; larger ones are found by a pass over the
// archive with a handle of the stream's own.
class ReadingArchivedStream : public ArchivedStream {
public:
    ReadingArchivedStream(const QString& archiveFile, const QString& innerPath);
    ~ReadingArchivedStream() override;

    bool Found() const { return m_found; }
    qint64 Size() const { return m_size; }
    qint64 Remaining() const { return m_remaining; }
    // Up to `max` bytes of the entry; 0 at its end, -1 when the archive's data are damaged.
    qint64 Read(char* buffer, qint64 max);

protected:
    void FreeHandle() override;

private:
    QString m_innerPath;
    bool m_found = false;
    qint64 m_size = 0;
    qint64 m_remaining = 0;
    std::shared_ptr<const ArchiveIndex> m_index;
    const ArchiveIndex::Entry* m_entry = nullptr;
};

}  // namespace ArchiveLibInterface
