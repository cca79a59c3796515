#pragma once

#include <QDialog>

// The program's name, version and maker.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
