#pragma once

#include "ui/wizards/DeviceSelectionWizard.h"

// Picks the LED fixtures of one model whose user content is to be deleted.
class DeleteAllUserContentWizard : public DeviceSelectionWizard {
    Q_OBJECT

public:
    explicit DeleteAllUserContentWizard(const QList<Device*>& devices, QWidget* parent = nullptr);
};
