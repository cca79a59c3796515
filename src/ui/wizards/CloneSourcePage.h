#pragma once

#include <QPointer>
#include <QWizardPage>

#include <vector>

class ContentFolder;
class LumoRDM;
class QTreeWidget;
class QTreeWidgetItem;

// "Select Source Device or Package": the LED fixtures under "Devices" and the packages of the
// user content library under "User Content", one to be chosen as the source of a clone.
class CloneSourcePage : public QWizardPage {
    Q_OBJECT

public:
    CloneSourcePage(const QList<LumoRDM*>& fixtures, ContentFolder* library,
                    QWidget* parent = nullptr);

    bool validatePage() override;

    // The chosen source: a fixture or a package, or neither before a choice.
    LumoRDM* SourceFixture() const;
    ContentFolder* SourcePackage() const;
    // The chosen row's text, as the next page shows it.
    QString SourceText() const;
    // The family of the chosen source (see WizardSupport), -1 for none.
    int SourceFamily() const;

    QTreeWidget* Tree() const { return m_tree; }
    // The row of the fixture or package, or null.
    QTreeWidgetItem* RowOf(const QObject* source) const;

private:
    struct Source {
        QTreeWidgetItem* item;  // owned by the tree
        QPointer<LumoRDM> fixture;
        QPointer<ContentFolder> package;
    };
    const Source* Chosen() const;
    void AddFixtures(const QList<LumoRDM*>& fixtures);
    void AddPackages(ContentFolder* library);

    QTreeWidget* m_tree;  // a child of this page
    std::vector<Source> m_sources;
};
