#include "ui/wizards/CloneWizard.h"

#include "content/operations/FixtureTrees.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentGroup.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "ui/wizards/CloneDestPage.h"
#include "ui/wizards/CloneSourcePage.h"
#include "ui/wizards/WizardSupport.h"

namespace {

ContentFolder* UserContentOf(LumoRDM* fixture) {
    LumoRDMContentRoot* root = fixture ? FixtureTree(fixture) : nullptr;
    return root ? root->UserGroup() : nullptr;
}

}  // namespace

CloneWizard::CloneWizard(const QList<Device*>& devices, ContentFolder* library, QWidget* parent)
    : QWizard(parent), m_uses(WizardSupport::UsesOf(devices)) {
    const QList<LumoRDM*> fixtures = WizardSupport::LedFixtures(devices);
    setWindowTitle(QStringLiteral("Content Clone Wizard"));
    setWizardStyle(QWizard::ClassicStyle);
    m_sourcePage = new CloneSourcePage(fixtures, library, this);
    m_destPage = new CloneDestPage(fixtures, m_sourcePage, this);
    addPage(m_sourcePage);
    addPage(m_destPage);
    resize(600, 460);
}

CloneWizard::~CloneWizard() = default;

ContentFolder* CloneWizard::Source() const {
    if (ContentFolder* package = m_sourcePage->SourcePackage()) {
        return package;
    }
    return UserContentOf(m_sourcePage->SourceFixture());
}

QList<ContentFolder*> CloneWizard::Destinations() const {
    QList<ContentFolder*> locations;
    for (LumoRDM* fixture : m_destPage->Destinations()) {
        if (ContentFolder* group = UserContentOf(fixture)) {
            locations.append(group);
        }
    }
    return locations;
}
