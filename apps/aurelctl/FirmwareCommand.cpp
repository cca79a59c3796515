#include "FirmwareCommand.h"

#include "CommandLine.h"

#include "archive/ArchivePathRouter.h"
#include "firmware/FirmwarePackage.h"
#include "lumo/devices/ConfigHandler.h"
#include "rdm/devices/RDMDevice.h"
#include "rdm/devices/RdmFamily.h"

#include <QFile>
#include <QFileInfo>

#include <map>

namespace FirmwareCommand {

namespace {

using CommandLine::Fail;
using FirmwarePackage::Family;

const char kPackUsage[] =
    "usage: aurelctl firmware pack OUT.crvpkg --motion FILE --graphics FILE [--fpga FILE] "
    "--versions MOTION GRAPHICS FPGA";

int Info(const QStringList& words) {
    if (words.size() != 1) {
        return Fail("usage: aurelctl firmware info PACKAGE", 2);
    }
    const QString& package = words[0];
    if (!QFileInfo(package).isFile()) {
        return Fail("firmware info: no such package: " + package, 1);
    }
    const Family* family = FirmwarePackage::Detect(package);
    if (!family) {
        return Fail("firmware info: not a firmware package of a known family: " + package, 1);
    }
    QList<QStringList> rows;
    for (const char* entry : {family->motion, family->graphics, family->fpga, family->versions}) {
        const auto device = ArchivePathRouter::OpenRead(FirmwarePackage::EntryPath(package, entry));
        rows.append({QLatin1String(entry), device ? QString::number(device->size()) : "missing"});
    }
    const std::unique_ptr<RDMDevice> device =
        RdmFamily::ForModel(QLatin1String(family->model))->Create(0, 0);
    CommandLine::Print(QStringLiteral("Package: %1\nFamily: %2\nVersion: %3\n\n")
                           .arg(package, QLatin1String(family->model),
                                device->GetFirmwarePackageVersion(package)) +
                       CommandLine::Table({"Entry", "Size"}, rows));
    return 0;
}

bool ReadFile(const QString& path, QByteArray* data, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "can't read " + path + ": " + file.errorString();
        return false;
    }
    *data = file.readAll();
    if (data->isEmpty()) {
        *error = "the file is empty: " + path;
        return false;
    }
    return true;
}

int Pack(const QStringList& words) {
    if (words.isEmpty() || words[0].startsWith('-')) {
        return Fail(kPackUsage, 2);
    }
    const QString out = words[0];
    const Family* family = FirmwarePackage::ForFileName(out);
    if (!family || !out.endsWith(".crvpkg", Qt::CaseInsensitive)) {
        return Fail("firmware pack: name the package marqa*.crvpkg or solvi*.crvpkg: " + out, 2);
    }
    std::map<QString, QString> files;
    QStringList versions;
    for (int i = 1; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == "--versions" && i + 3 < words.size()) {
            versions = words.mid(i + 1, 3);
            i += 3;
        } else if ((word == "--motion" || word == "--graphics" || word == "--fpga") &&
                   i + 1 < words.size()) {
            files[word.mid(2)] = words[++i];
        } else {
            return Fail(kPackUsage, 2);
        }
    }
    if (!files.count("motion") || !files.count("graphics") || versions.size() != 3) {
        return Fail(kPackUsage, 2);
    }
    FirmwarePackage::Contents contents;
    const auto motion = ConfigHandler::ParseVersion(versions[0]);
    const auto graphics = ConfigHandler::ParseVersion(versions[1]);
    bool fpgaOk = false;
    contents.versions.fpga = versions[2].toUInt(&fpgaOk);
    if (!motion || !graphics || !fpgaOk) {
        return Fail(
            "firmware pack: the motion and graphics versions are four numbers joined by "
            "\".\", the FPGA version one number",
            2);
    }
    contents.versions.motion = *motion;
    contents.versions.graphics = *graphics;
    QString error;
    const std::pair<const char*, QByteArray*> images[] = {
        {"motion", &contents.motion}, {"graphics", &contents.graphics}, {"fpga", &contents.fpga}};
    for (const auto& [name, data] : images) {
        const auto file = files.find(QLatin1String(name));
        if (file != files.end() && !ReadFile(file->second, data, &error)) {
            return Fail("firmware pack: " + error, 1);
        }
    }
    if (!FirmwarePackage::Write(out, *family, contents, &error)) {
        return Fail("firmware pack: " + error, 1);
    }
    CommandLine::Print(QStringLiteral("%1: %2 package, %3\n")
                           .arg(out, QLatin1String(family->model),
                                RdmFamily::ForModel(QLatin1String(family->model))
                                    ->Create(0, 0)
                                    ->GetFirmwarePackageVersion(out)));
    return 0;
}

const std::pair<const char*, int (*)(const QStringList&)> kActions[] = {
    {"info", &Info},
    {"pack", &Pack},
};

}  // namespace

int Run(const QStringList& arguments) {
    QStringList words = arguments.mid(1);
    words.removeOne(QStringLiteral("firmware"));
    if (words.isEmpty() || words.contains("--help") || words.contains("-h")) {
        CommandLine::Print(
            "Usage: aurelctl firmware info PACKAGE\n"
            "       aurelctl firmware pack OUT.crvpkg --motion FILE --graphics FILE [--fpga FILE] "
            "--versions MOTION GRAPHICS FPGA\n\n"
            "LED fixture firmware packages: info lists the entries, their sizes and the "
            "versions; pack builds a package of the family OUT's name starts with (marqa or "
            "solvi), with versions such as 4.3.0.1 4.3.0.1 8.\n");
        return words.isEmpty() ? 2 : 0;
    }
    const QString action = words.takeFirst();
    for (const auto& [name, run] : kActions) {
        if (action == QLatin1String(name)) {
            return run(words);
        }
    }
    return Fail("firmware: unknown action " + action + " (info or pack)", 2);
}

}  // namespace FirmwareCommand
