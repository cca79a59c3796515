#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>

#include <vector>

// Archives made without the program's writer, for the reader to take apart.
namespace ArchiveTestSupport {

struct TarEntry {
    QByteArray name;
    bool directory = false;
    QByteArray data;
};

// A writer of gzip-compressed data of the format into the file, or null.
inline archive* OpenGzipWriter(const QString& path, int (*setFormat)(archive*)) {
    archive* handle = archive_write_new();
    archive_write_add_filter_gzip(handle);
    setFormat(handle);
    if (archive_write_open_filename(handle, path.toLocal8Bit().constData()) != ARCHIVE_OK) {
        archive_write_free(handle);
        return nullptr;
    }
    return handle;
}

// A gzip-compressed tar file with exactly these entries, in this order.
inline bool WriteTarGz(const QString& path, const std::vector<TarEntry>& entries) {
    archive* handle = OpenGzipWriter(path, &archive_write_set_format_gnutar);
    if (!handle) {
        return false;
    }
    archive_entry* record = archive_entry_new();
    for (const TarEntry& entry : entries) {
        archive_entry_clear(record);
        archive_entry_set_pathname(record, entry.name.constData());
        archive_entry_set_filetype(record, entry.directory ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(record, 0644);
        archive_entry_set_size(record, entry.data.size());
        archive_write_header(handle, record);
        if (!entry.data.isEmpty()) {
            archive_write_data(handle, entry.data.constData(), size_t(entry.data.size()));
        }
    }
    archive_entry_free(record);
    const bool ok = archive_write_close(handle) == ARCHIVE_OK;
    archive_write_free(handle);
    return ok;
}

// One tar header block: a regular file of `size` bytes, the size in base 256 when it does not
// fit the octal field.
inline QByteArray TarHeader(const QByteArray& name, qint64 size) {
    QByteArray block(512, '\0');
    const auto put = [&](int at, const QByteArray& text) { block.replace(at, text.size(), text); };
    put(0, name.left(99));
    put(100, "0000644");
    put(108, "0000000");
    put(116, "0000000");
    if (size < (qint64(1) << 33)) {
        put(124, QByteArray::number(size, 8).rightJustified(11, '0'));
    } else {
        block[124] = char(0x80);
        for (int i = 0; i < 8; ++i) {  // the three bytes above stay 0
            block[135 - i] = char((size >> (8 * i)) & 0xFF);
        }
    }
    put(136, "00000000000");
    put(148, "        ");
    block[156] = '0';
    put(257, QByteArray("ustar\0", 6) + "00");
    unsigned sum = 0;
    for (const char c : block) {
        sum += uchar(c);
    }
    put(148, QByteArray::number(sum, 8).rightJustified(6, '0') + QByteArray("\0 ", 2));
    return block;
}

// Gzip-compresses `bytes` into a file as they are (tar blocks made by hand).
inline bool WriteGzip(const QString& path, const QByteArray& bytes) {
    archive* handle = OpenGzipWriter(path, &archive_write_set_format_raw);
    if (!handle) {
        return false;
    }
    archive_entry* record = archive_entry_new();
    archive_entry_set_pathname(record, "raw");
    archive_entry_set_filetype(record, AE_IFREG);
    archive_entry_set_size(record, bytes.size());
    bool ok = archive_write_header(handle, record) == ARCHIVE_OK &&
              archive_write_data(handle, bytes.constData(), size_t(bytes.size())) == bytes.size();
    archive_entry_free(record);
    ok = archive_write_close(handle) == ARCHIVE_OK && ok;
    archive_write_free(handle);
    return ok;
}

// A package whose entries are stored as given, then one entry whose header claims `claimed`
// bytes while only `data` follow and the archive ends: what a forged or damaged package looks
// like to a reader.
inline bool WriteForgedTarGz(const QString& path, const std::vector<TarEntry>& entries,
                             const QByteArray& name, const QByteArray& data, qint64 claimed) {
    QByteArray tar;
    const auto pad = [&] { tar.append(QByteArray((512 - tar.size() % 512) % 512, '\0')); };
    for (const TarEntry& entry : entries) {
        tar.append(TarHeader(entry.name, entry.data.size()));
        tar.append(entry.data);
        pad();
    }
    tar.append(TarHeader(name, claimed));
    tar.append(data);
    pad();
    return WriteGzip(path, tar);
}

// Runs a tool and returns its standard output; `ok` tells whether it ran and exited with 0.
inline QByteArray RunTool(const QString& program, const QStringList& arguments, bool* ok,
                          const QString& directory = QString()) {
    QProcess process;
    if (!directory.isEmpty()) {
        process.setWorkingDirectory(directory);
    }
    process.start(program, arguments);
    *ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return process.readAllStandardOutput();
}

}  // namespace ArchiveTestSupport
