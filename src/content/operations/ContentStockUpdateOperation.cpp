#include "content/operations/ContentStockUpdateOperation.h"

#include "content/ContentModelMutex.h"
#include "content/library/StockContent.h"
#include "content/operations/FixtureTrees.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentRoot.h"

namespace {

struct StockFamily {
    bool (*isFixture)(const QObject*);
    bool (*isStockPackage)(const QObject*);
};

// Each family's fixtures and stock package.
constexpr StockFamily kStockFamilies[] = {
    {&IsInstanceOf<MarqaRDM>, &IsInstanceOf<MarqaStockContent>},
    {&IsInstanceOf<SolviRDM>, &IsInstanceOf<SolviStockContent>},
};

}  // namespace

ContentStockUpdateOperation::ContentStockUpdateOperation(const QList<Device*>& devices,
                                                         ContentFolder* stock)
    : ContentFixturesOperation(devices), m_stock(stock) {}

QString ContentStockUpdateOperation::Title() const {
    return QStringLiteral("Updating Stock Content on %1 devices").arg(DeviceCount());
}

int ContentStockUpdateOperation::Execute(IFeedback* feedback, int options) {
    const LumoContentLocks::StockUnlock unlock;
    BeginUpdate(feedback);
    const int count = int(std::size(kStockFamilies));
    for (int f = 0; f < count; ++f) {
        const StockFamily& family = kStockFamilies[f];
        QList<ContentFolder*> groups;
        for (int i = 0; i < DeviceCount(); ++i) {
            LumoRDM* fixture = FixtureAt(i);
            if (!fixture || !family.isFixture(fixture)) {
                continue;
            }
            if (LumoRDMContentRoot* root = ReadFixtureTree(fixture, feedback)) {
                groups.append(root->StockGroup());
            } else {
                Fail(feedback);
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
            Fail(feedback, QStringLiteral("Failed to determine source."));
            continue;
        }
        if (UpdateStep(feedback, package, groups, options, 100 * f / count,
                       100 * (f + 1) / count)) {
            return CancelledUpdate();
        }
    }
    return EndUpdate(feedback, QStringLiteral("Update Stock Content"),
                     QStringLiteral("Stock Content Up To Date."));
}
