#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <mutex>
#include <optional>

namespace Sim {

// What a firmware image is for.
enum class FirmwareRole { Motion, Graphics, Fpga, Talkback };

// What a simulated fixture runs after it took an image.
struct FirmwareRelease {
    FirmwareRole role = FirmwareRole::Talkback;
    QString version;  // "a.b.c.d" for motion and graphics, "n" for the FPGA, "major.minor"
};

// Which version each known firmware image stands for, so that a simulated fixture that was
// given an image reports that version afterwards. Images are compared byte for byte (padded
// with erased flash, 0xFF, to whole 256-byte packets, as the fixtures store them).
// Thread-safe; one per process.
class FirmwareCatalogue {
public:
    static FirmwareCatalogue& Instance();

    void Learn(const QByteArray& image, FirmwareRole role, const QString& version);
    // Learns the images of an LED fixture firmware package with the versions of its version
    // file; false with `error` set when the package cannot be read.
    bool LearnPackage(const QString& package, QString* error);
    std::optional<FirmwareRelease> Find(const QByteArray& image) const;

    static QByteArray Padded(const QByteArray& image);

private:
    mutable std::mutex m_lock;
    QHash<QByteArray, FirmwareRelease> m_releases;
};

}  // namespace Sim
