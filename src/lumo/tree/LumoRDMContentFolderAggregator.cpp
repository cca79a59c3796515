#include "lumo/tree/LumoRDMContentFolderAggregator.h"

#include "content/ContentModelMutex.h"
#include "lumo/tree/LumoRDMContentAggregate.h"
#include "lumo/tree/LumoRDMContentFolder.h"

QList<const ContentFolderAggregator*> LumoRDMContentFolderAggregator::Families() {
    static const MarqaRDMContentFolderAggregator marqa;
    static const SolviRDMContentFolderAggregator solvi;
    return {&marqa, &solvi};
}

std::unique_ptr<ContentFolder> LumoRDMContentFolderAggregator::Aggregate(
    const QList<ContentFolder*>& folders) const {
    const ContentModelLock lock;
    QList<LumoRDMContentFolder*> joined;
    for (ContentFolder* folder : folders) {
        auto* fixtureFolder = qobject_cast<LumoRDMContentFolder*>(folder);
        if (fixtureFolder && IsFamilyFolder(fixtureFolder) &&
            (joined.isEmpty() || fixtureFolder->Number() == joined.first()->Number())) {
            joined.append(fixtureFolder);
        }
    }
    if (joined.size() < 2) {
        return nullptr;
    }
    return NewAggregate(joined);
}

void LumoRDMContentFolderAggregator::DeleteAggregates(
    std::vector<std::unique_ptr<ContentFolder>>& aggregates) const {
    std::erase_if(aggregates, [this](const std::unique_ptr<ContentFolder>& aggregate) {
        return IsFamilyAggregate(aggregate.get());
    });
}

bool MarqaRDMContentFolderAggregator::IsFamilyFolder(const ContentFolder* folder) const {
    return qobject_cast<const MarqaRDMContentFolder*>(folder) != nullptr;
}

bool MarqaRDMContentFolderAggregator::IsFamilyAggregate(const ContentFolder* folder) const {
    return qobject_cast<const MarqaRDMContentAggregate*>(folder) != nullptr;
}

std::unique_ptr<LumoRDMContentAggregate> MarqaRDMContentFolderAggregator::NewAggregate(
    const QList<LumoRDMContentFolder*>& folders) const {
    return std::make_unique<MarqaRDMContentAggregate>(folders);
}

bool SolviRDMContentFolderAggregator::IsFamilyFolder(const ContentFolder* folder) const {
    return qobject_cast<const SolviRDMContentFolder*>(folder) != nullptr;
}

bool SolviRDMContentFolderAggregator::IsFamilyAggregate(const ContentFolder* folder) const {
    return qobject_cast<const SolviRDMContentAggregate*>(folder) != nullptr;
}

std::unique_ptr<LumoRDMContentAggregate> SolviRDMContentFolderAggregator::NewAggregate(
    const QList<LumoRDMContentFolder*>& folders) const {
    return std::make_unique<SolviRDMContentAggregate>(folders);
}
