#include "comm/ProgressMeter.h"

#include "comm/IFeedback.h"
#include "os/Clock.h"

#include <algorithm>

ProgressMeter::ProgressMeter(IFeedback* feedback, int total)
    : m_feedback(feedback),
      m_total(std::max(total, 0)),
      m_textAt(Os::Clock::Instance().NowMs() - kTextIntervalMs) {
    if (m_feedback) {
        m_feedback->SetTotal(m_total);
        m_feedback->SetCurrent(0);
    }
}

QString ProgressMeter::TransferText(const char* piece, int done, int total, qsizetype fixtures) {
    return QStringLiteral("%1 %2 of %3 (%4%), %5 fixture(s)")
        .arg(QLatin1String(piece))
        .arg(done)
        .arg(total)
        .arg(total > 0 ? qint64(std::clamp(done, 0, total)) * 100 / total : 100)
        .arg(fixtures);
}

int ProgressMeter::Percent(int current) const {
    return m_total > 0 ? int(qint64(current) * 100 / m_total) : 100;
}

void ProgressMeter::Finish(const QString& text) {
    m_text.clear();
    Step(m_total, text, true);
}

void ProgressMeter::Step(int current, const QString& text, bool urgent) {
    if (!m_feedback) {
        return;
    }
    current = std::clamp(current, m_current, m_total);
    const bool moved =
        Percent(current) != m_percent || (current == m_total && m_current != m_total);
    m_current = current;
    if (moved) {
        m_percent = Percent(current);
        m_feedback->SetCurrent(current);
    }
    const qint64 now = Os::Clock::Instance().NowMs();
    if (text != m_text && (urgent || moved || now - m_textAt >= kTextIntervalMs)) {
        m_text = text;
        m_textAt = now;
        m_feedback->SetProgressText(text);
    }
}
