#include "ui/wizards/CloneDestPage.h"

#include "content/operations/FixtureTrees.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "ui/wizards/CloneSourcePage.h"
#include "ui/wizards/DeviceChecklist.h"
#include "ui/wizards/ErasureNote.h"
#include "ui/wizards/WizardSupport.h"

#include <QBoxLayout>
#include <QLabel>

namespace {

QString DestinationText(const Device* fixture) {
    return QStringLiteral("%1, Address %2")
        .arg(fixture->GetModelText(), WizardSupport::DmxAddress(fixture));
}

}  // namespace

CloneDestPage::CloneDestPage(const QList<LumoRDM*>& fixtures, const CloneSourcePage* sourcePage,
                             QWidget* parent)
    : QWizardPage(parent),
      m_fixtures(fixtures),
      m_sourcePage(sourcePage),
      m_source(new QLabel(this)),
      m_list(new DeviceChecklist({{QStringLiteral("Address"), &DestinationText},
                                  {QStringLiteral("Description"), &WizardSupport::Description}},
                                 this)),
      m_note(new ErasureNote(m_list, &LumoRDM::CountUserContent,
                             QStringLiteral("%1 of user content on %2 will be removed or "
                                            "replaced by the source's."),
                             this)) {
    setTitle(QStringLiteral("Select Destination Devices"));
    setSubTitle(
        QStringLiteral("Select the devices to receive the clone content.  All other content on "
                       "the destination devices will be REMOVED."));
    auto* layout = new QVBoxLayout(this);
    auto* source = new QHBoxLayout;
    source->addWidget(new QLabel(QStringLiteral("Source:"), this));
    source->addWidget(m_source, 1);
    layout->addLayout(source);
    layout->addWidget(new QLabel(QStringLiteral("Select destination devices:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_note);
}

void CloneDestPage::initializePage() {
    m_source->setText(m_sourcePage->SourceText());
    m_list->ClearRows();
    QTreeWidgetItem* branch =
        m_list->AddBranch(":/Resources/truss-16.png", QStringLiteral("Devices"));
    const int family = m_sourcePage->SourceFamily();
    const LumoRDM* source = m_sourcePage->SourceFixture();
    for (LumoRDM* fixture : m_fixtures) {
        if (family >= 0 && fixture != source && WizardSupport::FamilyOfFixture(fixture) == family) {
            m_list->AddFixture(fixture, branch);
        }
    }
    if (m_list->FixtureCount() == 0) {
        WizardSupport::AddNote(branch, QStringLiteral("(no devices found)"));
    }
    m_list->resizeColumnToContents(0);
}

bool CloneDestPage::validatePage() {
    if (m_list->CheckedFixtures().isEmpty()) {
        return WizardSupport::Refuse(
            this, QStringLiteral("No destination devices selected.  Select one or more "
                                 "destination devices before continuing."));
    }
    LumoRDM* source = m_sourcePage->SourceFixture();
    const LumoRDMContentRoot* root = source ? FixtureTree(source) : nullptr;
    if (source && (!root || root->ContentRead() != LumoRDMContentFolder::Read)) {
        return WizardSupport::Refuse(
            this, QStringLiteral("The content of the source device has not been read whole.  "
                                 "Clone from it once its content shows in the tree."));
    }
    return true;
}

QList<LumoRDM*> CloneDestPage::Destinations() const {
    return m_list->CheckedFixtures();
}
