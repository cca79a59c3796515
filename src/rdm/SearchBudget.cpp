#include "rdm/SearchBudget.h"

#include "comm/IFeedback.h"

SearchBudget::SearchBudget(const Bounds& bounds, IFeedback* feedback)
    : m_bounds(bounds), m_feedback(feedback) {}

bool SearchBudget::Spend() {
    if (m_stop != Stop::None) {
        return false;
    }
    if (m_feedback && m_feedback->IsCancelled()) {
        StopWith(Stop::Cancelled);
        return false;
    }
    if (m_spent >= m_bounds.requests + m_found * m_bounds.requestsPerFixture) {
        StopWith(Stop::Exhausted);
        return false;
    }
    ++m_spent;
    return true;
}

void SearchBudget::Found() {
    ++m_found;
}

void SearchBudget::SilentLeaf() {
    if (++m_silentLeaves > m_bounds.silentLeaves + m_found * m_bounds.silentLeavesPerFixture) {
        StopWith(Stop::Exhausted);
    }
}

void SearchBudget::StopWith(Stop stop) {
    if (m_stop != Stop::None) {
        return;
    }
    m_stop = stop;
    if (!m_feedback) {
        return;
    }
    if (stop == Stop::Cancelled) {
        m_feedback->AddString(QStringLiteral(" RDM Discovery: Cancelled"), FeedbackStatusWarning);
    } else {
        m_feedback->AddString(
            QStringLiteral(" RDM Discovery: Stopped, the line answers every request"),
            FeedbackStatusWarning);
    }
}
