#pragma once

#include <QString>
#include <QtGlobal>

class IFeedback;

// Reports the progress of one piece of work to a feedback without flooding its watchers:
// the count when the per cent it stands for moves and at the end; the text when it differs,
// at most once every kTextIntervalMs of clock time unless it is urgent or the per cent moved.
// Counts never go back. A null feedback makes every call a no-op.
class ProgressMeter {
public:
    static constexpr qint64 kTextIntervalMs = 250;

    // Reports the total and a count of 0.
    ProgressMeter(IFeedback* feedback, int total);

    void Step(int current, const QString& text, bool urgent = false);
    // Brings the count to the total, with the text (told again even when it was told last:
    // others may have spoken to the same feedback since).
    void Finish(const QString& text);

    int Total() const { return m_total; }
    int Current() const { return m_current; }

    // "Block 3 of 10 (30%), 2 fixture(s)": the pieces of a transfer done and the fixtures
    // still in it.
    static QString TransferText(const char* piece, int done, int total, qsizetype fixtures);

private:
    int Percent(int current) const;

    IFeedback* const m_feedback;
    const int m_total;
    int m_current = 0;
    int m_percent = 0;
    QString m_text;
    qint64 m_textAt = 0;
};
