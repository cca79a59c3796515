#include "ui/MessageBoxNotice.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxNotice::Show(const QString& text) {
    QMessageBox::warning(m_window, QApplication::applicationDisplayName(), text);
}
