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
    return std::vector<DeviceUse>(devices.begin(), devices.end());
}

QStringList Models(const QList<Device*>& devices) {
    QStringList models;
    for (const Device* device : devices) {
        if (!models.contains(device->GetModelText())) {
            models.append(device->GetModelText());
        }
    }
    return models;
}

QList<Device*> OfModel(const QList<Device*>& devices, const QString& model) {
    QList<Device*> found;
    for (Device* device : devices) {
        if (device->GetModelText() == model) {
            found.append(device);
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

QString DmxAddress(const Device* fixture) {
    return QString::number(fixture->GetDmxStartAddress());
}

QString QuorelAddress(const Device* device) {
    const auto* fixture = qobject_cast<const LumoRDM*>(device);
    return fixture ? QString::number(fixture->GetQuorelAddress()) : QString();
}

QString Description(const Device* fixture) {
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

bool Refuse(QWizardPage* page, const QString& text, const QString& title) {
    QMessageBox::warning(page, title.isEmpty() ? page->window()->windowTitle() : title, text);
    return false;
}

}  // namespace WizardSupport
