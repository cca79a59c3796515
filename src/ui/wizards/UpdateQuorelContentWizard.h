#pragma once

#include "ui/wizards/DeviceSelectionWizard.h"

// Picks the LED fixtures of one model whose Quorel content is to be brought up to date from the
// Quorel library.
class UpdateQuorelContentWizard : public DeviceSelectionWizard {
    Q_OBJECT

public:
    explicit UpdateQuorelContentWizard(const QList<Device*>& devices, QWidget* parent = nullptr);
};
