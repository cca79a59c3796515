#include "archive/ArchiveWriter.h"

#include "archive/WritingArchivedStream.h"

using ArchiveLibInterface::WritingArchivedStream;

ArchiveWriter::ArchiveWriter(const QString& suffix, const QString& fileName)
    : ArchiveEngine(suffix, fileName),
      m_stream(WritingArchivedStream::Request(ArchivePath::Split(fileName).ArchiveFile())) {}

ArchiveWriter::~ArchiveWriter() {
    close();
    WritingArchivedStream::Release(m_stream);
}

bool ArchiveWriter::open(OpenMode mode) {
    if (!(mode & WriteOnly) || (mode & ReadOnly)) {
        return false;
    }
    WritingArchivedStream::FileEntry* entry = m_stream->AddFile(Path().InnerPath());
    if (!entry) {
        return false;
    }
    m_buffer = &entry->buffer;
    return QIODevice::open(WriteOnly | Unbuffered);
}

void ArchiveWriter::close() {
    if (isOpen()) {
        QIODevice::close();
    }
    m_buffer = nullptr;
}

bool ArchiveWriter::mkdir(const QString& path, bool /*recursive*/) const {
    const QString inner = ArchivePath::Split(path).InnerPath();
    return m_stream->AddDirectory(inner.endsWith('/') ? inner.chopped(1) : inner);
}

qint64 ArchiveWriter::readData(char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

qint64 ArchiveWriter::writeData(const char* data, qint64 maxSize) {
    if (!m_buffer) {
        return -1;
    }
    m_buffer->append(data, maxSize);
    return maxSize;
}
