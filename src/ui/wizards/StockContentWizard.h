#pragma once

#include "ui/wizards/DeviceSelectionWizard.h"

// Picks the LED fixtures of one model whose stock content is to be brought up to date.
class StockContentWizard : public DeviceSelectionWizard {
    Q_OBJECT

public:
    explicit StockContentWizard(const QList<Device*>& devices, QWidget* parent = nullptr);
};
