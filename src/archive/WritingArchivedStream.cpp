#include "archive/WritingArchivedStream.h"

#include "archive/ArchiveIndex.h"
#include "archive/ArchiveLog.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <ctime>

namespace ArchiveLibInterface {

namespace {

// The streams of the archives being written and the outcome of the last write of each file.
QMutex g_mutex;
QHash<QString, WritingArchivedStream*> g_streams;
QHash<QString, QString> g_failures;

la_ssize_t WriteToFile(archive* /*handle*/, void* file, const void* data, size_t length) {
    const qint64 written =
        static_cast<QSaveFile*>(file)->write(static_cast<const char*>(data), qint64(length));
    return written == qint64(length) ? la_ssize_t(written) : -1;
}

}  // namespace

WritingArchivedStream* WritingArchivedStream::Request(const QString& archiveFile) {
    const QMutexLocker lock(&g_mutex);
    OS_LOG_DEBUG(Archive::Log::Archive(), "Request Stream");
    WritingArchivedStream*& stream = g_streams[archiveFile];
    if (!stream) {
        OS_LOG_DEBUG(Archive::Log::Archive(), "New Stream Created");
        stream = new WritingArchivedStream(archiveFile);
    }
    ++stream->m_useCount;
    return stream;
}

void WritingArchivedStream::Release(WritingArchivedStream* stream) {
    std::unique_ptr<WritingArchivedStream> last;
    {
        const QMutexLocker lock(&g_mutex);
        OS_LOG_DEBUG(Archive::Log::Archive(), "Stream Released");
        if (--stream->m_useCount > 0) {
            return;
        }
        g_streams.remove(stream->m_archiveFile);
        last.reset(stream);
    }
    const bool written = last->WriteArchive();
    {
        const QMutexLocker lock(&g_mutex);
        g_failures.remove(last->m_archiveFile);
        if (!written) {
            g_failures.insert(last->m_archiveFile, last->m_error);
        }
    }
    OS_LOG_DEBUG(Archive::Log::Archive(), "Stream Deleted");
}

void WritingArchivedStream::Discard(const QString& archiveFile) {
    const QMutexLocker lock(&g_mutex);
    if (WritingArchivedStream* stream = g_streams.value(archiveFile)) {
        stream->m_discarded = true;
    }
}

QString WritingArchivedStream::Failure(const QString& archiveFile) {
    const QMutexLocker lock(&g_mutex);
    return g_failures.value(archiveFile);
}

WritingArchivedStream::WritingArchivedStream(const QString& archiveFile)
    : m_archiveFile(archiveFile), m_file(std::make_unique<QSaveFile>(archiveFile)) {
    m_handle = archive_write_new();
    if (!m_file->open(QIODevice::WriteOnly) || !m_handle ||
        archive_write_add_filter_gzip(m_handle) != ARCHIVE_OK ||
        archive_write_set_format_ustar(m_handle) != ARCHIVE_OK ||
        archive_write_set_format_option(m_handle, "ustar", "hdrcharset", "UTF-8") < ARCHIVE_WARN ||
        archive_write_open2(m_handle, m_file.get(), nullptr, &WriteToFile, nullptr, nullptr) !=
            ARCHIVE_OK) {
        OS_LOG_ERROR(Archive::Log::Archive(),
                     "Can't write package archive " + archiveFile + ": " + m_file->errorString());
        FreeHandle();
        m_file->cancelWriting();
        return;
    }
    m_ready = true;
}

WritingArchivedStream::~WritingArchivedStream() {
    FreeHandle();
}

void WritingArchivedStream::FreeHandle() {
    if (m_handle) {
        archive_write_free(m_handle);
        m_handle = nullptr;
    }
}

WritingArchivedStream::FileEntry* WritingArchivedStream::AddFile(const QString& innerPath) {
    if (!m_ready || innerPath.isEmpty()) {
        return nullptr;
    }
    const QMutexLocker lock(&g_mutex);
    std::unique_ptr<FileSystemEntry>& held = m_entries[innerPath];
    auto* file = dynamic_cast<FileEntry*>(held.get());
    if (file) {
        file->buffer.clear();  // a second writer of the same path starts the entry afresh
        return file;
    }
    held = std::make_unique<FileEntry>();
    return static_cast<FileEntry*>(held.get());
}

bool WritingArchivedStream::AddDirectory(const QString& innerPath) {
    if (!m_ready || innerPath.isEmpty()) {
        return false;
    }
    const QMutexLocker lock(&g_mutex);
    m_entries[innerPath] = std::make_unique<DirectoryEntry>();
    return true;
}

bool WritingArchivedStream::WriteArchive() {
    if (m_discarded && m_file) {
        m_file->cancelWriting();
        m_error = "discarded";
        return false;
    }
    if (!m_ready) {
        m_error = "NULL != archiveFileHandle";
        OS_LOG_ERROR(Archive::Log::Archive(), m_error);
        return false;
    }
    bool ok = true;
    archive_entry* record = archive_entry_new();
    for (const auto& [path, entry] : m_entries) {
        archive_entry_clear(record);
        archive_entry_copy_pathname_w(record, path.toStdWString().c_str());
        archive_entry_set_mtime(record, time(nullptr), 0);
        archive_entry_set_perm(record, 0644);
        const auto* file = dynamic_cast<const FileEntry*>(entry.get());
        if (file) {
            archive_entry_set_size(record, file->buffer.size());
            archive_entry_set_filetype(record, AE_IFREG);
        } else {
            archive_entry_set_perm(record, 0755);
            archive_entry_set_filetype(record, AE_IFDIR);
        }
        ok = ok && archive_write_header(m_handle, record) == ARCHIVE_OK;
        if (ok && file && !file->buffer.isEmpty()) {
            ok = archive_write_data(m_handle, file->buffer.constData(),
                                    size_t(file->buffer.size())) == file->buffer.size();
        }
        if (!ok) {
            m_error = QString("Can't write entry %1: %2")
                          .arg(path, QString::fromUtf8(archive_error_string(m_handle)));
            OS_LOG_ERROR(Archive::Log::Archive(), m_error + " (" + m_archiveFile + ")");
            break;
        }
    }
    archive_entry_free(record);
    if (archive_write_close(m_handle) != ARCHIVE_OK && ok) {
        m_error = QString::fromUtf8(archive_error_string(m_handle));
        ok = false;
    }
    FreeHandle();
    if (ok && !m_file->commit()) {
        m_error = m_file->errorString();
        ok = false;
    }
    if (!ok) {
        m_file->cancelWriting();
    }
    ArchiveIndex::Invalidate(m_archiveFile);
    return ok;
}

}  // namespace ArchiveLibInterface
