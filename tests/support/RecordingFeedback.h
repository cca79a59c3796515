#pragma once

#include "comm/IFeedback.h"

#include <QStringList>

#include <mutex>
#include <vector>

// An IFeedback that keeps what it is told.
class RecordingFeedback : public IFeedback {
public:
    struct Line {
        QString text;
        FeedbackStatus status;
    };

    void AddString(QString text, FeedbackStatus status) override {
        std::lock_guard lock(m_mutex);
        m_lines.push_back({text, status});
    }
    void SetTotal(int total) override { m_total = total; }
    void SetCurrent(int current) override { m_current = current; }
    void Finished(FeedbackResult result) override { m_result = result; }
    bool IsCancelled() override { return m_cancelled; }

    std::vector<Line> Lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const Line& line : Lines()) {
            texts.append(line.text);
        }
        return texts;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

    std::atomic<int> m_total{0};
    std::atomic<int> m_current{0};
    std::atomic<FeedbackResult> m_result{FeedbackResultNone};
    std::atomic<bool> m_cancelled{false};

private:
    mutable std::mutex m_mutex;
    std::vector<Line> m_lines;
};
