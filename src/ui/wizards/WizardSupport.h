#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class ContentBase;
class Device;
class DeviceUse;
class LumoRDM;
class QTreeWidget;
class QTreeWidgetItem;
class QWizardPage;

// What the content wizards need to know about the discovered LED fixtures and the families
// that fixtures and user content packages belong to, and how their pages refuse to go on.
namespace WizardSupport {

// The LED fixtures among the devices, in their order.
QList<LumoRDM*> LedFixtures(const QList<Device*>& devices);
// A use of each device, which keeps it while a wizard is open.
std::vector<DeviceUse> UsesOf(const QList<Device*>& devices);
// The models of the devices, each once, in the order they first appear.
QStringList Models(const QList<Device*>& devices);
// The devices of that model.
QList<Device*> OfModel(const QList<Device*>& devices, const QString& model);

// The family of a fixture or of a user content package: an index into the family table,
// or -1 for neither.
int FamilyOfFixture(const LumoRDM* fixture);
int FamilyOfPackage(const ContentBase* package);
// " (MARQA)" or " (Solvi)" for a family, empty for none.
QString FamilySuffix(int family);

// The cells the wizards show for a fixture.
QString DmxAddress(const Device* fixture);
// Empty for a device that is not an LED fixture.
QString QuorelAddress(const Device* fixture);
QString Description(const Device* fixture);

// A row of the tree that groups others (not selectable), expanded, with an icon and a text.
QTreeWidgetItem* AddBranch(QTreeWidget* tree, const QString& icon, const QString& text);
// A row below the branch that only says something ("(no devices found)").
void AddNote(QTreeWidgetItem* branch, const QString& text);

// Tells the user why the page cannot go on (a warning box with the title, or titled as its
// window when that is empty); false.
bool Refuse(QWizardPage* page, const QString& text, const QString& title = {});

}  // namespace WizardSupport
