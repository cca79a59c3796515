#pragma once

#include <QWidget>

// Shown for items that have no view: "The selected item cannot be viewed".
class DefaultView : public QWidget {
    Q_OBJECT
public:
    explicit DefaultView(QWidget* parent = nullptr);
};
