#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Paces the creator's playback: timeout() when the next frame is due. Each frame is due its
// delay after the previous one was due (not after the previous timeout was handled), so the
// frames' delays hold to the millisecond over a whole clip, from a precise timer rather than a
// busy wait. A player that falls far behind starts afresh instead of racing to catch up.
class QuorelHighResTimer : public QObject {
    Q_OBJECT

public:
    // The shortest time a frame shows, so frames without a delay do not hold the window thread.
    static constexpr int kMinDelayMs = 10;
    // Further behind than this, the next frame is timed from now.
    static constexpr int kMaxLagMs = 250;

    explicit QuorelHighResTimer(QObject* parent = nullptr);

    // Starts pacing: timeout() after `delayMs`.
    void Start(int delayMs);
    // The next frame is due `delayMs` after the one that just came.
    void Next(int delayMs);
    void Stop();
    bool IsActive() const { return m_active; }

signals:
    void timeout();

private:
    void Arm();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_due = 0;
    bool m_active = false;
};
