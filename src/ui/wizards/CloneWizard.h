#pragma once

#include "rdm/devices/Device.h"

#include <QWizard>

#include <vector>

class CloneDestPage;
class CloneSourcePage;
class ContentFolder;
class Device;

// "Content Clone Wizard": a source (an LED fixture or a package of the user content
// library), then the fixtures of its family that are to hold the same user content. The
// wizard keeps the fixtures in use while it is open.
class CloneWizard : public QWizard {
    Q_OBJECT

public:
    CloneWizard(const QList<Device*>& devices, ContentFolder* library, QWidget* parent = nullptr);
    ~CloneWizard() override;

    // What to clone: the chosen package, or the user content of the chosen fixture; null
    // before a choice.
    ContentFolder* Source() const;
    // The user content of each checked destination.
    QList<ContentFolder*> Destinations() const;

    CloneSourcePage* SourcePage() const { return m_sourcePage; }
    CloneDestPage* DestPage() const { return m_destPage; }

private:
    std::vector<DeviceUse> m_uses;
    CloneSourcePage* m_sourcePage;  // pages are children of the wizard
    CloneDestPage* m_destPage;
};
