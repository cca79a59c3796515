#include "ui/actions/ContentActionMenu.h"

#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "ui/actions/ContentBaseAddressAction.h"
#include "ui/actions/ContentBaseCopyAction.h"
#include "ui/actions/ContentBaseRemoveAction.h"
#include "ui/actions/ContentBaseRenameAction.h"
#include "ui/actions/ContentBaseRenumberAction.h"
#include "ui/actions/ContentFolderExportAction.h"
#include "ui/actions/ContentFolderImportAction.h"
#include "ui/actions/ContentFolderNewAction.h"
#include "ui/actions/ContentFolderPasteAction.h"
#include "ui/actions/ExportToGIFAction.h"
#include "ui/import/ImageViewDialog.h"

#include <QKeyEvent>
#include <QMenu>

namespace {

// Builds a menu group by group: only enabled actions, a separator between groups that show.
class MenuBuilder {
public:
    explicit MenuBuilder(QWidget* parent) : m_menu(std::make_unique<QMenu>(parent)) {}

    void Add(QAction* action) {
        action->setParent(m_menu.get());
        if (!action->isEnabled()) {
            delete action;
            return;
        }
        if (m_separate && !m_menu->isEmpty()) {
            m_menu->addSeparator();
        }
        m_separate = false;
        m_menu->addAction(action);
    }
    void Separate() { m_separate = true; }
    std::unique_ptr<QMenu> Take() { return std::move(m_menu); }

private:
    std::unique_ptr<QMenu> m_menu;
    bool m_separate = false;
};

QList<ContentBase*> ChildrenOf(ContentFolder* folder) {
    QList<ContentBase*> children;
    const ContentModelLock lock;
    for (int i = 0; folder && i < folder->ChildCount(); ++i) {
        children.append(folder->Child(i));
    }
    return children;
}

void AddNewActions(MenuBuilder& menu, ContentFolder* shown, QWidget* parent) {
    for (int kind : ContentActionMenu::NewKinds(shown)) {
        menu.Add(new ContentFolderNewAction(shown, kind, parent));
    }
}

using KeyAction = std::unique_ptr<QAction> (*)(ContentFolder*, const QList<ContentBase*>&,
                                               QWidget*);

struct KeyRow {
    QKeySequence::StandardKey key;  // UnknownKey: matched by `plainKey`
    int plainKey;
    KeyAction make;
};

const KeyRow kKeys[] = {
    {QKeySequence::Copy, 0,
     [](ContentFolder*, const QList<ContentBase*>& selection, QWidget* parent) {
         return std::unique_ptr<QAction>(new ContentBaseCopyAction(selection, parent));
     }},
    {QKeySequence::Cut, 0,
     [](ContentFolder*, const QList<ContentBase*>& selection, QWidget* parent) {
         return std::unique_ptr<QAction>(new ContentBaseCutAction(selection, parent));
     }},
    {QKeySequence::Paste, 0,
     [](ContentFolder* shown, const QList<ContentBase*>&, QWidget* parent) {
         return std::unique_ptr<QAction>(new ContentFolderPasteAction(shown, parent));
     }},
    {QKeySequence::Delete, 0,
     [](ContentFolder*, const QList<ContentBase*>& selection, QWidget* parent) {
         return std::unique_ptr<QAction>(new ContentBaseRemoveAction(selection, parent));
     }},
    {QKeySequence::UnknownKey, Qt::Key_Insert,
     [](ContentFolder* shown, const QList<ContentBase*>&, QWidget* parent) {
         return std::unique_ptr<QAction>(new ContentFolderNewAction(shown, 0, parent));
     }},
};

}  // namespace

QList<int> ContentActionMenu::NewKinds(const ContentFolder* folder) {
    QList<int> kinds;
    for (int kind : {0, 1}) {
        if (folder && !folder->ChildFolderTypeName(kind).isEmpty()) {
            kinds.append(kind);
        }
    }
    return kinds;
}

std::unique_ptr<QMenu> ContentActionMenu::ForFolder(ContentFolder* shown, QWidget* parent) {
    MenuBuilder menu(parent);
    const QList<ContentBase*> all = ChildrenOf(shown);
    menu.Add(new ContentBaseAutosetAction(all, true, parent));
    menu.Add(new ContentBaseResetAction(all, true, parent));
    menu.Separate();
    menu.Add(new ContentFolderPasteAction(shown, parent));
    menu.Separate();
    AddNewActions(menu, shown, parent);
    menu.Add(new ContentFolderImportAction(shown, parent));
    return menu.Take();
}

std::unique_ptr<QMenu> ContentActionMenu::ForSelection(ContentFolder* shown,
                                                       const QList<ContentBase*>& selection,
                                                       ContentBase* underCursor, QWidget* parent) {
    MenuBuilder menu(parent);
    menu.Add(new ContentBaseRenameAction(underCursor, parent));
    menu.Add(new ContentBaseRenumberAction(underCursor, parent));
    menu.Add(new ContentBaseAutosetAction(selection, false, parent));
    menu.Add(new ContentBaseResetAction(selection, false, parent));
    menu.Separate();
    const QList<ContentBase*> all = ChildrenOf(shown);
    menu.Add(new ContentBaseAutosetAction(all, true, parent));
    menu.Add(new ContentBaseResetAction(all, true, parent));
    menu.Separate();
    menu.Add(new ContentBaseCopyAction(selection, parent));
    menu.Add(new ContentBaseCutAction(selection, parent));
    menu.Add(new ContentFolderPasteAction(shown, parent));
    menu.Add(new ContentBaseRemoveAction(selection, parent));
    menu.Separate();
    AddNewActions(menu, shown, parent);
    menu.Add(new ExportToGIFAction(underCursor, parent));
    if (auto* folder = qobject_cast<ContentFolder*>(underCursor)) {
        menu.Add(new ContentFolderExportAction(folder, parent));
    } else {
        menu.Add(new ContentFolderExportAction(shown, parent));
    }
    return menu.Take();
}

void ContentActionMenu::Popup(ContentFolder* shown, const QList<ContentBase*>& selection,
                              ContentBase* underCursor, QWidget* parent, const QPoint& globalPos) {
    if (!shown) {
        return;
    }
    std::unique_ptr<QMenu> menu = underCursor ? ForSelection(shown, selection, underCursor, parent)
                                              : ForFolder(shown, parent);
    if (!menu->isEmpty()) {
        menu->exec(globalPos);
    }
}

ContentFolder* ContentActionMenu::Open(ContentBase* object, QWidget* parent) {
    if (auto* folder = qobject_cast<ContentFolder*>(object)) {
        return folder;
    }
    if (auto* item = qobject_cast<Content*>(object)) {
        ImageViewDialog::Open(*item, parent);
    }
    return nullptr;
}

bool ContentActionMenu::HandleKey(QKeyEvent* event, ContentFolder* shown,
                                  const QList<ContentBase*>& selection, QWidget* parent) {
    for (const KeyRow& row : kKeys) {
        const bool matches = row.key != QKeySequence::UnknownKey
                                 ? event->matches(row.key)
                                 : event->key() == row.plainKey && !event->modifiers();
        if (matches) {
            std::unique_ptr<QAction> action = row.make(shown, selection, parent);
            action->trigger();
            event->accept();
            return true;
        }
    }
    return false;
}
