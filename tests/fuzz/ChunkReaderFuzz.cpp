// Feeds arbitrary bytes as an enciphered package entry to the decrypting reader: every read
// must end without a crash, and never hand out more than the entry's chunks can hold.
#include "ArchiveTestSupport.h"

#include "archive/ArchivePathRouter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static int counter = 0;
    // A new file name each time, so that no cached index of an earlier input answers.
    const QString package = dir.filePath(QString("p%1.lumopkg").arg(++counter % 64));
    const QByteArray entry(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!ArchiveTestSupport::WriteTarGz(package, {{"f/e.bin", false, entry}})) {
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
