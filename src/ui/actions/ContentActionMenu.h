#pragma once

#include <QList>

#include <memory>

class ContentBase;
class ContentFolder;
class QKeyEvent;
class QMenu;
class QPoint;
class QWidget;

// The content actions of the content views and the tree's folders: their context menus, with
// only the actions that apply, and their keys (Copy, Cut, Paste, Delete, Insert).
class ContentActionMenu {
public:
    // On empty space of the shown folder: autoset and reset of the whole folder, Paste, the
    // new actions and Import.
    static std::unique_ptr<QMenu> ForFolder(ContentFolder* shown, QWidget* parent);
    // On a selection: rename and renumber of the item under the cursor, autoset and reset of
    // the selection and of the whole folder, Copy, Cut, Paste, Delete, the new actions,
    // Export to GIF for an image and Export.
    static std::unique_ptr<QMenu> ForSelection(ContentFolder* shown,
                                               const QList<ContentBase*>& selection,
                                               ContentBase* underCursor, QWidget* parent);
    // Opens the menu for the object under the cursor (none: empty space) at `globalPos`.
    static void Popup(ContentFolder* shown, const QList<ContentBase*>& selection,
                      ContentBase* underCursor, QWidget* parent, const QPoint& globalPos);
    // Activation of a child: an item opens in its viewer; a folder is returned, to be shown.
    static ContentFolder* Open(ContentBase* object, QWidget* parent);
    // Runs the action of the key at once; false when the key has none (it is not accepted).
    static bool HandleKey(QKeyEvent* event, ContentFolder* shown,
                          const QList<ContentBase*>& selection, QWidget* parent);

    // The new actions' kinds of sub-folder that the folder can make.
    static QList<int> NewKinds(const ContentFolder* folder);
};
