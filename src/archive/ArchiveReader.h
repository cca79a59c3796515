#pragma once

#include "archive/ArchiveEngine.h"
#include "archive/ReadingArchivedStream.h"

#include <memory>

// Reads one entry of a package archive, found by its exact inner path.
class ArchiveReader : public ArchiveEngine {
    Q_OBJECT

public:
    ArchiveReader(const QString& suffix, const QString& fileName);
    ~ArchiveReader() override;

    // Opens the entry for reading; false when the archive or the entry cannot be found.
    bool open(OpenMode mode) override;
    void close() override;
    // The entry's stored size, 0 when it is not found.
    qint64 size() const override;
    qint64 bytesAvailable() const override;
    QStringList entryList(QDir::Filters filters, const QStringList& nameFilters) const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

    // The stream of the open entry; null when closed.
    std::unique_ptr<ArchiveLibInterface::ReadingArchivedStream> m_stream;
};
