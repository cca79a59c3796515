#pragma once

#include <QListView>

#include <memory>

class QMenu;

// The list of Quorel templates with the context menu "Rename" (edits the name in place) and
// "Delete" (asks the owner through deleteRequested()).
class QuorelTemplateListView : public QListView {
    Q_OBJECT
public:
    explicit QuorelTemplateListView(QWidget* parent = nullptr);

    // The menu for the template at `row`; nullptr when there is no such row.
    std::unique_ptr<QMenu> TemplateMenu(int row);

public slots:
    // Tells templateContextMenuEvent() and offers the menu of the template under the event.
    void onContextMenu(QContextMenuEvent* event);

signals:
    void templateContextMenuEvent(QContextMenuEvent* event);
    void renameRequested(int row);
    void deleteRequested(int row);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};
