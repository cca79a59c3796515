#pragma once

#include "comm/IFeedback.h"

#include <QObject>

#include <atomic>

// Hands an operation's feedback, called on the operation's thread, to whoever watches it as
// signals (queued to the window), and keeps the watcher's request to cancel.
class FeedbackProxy : public QObject, public IFeedback {
    Q_OBJECT

public:
    FeedbackProxy() = default;

    void AddString(QString text, FeedbackStatus status) override;
    void SetTotal(int total) override;
    void SetCurrent(int current) override;
    void Finished(FeedbackResult result) override;
    bool IsCancelled() override;

public Q_SLOTS:
    void cancel();

signals:
    void IFeedback_AddString(QString text, FeedbackStatus status);
    void IFeedback_SetTotal(int total);
    void IFeedback_SetCurrent(int current);
    void IFeedback_Finished(FeedbackResult result);

private:
    std::atomic<bool> m_cancelled{false};
};
