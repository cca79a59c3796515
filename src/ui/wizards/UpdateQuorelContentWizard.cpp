#include "ui/wizards/UpdateQuorelContentWizard.h"

#include "ui/wizards/WizardSupport.h"

UpdateQuorelContentWizard::UpdateQuorelContentWizard(const QList<Device*>& devices, QWidget* parent)
    : DeviceSelectionWizard(
          {QStringLiteral("Quorel Content Wizard"),
           QStringLiteral("This wizard will update the quorel content on the selected devices."),
           QStringLiteral("Select the devices to update.  User and Stock content on the selected "
                          "devices will NOT be affected."),
           {{QStringLiteral("DMX Address"), &WizardSupport::DmxAddress},
            {QStringLiteral("Quorel Address"), &WizardSupport::QuorelAddress},
            {QStringLiteral("Description"), &WizardSupport::Description}},
           {}},
          devices, parent) {}
