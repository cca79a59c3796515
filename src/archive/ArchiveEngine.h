#pragma once

#include <QDir>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include "archive/ArchivePath.h"

// A file inside a package archive, opened through the archive path router: a device that reads
// one entry, or collects one entry for a new archive, and answers what the path is (file or
// directory) and what a directory of the archive holds.
class ArchiveEngine : public QIODevice {
    Q_OBJECT

public:
    enum FileFlag {
        ReadOwnerPerm = 0x4000,
        WriteOwnerPerm = 0x2000,
        ExeOwnerPerm = 0x1000,
        ReadUserPerm = 0x0400,
        WriteUserPerm = 0x0200,
        ExeUserPerm = 0x0100,
        ReadGroupPerm = 0x0040,
        WriteGroupPerm = 0x0020,
        ExeGroupPerm = 0x0010,
        ReadOtherPerm = 0x0004,
        WriteOtherPerm = 0x0002,
        ExeOtherPerm = 0x0001,
        PermsMask = 0x0000FFFF,
        FileType = 0x00020000,
        DirectoryType = 0x00040000,
        ExistsFlag = 0x00400000,
        RootFlag = 0x00800000,
    };
    Q_DECLARE_FLAGS(FileFlags, FileFlag)

    enum FileName { DefaultName, BaseName, PathName, AbsoluteName };

    ArchiveEngine(const QString& suffix, const QString& fileName);

    bool isSequential() const override { return true; }
    // True when the file name holds no ":".
    bool isRelativePath() const;
    FileFlags fileFlags(FileFlags mask) const;
    QString fileName(FileName kind) const;
    void setFileName(const QString& name);
    // Adds a directory to a new archive (writers only).
    virtual bool mkdir(const QString& path, bool recursive) const;
    // The names one level below this directory of the archive (readers only).
    virtual QStringList entryList(QDir::Filters filters, const QStringList& nameFilters) const;
    // Whether the archive file (without "decode#") exists on disk.
    virtual bool ArchiveExists() const;

    const QString& Suffix() const { return m_suffix; }
    ArchivePath Path() const { return ArchivePath::Split(m_fileName); }

protected:
    QString m_suffix;
    QString m_fileName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ArchiveEngine::FileFlags)
