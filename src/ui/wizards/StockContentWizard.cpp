#include "ui/wizards/StockContentWizard.h"

#include "ui/wizards/WizardSupport.h"

StockContentWizard::StockContentWizard(const QList<Device*>& devices, QWidget* parent)
    : DeviceSelectionWizard(
          {QStringLiteral("Stock Content Wizard"),
           QStringLiteral("This wizard will update the stock content on the selected devices."),
           QStringLiteral("Select the devices to update.  User content on the selected devices "
                          "will NOT be affected."),
           {{QStringLiteral("Address"), &WizardSupport::DmxAddress},
            {QStringLiteral("Description"), &WizardSupport::Description}},
           {}},
          devices, parent) {}
