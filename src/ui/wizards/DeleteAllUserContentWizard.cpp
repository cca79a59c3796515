#include "ui/wizards/DeleteAllUserContentWizard.h"

#include "lumo/devices/LumoRDM.h"
#include "ui/wizards/WizardSupport.h"

DeleteAllUserContentWizard::DeleteAllUserContentWizard(const QList<Device*>& devices,
                                                       QWidget* parent)
    : DeviceSelectionWizard(
          {QStringLiteral("Delete All User Content Wizard"),
           QStringLiteral("This wizard will remove all user content on the selected devices."),
           QStringLiteral("Select the devices to update.  User content on the selected devices "
                          "WILL be removed."),
           {{QStringLiteral("Address"), &WizardSupport::DmxAddress},
            {QStringLiteral("Description"), &WizardSupport::Description}},
           {&LumoRDM::CountUserContent,
            QStringLiteral("%1 of user content will be removed from %2.")}},
          devices, parent) {}
