#pragma once

#include "comm/Command.h"

#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

// The progress a command reports: its totals, its counts and its progress texts, in order.
class ProgressSpy {
public:
    explicit ProgressSpy(Command* command)
        : m_totals(command, &Command::IFeedback_SetTotal),
          m_counts(command, &Command::IFeedback_SetCurrent),
          m_texts(command, &Command::IFeedback_SetProgressText) {}

    QList<int> Totals() const { return Ints(m_totals); }
    QList<int> Counts() const { return Ints(m_counts); }
    QStringList Texts() const {
        QStringList texts;
        for (const QList<QVariant>& call : m_texts) {
            texts.append(call[0].toString());
        }
        return texts;
    }

    // One total; counts that never go back and end at the total; texts that each differ from
    // the one before.
    void ExpectRisingToTheTotal() const {
        const QList<int> totals = Totals();
        ASSERT_EQ(totals.size(), 1);
        const QList<int> counts = Counts();
        ASSERT_FALSE(counts.isEmpty());
        for (qsizetype i = 1; i < counts.size(); ++i) {
            EXPECT_LE(counts[i - 1], counts[i]) << "count " << i;
        }
        EXPECT_EQ(counts.last(), totals[0]);
        const QStringList texts = Texts();
        for (qsizetype i = 1; i < texts.size(); ++i) {
            EXPECT_NE(texts[i - 1], texts[i]);
        }
    }

private:
    static QList<int> Ints(const QSignalSpy& spy) {
        QList<int> values;
        for (const QList<QVariant>& call : spy) {
            values.append(call[0].toInt());
        }
        return values;
    }

    QSignalSpy m_totals;
    QSignalSpy m_counts;
    QSignalSpy m_texts;
};
