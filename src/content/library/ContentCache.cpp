#include "content/library/ContentCache.h"

#include "content/Content.h"
#include "os/NamedFolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

ContentCache& ContentCache::Instance() {
    static ContentCache cache(Os::NamedFolders::Path("ContentCache"));
    return cache;
}

ContentCache::ContentCache(const QString& directory) : m_directory(directory) {
    QDir().mkpath(directory);
}

QString ContentCache::FileName(quint32 key, const QString& suffix) {
    return QStringLiteral("%1.%2").arg(key, 8, 16, QChar('0')).arg(suffix);
}

bool ContentCache::Store(Content& item) const {
    const quint32 key = item.ContentKey();
    return key != 0 && item.Save(m_directory + '/' + FileName(key, item.Suffix()));
}

bool ContentCache::Fetch(quint32 key, Content& item) const {
    const QString path = m_directory + '/' + FileName(key, item.Suffix());
    if (!QFileInfo(path).isFile() || !item.Load(path)) {
        return false;
    }
    // A use counts as recent for trimming.
    QFile file(path);
    if (file.open(QIODevice::ReadWrite)) {
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    }
    return true;
}

int ContentCache::Trim(qint64 limit) const {
    // Only files named like cache entries are looked at; anything else is left alone.
    static const QRegularExpression cacheName("^[0-9a-f]{8}\\.[A-Za-z0-9]+$");
    QFileInfoList files;
    for (const QFileInfo& info : QDir(m_directory).entryInfoList(QDir::Files)) {
        if (cacheName.match(info.fileName()).hasMatch()) {
            files.append(info);
        }
    }
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    qint64 total = 0;
    int removed = 0;
    bool over = false;
    for (const QFileInfo& info : files) {
        total += info.size();
        over = over || total > limit;
        if (over && QFile::remove(info.absoluteFilePath())) {
            ++removed;
        }
    }
    return removed;
}
