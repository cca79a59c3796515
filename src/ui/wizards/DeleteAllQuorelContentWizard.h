#pragma once

#include "ui/wizards/DeviceSelectionWizard.h"

// Picks the LED fixtures of one model whose Quorel content is to be deleted.
class DeleteAllQuorelContentWizard : public DeviceSelectionWizard {
    Q_OBJECT

public:
    explicit DeleteAllQuorelContentWizard(const QList<Device*>& devices, QWidget* parent = nullptr);
};
