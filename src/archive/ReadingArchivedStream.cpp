#include "archive/ReadingArchivedStream.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstring>

namespace ArchiveLibInterface {

ReadingArchivedStream::ReadingArchivedStream(const QString& archiveFile, const QString& innerPath)
    : m_innerPath(innerPath), m_index(ArchiveIndex::Of(archiveFile)) {
    m_entry = m_index ? m_index->Find(innerPath) : nullptr;
    if (!m_entry || m_entry->directory) {
        m_entry = nullptr;
        return;
    }
    if (!m_entry->cached) {
        // The same walk as the index's: the first entry of that name, names made safe alike.
        m_handle = ArchiveIndex::OpenRead(archiveFile);
        archive_entry* header = nullptr;
        bool positioned = false;
        while (m_handle && archive_read_next_header(m_handle, &header) == ARCHIVE_OK) {
            const wchar_t* wide = archive_entry_pathname_w(header);
            const char* narrow = archive_entry_pathname(header);
            const QString name = ArchiveIndex::SafeName(
                wide ? QString::fromWCharArray(wide) : QString::fromUtf8(narrow ? narrow : ""));
            if (name == innerPath && archive_entry_filetype(header) == AE_IFREG) {
                positioned = true;
                break;
            }
        }
        if (!positioned) {
            FreeHandle();
            m_entry = nullptr;
            return;
        }
    }
    m_found = true;
    m_ready = true;
    m_size = m_entry->size;
    m_remaining = m_size;
}

ReadingArchivedStream::~ReadingArchivedStream() {
    FreeHandle();
}

void ReadingArchivedStream::FreeHandle() {
    if (m_handle) {
        archive_read_free(m_handle);
        m_handle = nullptr;
    }
}

qint64 ReadingArchivedStream::Read(char* buffer, qint64 max) {
    if (!m_found || max <= 0 || m_remaining <= 0) {
        return 0;
    }
    const qint64 wanted = qMin(max, m_remaining);
    if (m_entry->cached) {
        std::memcpy(buffer, m_entry->data.constData() + (m_size - m_remaining), size_t(wanted));
        m_remaining -= wanted;
        return wanted;
    }
    const la_ssize_t got = archive_read_data(m_handle, buffer, size_t(wanted));
    if (got <= 0) {
        m_remaining = 0;
        return got < 0 ? -1 : 0;
    }
    m_remaining -= got;
    return got;
}

}  // namespace ArchiveLibInterface
