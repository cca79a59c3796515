#include "archive/ArchivePathRouter.h"

#include "archive/ArchiveIndex.h"
#include "archive/ArchivePath.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "archive/ReadingArchivedStream.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace ArchivePathRouter {

bool IsArchivePath(const QString& path) {
    return ArchivePath::FindSuffix(path) != nullptr;
}

std::unique_ptr<QIODevice> OpenRead(const QString& path) {
    const ArchiveReaderEnabler reading;
    std::unique_ptr<QIODevice> device = CustomFileSystemEngineHandler::create(path);
    if (!device) {
        device = std::make_unique<QFile>(path);
    }
    if (!device->open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    return device;
}

namespace {

constexpr qint64 kReadPiece = 64 * 1024;

bool Refuse(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

QString TooLarge(const QString& path, qint64 size, qint64 limit) {
    return QStringLiteral("%1 holds %2 bytes, more than the %3 bytes it may have")
        .arg(path)
        .arg(size)
        .arg(limit);
}

// Appends the device's bytes piece by piece until its end; false on a read error or once
// more than `limit` bytes have come.
bool ReadPieces(QIODevice* device, const QString& path, qint64 limit, QByteArray* data,
                QString* error) {
    char buffer[16384];
    for (;;) {
        const qint64 got = device->read(buffer, sizeof buffer);
        if (got < 0) {
            return Refuse(error, "can't read " + path);
        }
        if (got == 0) {
            return true;
        }
        if (data->size() + got > limit) {
            return Refuse(error, TooLarge(path, data->size() + got, limit));
        }
        data->append(buffer, got);
    }
}

}  // namespace

bool ReadAll(const QString& path, QByteArray* data, QString* error, qint64 limit) {
    QByteArray read;
    const ArchivePath split = ArchivePath::Split(path);
    if (split.IsArchive() && !split.Decode()) {
        // What the reader does, without a device around it.
        QString refusal;
        if (!ArchiveIndex::Of(split.ArchiveFile(), &refusal)) {
            return Refuse(error, refusal.isEmpty()
                                     ? "not a readable package: " + split.ArchiveFile()
                                     : refusal);
        }
        ArchiveLibInterface::ReadingArchivedStream stream(split.ArchiveFile(), split.InnerPath());
        if (!stream.Found()) {
            return Refuse(error, "no such entry: " + path);
        }
        if (stream.Size() > limit) {
            return Refuse(error, TooLarge(path, stream.Size(), limit));
        }
        // The stored size is only a claim: memory grows with the data that really come.
        while (read.size() < stream.Size()) {
            const qint64 offset = read.size();
            const qint64 piece = qMin(kReadPiece, stream.Size() - offset);
            read.resize(offset + piece);
            const qint64 got = stream.Read(read.data() + offset, piece);
            if (got <= 0) {
                return Refuse(error, "damaged package data in " + path);
            }
            read.resize(offset + got);
        }
    } else {
        const std::unique_ptr<QIODevice> device = OpenRead(path);
        if (!device) {
            return Refuse(error, "can't open " + path);
        }
        if (!ReadPieces(device.get(), path, limit, &read, error)) {
            return false;
        }
    }
    *data = std::move(read);
    return true;
}

bool WriteFile(const QString& path, const QByteArray& data) {
    if (IsArchivePath(path)) {
        const std::unique_ptr<ArchiveEngine> engine = CustomFileSystemEngineHandler::create(path);
        return engine && engine->open(QIODevice::WriteOnly) && engine->write(data) == data.size();
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

bool MakeDirectory(const QString& path) {
    if (IsArchivePath(path)) {
        const std::unique_ptr<ArchiveEngine> engine = CustomFileSystemEngineHandler::create(path);
        return engine && engine->mkdir(path, true);
    }
    return QDir().mkpath(path);
}

QStringList EntryList(const QString& directory, QDir::Filters filters,
                      const QStringList& nameFilters) {
    QStringList names;
    if (IsArchivePath(directory)) {
        const ArchiveReaderEnabler reading;
        const std::unique_ptr<ArchiveEngine> engine =
            CustomFileSystemEngineHandler::create(directory);
        names = engine->entryList(filters, nameFilters);
    } else {
        QDir dir(directory);
        dir.setNameFilters(nameFilters);
        names = dir.entryList(filters | QDir::NoDotAndDotDot);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

bool IsDirectory(const QString& path) {
    if (!IsArchivePath(path)) {
        return QFileInfo(path).isDir();
    }
    const ArchivePath split = ArchivePath::Split(path);
    const std::shared_ptr<const ArchiveIndex> index = ArchiveIndex::Of(split.ArchiveFile());
    if (!index) {
        return false;
    }
    if (split.IsRoot() || split.IsArchiveItself()) {
        return split.IsRoot();
    }
    // Folder names match without regard to case, as in listings.
    const QStringList wanted = ArchivePath::Components(split.InnerPath());
    for (const ArchiveIndex::Entry& entry : index->Entries()) {
        if (!entry.directory) {
            continue;
        }
        const QStringList parts = ArchivePath::Components(entry.path);
        bool same = parts.size() == wanted.size();
        for (int i = 0; same && i < parts.size(); ++i) {
            same = parts[i].compare(wanted[i], Qt::CaseInsensitive) == 0;
        }
        if (same) {
            return true;
        }
    }
    return false;
}

bool Exists(const QString& path) {
    if (!IsArchivePath(path)) {
        return QFileInfo::exists(path);
    }
    const ArchivePath split = ArchivePath::Split(path);
    if (split.IsArchiveItself()) {
        return QFileInfo(split.ArchiveFile()).isFile();
    }
    const std::shared_ptr<const ArchiveIndex> index = ArchiveIndex::Of(split.ArchiveFile());
    if (!index) {
        return false;
    }
    QString inner = split.InnerPath();
    while (inner.endsWith('/')) {
        inner.chop(1);
    }
    return inner.isEmpty() || index->Find(inner) != nullptr;
}

}  // namespace ArchivePathRouter
