#pragma once

#include "content/library/ContentLibraryLocalFolder.h"

#include <QHash>

// A library folder: a directory of LED image files ("mqi", "slvi") described by config.xml.
class ContentLibraryFolder : public ContentLibraryLocalFolder {
    Q_OBJECT

public:
    explicit ContentLibraryFolder(const PolicyBase* policy);

    // Read-only when the parent's children are; the children are read-only when the folder
    // is; view-only as the parent is.
    bool IsReadOnly() const override;
    bool ChildrenReadOnly() const override;
    bool ViewOnly() const override;

    void Scan() override;
    // Writes each item's file (replacing a child of the same name) and appends it.
    bool AddContent(ContentList items, IFeedback* feedback) override;
    bool Rename(ContentBase* child, const QString& name, int address, IFeedback* feedback) override;
    bool Remove(ContentBase* child, IFeedback* feedback) override;
    // Moves the item's file here from another library folder.
    bool Move(ContentBase* item, IFeedback* feedback) override;

    // The file of a child item.
    QString FilePath(const Content* item) const;

protected:
    QString ChildElement() const override { return "content"; }

private:
    // The file name per item where it is not the item's name and suffix.
    QHash<const Content*, QString> m_fileNames;
};
