#include "rdm/DiscoveryProgress.h"

#include <algorithm>

DiscoveryProgress::DiscoveryProgress(IFeedback* feedback, quint64 upper)
    : m_meter(feedback, kSteps), m_space(double(upper) + 1) {}

QString DiscoveryProgress::SearchText() const {
    return QStringLiteral("searched %1 ranges, found %2").arg(m_ranges).arg(m_found);
}

void DiscoveryProgress::Searching() {
    ++m_ranges;
    m_meter.Step(m_meter.Current(), SearchText());
}

void DiscoveryProgress::Settled(quint64 lower, quint64 upper) {
    m_settled += double(upper - lower) + 1;
    m_meter.Step(int(kSearchSteps * std::min(1.0, m_settled / m_space)), SearchText());
}

void DiscoveryProgress::Found() {
    ++m_found;
    m_meter.Step(m_meter.Current(), SearchText(), true);
}

QString DiscoveryProgress::ReadingText(const char* doing, int done, int count) {
    return QStringLiteral("%1 fixture %2 of %3").arg(QLatin1String(doing)).arg(done + 1).arg(count);
}

void DiscoveryProgress::Reading(const char* doing, int done, int count, int end) {
    const int step = count > 0 ? kSearchSteps + (end - kSearchSteps) * done / count : end;
    m_meter.Step(step, ReadingText(doing, done, count));
}

void DiscoveryProgress::Finish() {
    m_meter.Finish(QStringLiteral("found %1 fixture(s)").arg(m_found));
}
