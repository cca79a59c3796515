#pragma once

#include "rdm/devices/Device.h"

#include <QWizard>

#include <vector>

class UpgradeDevicePage;
class UpgradeFirmwareFilePage;
class UpgradeModelPage;

// "Software Upgrade Wizard": the model to upgrade, the firmware file (asked only when the
// model has no stock package) and the devices of that model to upgrade. The wizard keeps the
// devices in use while it is open.
class UpgradeWizard : public QWizard {
    Q_OBJECT

public:
    enum Page { kModelPage, kFilePage, kDevicePage };

    // `devices`: the upgradable devices.
    explicit UpgradeWizard(const QList<Device*>& devices, QWidget* parent = nullptr);
    ~UpgradeWizard() override;

    // The model page goes to the file page only when it found no stock package.
    int nextId() const override;

    // The devices checked on the device page.
    QList<Device*> CheckedDevices() const;
    // The firmware file or package to upgrade them with.
    QString File() const;

    UpgradeModelPage* ModelPage() const { return m_modelPage; }
    UpgradeFirmwareFilePage* FilePage() const { return m_filePage; }
    UpgradeDevicePage* DevicePage() const { return m_devicePage; }

private:
    std::vector<DeviceUse> m_uses;
    UpgradeModelPage* m_modelPage;  // pages are children of the wizard
    UpgradeFirmwareFilePage* m_filePage;
    UpgradeDevicePage* m_devicePage;
};
