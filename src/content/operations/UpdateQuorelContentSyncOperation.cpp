#include "content/operations/UpdateQuorelContentSyncOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentContainer.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "content/operations/ContentSteps.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <map>

namespace {

using ContentSteps::Children;

struct QuorelFamily {
    bool (*isFixture)(const QObject*);
    const PolicyBase& (*collagePolicy)();
};

// Each family's fixtures and the policy of its collages.
constexpr QuorelFamily kQuorelFamilies[] = {
    {&IsInstanceOf<MarqaRDM>, &NamedPolicies::MarqaQuorelContentPackage},
    {&IsInstanceOf<SolviRDM>, &NamedPolicies::SolviQuorelContentPackage},
};

}  // namespace

UpdateQuorelContentSyncOperation::UpdateQuorelContentSyncOperation(const QList<Device*>& devices,
                                                                   ContentFolder* quorelLibrary)
    : ContentFixturesOperation(devices), m_library(quorelLibrary) {}

QString UpdateQuorelContentSyncOperation::Title() const {
    return QStringLiteral("Cloning %1 to %2 location(s)")
        .arg(m_library ? m_library->Name() : QStringLiteral("(none)"))
        .arg(DeviceCount());
}

QList<ContentFolder*> UpdateQuorelContentSyncOperation::Collages(const LumoRDM* fixture) const {
    QList<ContentFolder*> collages;
    const ContentModelLock lock;
    for (const QuorelFamily& family : kQuorelFamilies) {
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

bool UpdateQuorelContentSyncOperation::HasSource() const {
    for (int i = 0; i < DeviceCount(); ++i) {
        const LumoRDM* fixture = FixtureAt(i);
        if (fixture && !Collages(fixture).isEmpty()) {
            return true;
        }
    }
    return false;
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
    BeginUpdate(feedback);
    const int count = DeviceCount();
    for (int i = 0; i < count; ++i) {
        LumoRDM* fixture = FixtureAt(i);
        if (!fixture) {
            continue;
        }
        const QList<ContentFolder*> collages = Collages(fixture);
        if (collages.isEmpty()) {
            Fail(feedback, QStringLiteral("Failed to determine source."));
            continue;
        }
        LumoRDMContentRoot* root = ReadFixtureTree(fixture, feedback);
        if (!root) {
            Fail(feedback);
            continue;
        }
        const std::unique_ptr<ContentContainer> wanted =
            Wanted(collages, fixture->GetQuorelAddress(), feedback);
        if (UpdateStep(feedback, wanted.get(), {root->QuorelGroup()}, options, 100 * i / count,
                       100 * (i + 1) / count)) {
            return CancelledUpdate();
        }
    }
    return EndUpdate(feedback, QStringLiteral("Update Quorel Content"),
                     QStringLiteral("Quorel Content Up To Date."));
}
