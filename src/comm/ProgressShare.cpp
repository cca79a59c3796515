#include "comm/ProgressShare.h"

#include <algorithm>

ProgressShare::ProgressShare(IFeedback* outer, int start, int end, QString prefix)
    : m_outer(outer), m_start(start), m_end(end), m_prefix(std::move(prefix)) {}

void ProgressShare::AddString(QString text, FeedbackStatus status) {
    if (m_outer) {
        m_outer->AddString(text, status);
    }
}

void ProgressShare::SetTotal(int total) {
    m_total = total;
}

void ProgressShare::SetCurrent(int current) {
    const int total = m_total.load();
    if (total <= 0 || !m_outer) {
        return;
    }
    const int mapped =
        m_start + int(qint64(m_end - m_start) * std::clamp(current, 0, total) / total);
    if (m_reported.exchange(mapped) != mapped) {
        m_outer->SetCurrent(mapped);
    }
}

bool ProgressShare::IsCancelled() {
    return m_outer && m_outer->IsCancelled();
}

void ProgressShare::SetProgressText(QString text) {
    if (m_outer) {
        m_outer->SetProgressText(m_prefix + text);
    }
}
