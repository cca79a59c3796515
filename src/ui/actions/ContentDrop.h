#pragma once

#include <Qt>

#include <memory>

class ContentFolder;
class QMimeData;
class QWidget;

// The rules by which dragged or pasted data lands on a content folder, the same for the tree,
// the list, the preview and Paste. Content of this process is copied, or moved where the
// folder can move it; files of the desktop are imported by the folder first (its import
// dialogs) and the items made are copied in. Every change runs as a content operation under
// the operation dialog.
class ContentDrop {
public:
    // The private format that says what put content on the clipboard (see ContentSource).
    static const char* KindFormat();
    // Kinds of content sources.
    static constexpr int kDragged = 1;
    static constexpr int kCopied = 2;
    static constexpr int kCut = 3;

    // The source kind the data carries (kDragged when it says none).
    static int KindOf(const QMimeData& data);
    // Whether the folder takes the data with that action (copy or move).
    static bool CanDrop(const ContentFolder* target, const QMimeData* data, Qt::DropAction action);
    // Copy and/or move, as the folder takes the data.
    static Qt::DropActions Actions(const ContentFolder* target, const QMimeData* data);
    // Drops the data; false when it was refused or its operation failed.
    static bool Drop(QWidget* parent, ContentFolder* target, const QMimeData* data,
                     Qt::DropAction action);
    // Drops a copy of the data once the window's loop is back from the drag: the operation
    // dialog must not open inside the drag's own handling of the drop. False when refused.
    static bool DropLater(QWidget* parent, ContentFolder* target, const QMimeData* data,
                          Qt::DropAction action);
    // A copy of what a drop or the clipboard carries, for use after it has moved on: the
    // content and its kind, else the files.
    static std::unique_ptr<QMimeData> Copy(const QMimeData& data);
    // The action a paste of the data becomes: a move for cut content that the folder can
    // move, else a copy; IgnoreAction when the folder takes it neither way.
    static Qt::DropAction PasteAction(const ContentFolder* target, const QMimeData* data);
};
