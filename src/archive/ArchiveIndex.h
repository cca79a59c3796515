#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

struct archive;

// What one pass over a package archive found: its entries in archive order, with the data of
// the smaller ones kept in memory, so that opening many entries of one package costs about
// one pass instead of one pass per entry. Indexes are shared per archive file and made anew
// when the file on disk changes (device, inode, size or modification time).
//
// Entries whose name is absolute or has a ".." component, and entries that are neither
// regular files nor directories, are left out: they can never be listed or opened. A leading
// "./" and a directory's trailing "/" are dropped from names.
class ArchiveIndex {
public:
    struct Entry {
        QString path;
        bool directory = false;
        qint64 size = 0;
        bool cached = false;  // false: the data must be read from the archive
        QByteArray data;
        QString name;  // the last component
    };

    // Data kept in memory per archive; entries beyond it are read from the archive.
    static constexpr qint64 kDefaultCacheBudget = 32 * 1024 * 1024;
    // Changes the budget of indexes made from now on (tests use a small one).
    static void SetCacheBudget(qint64 bytes);

    // The index of the archive file, or null when it cannot be opened as a gzip tar archive or
    // an entry's header claims more data than the file could hold (a forged or corrupt
    // package, refused whole); `error` then says why.
    static std::shared_ptr<const ArchiveIndex> Of(const QString& archiveFile,
                                                  QString* error = nullptr);
    // The most data a gzip tar file of `fileBytes` bytes can unpack to: deflate packs at most
    // about 1032 to 1, and a plain tar holds less than its size.
    static qint64 Capacity(qint64 fileBytes);
    // Forgets the index of the file (after the program wrote it).
    static void Invalidate(const QString& archiveFile);

    // A libarchive read handle on the file (gzip + tar, 16384-byte blocks), or null.
    static archive* OpenRead(const QString& archiveFile);
    // The entry name as the index keeps it, or an empty string for a name that is skipped.
    static QString SafeName(QString name);

    const std::vector<Entry>& Entries() const { return m_entries; }
    // The first entry with exactly this path (case-sensitive), or null.
    const Entry* Find(const QString& innerPath) const;
    // The entries one level below the directory (components compared without regard to case),
    // in archive order.
    std::vector<const Entry*> Children(const QString& directory) const;
    // True when the pass stopped at damaged data; the entries before the damage stay usable.
    bool Damaged() const { return m_damaged; }

private:
    void Build(archive* handle);

    std::vector<Entry> m_entries;
    QHash<QString, size_t> m_first;
    QHash<QString, std::vector<size_t>> m_children;  // by lower-cased parent path
    bool m_damaged = false;
    qint64 m_capacity = 0;
    QString m_refusal;  // why the whole archive is refused, empty when it is not
};
