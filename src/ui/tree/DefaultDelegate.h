#pragma once

#include "ui/tree/Delegate.h"

#include <QPointer>

class DefaultView;

// For nodes without a delegate of their own: "The selected item cannot be viewed".
class DefaultDelegate : public Delegate {
    Q_OBJECT
public:
    explicit DefaultDelegate(NodeTree* tree);
    QWidget* View(Node* node) override;

private:
    QPointer<DefaultView> m_view;  // owned by the view area
};
