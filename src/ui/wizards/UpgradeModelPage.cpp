#include "ui/wizards/UpgradeModelPage.h"

#include "rdm/devices/Device.h"
#include "ui/wizards/WizardSupport.h"

UpgradeModelPage::UpgradeModelPage(const QList<Device*>& devices, QWidget* parent)
    : DeviceModelPage(
          devices,
          QStringLiteral("This wizard will help you upgrade software for the selected devices."),
          QStringLiteral("Model to upgrade:"), parent),
      m_devices(devices) {}

bool UpgradeModelPage::validatePage() {
    const Device* device = WizardSupport::OfModel(m_devices, Model()).value(0);
    setField(QStringLiteral("file"), device ? device->GetFirmwarePackagePath() : QString());
    return true;
}
