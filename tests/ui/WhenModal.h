#pragma once

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Answers the next modal dialog with `answer` once the event loop runs it.
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        answer(dialog);
    });
}
