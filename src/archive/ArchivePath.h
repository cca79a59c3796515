#pragma once

#include <QString>
#include <QStringList>

// A path that runs through a package archive: "[decode#]ARCHIVE.suffix/inner/path". The
// archive file ends at the first occurrence of the package suffix (compared on the lower-cased
// path); the inner path is what follows, without its first character.
class ArchivePath {
public:
    // What a package suffix offers.
    struct Suffix {
        const char* text;
        bool writable;   // a writer while write mode is on
        bool decodable;  // "decode#" selects the decrypting reader
    };

    static constexpr const char* kDecodePrefix = "decode#";

    // The parts of `path`; IsArchive() is false when no package suffix occurs in it.
    static ArchivePath Split(const QString& path);
    // The row of the suffix table that `path` contains (lower-cased), or null.
    static const Suffix* FindSuffix(const QString& path);
    // Components split at "/" or "\\", empty parts dropped.
    static QStringList Components(const QString& path);

    bool IsArchive() const { return m_suffix != nullptr; }
    const Suffix* SuffixRow() const { return m_suffix; }
    bool Decode() const { return m_decode; }
    // The archive file on disk, without "decode#".
    const QString& ArchiveFile() const { return m_archiveFile; }
    const QString& InnerPath() const { return m_innerPath; }
    // The path ends with the suffix followed by "/": the archive's root directory.
    bool IsRoot() const { return m_root; }
    // The path ends with the suffix itself: the archive as a file.
    bool IsArchiveItself() const { return m_archiveItself; }
    // The root, or a path whose last component holds no ".".
    bool IsDirectory() const;

private:
    const Suffix* m_suffix = nullptr;
    bool m_decode = false;
    bool m_root = false;
    bool m_archiveItself = false;
    QString m_archiveFile;
    QString m_innerPath;
};
