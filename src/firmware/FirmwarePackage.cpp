#include "firmware/FirmwarePackage.h"

#include "archive/ArchivePathRouter.h"
#include "archive/WritingArchivedStream.h"

#include <QFileInfo>

namespace FirmwarePackage {

const Family kMarqa = {"MARQA",          "marqa_motion.bin", "marqa_graphics.bin",
                       "marqa_fpga.bin", "Marqa_config.xml", "marqa.crvpkg",
                       "marqa*.crvpkg"};
const Family kSolvi = {"Solvi",          "solvi_motion.bin", "solvi_graphics.bin",
                       "solvi_fpga.bin", "Solvi_config.xml", "solvi.crvpkg",
                       "solvi*.crvpkg"};

namespace {

const Family* const kFamilies[] = {&kMarqa, &kSolvi};

}  // namespace

const Family* ForModel(const QString& model) {
    for (const Family* family : kFamilies) {
        if (model.compare(QLatin1String(family->model), Qt::CaseInsensitive) == 0) {
            return family;
        }
    }
    return nullptr;
}

const Family* Detect(const QString& package) {
    for (const Family* family : kFamilies) {
        for (const char* entry : {family->versions, family->motion, family->graphics}) {
            if (ArchivePathRouter::Exists(EntryPath(package, entry))) {
                return family;
            }
        }
    }
    return nullptr;
}

const Family* ForFileName(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    for (const Family* family : kFamilies) {
        const QString stem = QString::fromLatin1(family->pattern).section('*', 0, 0);
        if (name.startsWith(stem, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return nullptr;
}

QString EntryPath(const QString& package, const char* entry) {
    return package + '/' + QLatin1String(entry);
}

bool ReadImage(const QString& path, QByteArray* data, QString* error) {
    if (!ArchivePathRouter::Exists(path)) {
        *error = "No such file: " + path;
        return false;
    }
    if (!ArchivePathRouter::ReadAll(path, data, error)) {
        if (error->isEmpty()) {
            *error = "Cannot read " + path;
        }
        return false;
    }
    if (data->isEmpty()) {
        *error = "The file is empty: " + path;
        return false;
    }
    return true;
}

QString VersionText(const std::array<quint32, 4>& version) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version[0])
        .arg(version[1])
        .arg(version[2])
        .arg(version[3]);
}

QByteArray VersionFile(const Versions& versions) {
    return QStringLiteral(
               "<?xml version=\"1.0\"?>\n<firmware>\n  <motion version=\"%1\"/>\n"
               "  <graphics version=\"%2\"/>\n  <fpga version=\"%3\"/>\n</firmware>\n")
        .arg(VersionText(versions.motion), VersionText(versions.graphics))
        .arg(versions.fpga)
        .toUtf8();
}

bool Write(const QString& package, const Family& family, const Contents& contents, QString* error) {
    using ArchiveLibInterface::WritingArchivedStream;
    WritingArchivedStream* stream = WritingArchivedStream::Request(package);
    const std::pair<const char*, QByteArray> entries[] = {
        {family.motion, contents.motion},
        {family.graphics, contents.graphics},
        {family.fpga, contents.fpga},
        {family.versions, VersionFile(contents.versions)},
    };
    bool ok = true;
    for (const auto& [name, bytes] : entries) {
        if (bytes.isEmpty()) {
            continue;
        }
        WritingArchivedStream::FileEntry* entry = stream->AddFile(QLatin1String(name));
        if (!entry) {
            ok = false;
            break;
        }
        entry->buffer = bytes;
    }
    if (!ok) {
        WritingArchivedStream::Discard(package);
    }
    WritingArchivedStream::Release(stream);
    const QString failure = WritingArchivedStream::Failure(package);
    if (!ok || !failure.isEmpty()) {
        *error = "Can't write " + package + (failure.isEmpty() ? QString() : ": " + failure);
        return false;
    }
    return true;
}

}  // namespace FirmwarePackage
