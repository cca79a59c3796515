#include "ui/wizards/UpgradeDevicePage.h"

#include "rdm/devices/Device.h"
#include "ui/wizards/WizardSupport.h"

#include <QBoxLayout>
#include <QLabel>

namespace {

QString SoftwareVersion(const Device* device) {
    return device->GetSoftwareVersion();
}

QString UniqueId(const Device* device) {
    return device->UidText();
}

}  // namespace

UpgradeDevicePage::UpgradeDevicePage(const QList<Device*>& devices,
                                     const DeviceModelPage* modelPage, QWidget* parent)
    : DeviceSelectionPage(
          devices, modelPage, QStringLiteral("Select the devices to receive the new software."),
          {{QStringLiteral("Address"), &WizardSupport::DmxAddress},
           {QStringLiteral("Current Software Version"), &SoftwareVersion},
           {QStringLiteral("Unique ID"), &UniqueId},
           {QStringLiteral("Upgrade"), nullptr}},
          {},
          {QStringLiteral("Select Devices to Upgrade"), QStringLiteral("Device Model:"),
           QStringLiteral("Select devices to upgrade:"),
           QStringLiteral("No devices selected.  Select one or more devices "
                          "before continuing."),
           QStringLiteral("Upgrade Devices")},
          parent),
      m_devices(devices),
      m_version(new QLabel(this)) {
    auto* version = new QHBoxLayout;
    version->addWidget(new QLabel(QStringLiteral("Upgrade Software Version:"), this));
    version->addWidget(m_version, 1);
    static_cast<QBoxLayout*>(layout())->insertLayout(1, version);  // below the model
}

void UpgradeDevicePage::initializePage() {
    ResetDeviceList();
}

void UpgradeDevicePage::ResetDeviceList() {
    DeviceSelectionPage::initializePage();
    const Device* device =
        WizardSupport::OfModel(m_devices, field(QStringLiteral("model")).toString()).value(0);
    m_version->setText(
        device ? device->GetFirmwarePackageVersion(field(QStringLiteral("file")).toString())
               : QString());
}
