#include "content/operations/UpdateQuorelContentSyncOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentContainer.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "content/operations/ContentSteps.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FeedbackWrapper.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <map>

namespace {

using ContentSteps::Children;

struct Family {
    bool (*isFixture)(const QObject*);
    const PolicyBase& (*collagePolicy)();
};

template <class T>
bool Is(const QObject* object) {
    return qobject_cast<const T*>(object) != nullptr;
}

// Each family's fixtures and the policy of its collages.
constexpr Family kFamilies[] = {
    {&Is<MarqaRDM>, &NamedPolicies::MarqaQuorelContentPackage},
    {&Is<SolviRDM>, &NamedPolicies::SolviQuorelContentPackage},
};

}  // namespace

UpdateQuorelContentSyncOperation::UpdateQuorelContentSyncOperation(const QList<Device*>& devices,
                                                                   ContentFolder* quorelLibrary)
    : m_library(quorelLibrary) {
    for (Device* device : devices) {
        m_devices.append(device);
    }
}

QString UpdateQuorelContentSyncOperation::Title() const {
    return QStringLiteral("Cloning %1 to %2 location(s)")
        .arg(m_library ? m_library->Name() : QStringLiteral("(none)"))
        .arg(m_devices.size());
}

bool UpdateQuorelContentSyncOperation::CanExecute() const {
    return !m_devices.isEmpty();
}

QList<ContentFolder*> UpdateQuorelContentSyncOperation::Collages(const LumoRDM* fixture) const {
    QList<ContentFolder*> collages;
    const ContentModelLock lock;
    for (const Family& family : kFamilies) {
        if (!family.isFixture(fixture) || !m_library) {
            continue;
        }
        for (ContentBase* child : Children(m_library)) {
            const auto* package = qobject_cast<const ContentPolicyFolder*>(child);
            if (package && package->Policy() == &family.collagePolicy()) {
                collages.append(qobject_cast<ContentFolder*>(child));
            }
        }
    }
    return collages;
}

std::unique_ptr<ContentContainer> UpdateQuorelContentSyncOperation::Wanted(
    const QList<ContentFolder*>& collages, quint16 quorelAddress, IFeedback* feedback) {
    const ContentModelLock lock;
    auto wanted = std::make_unique<ContentContainer>();
    wanted->SetName(QStringLiteral("Quorel Content"));
    std::map<int, ContentContainer*> folders;
    for (const ContentFolder* collage : collages) {
        for (ContentBase* child : Children(collage)) {
            const auto* folder = qobject_cast<const ContentFolder*>(child);
            if (!folder) {
                continue;
            }
            ContentContainer*& into = folders[folder->Address()];
            if (!into) {
                auto made = std::make_unique<ContentContainer>();
                made->SetName(folder->Name());
                made->SetAddress(folder->Address());
                into = made.get();
                wanted->AppendFolder(std::move(made));
            }
            for (ContentBase* entry : Children(folder)) {
                const auto* item = qobject_cast<const Content*>(entry);
                if (!item || item->Tag() != quorelAddress) {
                    continue;
                }
                bool taken = false;
                for (const ContentBase* held : Children(into)) {
                    taken = taken || held->Address() == item->Address();
                }
                if (taken) {
                    feedback->AddString(QStringLiteral("%1 of %2 left out: file %3 of folder %4 "
                                                       "holds an image of an earlier collage")
                                            .arg(item->Name(), collage->Name())
                                            .arg(item->Address())
                                            .arg(folder->Address()),
                                        FeedbackStatusWarning);
                    continue;
                }
                ContentList copy;
                copy.push_back(item->Clone());
                into->AddContent(std::move(copy), nullptr);
            }
        }
    }
    return wanted;
}

int UpdateQuorelContentSyncOperation::Execute(IFeedback* feedback, int options) {
    const LumoContentLocks::QuorelUnlock unlock;
    feedback->SetTotal(100);
    bool failed = false;
    int steps = 0;
    const int count = int(m_devices.size());
    for (int i = 0; i < count; ++i) {
        auto* fixture = qobject_cast<LumoRDM*>(m_devices[i].data());
        if (!fixture) {
            continue;
        }
        const QList<ContentFolder*> collages = Collages(fixture);
        if (collages.isEmpty()) {
            feedback->AddString(QStringLiteral("Failed to determine source."), FeedbackStatusError);
            failed = true;
            continue;
        }
        LumoRDMContentRoot* root = ReadFixtureTree(fixture, feedback);
        if (!root) {
            failed = true;
            continue;
        }
        const std::unique_ptr<ContentContainer> wanted =
            Wanted(collages, fixture->GetQuorelAddress(), feedback);
        ContentSyncOperation sync(wanted.get(), {root->QuorelGroup()});
        FeedbackWrapper step(feedback, 100 * i / count, 100 * (i + 1) / count);
        const int result = sync.Execute(&step, options);
        steps += sync.Steps();
        if (result == Cancelled) {
            return failed ? Failed : Cancelled;
        }
        failed = failed || result != Succeeded;
    }
    feedback->SetCurrent(100);
    if (!failed && steps == 0) {
        emit InformationMessageBox(QStringLiteral("Update Quorel Content"),
                                   QStringLiteral("Quorel Content Up To Date."));
    }
    return failed ? Failed : Succeeded;
}
