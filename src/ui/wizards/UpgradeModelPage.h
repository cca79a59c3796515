#pragma once

#include "ui/wizards/DeviceModelPage.h"

// The upgrade wizard's first page: the model to upgrade. Going on puts the stock firmware
// package of that model into the field "file" (empty when there is none).
class UpgradeModelPage : public DeviceModelPage {
    Q_OBJECT

public:
    explicit UpgradeModelPage(const QList<Device*>& devices, QWidget* parent = nullptr);

    bool validatePage() override;

private:
    const QList<Device*> m_devices;
};
