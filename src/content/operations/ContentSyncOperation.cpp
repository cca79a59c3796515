#include "content/operations/ContentSyncOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentFolderAggregator.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"
#include "content/operations/ContentDeleteOperation.h"
#include "content/operations/ContentSteps.h"
#include "content/operations/FeedbackWrapper.h"

#include <map>
#include <set>

namespace {

using ContentSteps::Children;

template <class T>
T* Resolve(quint32 reference) {
    return qobject_cast<T*>(ContentRegistry::Instance().Resolve(reference));
}

}  // namespace

// What one location needs: the pairs of source and location children that stay, found in
// the first phase and worked through by the later ones.
class ContentSyncOperation::Plan {
public:
    struct Pair {
        ContentBase* source;
        ContentBase* location;
    };
    struct FolderPair {
        ContentFolder* source;
        ContentFolder* location;
    };

    std::vector<FolderPair> folders;  // every pair of folders, parents before children
    std::vector<Pair> items;          // kept items, each with the source item it stands for
    std::vector<FolderPair> unmade;   // source folders missing in a location folder
    std::set<const ContentBase*> claimed;

    // The source child that `child` of a location stands for, or null.
    ContentBase* Match(const ContentFolder* source, const ContentBase* child,
                       const ContentSyncOperation& sync) const {
        const ContentModelLock lock;
        const auto* item = qobject_cast<const Content*>(child);
        ContentBase* fallback = nullptr;
        for (ContentBase* candidate : Children(source)) {
            const bool folderCandidate = qobject_cast<const ContentFolder*>(candidate) != nullptr;
            if (claimed.count(candidate) || !sync.Includes(candidate) ||
                folderCandidate != (item == nullptr)) {
                continue;
            }
            if (item) {
                const auto* content = qobject_cast<const Content*>(candidate);
                if (content->DataKey() == 0 || content->DataKey() != item->DataKey()) {
                    continue;
                }
                if (candidate->Address() == child->Address()) {
                    return candidate;
                }
                fallback = fallback ? fallback : candidate;
            } else if (candidate->Address() != 0 ? candidate->Address() == child->Address()
                                                 : candidate->Name() == child->Name()) {
                return candidate;
            }
        }
        return fallback;
    }
};

bool ContentSyncOperation::Step(int result) {
    ++m_steps;
    m_failed = m_failed || result == Failed;
    return result == Cancelled;
}

ContentSyncOperation::ContentSyncOperation(ContentFolder* source,
                                           const QList<ContentFolder*>& locations)
    : m_source(source ? source->Reference() : 0) {
    for (const ContentFolder* location : locations) {
        m_locations.push_back(location->Reference());
    }
}

QString ContentSyncOperation::Title() const {
    const ContentFolder* source = Resolve<ContentFolder>(m_source);
    return QStringLiteral("Cloning %1 to %2 location(s)")
        .arg(source ? source->Name() : QStringLiteral("(none)"))
        .arg(m_locations.size());
}

bool ContentSyncOperation::CanExecute() const {
    return m_enabled && !m_locations.empty() && Resolve<ContentFolder>(m_source);
}

bool ContentSyncOperation::Includes(const ContentBase* /*sourceChild*/) const {
    return true;
}

int ContentSyncOperation::Execute(IFeedback* feedback, int /*options*/) {
    if (!Resolve<ContentFolder>(m_source)) {
        feedback->AddString(QStringLiteral("Failed to determine source."), FeedbackStatusError);
        return Failed;
    }
    feedback->SetTotal(100);
    m_failed = false;
    m_steps = 0;
    std::vector<Missing> missing;
    const int count = int(m_locations.size());
    for (int i = 0; i < count; ++i) {
        auto* location = Resolve<ContentFolder>(m_locations[size_t(i)]);
        if (!location) {
            m_failed = true;
            continue;
        }
        // The first three phases of every location take the first half of the progress.
        if (SyncLocation(feedback, location, 50 * i / count, 50 * (i + 1) / count, &missing) ==
            Cancelled) {
            return Cancelled;
        }
    }
    if (CopyMissing(feedback, std::move(missing), 50, 100) == Cancelled) {
        return Cancelled;
    }
    feedback->SetCurrent(100);
    return m_failed ? Failed : Succeeded;
}

