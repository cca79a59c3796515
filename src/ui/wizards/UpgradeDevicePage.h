#pragma once

#include "ui/wizards/DeviceSelectionPage.h"

// The upgrade wizard's last page: the devices of the chosen model with their current
// software, the version of the chosen file's software, and a check box per device.
class UpgradeDevicePage : public DeviceSelectionPage {
    Q_OBJECT

public:
    UpgradeDevicePage(const QList<Device*>& devices, const DeviceModelPage* modelPage,
                      QWidget* parent = nullptr);

    void initializePage() override;
    // Lists the devices of the chosen model again, none checked, with the version of the
    // software in the chosen file.
    void ResetDeviceList();

    QLabel* VersionLabel() const { return m_version; }

private:
    const QList<Device*> m_devices;
    QLabel* m_version;  // a child of this page
};
