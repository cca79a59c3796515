#include "comm/FeedbackCollector.h"

void FeedbackCollector::AddString(QString text, FeedbackStatus status) {
    std::lock_guard lock(m_mutex);
    if (m_echo) {
        m_echo(text);
    }
    if (status >= FeedbackStatusError) {
        m_errors.append(text.trimmed());
    }
}

void FeedbackCollector::Finished(FeedbackResult result) {
    if (result == FeedbackResultFailure) {
        m_failures.fetch_add(1);
    }
}

QStringList FeedbackCollector::Errors() const {
    std::lock_guard lock(m_mutex);
    return m_errors;
}
