#pragma once

#include "content/operations/ContentFixturesOperation.h"

#include <QPointer>

#include <memory>

class ContentContainer;
class ContentFolder;
class LumoRDM;

// Brings the Quorel content of LED fixtures up to date from the Quorel library: each fixture
// gets, from every collage (Quorel package) of its family, the images made for its Quorel
// address, each in the collage folder's number and name at the image's own number, and
// nothing else in its Quorel content (the Quorel lock is lowered for the run). Collages are
// taken in the library's order; an image whose place an earlier collage took is left out with
// a warning. When nothing had to change it says "Quorel Content Up To Date.".
class UpdateQuorelContentSyncOperation : public ContentFixturesOperation {
    Q_OBJECT

public:
    // `quorelLibrary`: the root of the Quorel content library.
    UpdateQuorelContentSyncOperation(const QList<Device*>& devices, ContentFolder* quorelLibrary);

    QString Title() const override;
    int Execute(IFeedback* feedback, int options) override;

    // Whether the library holds a collage for at least one of the fixtures.
    bool HasSource() const;

private:
    // The collages of the fixture's family.
    QList<ContentFolder*> Collages(const LumoRDM* fixture) const;
    // What the fixture of that Quorel address should hold, as in-memory folders.
    static std::unique_ptr<ContentContainer> Wanted(const QList<ContentFolder*>& collages,
                                                    quint16 quorelAddress, IFeedback* feedback);

    QPointer<ContentFolder> m_library;
};
