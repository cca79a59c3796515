#pragma once

#include "rdm/devices/Device.h"
#include "ui/wizards/DeviceSelectionPage.h"

#include <QWizard>

#include <vector>

class Device;
class DeviceModelPage;

// The shape the bulk content jobs share: a model page, then a page of the fixtures of that
// model to check. The wizard keeps the fixtures in use while it is open.
class DeviceSelectionWizard : public QWizard {
    Q_OBJECT

public:
    // The texts of one wizard.
    struct Texts {
        QString title;
        QString modelSubtitle;
        QString devicesSubtitle;
        QList<DeviceChecklist::Column> columns;
        DeviceSelectionPage::Erasure erasure;
    };

    ~DeviceSelectionWizard() override;

    // The fixtures checked on the devices page.
    QList<Device*> CheckedDevices() const;
    DeviceModelPage* ModelPage() const { return m_modelPage; }
    DeviceSelectionPage* SelectionPage() const { return m_selectionPage; }

protected:
    DeviceSelectionWizard(const Texts& texts, const QList<Device*>& devices, QWidget* parent);

private:
    std::vector<DeviceUse> m_uses;
    DeviceModelPage* m_modelPage;  // pages are children of the wizard
    DeviceSelectionPage* m_selectionPage;
};
