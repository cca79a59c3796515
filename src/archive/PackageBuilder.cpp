#include "archive/PackageBuilder.h"

#include "archive/ArchivePath.h"
#include "archive/ArchivePathRouter.h"
#include "archive/ArchiveWriter.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "archive/EncryptedArchiveReader.h"
#include "archive/WritingArchivedStream.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PackageBuilder {

bool Pack(const QString& directory, const QString& archiveFile, bool encipher, QString* error,
          int* fileCount) {
    // Entries are named relative to the directory, whatever form its path is given in.
    const QString root = QFileInfo(directory).absoluteFilePath();
    const QDir source(root);
    if (!QFileInfo(directory).isDir()) {
        *error = "Not a directory: " + directory;
        return false;
    }
    const ArchivePath target = ArchivePath::Split(archiveFile);
    if (!target.IsArchive() || !target.IsArchiveItself() || !target.SuffixRow()->writable ||
        target.Decode()) {
        *error = "Not a package file name (.lumopkg, .marqacollage, .solvicollage): " + archiveFile;
        return false;
    }
    // A place that takes no file is named once here, before any entry is made.
    QSaveFile probe(archiveFile);
    if (!probe.open(QIODevice::WriteOnly)) {
        *error = "Can't write " + archiveFile + ": " + probe.errorString();
        return false;
    }
    probe.cancelWriting();
    const ArchiveWriterEnabler writing;
    // The first writer holds the archive's stream until every entry is in.
    auto holder = CustomFileSystemEngineHandler::create(archiveFile + "/");
    int files = 0;
    bool ok = true;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (ok && it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString inner = archiveFile + '/' + source.relativeFilePath(path);
        if (info.isDir()) {
            ok = ArchivePathRouter::MakeDirectory(inner);
        } else if (info.isFile()) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                *error = "Can't read " + path;
                ok = false;
                break;
            }
            const QByteArray data = file.readAll();
            ok = ArchivePathRouter::WriteFile(
                inner, encipher ? EncryptedArchiveReader::Encipher(data) : data);
            ++files;
        }
        if (!ok && error->isEmpty()) {
            *error = "Can't write " + inner;
        }
    }
    if (!ok) {
        // Nothing must reach the disk: the stream is dropped with its entries, unwritten.
        ArchiveLibInterface::WritingArchivedStream::Discard(archiveFile);
    }
    holder.reset();
    const QString failure = ArchiveLibInterface::WritingArchivedStream::Failure(archiveFile);
    if (ok && !failure.isEmpty()) {
        *error = "Can't write " + archiveFile + ": " + failure;
        ok = false;
    }
    if (fileCount) {
        *fileCount = files;
    }
    return ok;
}

}  // namespace PackageBuilder
