#pragma once

#include "content/ContentFolderAggregator.h"

class LumoRDMContentAggregate;
class LumoRDMContentFolder;

// Joins the fixture folders of one family and one number in a selection into an aggregate.
class LumoRDMContentFolderAggregator : public ContentFolderAggregator {
public:
    // The aggregators of both families.
    static QList<const ContentFolderAggregator*> Families();

    // The family's folders of the list that share the number of the first of them; an
    // aggregate of them when there are at least two.
    std::unique_ptr<ContentFolder> Aggregate(const QList<ContentFolder*>& folders) const override;
    void DeleteAggregates(std::vector<std::unique_ptr<ContentFolder>>& aggregates) const override;

protected:
    virtual bool IsFamilyFolder(const ContentFolder* folder) const = 0;
    virtual bool IsFamilyAggregate(const ContentFolder* folder) const = 0;
    virtual std::unique_ptr<LumoRDMContentAggregate> NewAggregate(
        const QList<LumoRDMContentFolder*>& folders) const = 0;
};

class MarqaRDMContentFolderAggregator : public LumoRDMContentFolderAggregator {
protected:
    bool IsFamilyFolder(const ContentFolder* folder) const override;
    bool IsFamilyAggregate(const ContentFolder* folder) const override;
    std::unique_ptr<LumoRDMContentAggregate> NewAggregate(
        const QList<LumoRDMContentFolder*>& folders) const override;
};

class SolviRDMContentFolderAggregator : public LumoRDMContentFolderAggregator {
protected:
    bool IsFamilyFolder(const ContentFolder* folder) const override;
    bool IsFamilyAggregate(const ContentFolder* folder) const override;
    std::unique_ptr<LumoRDMContentAggregate> NewAggregate(
        const QList<LumoRDMContentFolder*>& folders) const override;
};
