#include "content/operations/FeedbackWrapper.h"

#include <QEventLoop>
#include <QTimer>

namespace {
// How long one pass of the wait lets events run before it looks at the result again.
constexpr int kWaitPassMs = 100;
}  // namespace

FeedbackWrapper::FeedbackWrapper(IFeedback* outer, int start, int end)
    : ProgressShare(outer, start, end) {}

FeedbackWrapper::~FeedbackWrapper() = default;

void FeedbackWrapper::Finished(FeedbackResult result) {
    const std::lock_guard lock(m_mutex);
    if (m_result.load() != 0 || result == FeedbackResultNone) {
        return;  // the first end counts; "none" is no end
    }
    m_result = int(result);
    if (m_loop) {
        QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
    }
}

int FeedbackWrapper::WaitResult() {
    QEventLoop loop;
    {
        const std::lock_guard lock(m_mutex);
        m_loop = &loop;
    }
    while (m_result.load() == 0) {
        QTimer::singleShot(kWaitPassMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    {
        const std::lock_guard lock(m_mutex);
        m_loop = nullptr;
    }
    if (IsCancelled()) {
        return 2;
    }
    return m_result.load() == FeedbackResultSuccess ? 0 : 1;
}
