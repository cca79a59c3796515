#pragma once

#include "comm/IFeedback.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>

// An IFeedback that keeps the error lines it is told (trimmed) and counts the results
// reported to it, from any thread. Every line can also be handed to an echo as it comes.
class FeedbackCollector : public IFeedback {
public:
    using Echo = std::function<void(const QString&)>;

    explicit FeedbackCollector(Echo echo = {}) : m_echo(std::move(echo)) {}

    void AddString(QString text, FeedbackStatus status) override;
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void Finished(FeedbackResult result) override;
    bool IsCancelled() override { return false; }

    QStringList Errors() const;
    int Failures() const { return m_failures.load(); }
    // True when nothing failed and no error line came.
    bool Clean() const { return Failures() == 0 && Errors().isEmpty(); }

private:
    const Echo m_echo;
    mutable std::mutex m_mutex;
    QStringList m_errors;
    std::atomic<int> m_failures{0};
};
