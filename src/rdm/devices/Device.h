#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>

class QStandardItemModel;
struct LegacyFixtureType;

// One fixture that a discovery found. Its 64-bit id holds the 48-bit RDM UID (manufacturer
// in the upper 16 of the 48 bits); two objects are the same fixture exactly when their ids
// are equal.
class Device : public QObject {
    Q_OBJECT
public:
    Device(quint8 kind, quint64 uid, QObject* parent = nullptr);

    quint64 GetUid() const { return m_uid; }
    void SetUid(quint64 uid) { m_uid = uid; }
    quint16 ManufacturerId() const { return quint16(m_uid >> 32); }
    quint32 DeviceId() const { return quint32(m_uid); }
    // "0x%1" with the id in hexadecimal.
    QString UidText() const;
    static QString UidText(quint64 uid);

    quint8 GetKind() const { return m_kind; }
    // The widget port the fixture was found on.
    quint8 GetPort() const { return m_port; }
    void SetPort(quint8 port) { m_port = port; }
    // The device path of the widget the fixture was found on (empty when not recorded). A
    // port number names a DMX line only together with its widget.
    QString GetWidget() const { return m_widget; }
    void SetWidget(const QString& path) { m_widget = path; }
    qint64 MillisecondsSinceCreation() const { return m_created.elapsed(); }

    // 1 for RDM fixtures.
    virtual int DeviceType() const = 0;
    virtual void SetModelNumber(quint16 model) = 0;
    virtual quint16 GetModelNumber() const = 0;
    virtual QString GetModelText() const = 0;
    virtual quint16 GetProductCategory() const = 0;
    virtual void SetProductCategory(quint16 category) = 0;
    virtual QString GetManufacturer() const = 0;
    virtual quint16 GetDmxStartAddress() const = 0;
    // The number of DMX channels the fixture takes from its start address; 0 when unknown.
    virtual quint16 GetDmxFootprint() const { return 0; }
    virtual QString GetSoftwareVersion() const = 0;
    // Whether the model number indexes the legacy fixture-type table.
    bool UsesLegacyTypeTable() const { return m_legacyType; }
    void SetUsesLegacyTypeTable(bool legacy) { m_legacyType = legacy; }
    // Talk-back firmware upload: whether the model takes it, and its packet size in bytes;
    // false and 0 for a device outside the legacy fixture-type table.
    virtual bool GetFirmwareUploadFlag() const;
    virtual quint16 GetFirmwarePacketSize() const;

    // The property table shown for the device: "Parameter" and "Value" columns.
    virtual void FillProperties(QStandardItemModel* model) const = 0;

    // The stock firmware package for this kind of fixture (none by default).
    virtual QString GetFirmwarePackagePath() const { return {}; }
    // The file patterns of the firmware files this kind of fixture takes, separated by spaces:
    // those of its row of the legacy fixture-type table (none outside it).
    virtual QString GetFirmwarePackagePattern() const;
    // The version of the firmware package kept in a folder.
    virtual QString GetFirmwarePackageVersion(const QString& folder) const;

    // Users that must outlive a removal from the registry (queued commands, running
    // operations) hold a use; a retired device is released when its last use ends.
    void AddUse() { m_uses.fetch_add(1); }
    void RemoveUse();
    int Uses() const { return m_uses.load(); }

Q_SIGNALS:
    void AddressChanged();
    // The name or the DMX footprint the fixture is shown with changed (a label or personality
    // set); emitted on the thread that changed it.
    void DetailsChanged();
    // The last use ended (emitted on the thread that dropped it).
    void Unused();

private:
    // The device's row of the legacy fixture-type table, or null.
    const LegacyFixtureType* LegacyType() const;

    QElapsedTimer m_created;
    quint64 m_uid;
    const quint8 m_kind;
    quint8 m_port = 0;
    QString m_widget;
    bool m_legacyType = false;
    std::atomic<int> m_uses{0};
};

// Holds one use of a device for as long as it lives.
class DeviceUse {
public:
    DeviceUse() = default;
    explicit DeviceUse(Device* device) : m_device(device) {
        if (m_device) {
            m_device->AddUse();
        }
    }
    DeviceUse(const DeviceUse& other) : DeviceUse(other.m_device) {}
    DeviceUse& operator=(DeviceUse other) {
        std::swap(m_device, other.m_device);
        return *this;
    }
    ~DeviceUse() {
        if (m_device) {
            m_device->RemoveUse();
        }
    }
    Device* get() const { return m_device; }

private:
    Device* m_device = nullptr;
};

// Holds one use of each device of a list, for as long as it lives; the devices in their order.
class DeviceUses {
public:
    DeviceUses() = default;
    explicit DeviceUses(const QList<Device*>& devices) {
        for (Device* device : devices) {
            m_uses.append(DeviceUse(device));
        }
    }
    QList<Device*> Devices() const {
        QList<Device*> devices;
        for (const DeviceUse& use : m_uses) {
            devices.append(use.get());
        }
        return devices;
    }

private:
    QList<DeviceUse> m_uses;
};
