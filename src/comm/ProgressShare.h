#pragma once

#include "comm/IFeedback.h"

#include <atomic>

// The feedback of one part of a larger piece of work: its lines, cancel polls and progress
// texts go to the whole's feedback (the texts after a prefix that names the part), and its
// progress becomes its share [start, end] of the whole's. Its end is its own business.
class ProgressShare : public IFeedback {
public:
    ProgressShare(IFeedback* outer, int start, int end, QString prefix = {});

    void AddString(QString text, FeedbackStatus status) override;
    void SetTotal(int total) override;
    // Reports start + (end - start) * min(current, total) / total, when that moved.
    void SetCurrent(int current) override;
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override;
    void SetProgressText(QString text) override;

protected:
    IFeedback* Outer() const { return m_outer; }

private:
    IFeedback* const m_outer;
    const int m_start;
    const int m_end;
    const QString m_prefix;
    std::atomic<int> m_total{0};
    std::atomic<int> m_reported{-1};
};
