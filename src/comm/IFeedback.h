#pragma once

#include <QMetaType>
#include <QString>

// Severity of a feedback line, rising.
enum FeedbackStatus {
    FeedbackStatusNormal = 0,
    FeedbackStatusWarning = 1,
    FeedbackStatusError = 2,
    FeedbackStatusFatal = 3,
};

// Outcome of an operation; commands report 2 minus their success flag.
enum FeedbackResult {
    FeedbackResultNone = 0,
    FeedbackResultSuccess = 1,
    FeedbackResultFailure = 2,
};

Q_DECLARE_METATYPE(FeedbackStatus)
Q_DECLARE_METATYPE(FeedbackResult)

// How a long operation reports to whoever watches it: log lines, progress, the end, and
// whether the watcher asked it to stop (polled between steps).
class IFeedback {
public:
    virtual ~IFeedback() = default;

    virtual void AddString(QString text, FeedbackStatus status) = 0;
    virtual void SetTotal(int total) = 0;
    virtual void SetCurrent(int current) = 0;
    virtual void Finished(FeedbackResult result) = 0;
    virtual bool IsCancelled() = 0;
    // A short line on how far the work has come ("Block 12 of 40, 2 fixtures"), shown beside
    // the progress. Sent when it changes, never with every byte; watchers keep the latest.
    virtual void SetProgressText(QString text) { Q_UNUSED(text); }

    // Registers "FeedbackStatus" and "FeedbackResult" for queued signals.
    static void RegisterMetaTypes() {
        qRegisterMetaType<FeedbackStatus>("FeedbackStatus");
        qRegisterMetaType<FeedbackResult>("FeedbackResult");
    }
};
