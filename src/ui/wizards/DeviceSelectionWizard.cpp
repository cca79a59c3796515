#include "ui/wizards/DeviceSelectionWizard.h"

#include "lumo/devices/LumoRDM.h"
#include "ui/wizards/DeviceModelPage.h"
#include "ui/wizards/WizardSupport.h"

DeviceSelectionWizard::DeviceSelectionWizard(const Texts& texts, const QList<Device*>& devices,
                                             QWidget* parent)
    : QWizard(parent), m_uses(WizardSupport::UsesOf(devices)) {
    const QList<LumoRDM*> led = WizardSupport::LedFixtures(devices);
    const QList<Device*> fixtures(led.begin(), led.end());
    setWindowTitle(texts.title);
    setWizardStyle(QWizard::ClassicStyle);
    m_modelPage = new DeviceModelPage(fixtures, texts.modelSubtitle,
                                      QStringLiteral("Model to update:"), this);
    m_selectionPage = new DeviceSelectionPage(fixtures, m_modelPage, texts.devicesSubtitle,
                                              texts.columns, texts.erasure, {}, this);
    addPage(m_modelPage);
    addPage(m_selectionPage);
    resize(560, 420);
}

DeviceSelectionWizard::~DeviceSelectionWizard() = default;

QList<Device*> DeviceSelectionWizard::CheckedDevices() const {
    return m_selectionPage->CheckedDevices();
}
