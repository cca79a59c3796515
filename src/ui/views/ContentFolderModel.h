#pragma once

#include "content/ContentFolder.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

// The children of one content folder, one row each, with the columns "Name" and "Address",
// kept current through the folder's and the children's signals. Drags carry the rows'
// objects in the content format (and their LED image files for the desktop); drops go to
// the folder of the row under them, else to the shown folder, by the content drop rules.
class ContentFolderModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, AddressColumn = 1 };
    // Data roles: the row's object, and whether the row is greyed (cut to the clipboard, or
    // no place for the current drag).
    static constexpr int ObjectRole = Qt::UserRole + 1;
    static constexpr int GreyedRole = Qt::UserRole + 2;

    explicit ContentFolderModel(QObject* parent = nullptr);

    void SetFolder(ContentFolder* folder);
    ContentFolder* Folder() const { return m_folder; }
    // The row's object, or null once it is gone.
    ContentBase* ObjectAt(int row) const;
    ContentBase* ObjectAt(const QModelIndex& index) const { return ObjectAt(index.row()); }
    int RowOf(const ContentBase* object) const;
    // The folder a drop on `index` goes to: the row's folder, else the shown one.
    ContentFolder* DropFolder(const QModelIndex& index) const;
    // Greys the rows that cannot take `data` (null: the drag is over).
    void SetDragData(const QMimeData* data);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

public Q_SLOTS:
    void AddContent(const ContentFolder* parent, Content* content);
    void RemoveContent(const ContentFolder* parent, const Content* content);
    void AddFolder(const ContentFolder* parent, ContentFolder* folder);
    void RemoveFolder(const ContentFolder* parent, const ContentFolder* folder);
    void ChangeChild(const ContentBase* child);
    // The clipboard changed: the rows cut to it are greyed.
    void UpdateGreyed();

private:
    struct Row {
        QPointer<ContentBase> object;
        const ContentBase* shown;  // compared only, never followed
        bool greyed = false;
    };

    void AddChild(ContentBase* child);
    void RemoveChild(const ContentBase* child);
    void Follow(ContentBase* child);
    void SetGreyed(const std::vector<bool>& greyed);

    QPointer<ContentFolder> m_folder;
    std::vector<Row> m_rows;
};
