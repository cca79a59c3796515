#pragma once

#include "comm/UserNotice.h"

class QWidget;

// Shows what went wrong in the background as a warning box over the given window.
class MessageBoxNotice : public UserNotice {
public:
    explicit MessageBoxNotice(QWidget* window) : m_window(window) {}
    void Show(const QString& text) override;

private:
    QWidget* m_window;
};
