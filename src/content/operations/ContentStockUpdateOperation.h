#pragma once

#include "content/operations/ContentFixturesOperation.h"

#include <QPointer>

class ContentFolder;

// Brings the stock content of LED fixtures up to date: for each family, the stock groups of
// its fixtures are cloned from the family's stock package (with the stock lock lowered for
// the run). When nothing had to change it says "Stock Content Up To Date.".
class ContentStockUpdateOperation : public ContentFixturesOperation {
    Q_OBJECT

public:
    // `stock`: the folder holding the stock packages.
    ContentStockUpdateOperation(const QList<Device*>& devices, ContentFolder* stock);

    QString Title() const override;
    int Execute(IFeedback* feedback, int options) override;

private:
    QPointer<ContentFolder> m_stock;
};
