#include "ui/wizards/WizardSupport.h"

#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "content/operations/ContentFixturesOperation.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "ui/tree/DeviceNode.h"

#include <QMessageBox>
#include <QTreeWidget>
#include <QWizardPage>

#include <iterator>

namespace {

struct WizardFamily {
    bool (*isFixture)(const QObject*);
    const PolicyBase& (*packagePolicy)();
    const char* suffix;
};

// Each family's fixtures, the policy of its user content packages and the mark its packages
// carry in the lists.
const WizardFamily kWizardFamilies[] = {
    {&IsInstanceOf<MarqaRDM>, &NamedPolicies::MarqaContentPackage, " (MARQA)"},
    {&IsInstanceOf<SolviRDM>, &NamedPolicies::SolviContentPackage, " (Solvi)"},
};

}  // namespace

namespace WizardSupport {

QList<LumoRDM*> LedFixtures(const QList<Device*>& devices) {
    QList<LumoRDM*> fixtures;
    for (Device* device : devices) {
        if (auto* fixture = qobject_cast<LumoRDM*>(device)) {
            fixtures.append(fixture);
        }
    }
    return fixtures;
}

std::vector<DeviceUse> UsesOf(const QList<Device*>& devices) {
    std::vector<DeviceUse> uses;
    for (LumoRDM* fixture : LedFixtures(devices)) {
        uses.emplace_back(fixture);
    }
    return uses;
}

QStringList Models(const QList<LumoRDM*>& fixtures) {
    QStringList models;
    for (const LumoRDM* fixture : fixtures) {
        if (!models.contains(fixture->GetModelText())) {
            models.append(fixture->GetModelText());
        }
    }
    return models;
}

QList<LumoRDM*> OfModel(const QList<LumoRDM*>& fixtures, const QString& model) {
    QList<LumoRDM*> found;
    for (LumoRDM* fixture : fixtures) {
        if (fixture->GetModelText() == model) {
            found.append(fixture);
        }
    }
    return found;
}

int FamilyOfFixture(const LumoRDM* fixture) {
    for (int i = 0; i < int(std::size(kWizardFamilies)); ++i) {
        if (kWizardFamilies[i].isFixture(fixture)) {
            return i;
        }
    }
    return -1;
}

int FamilyOfPackage(const ContentBase* package) {
    const auto* folder = qobject_cast<const ContentPolicyFolder*>(package);
    for (int i = 0; folder && i < int(std::size(kWizardFamilies)); ++i) {
        if (folder->Policy() == &kWizardFamilies[i].packagePolicy()) {
            return i;
        }
    }
    return -1;
}

QString FamilySuffix(int family) {
    return family < 0 ? QString() : QString::fromLatin1(kWizardFamilies[family].suffix);
}

QString DmxAddress(const LumoRDM* fixture) {
    return QString::number(fixture->GetDmxStartAddress());
}

QString QuorelAddress(const LumoRDM* fixture) {
    return QString::number(fixture->GetQuorelAddress());
}

QString Description(const LumoRDM* fixture) {
    return DeviceNameNode::NameOf(fixture);
}

QTreeWidgetItem* AddBranch(QTreeWidget* tree, const QString& icon, const QString& text) {
    auto* branch = new QTreeWidgetItem(tree, {text});
    branch->setIcon(0, QIcon(icon));
    branch->setFlags(Qt::ItemIsEnabled);
    branch->setExpanded(true);
    return branch;
}

void AddNote(QTreeWidgetItem* branch, const QString& text) {
    (new QTreeWidgetItem(branch, {text}))->setFlags(Qt::ItemIsEnabled);
}

bool Refuse(QWizardPage* page, const QString& text) {
    QMessageBox::warning(page, page->window()->windowTitle(), text);
    return false;
}

}  // namespace WizardSupport
