#include "ui/wizards/DeleteAllQuorelContentWizard.h"

#include "lumo/devices/LumoRDM.h"
#include "ui/wizards/WizardSupport.h"

DeleteAllQuorelContentWizard::DeleteAllQuorelContentWizard(const QList<Device*>& devices,
                                                           QWidget* parent)
    : DeviceSelectionWizard(
          {QStringLiteral("Delete All Quorel Content Wizard"),
           QStringLiteral("This wizard will remove all Quorel content on the selected devices."),
           QStringLiteral("Select the devices to update.  Quorel content on the selected devices "
                          "WILL be removed."),
           {{QStringLiteral("Address"), &WizardSupport::DmxAddress},
            {QStringLiteral("Quorel Address"), &WizardSupport::QuorelAddress},
            {QStringLiteral("Description"), &WizardSupport::Description}},
           {&LumoRDM::CountQuorelContent,
            QStringLiteral("%1 of Quorel content will be removed from %2.")}},
          devices, parent) {}
