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

bool ReadAll(const QString& path, QByteArray* data) {
    const ArchivePath split = ArchivePath::Split(path);
    if (split.IsArchive() && !split.Decode()) {
        // What the reader does, without a device around it.
        ArchiveLibInterface::ReadingArchivedStream stream(split.ArchiveFile(), split.InnerPath());
        if (!stream.Found()) {
            return false;
        }
        data->resize(stream.Size());
        qint64 done = 0;
        while (done < stream.Size()) {
            const qint64 got = stream.Read(data->data() + done, stream.Size() - done);
            if (got <= 0) {
                return false;
            }
            done += got;
        }
        return true;
    }
    const std::unique_ptr<QIODevice> device = OpenRead(path);
    if (!device) {
        return false;
    }
    data->clear();
    char buffer[16384];
    for (;;) {
        const qint64 got = device->read(buffer, sizeof buffer);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        data->append(buffer, got);
    }
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
