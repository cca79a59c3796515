// Takes arbitrary bytes as a package file: listing every folder, reading every entry whole
// and through a device must end without a crash, never read more than the bound, and a file
// the index calls a directory is never read as one.
#include "archive/ArchiveIndex.h"
#include "archive/ArchivePathRouter.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 kLimit = 1024 * 1024;

void Walk(const QString& directory, int depth) {
    if (depth > 8) {
        return;
    }
    for (const QString& name : ArchivePathRouter::EntryList(directory, QDir::Dirs)) {
        Walk(directory + '/' + name, depth + 1);
    }
    for (const QString& name : ArchivePathRouter::EntryList(directory, QDir::Files)) {
        const QString path = directory + '/' + name;
        QByteArray data;
        if (ArchivePathRouter::ReadAll(path, &data, nullptr, kLimit) && data.size() > kLimit) {
            std::abort();
        }
        if (const auto device = ArchivePathRouter::OpenRead(path)) {
            char buffer[4096];
            qint64 total = 0;
            for (qint64 got; (got = device->read(buffer, sizeof buffer)) > 0 && total <= kLimit;) {
                total += got;
            }
        }
        ArchivePathRouter::Exists(path);
        ArchivePathRouter::IsDirectory(path);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static int counter = 0;
    // A new name each time, so that no index of an earlier input answers.
    const QString package = dir.filePath(QString("p%1.crvpkg").arg(++counter));
    {
        QFile file(package);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            return 0;
        }
    }
    Walk(package, 0);
    ArchiveIndex::Invalidate(package);
    QFile::remove(package);
    return 0;
}
