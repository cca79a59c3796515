#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Turns the event loop until the condition holds (true) or `ms` pass (false).
template <class Condition>
bool Eventually(Condition condition, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
