#pragma once

#include "ui/tree/Delegate.h"

#include <QPointer>

class DeviceListView;

// For the "Devices" node: the list of every registered device.
class DeviceManagerDelegate : public Delegate {
    Q_OBJECT
public:
    explicit DeviceManagerDelegate(NodeTree* tree);
    QWidget* View(Node* node) override;

private:
    QPointer<DeviceListView> m_view;  // owned by the view area
};
