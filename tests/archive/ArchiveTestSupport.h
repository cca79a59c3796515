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

// A gzip-compressed tar file with exactly these entries, in this order.
inline bool WriteTarGz(const QString& path, const std::vector<TarEntry>& entries) {
    archive* handle = archive_write_new();
    archive_write_add_filter_gzip(handle);
    archive_write_set_format_gnutar(handle);
    if (archive_write_open_filename(handle, path.toLocal8Bit().constData()) != ARCHIVE_OK) {
        archive_write_free(handle);
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
