#pragma once

#include "content/operations/ContentOperation.h"

#include <QList>

#include <vector>

class Content;
class ContentFolder;
class ContentFolderAggregator;

// Makes each location hold exactly the source's folders and items, under the source's names
// and addresses, and nothing else. Per location: extra folders and items are deleted,
// folders and items that are there already (a folder of the same number, or of the same name
// where the source's has none; an item whose data has the same key) are kept and given the
// source's names and addresses, moving one out of the way under a temporary "%1 (%2)" name
// where need be; missing folders are made; missing items are copied. An item that several
// locations need in the same place is copied to all of them at once where an aggregator can
// join their folders (a broadcast upload to fixtures of one family). Goes on after a
// failing step.
class ContentSyncOperation : public ContentOperation {
    Q_OBJECT

public:
    ContentSyncOperation(ContentFolder* source, const QList<ContentFolder*>& locations);

    QString Title() const override;
    // Enabled, with a source and at least one location.
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

    void SetEnabled(bool enabled) { m_enabled = enabled; }
    // The aggregators that may join the locations' folders for one copy to all.
    void SetAggregators(const QList<const ContentFolderAggregator*>& aggregators) {
        m_aggregators = aggregators;
    }

    // The steps the last run took (0: every location was equal to the source already).
    int Steps() const { return m_steps; }

    // A source item and the location folder that lacks it.
    struct Missing {
        const Content* item;
        ContentFolder* folder;
    };

protected:
    // Whether the source's child takes part (all do here).
    virtual bool Includes(const ContentBase* sourceChild) const;

private:
    class Plan;

    // The four phases for one location; its missing items are appended to `missing`.
    int SyncLocation(IFeedback* feedback, ContentFolder* location, int start, int end,
                     std::vector<Missing>* missing);
    // Copies the missing items, joined per item and folder number where an aggregator can.
    int CopyMissing(IFeedback* feedback, std::vector<Missing> missing, int start, int end);

    // Counts a step and folds its result in: true when the work must stop (cancelled).
    bool Step(int result);

    quint32 m_source;
    std::vector<quint32> m_locations;
    QList<const ContentFolderAggregator*> m_aggregators;
    bool m_enabled = true;
    bool m_failed = false;
    int m_steps = 0;
};
