// Feeds arbitrary bytes as an enciphered package entry to the decrypting reader: every read
// must end without a crash, and never hand out more than the entry's chunks can hold.
#include "archive/ArchivePathRouter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <cstdlib>

namespace {

bool WritePackage(const QString& path, const uint8_t* data, size_t size) {
    archive* handle = archive_write_new();
    archive_write_add_filter_gzip(handle);
    archive_write_set_format_ustar(handle);
    if (archive_write_open_filename(handle, path.toLocal8Bit().constData()) != ARCHIVE_OK) {
        archive_write_free(handle);
        return false;
    }
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, "f/e.bin");
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, la_int64_t(size));
    archive_write_header(handle, entry);
    archive_write_data(handle, data, size);
    archive_entry_free(entry);
    const bool ok = archive_write_close(handle) == ARCHIVE_OK;
    archive_write_free(handle);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static int counter = 0;
    // A new file name each time, so that no cached index of an earlier input answers.
    const QString package = dir.filePath(QString("p%1.lumopkg").arg(++counter % 64));
    if (!WritePackage(package, data, size)) {
        return 0;
    }
    QByteArray plain;
    ArchivePathRouter::ReadAll("decode#" + package + "/f/e.bin", &plain);
    // Each chunk costs at least 8 + L bytes rounded up, so plain text never outgrows the input.
    if (size_t(plain.size()) > size) {
        std::abort();
    }
    return 0;
}
