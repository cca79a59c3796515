#pragma once

#include "content/ContentFolder.h"

#include <QList>

#include <memory>
#include <vector>

// Makes one folder that stands for several folders of a selection, so that content added to
// it goes to all of them at once.
class ContentFolderAggregator {
public:
    virtual ~ContentFolderAggregator() = default;

    // A folder standing for those of `folders` that this aggregator can join, or null when
    // fewer than two of them can be joined.
    virtual std::unique_ptr<ContentFolder> Aggregate(
        const QList<ContentFolder*>& folders) const = 0;
    // Deletes the folders of the list that this aggregator made.
    virtual void DeleteAggregates(
        std::vector<std::unique_ptr<ContentFolder>>& aggregates) const = 0;
};
