#include "ui/wizards/UpgradeWizard.h"

#include "ui/wizards/UpgradeDevicePage.h"
#include "ui/wizards/UpgradeFirmwareFilePage.h"
#include "ui/wizards/UpgradeModelPage.h"
#include "ui/wizards/WizardSupport.h"

#include <QLineEdit>

UpgradeWizard::UpgradeWizard(const QList<Device*>& devices, QWidget* parent)
    : QWizard(parent),
      m_uses(WizardSupport::UsesOf(devices)),
      m_modelPage(new UpgradeModelPage(devices, this)),
      m_filePage(new UpgradeFirmwareFilePage(devices, this)),
      m_devicePage(new UpgradeDevicePage(devices, m_modelPage, this)) {
    setWindowTitle(QStringLiteral("Software Upgrade Wizard"));
    setWizardStyle(QWizard::ClassicStyle);
    setPage(kModelPage, m_modelPage);
    setPage(kFilePage, m_filePage);
    setPage(kDevicePage, m_devicePage);
    connect(m_filePage->FileEdit(), &QLineEdit::textChanged, m_devicePage,
            &UpgradeDevicePage::ResetDeviceList);
    resize(620, 440);
}

UpgradeWizard::~UpgradeWizard() = default;

int UpgradeWizard::nextId() const {
    if (currentId() == kModelPage) {
        return field(QStringLiteral("file")).toString().isEmpty() ? kFilePage : kDevicePage;
    }
    return QWizard::nextId();
}

QList<Device*> UpgradeWizard::CheckedDevices() const {
    return m_devicePage->CheckedDevices();
}

QString UpgradeWizard::File() const {
    return field(QStringLiteral("file")).toString();
}
