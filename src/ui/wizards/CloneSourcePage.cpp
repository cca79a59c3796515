#include "ui/wizards/CloneSourcePage.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "lumo/devices/LumoRDM.h"
#include "ui/wizards/WizardSupport.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

CloneSourcePage::CloneSourcePage(const QList<LumoRDM*>& fixtures, ContentFolder* library,
                                 QWidget* parent)
    : QWizardPage(parent), m_tree(new QTreeWidget(this)) {
    setTitle(QStringLiteral("Select Source Device or Package"));
    setSubTitle(QStringLiteral(
        "Select the device or content package containing the source content to clone from."));
    m_tree->setHeaderLabels({QStringLiteral("Address"), QStringLiteral("Description")});
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    AddFixtures(fixtures);
    AddPackages(library);
    m_tree->resizeColumnToContents(0);
}

void CloneSourcePage::AddFixtures(const QList<LumoRDM*>& fixtures) {
    QTreeWidgetItem* branch =
        WizardSupport::AddBranch(m_tree, ":/Resources/truss-16.png", QStringLiteral("Devices"));
    for (LumoRDM* fixture : fixtures) {
        auto* row = new QTreeWidgetItem(
            branch, {WizardSupport::DmxAddress(fixture), WizardSupport::Description(fixture)});
        row->setIcon(0, QIcon(":/Resources/fixture-16.png"));
        m_sources.push_back({row, fixture, nullptr});
    }
    if (fixtures.isEmpty()) {
        WizardSupport::AddNote(branch, QStringLiteral("(no devices found)"));
    }
}

void CloneSourcePage::AddPackages(ContentFolder* library) {
    QTreeWidgetItem* branch = WizardSupport::AddBranch(
        m_tree, ":/Resources/content-database-16.png", QStringLiteral("User Content"));
    const ContentModelLock lock;
    for (int i = 0; library && i < library->ChildCount(); ++i) {
        auto* package = qobject_cast<ContentFolder*>(library->Child(i));
        if (!package) {
            continue;
        }
        const QString name =
            package->Name() + WizardSupport::FamilySuffix(WizardSupport::FamilyOfPackage(package));
        auto* row = new QTreeWidgetItem(branch, {QString(), name});
        row->setIcon(0, QIcon(":/Resources/content-package-16.png"));
        m_sources.push_back({row, nullptr, package});
    }
    if (branch->childCount() == 0) {
        WizardSupport::AddNote(branch, QStringLiteral("(no packages found)"));
    }
}

const CloneSourcePage::Source* CloneSourcePage::Chosen() const {
    const QTreeWidgetItem* current = m_tree->currentItem();
    for (const Source& source : m_sources) {
        if (source.item == current && (source.fixture || source.package)) {
            return &source;
        }
    }
    return nullptr;
}

bool CloneSourcePage::validatePage() {
    if (!Chosen()) {
        return WizardSupport::Refuse(
            this, QStringLiteral(
                      "No source selected.  Select a source device or folder before continuing."));
    }
    return true;
}

LumoRDM* CloneSourcePage::SourceFixture() const {
    const Source* source = Chosen();
    return source ? source->fixture.data() : nullptr;
}

ContentFolder* CloneSourcePage::SourcePackage() const {
    const Source* source = Chosen();
    return source ? source->package.data() : nullptr;
}

QString CloneSourcePage::SourceText() const {
    const Source* source = Chosen();
    return source ? source->item->text(1) : QString();
}

int CloneSourcePage::SourceFamily() const {
    if (const LumoRDM* fixture = SourceFixture()) {
        return WizardSupport::FamilyOfFixture(fixture);
    }
    return WizardSupport::FamilyOfPackage(SourcePackage());
}

QTreeWidgetItem* CloneSourcePage::RowOf(const QObject* source) const {
    for (const Source& row : m_sources) {
        if (source && (row.fixture == source || row.package == source)) {
            return row.item;
        }
    }
    return nullptr;
}
