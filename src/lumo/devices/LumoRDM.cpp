#include "lumo/devices/LumoRDM.h"

#include "archive/ArchivePathRouter.h"
#include "content/ContentModelMutex.h"
#include "firmware/FirmwarePackage.h"
#include "lumo/devices/ConfigHandler.h"
#include "lumo/tree/LumoRDMContentGroup.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "os/NamedFolders.h"
#include "rdm/devices/PropertyTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Items below a folder: sub-folders count their own items, anything else counts one.
int CountBelow(const ContentFolder* folder) {
    int count = 0;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        const auto* child = folder->Child(i);
        const auto* sub = qobject_cast<const ContentFolder*>(child);
        count += sub ? CountBelow(sub) : 1;
    }
    return count;
}

}  // namespace

LumoRDM::LumoRDM(quint64 uid, QObject* parent) : RDMDevice(uid, parent) {
    SetManufacturerLabel(QStringLiteral("Corvane"));
}

LumoRDM::~LumoRDM() = default;

int LumoRDM::CountItems(const LumoRDMContentGroup* group) {
    if (!group) {
        return 0;
    }
    const ContentModelLock lock;
    int count = 0;
    for (int i = 0; i < group->ChildCount(); ++i) {
        if (const auto* folder = qobject_cast<const ContentFolder*>(group->Child(i))) {
            count += CountBelow(folder);
        }
    }
    return count;
}

int LumoRDM::CountUserContent() const {
    return CountItems(m_contentRoot ? m_contentRoot->UserGroup() : nullptr);
}

int LumoRDM::CountQuorelContent() const {
    return CountItems(m_contentRoot ? m_contentRoot->QuorelGroup() : nullptr);
}

std::optional<ConfigHandler> LumoRDM::ReadVersionFile(const QString& folder) const {
    const std::unique_ptr<QIODevice> file = OpenVersionFile(folder);
    if (!file) {
        return std::nullopt;
    }
    ConfigHandler handler;
    return handler.Read(*file) ? handler : ConfigHandler();
}

bool LumoRDM::ReadMotionVersion(const QString& folder, std::array<quint32, 4>* version) const {
    const auto motion = ReadVersionFile(folder).value_or(ConfigHandler()).Motion();
    if (motion) {
        *version = *motion;
    }
    return motion.has_value();
}

bool LumoRDM::ReadGraphicsVersion(const QString& folder, std::array<quint32, 4>* version) const {
    const auto graphics = ReadVersionFile(folder).value_or(ConfigHandler()).Graphics();
    if (graphics) {
        *version = *graphics;
    }
    return graphics.has_value();
}

bool LumoRDM::ReadFpgaVersion(const QString& folder, quint32* version) const {
    const auto fpga = ReadVersionFile(folder).value_or(ConfigHandler()).Fpga();
    if (fpga) {
        *version = *fpga;
    }
    return fpga.has_value();
}

QString LumoRDM::GetSoftwareVersion() const {
    return QStringLiteral("Motion %1, Graphics %2, FPGA %3")
        .arg(GetSoftwareVersionLabel(), m_graphicsVersion)
        .arg(m_fpgaVersion);
}

QString LumoRDM::GetFirmwarePackageVersion(const QString& folder) const {
    const std::optional<ConfigHandler> handler = ReadVersionFile(folder);
    if (!handler) {
        return QStringLiteral("(Error opening file)");
    }
    if (!handler->Motion() || !handler->Graphics() || !handler->Fpga()) {
        return QStringLiteral("(Error parsing file)");
    }
    return QStringLiteral("Motion %1, Graphics %2, FPGA %3")
        .arg(FirmwarePackage::VersionText(*handler->Motion()),
             FirmwarePackage::VersionText(*handler->Graphics()))
        .arg(*handler->Fpga());
}

void LumoRDM::FillProperties(QStandardItemModel* model) const {
    using PropertyTable::AddRow;
    RDMDevice::FillProperties(model);
    const int user = CountUserContent();
    const int quorel = CountQuorelContent();
    AddRow(model, "Quorel Address", QString::number(m_quorelAddress));
    AddRow(model, "GE Unique Id", QStringLiteral("0x%1").arg(m_graphicsUniqueId, 0, 16));
    AddRow(model, "GE Boot Code Changed", QString::number(m_bootCodeChanged));
    AddRow(model, "User Content Remaining",
           QString::number(kContentCapacity - std::min(kContentCapacity, user + quorel)));
    AddRow(model, "User Content Used", QString::number(user));
    AddRow(model, "Quorel Content Used", QString::number(quorel));
}

LumoRDMContentGroup* LumoRDM::GetUserContentGroup() {
    LumoRDMContentRoot* root = GetContentRoot();
    const ContentModelLock lock;
    return root ? root->UserGroup() : nullptr;
}

LumoRDMContentGroup* LumoRDM::GetStockContentGroup() {
    LumoRDMContentRoot* root = GetContentRoot();
    const ContentModelLock lock;
    return root ? root->StockGroup() : nullptr;
}

LumoRDMContentGroup* LumoRDM::GetQuorelContentGroup() {
    LumoRDMContentRoot* root = GetContentRoot();
    const ContentModelLock lock;
    return root ? root->QuorelGroup() : nullptr;
}

QString LumoRDM::StockPackagePath(const QString& name) {
    const QString folder = Os::NamedFolders::Path(QStringLiteral("Firmware"));
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return {};
    }
    const QFileInfo package(QDir(folder).filePath(name));
    return package.isFile() ? package.absoluteFilePath() : QString();
}

std::unique_ptr<QIODevice> LumoRDM::OpenFolderFile(const QString& folder, const QString& name) {
    // A firmware package is read in place, like a folder.
    return ArchivePathRouter::OpenRead(folder + '/' + name);
}
