#pragma once

#include <QString>

#include <memory>

class Content;

// Images downloaded from fixtures, kept on disk so that a fixture's folders can show them
// without a new download: one file per content key, "%1.%2" (eight lower-case hexadecimal
// digits and the item's suffix), in the "ContentCache" folder. The files' modification times
// are the cache's record of when each was stored or used; Trim keeps the most recent ones.
class ContentCache {
public:
    static constexpr qint64 kLimit = 10 * 1024 * 1024;

    // The process's cache, in the "ContentCache" named folder.
    static ContentCache& Instance();
    // A cache in `directory` (tests, tools).
    explicit ContentCache(const QString& directory);

    QString Directory() const { return m_directory; }
    static QString FileName(quint32 key, const QString& suffix);

    // Writes the item under its key (after a successful download); false when it has no key
    // or cannot be written.
    bool Store(Content& item) const;
    // Loads the cached data of `key` into `item` (of the kind whose suffix it has); false when
    // none is cached or the file cannot be read.
    bool Fetch(quint32 key, Content& item) const;
    // Keeps the most recent files whose sizes add up to no more than `limit`; the file that
    // crosses it and all older ones are deleted. Returns the number deleted.
    int Trim(qint64 limit = kLimit) const;

private:
    QString m_directory;
};
