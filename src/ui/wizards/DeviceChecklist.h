#pragma once

#include <QPointer>
#include <QTreeWidget>

#include <vector>

class Device;
class LumoRDM;

// A list of fixtures, one checkable row each (fixture icon, unchecked at first), at the top
// or below a branch row; the columns say what each row shows, and the check box sits in the
// column without a cell (the first column when every column has one). Fixtures that go away
// while the list is open drop out of the checked ones.
class DeviceChecklist : public QTreeWidget {
    Q_OBJECT

public:
    struct Column {
        QString header;
        QString (*cell)(const Device*);  // null: the column of the check box
    };

    explicit DeviceChecklist(const QList<Column>& columns, QWidget* parent = nullptr);

    // Removes every row.
    void ClearRows();
    // A row that groups others (see WizardSupport::AddBranch).
    QTreeWidgetItem* AddBranch(const QString& icon, const QString& text);
    // A checkable row for the fixture below `parent`, or at the top when it is null.
    QTreeWidgetItem* AddFixture(Device* fixture, QTreeWidgetItem* parent = nullptr);

    int FixtureCount() const { return int(m_rows.size()); }
    // The checked LED fixtures.
    QList<LumoRDM*> CheckedFixtures() const;
    // Every checked fixture.
    QList<Device*> CheckedDevices() const;
    void SetAllChecked(bool checked);

Q_SIGNALS:
    void CheckedChanged();

private:
    void OnItemChanged(QTreeWidgetItem* item, int column);

    struct Row {
        QTreeWidgetItem* item;  // owned by the tree
        QPointer<Device> fixture;
    };
    QList<Column> m_columns;
    int m_checkColumn = 0;
    std::vector<Row> m_rows;
};
