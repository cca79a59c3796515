#include "archive/ArchiveIndex.h"

#include "archive/ArchiveLog.h"
#include "archive/ArchivePath.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <atomic>
#include <map>

namespace {

// What identifies one version of a file on disk.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

bool StampOf(const QString& file, FileStamp* stamp) {
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    stamp->device = info.st_dev;
    stamp->inode = info.st_ino;
    stamp->size = info.st_size;
    stamp->modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp->changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return true;
}

struct CachedIndex {
    FileStamp stamp;
    std::shared_ptr<const ArchiveIndex> index;
    quint64 lastUse = 0;
};

// A few archives are kept; the one used least recently goes first.
constexpr size_t kMaxCachedArchives = 8;

QMutex g_mutex;
std::map<QString, CachedIndex> g_indexes;
quint64 g_useCounter = 0;
std::atomic<qint64> g_cacheBudget{ArchiveIndex::kDefaultCacheBudget};

}  // namespace

archive* ArchiveIndex::OpenRead(const QString& archiveFile) {
    archive* handle = archive_read_new();
    if (!handle) {
        return nullptr;
    }
    if (archive_read_support_filter_gzip(handle) != ARCHIVE_OK ||
        archive_read_support_format_tar(handle) != ARCHIVE_OK ||
        archive_read_open_filename(handle, QFile::encodeName(archiveFile).constData(), 16384) !=
            ARCHIVE_OK) {
        archive_read_free(handle);
        return nullptr;
    }
    return handle;
}

QString ArchiveIndex::SafeName(QString name) {
    while (name.startsWith(QLatin1String("./"))) {
        name = name.mid(2);
    }
    while (name.endsWith('/')) {
        name.chop(1);
    }
    if (name.isEmpty() || name.startsWith('/') || name.startsWith('\\') ||
        (name.size() > 1 && name[1] == ':')) {
        return QString();
    }
    for (const QString& part : ArchivePath::Components(name)) {
        if (part == QLatin1String("..")) {
            return QString();
        }
    }
    return name;
}

qint64 ArchiveIndex::Capacity(qint64 fileBytes) {
    constexpr qint64 kDeflateRatio = 1032;
    constexpr qint64 kSlack = 64 * 1024;
    return qMax<qint64>(0, fileBytes) * kDeflateRatio + kSlack;
}

std::shared_ptr<const ArchiveIndex> ArchiveIndex::Of(const QString& archiveFile, QString* error) {
    const auto usable = [&](const std::shared_ptr<const ArchiveIndex>& index) {
        if (index->m_refusal.isEmpty()) {
            return index;
        }
        if (error) {
            *error = index->m_refusal;
        }
        return std::shared_ptr<const ArchiveIndex>();
    };
    FileStamp stamp;
    if (!StampOf(archiveFile, &stamp)) {
        Invalidate(archiveFile);
        return nullptr;
    }
    {
        const QMutexLocker lock(&g_mutex);
        const auto found = g_indexes.find(archiveFile);
        if (found != g_indexes.end() && found->second.stamp == stamp) {
            found->second.lastUse = ++g_useCounter;
            return usable(found->second.index);
        }
    }
    // Built outside the lock: two threads may both build, the later one wins.
    archive* handle = OpenRead(archiveFile);
    if (!handle) {
        return nullptr;
    }
    auto index = std::make_shared<ArchiveIndex>();
    index->m_capacity = Capacity(stamp.size);
    index->Build(handle);
    archive_read_free(handle);
    if (index->m_damaged && index->m_entries.empty() && index->m_refusal.isEmpty()) {
        OS_LOG_WARNING(Archive::Log::Archive(), "Not a readable package archive: " + archiveFile);
        return nullptr;
    }
    if (!index->m_refusal.isEmpty()) {
        // Kept like any other index, so the package is looked at (and logged) once per change.
        index->m_refusal =
            QStringLiteral("package %1 skipped: %2").arg(archiveFile, index->m_refusal);
        OS_LOG_WARNING(Archive::Log::Archive(), index->m_refusal);
    }
    const QMutexLocker lock(&g_mutex);
    if (g_indexes.size() >= kMaxCachedArchives && !g_indexes.count(archiveFile)) {
        auto oldest = g_indexes.begin();
        for (auto it = g_indexes.begin(); it != g_indexes.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) {
                oldest = it;
            }
        }
        g_indexes.erase(oldest);
    }
    g_indexes[archiveFile] = {stamp, index, ++g_useCounter};
    return usable(index);
}

void ArchiveIndex::SetCacheBudget(qint64 bytes) {
    g_cacheBudget = bytes;
    const QMutexLocker lock(&g_mutex);
    g_indexes.clear();
}

void ArchiveIndex::Invalidate(const QString& archiveFile) {
    const QMutexLocker lock(&g_mutex);
    g_indexes.erase(archiveFile);
}

const ArchiveIndex::Entry* ArchiveIndex::Find(const QString& innerPath) const {
    const auto found = m_first.constFind(innerPath);
    return found == m_first.constEnd() ? nullptr : &m_entries[*found];
}

std::vector<const ArchiveIndex::Entry*> ArchiveIndex::Children(const QString& directory) const {
    std::vector<const Entry*> children;
    const auto found = m_children.constFind(ArchivePath::Components(directory).join('/').toLower());
    if (found != m_children.constEnd()) {
        for (const size_t index : *found) {
            children.push_back(&m_entries[index]);
        }
    }
    return children;
}

void ArchiveIndex::Build(archive* handle) {
    const qint64 budget = g_cacheBudget;
    qint64 cachedBytes = 0;
    archive_entry* header = nullptr;
    for (;;) {
        const int status = archive_read_next_header(handle, &header);
        if (status == ARCHIVE_EOF) {
            return;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            m_damaged = true;
            return;
        }
        const wchar_t* wide = archive_entry_pathname_w(header);
        const char* narrow = archive_entry_pathname(header);
        const QString name = SafeName(wide ? QString::fromWCharArray(wide)
                                           : QString::fromUtf8(narrow ? narrow : ""));
        const mode_t type = archive_entry_filetype(header);
        if (name.isEmpty() || (type != AE_IFREG && type != AE_IFDIR)) {
            continue;
        }
        Entry entry;
        entry.path = name;
        entry.directory = type == AE_IFDIR;
        entry.size = entry.directory ? 0 : qMax<qint64>(0, archive_entry_size(header));
        if (entry.size > m_capacity) {
            m_refusal = QStringLiteral("entry %1 claims %2 bytes, more than the package can hold")
                            .arg(name)
                            .arg(entry.size);
            m_entries.clear();
            return;
        }
        if (!entry.directory && cachedBytes + entry.size <= budget) {
            entry.data.resize(entry.size);
            qint64 done = 0;
            while (done < entry.size) {
                const la_ssize_t got =
                    archive_read_data(handle, entry.data.data() + done, size_t(entry.size - done));
                if (got <= 0) {
                    m_damaged = true;
                    return;  // a truncated entry is left out
                }
                done += got;
            }
            entry.cached = true;
            cachedBytes += entry.size;
        }
        if (!m_first.contains(entry.path)) {
            m_first.insert(entry.path, m_entries.size());
        }
        QStringList parts = ArchivePath::Components(entry.path);
        entry.name = parts.takeLast();
        m_children[parts.join('/').toLower()].push_back(m_entries.size());
        m_entries.push_back(std::move(entry));
    }
}
