#include "content/operations/FeedbackProxy.h"

void FeedbackProxy::AddString(QString text, FeedbackStatus status) {
    emit IFeedback_AddString(text, status);
}

void FeedbackProxy::SetTotal(int total) {
    emit IFeedback_SetTotal(total);
}

void FeedbackProxy::SetCurrent(int current) {
    emit IFeedback_SetCurrent(current);
}

void FeedbackProxy::Finished(FeedbackResult result) {
    emit IFeedback_Finished(result);
}

bool FeedbackProxy::IsCancelled() {
    return m_cancelled.load();
}

void FeedbackProxy::cancel() {
    m_cancelled = true;
}
