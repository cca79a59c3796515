#include "ui/quorel/QuorelHighResTimer.h"

#include <algorithm>

QuorelHighResTimer::QuorelHighResTimer(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QuorelHighResTimer::timeout);
}

void QuorelHighResTimer::Start(int delayMs) {
    m_clock.start();
    m_due = std::max(delayMs, kMinDelayMs);
    m_active = true;
    Arm();
}

void QuorelHighResTimer::Next(int delayMs) {
    if (!m_active) {
        return;
    }
    const qint64 now = m_clock.elapsed();
    if (now - m_due > kMaxLagMs) {
        m_due = now;
    }
    m_due += std::max(delayMs, kMinDelayMs);
    Arm();
}

void QuorelHighResTimer::Stop() {
    m_active = false;
    m_timer.stop();
}

void QuorelHighResTimer::Arm() {
    m_timer.start(int(std::max<qint64>(0, m_due - m_clock.elapsed())));
}
