#include "content/operations/ContentStockUpdateOperation.h"

#include "comm/IFeedback.h"
#include "content/ContentModelMutex.h"
#include "content/library/StockContent.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FeedbackWrapper.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"

namespace {

struct Family {
    bool (*isFixture)(const QObject*);
    bool (*isStockPackage)(const QObject*);
};

template <class T>
bool Is(const QObject* object) {
    return qobject_cast<const T*>(object) != nullptr;
}

// Each family's fixtures and stock package.
constexpr Family kFamilies[] = {
    {&Is<MarqaRDM>, &Is<MarqaStockContent>},
    {&Is<SolviRDM>, &Is<SolviStockContent>},
};

}  // namespace

ContentStockUpdateOperation::ContentStockUpdateOperation(const QList<Device*>& devices,
                                                         ContentFolder* stock)
    : m_stock(stock) {
    for (Device* device : devices) {
        m_devices.append(device);
    }
}

QString ContentStockUpdateOperation::Title() const {
    return QStringLiteral("Updating Stock Content on %1 devices").arg(m_devices.size());
}

bool ContentStockUpdateOperation::CanExecute() const {
    return !m_devices.isEmpty();
}

int ContentStockUpdateOperation::Execute(IFeedback* feedback, int options) {
    const LumoContentLocks::StockUnlock unlock;
    feedback->SetTotal(100);
    bool failed = false;
    int steps = 0;
    const int count = int(std::size(kFamilies));
    for (int f = 0; f < count; ++f) {
        const Family& family = kFamilies[f];
        QList<ContentFolder*> groups;
        for (const QPointer<Device>& device : m_devices) {
            if (device && family.isFixture(device)) {
                auto* fixture = qobject_cast<LumoRDM*>(device);
                if (LumoRDMContentRoot* root = ReadFixtureTree(fixture, feedback)) {
                    groups.append(root->StockGroup());
                } else {
                    failed = true;
                }
            }
        }
        if (groups.isEmpty()) {
            continue;
        }
        ContentFolder* package = nullptr;
        {
            const ContentModelLock lock;
            for (int i = 0; m_stock && i < m_stock->ChildCount() && !package; ++i) {
                if (family.isStockPackage(m_stock->Child(i))) {
                    package = qobject_cast<ContentFolder*>(m_stock->Child(i));
                }
            }
        }
        // A missing or empty package is no source: cloning it would erase the stock content.
        if (!package || package->ChildCount() == 0) {
            feedback->AddString(QStringLiteral("Failed to determine source."), FeedbackStatusError);
            failed = true;
            continue;
        }
        ContentSyncOperation sync(package, groups);
        sync.SetAggregators(LumoRDMContentFolderAggregator::Families());
        FeedbackWrapper step(feedback, 100 * f / count, 100 * (f + 1) / count);
        const int result = sync.Execute(&step, options);
        steps += sync.Steps();
        if (result == Cancelled) {
            return failed ? Failed : Cancelled;
        }
        failed = failed || result != Succeeded;
    }
    feedback->SetCurrent(100);
    if (!failed && steps == 0) {
        emit InformationMessageBox(QStringLiteral("Update Stock Content"),
                                   QStringLiteral("Stock Content Up To Date."));
    }
    return failed ? Failed : Succeeded;
}
