#include "sim/FirmwareCatalogue.h"

#include "archive/ArchivePathRouter.h"
#include "firmware/FirmwarePackage.h"
#include "lumo/devices/ConfigHandler.h"
#include "orx/OrxDefs.h"

namespace Sim {

FirmwareCatalogue& FirmwareCatalogue::Instance() {
    static FirmwareCatalogue catalogue;
    return catalogue;
}

QByteArray FirmwareCatalogue::Padded(const QByteArray& image) {
    const qsizetype packets = (image.size() + Orx::kPacketSize - 1) / Orx::kPacketSize;
    return image.leftJustified(packets * Orx::kPacketSize, char(0xFF));
}

void FirmwareCatalogue::Learn(const QByteArray& image, FirmwareRole role, const QString& version) {
    std::lock_guard lock(m_lock);
    m_releases.insert(Padded(image), {role, version});
}

std::optional<FirmwareRelease> FirmwareCatalogue::Find(const QByteArray& image) const {
    std::lock_guard lock(m_lock);
    const auto found = m_releases.constFind(Padded(image));
    return found == m_releases.constEnd() ? std::nullopt : std::optional(*found);
}

bool FirmwareCatalogue::LearnPackage(const QString& package, QString* error) {
    const FirmwarePackage::Family* family = FirmwarePackage::Detect(package);
    const auto file =
        family ? ArchivePathRouter::OpenRead(FirmwarePackage::EntryPath(package, family->versions))
               : nullptr;
    ConfigHandler versions;
    if (!file || !versions.Read(*file) || !versions.Motion() || !versions.Graphics() ||
        !versions.Fpga()) {
        *error = "not a firmware package with a readable version file: " + package;
        return false;
    }
    const struct {
        const char* entry;
        FirmwareRole role;
        QString version;
    } images[] = {
        {family->motion, FirmwareRole::Motion, FirmwarePackage::VersionText(*versions.Motion())},
        {family->graphics, FirmwareRole::Graphics,
         FirmwarePackage::VersionText(*versions.Graphics())},
        {family->fpga, FirmwareRole::Fpga, QString::number(*versions.Fpga())},
    };
    for (const auto& image : images) {
        QByteArray bytes;
        QString missing;
        if (FirmwarePackage::ReadImage(FirmwarePackage::EntryPath(package, image.entry), &bytes,
                                       &missing)) {
            Learn(bytes, image.role, image.version);
        }
    }
    return true;
}

}  // namespace Sim
