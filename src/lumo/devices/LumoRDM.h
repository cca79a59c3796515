#pragma once

#include "lumo/devices/ConfigHandler.h"
#include "rdm/devices/RDMDevice.h"

#include <QIODevice>

#include <array>
#include <memory>
#include <optional>

class LumoRDMContentGroup;
class LumoRDMContentRoot;

// An LED fixture: an RDM fixture with a graphics engine (its own unique id, version and boot
// code), an FPGA, a Quorel address and a store of image content in numbered folders.
class LumoRDM : public RDMDevice {
    Q_OBJECT
public:
    static constexpr int kContentCapacity = 255;

    explicit LumoRDM(quint64 uid, QObject* parent = nullptr);
    ~LumoRDM() override;

    quint32 GetGraphicsUniqueId() const { return m_graphicsUniqueId; }
    void SetGraphicsUniqueId(quint32 id) { m_graphicsUniqueId = id; }
    void SetGraphicsVersion(const QString& version) { m_graphicsVersion = version; }
    QString GetGraphicsVersion() const { return m_graphicsVersion; }
    quint8 GetFpgaVersion() const { return m_fpgaVersion; }
    void SetFpgaVersion(quint8 version) { m_fpgaVersion = version; }
    quint16 GetQuorelAddress() const { return m_quorelAddress; }
    void SetQuorelAddress(quint16 address) { m_quorelAddress = address; }
    quint8 GetBootCodeChanged() const { return m_bootCodeChanged; }
    void SetBootCodeChanged(quint8 changed) { m_bootCodeChanged = changed; }

    // Items below the user and the Quorel group (0 before the content was read).
    virtual int CountUserContent() const;
    virtual int CountQuorelContent() const;

    // The versions in the version file of a firmware folder; false when the file cannot be
    // opened or does not parse.
    bool ReadMotionVersion(const QString& folder, std::array<quint32, 4>* version) const;
    bool ReadGraphicsVersion(const QString& folder, std::array<quint32, 4>* version) const;
    bool ReadFpgaVersion(const QString& folder, quint32* version) const;
    // The family's version file in a firmware folder, open for reading, or null.
    virtual std::unique_ptr<QIODevice> OpenVersionFile(const QString& folder) const = 0;

    // "Motion %1, Graphics %2, FPGA %3".
    QString GetSoftwareVersion() const override;
    QString GetFirmwarePackageVersion(const QString& folder) const override;
    void FillProperties(QStandardItemModel* model) const override;
    bool GetFirmwareUploadFlag() const override { return true; }
    quint16 GetFirmwarePacketSize() const override { return 2048; }

    // The file pattern of the family's firmware packages.
    QString GetFirmwarePackagePattern() const override = 0;

    // The fixture's content tree, made (and its folders read) on the first call; it must be
    // made on the thread the device lives in.
    virtual LumoRDMContentRoot* GetContentRoot() = 0;
    // The content root if it has been made, else null.
    LumoRDMContentRoot* ContentRootIfMade() const { return m_contentRoot.get(); }
    LumoRDMContentGroup* GetUserContentGroup();
    LumoRDMContentGroup* GetStockContentGroup();
    LumoRDMContentGroup* GetQuorelContentGroup();

protected:
    // The stock package "name" of the "Firmware" named folder, or empty.
    static QString StockPackagePath(const QString& name);
    // The family's content root for this fixture, made on the first call.
    template <class Root, class Fixture>
    LumoRDMContentRoot* ContentRoot(Fixture* fixture) {
        if (!m_contentRoot) {
            m_contentRoot = std::make_unique<Root>(fixture);
        }
        return m_contentRoot.get();
    }
    // A file of a folder, open for reading, or null.
    static std::unique_ptr<QIODevice> OpenFolderFile(const QString& folder, const QString& name);

private:
    // The version file of a firmware folder, read: nothing when it cannot be opened, a
    // handler holding no versions when it does not parse.
    std::optional<ConfigHandler> ReadVersionFile(const QString& folder) const;
    static int CountItems(const LumoRDMContentGroup* group);

    quint32 m_graphicsUniqueId = 0;
    QString m_graphicsVersion = QStringLiteral("n/a");
    quint8 m_fpgaVersion = 0;
    quint16 m_quorelAddress = 0;
    quint8 m_bootCodeChanged = 0;
    std::unique_ptr<LumoRDMContentRoot> m_contentRoot;
};
