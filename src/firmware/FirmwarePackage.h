#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The firmware package of an LED fixture family: a gzip-compressed tar archive holding the
// motion processor, graphics engine and FPGA images and a version file, read in place by
// paths of the form package + "/" + entry name.
namespace FirmwarePackage {

// The names a family's package uses.
struct Family {
    const char* model;     // the model text of the family's fixtures
    const char* motion;    // motion processor image
    const char* graphics;  // graphics engine image
    const char* fpga;      // FPGA image
    const char* versions;  // version file
    const char* stock;     // the stock package in the firmware folder
    const char* pattern;   // the file pattern offered when a package is picked
};

extern const Family kMarqa;
extern const Family kSolvi;

// The family whose model text this is (compared without regard to case), or null.
const Family* ForModel(const QString& model);
// The family whose version file or images the package holds, or null.
const Family* Detect(const QString& package);
// The family a package file's name starts with ("marqa…", "solvi…"), or null.
const Family* ForFileName(const QString& fileName);

// The path of an entry of the package.
QString EntryPath(const QString& package, const char* entry);

// The bytes of a firmware image. False, with `error` saying why, when it does not exist,
// cannot be read or is empty.
bool ReadImage(const QString& path, QByteArray* data, QString* error);

// The versions a package's version file gives.
struct Versions {
    std::array<quint32, 4> motion{};
    std::array<quint32, 4> graphics{};
    quint32 fpga = 0;
};
// "a.b.c.d".
QString VersionText(const std::array<quint32, 4>& version);
// The version file's text for these versions.
QByteArray VersionFile(const Versions& versions);

// The images of a package; an empty image is left out of the archive.
struct Contents {
    QByteArray motion;
    QByteArray graphics;
    QByteArray fpga;
    Versions versions;
};
// Writes a package of the family; false with `error` set when it cannot be written (an
// existing file is then left as it was).
bool Write(const QString& package, const Family& family, const Contents& contents, QString* error);

}  // namespace FirmwarePackage
