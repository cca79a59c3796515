#pragma once

#include "content/library/ContentLibraryContainerFolder.h"

// A package of the content library: a directory of folder directories.
class ContentLibraryPackage : public ContentLibraryContainerFolder {
    Q_OBJECT

public:
    explicit ContentLibraryPackage(const PolicyBase* policy);

    void Scan() override;
    bool AddFolder(const QString& name, int address, IFeedback* feedback) override;
    // Removes the folder's directory, which must be empty.
    bool Remove(ContentBase* child, IFeedback* feedback) override;
    // Moves a folder's directory here from another package.
    bool Move(ContentBase* item, IFeedback* feedback) override;

protected:
    QString ChildElement() const override { return "folder"; }
    std::unique_ptr<ContentLibraryLocalFolder> NewChild() override;
};