int ContentSyncOperation::SyncLocation(IFeedback* feedback, ContentFolder* location, int start,
                                       int end, std::vector<Missing>* missing) {
    auto* source = Resolve<ContentFolder>(m_source);
    Plan plan;
    const int quarter = (end - start) / 3;
    // Phase 1: match what is there, delete what is not wanted, down the tree.
    std::vector<Plan::FolderPair> pending = {{source, location}};
    while (!pending.empty()) {
        const Plan::FolderPair pair = pending.back();
        pending.pop_back();
        plan.folders.push_back(pair);
        for (ContentBase* child : Children(pair.location)) {
            ContentBase* match = plan.Match(pair.source, child, *this);
            if (!match) {
                if (Step(ContentDeleteOperation::DeleteTree(feedback, child))) {
                    return Cancelled;
                }
                continue;
            }
            plan.claimed.insert(match);
            if (auto* folder = qobject_cast<ContentFolder*>(child)) {
                pending.push_back({qobject_cast<ContentFolder*>(match), folder});
            }
            plan.items.push_back({match, child});
        }
    }
    feedback->SetCurrent(start + quarter);
    // Phase 2: give what stays the source's names and addresses; a child in the way first
    // moves aside under a temporary name and a free address.
    for (const Plan::Pair& pair : plan.items) {
        if (pair.location->Name() == pair.source->Name() &&
            pair.location->Address() == pair.source->Address()) {
            continue;
        }
        ContentFolder* parent = pair.location->Parent();
        for (ContentBase* other : Children(parent)) {
            if (other == pair.location) {
                continue;
            }
            if (other->Name() == pair.source->Name()) {
                QString name = other->Name();
                for (int n = 2; parent->HasChild(name, other->Address()); ++n) {
                    name = QStringLiteral("%1 (%2)").arg(other->Name()).arg(n);
                }
                if (Step(ContentSteps::Rename(feedback, other, name))) {
                    return Cancelled;
                }
            }
            const int free = parent->NextFreeAddress(parent->MinAddress());
            if (other->Address() == pair.source->Address() && free > 0 &&
                Step(ContentSteps::Renumber(feedback, other, free))) {
                return Cancelled;
            }
        }
        if (pair.location->Address() != pair.source->Address() &&
            Step(ContentSteps::Renumber(feedback, pair.location, pair.source->Address()))) {
            return Cancelled;
        }
        if (pair.location->Name() != pair.source->Name() &&
            Step(ContentSteps::Rename(feedback, pair.location, pair.source->Name()))) {
            return Cancelled;
        }
    }
    feedback->SetCurrent(start + 2 * quarter);
    // Phase 3: make the missing folders, down the tree; note the missing items.
    for (size_t f = 0; f < plan.folders.size(); ++f) {
        const Plan::FolderPair pair = plan.folders[f];
        for (ContentBase* child : Children(pair.source)) {
            if (plan.claimed.count(child) || !Includes(child)) {
                continue;
            }
            if (const auto* item = qobject_cast<const Content*>(child)) {
                missing->push_back({item, pair.location});
                continue;
            }
            auto* folder = qobject_cast<ContentFolder*>(child);
            ContentFolder* made = nullptr;
            const int result = ContentSteps::CreateFolder(feedback, pair.location, folder->Name(),
                                                          folder->Address(), &made);
            if (Step(result)) {
                return Cancelled;
            }
            if (made) {
                plan.folders.push_back({folder, made});
            }
        }
    }
    feedback->SetCurrent(end);
    return m_failed ? Failed : Succeeded;
}

int ContentSyncOperation::CopyMissing(IFeedback* feedback, std::vector<Missing> missing, int start,
                                      int end) {
    // The folders that need each item, in the order they were found.
    std::map<std::pair<const Content*, int>, QList<ContentFolder*>> joined;
    std::vector<std::pair<const Content*, int>> order;
    for (const Missing& entry : missing) {
        const auto key = std::make_pair(entry.item, entry.folder->Address());
        if (!joined.count(key)) {
            order.push_back(key);
        }
        joined[key].append(entry.folder);
    }
    // A location whose own copy failed gets no more: each further copy would only wait for a
    // fixture that does not answer.
    std::set<const ContentFolder*> unreachable;
    const auto copyOwn = [&](const Content* item, ContentFolder* folder, const QString& name,
                             int address, ContentSteps::Share share, bool withLine) {
        const int result =
            !item      ? int(Failed)
            : withLine ? ContentSteps::CopyItem(feedback, item, folder, name, address, share)
                       : ContentSteps::CopyInto(feedback, item, folder, name, address, share);
        if (result == Failed) {
            unreachable.insert(folder->Root());
        }
        return Step(result);
    };
    const int count = std::max<int>(1, int(order.size()));
    for (size_t i = 0; i < order.size(); ++i) {
        QList<ContentFolder*> folders;
        for (ContentFolder* folder : joined[order[i]]) {
            if (!unreachable.count(folder->Root())) {
                folders.append(folder);
                continue;
            }
            feedback->AddString(QStringLiteral("Can't copy %1 to %2: an earlier copy to it failed")
                                    .arg(order[i].first->Name(), folder->Name()),
                                FeedbackStatusError);
            m_failed = true;
        }
        // A source item read from a fixture is replaced by the one read: found again each time.
        const Content* first = order[i].first;
        const ContentFolder* sourceFolder = first->Parent();
        const QString name = first->Name();
        const int address = first->Address();
        const auto current = [&]() -> const Content* {
            return sourceFolder ? qobject_cast<const Content*>(
                                      ContentSteps::FindChild(sourceFolder, name, address))
                                : first;
        };
        const ContentSteps::Share share{start + (end - start) * int(i) / count,
                                        start + (end - start) * int(i + 1) / count};
        std::unique_ptr<ContentFolder> aggregate;
        for (const ContentFolderAggregator* aggregator : m_aggregators) {
            if (folders.size() > 1 && !aggregate) {
                aggregate = aggregator->Aggregate(folders);
            }
        }
        if (!aggregate) {
            for (ContentFolder* folder : folders) {
                if (copyOwn(current(), folder, name, address, share, true)) {
                    return Cancelled;
                }
            }
            continue;
        }
        const Content* item = current();
        if (!item) {
            m_failed = true;
            continue;
        }
        // One copy to all: the lines stay those of a copy to each.
        for (const ContentFolder* folder : folders) {
            feedback->AddString(
                QStringLiteral("Copying %1 from %2 to %3")
                    .arg(item->Name(), ContentSteps::ParentName(item), folder->Name()),
                FeedbackStatusNormal);
        }
        ++m_steps;
        if (ContentSteps::CopyInto(feedback, item, aggregate.get(), name, address, share) ==
            Cancelled) {
            return Cancelled;
        }
        // A folder that did not take it (another family, a fixture that failed) gets its own.
        for (ContentFolder* folder : folders) {
            if (!ContentSteps::FindChild(folder, name, address) &&
                copyOwn(current(), folder, name, address, share, false)) {
                return Cancelled;
            }
        }
    }
    return m_failed ? Failed : Succeeded;
}
