#pragma once

#include "content/Content.h"
#include "content/ContentBase.h"

#include <QStringList>

class IFeedback;

// A folder of a content tree. It holds no child list itself: subclasses own their children.
// Editing operations refuse by default; subclasses that can change open them up.
class ContentFolder : public ContentBase {
    Q_OBJECT

public:
    ContentFolder() = default;

    // The top-most folder above this one (itself when it has no parent).
    virtual const ContentFolder* Root() const;
    virtual ContentFolder* Root();
    virtual QIcon Icon() const;
    // True when `other` is this folder or one of its ancestors.
    virtual bool IsWithin(const ContentFolder* other) const;
    virtual int ChildCount() const = 0;
    virtual ContentBase* Child(int index) = 0;
    // An index outside 0..ChildCount()-1 is a broken invariant and ends the process.
    virtual const ContentBase* Child(int index) const = 0;
    virtual void Sort(bool recursive);
    virtual int MinAddress() const = 0;
    virtual int MaxAddress() const = 0;
    virtual bool ChildrenReadOnly() const;
    virtual bool ViewOnly() const;
    virtual int FirstFreeAddress() const;
    // The lowest address at or above `from` and MinAddress() that no child holds, or -1 when
    // every address up to MaxAddress() is taken.
    virtual int NextFreeAddress(int from) const;
    virtual bool HasFlaggedContent() const;
    // The display name of the kind of sub-folder that can be made here ("New %1").
    virtual QString ChildFolderTypeName(int kind) const;
    virtual bool AddFolder(const QString& name, int address, IFeedback* feedback);
    virtual bool AcceptsFolder(const ContentFolder* folder) const;
    virtual bool AcceptsContent(const Content* content) const;
    // Takes the items; those not kept are destroyed with the list.
    virtual bool AddContent(ContentList items, IFeedback* feedback);
    // True when a child has exactly that name (the address is not looked at here).
    virtual bool HasChild(const QString& name, int address) const;
    // Turns `name` into "name (2)", "name (3)", ... until HasChild is false.
    virtual void MakeUnique(QString* name, int* address);
    virtual bool Rename(ContentBase* child, const QString& name, int address, IFeedback* feedback);
    virtual bool CanMoveContent(const Content* content) const;
    virtual bool CanMoveFolder(const ContentFolder* folder) const;
    virtual bool Move(ContentBase* item, IFeedback* feedback);
    virtual bool Remove(ContentBase* child, IFeedback* feedback);
    virtual bool RemoveAll(IFeedback* feedback);
    // Reads into the given children the data the folder only lists (a fixture's folder knows
    // its files' names and keys; their data stays on the fixture until it is read). True when
    // that was started: the feedback then gets the end, and each child read is replaced by a
    // new item of the same name and address. False when there is nothing to read.
    virtual bool Download(const QList<const Content*>& items, IFeedback* feedback);
    // New empty items for the paths that name existing regular files, in order.
    virtual ContentList NewContents(const QStringList& paths);
    virtual ContentList NewContent(const QString& path);
    // The items made from the files, in order.
    virtual ContentList ImportFiles(int address, const QStringList& paths);
    virtual ContentList ImportFile(int address, const QString& path);

signals:
    void FolderAdded(const ContentFolder* parent, ContentFolder* folder);
    void FolderRemoved(const ContentFolder* parent, const ContentFolder* folder);
    void ContentAdded(const ContentFolder* parent, Content* content);
    void ContentRemoved(const ContentFolder* parent, const Content* content);
};
