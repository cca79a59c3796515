#pragma once

#include "comm/ProgressShare.h"

#include <atomic>
#include <mutex>

class QEventLoop;

// The feedback of one step of an operation: its lines go to the operation's feedback, its
// progress becomes the step's share [start, end] of the operation's progress, and its end is
// kept for WaitResult. The end may be reported from any thread (device folders report it
// from the window thread when their command has run).
class FeedbackWrapper : public ProgressShare {
public:
    FeedbackWrapper(IFeedback* outer, int start, int end);
    ~FeedbackWrapper() override;
    FeedbackWrapper(const FeedbackWrapper&) = delete;
    FeedbackWrapper& operator=(const FeedbackWrapper&) = delete;

    void Finished(FeedbackResult result) override;

    // The end reported so far (0 while there is none).
    int Result() const { return m_result.load(); }
    // Runs the calling thread's events until the end arrives, then: 2 when the operation has
    // been cancelled, 0 for a success, 1 otherwise. A step that queued a device command thus
    // lets it run to its end also after a cancel.
    int WaitResult();

private:
    std::atomic<int> m_result{0};
    std::mutex m_mutex;
    QEventLoop* m_loop = nullptr;  // the running wait, under m_mutex
};
