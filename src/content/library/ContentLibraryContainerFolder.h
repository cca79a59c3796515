#pragma once

#include "content/library/ContentLibraryLocalFolder.h"

// A library directory that holds directories only (the roots and the packages). It has no
// address: Address() is 0 and SetAddress and SetTag refuse.
class ContentLibraryContainerFolder : public ContentLibraryLocalFolder {
    Q_OBJECT

public:
    explicit ContentLibraryContainerFolder(const PolicyBase* policy);

    int Address() const override { return 0; }
    bool SetAddress(int address) override;
    bool SetTag(quint16 tag) override;
    bool AcceptsContent(const Content* content) const override;

    // Renames the child's directory (only when the name changes) and the child, and gives it
    // the address (range-checked); the description is written again.
    bool Rename(ContentBase* child, const QString& name, int address, IFeedback* feedback) override;

protected:
    // Scans each sub-directory into a child folder made by NewChild.
    void ScanChildren();
    // A child folder for a sub-directory (with this folder's child policy of kind 0).
    virtual std::unique_ptr<ContentLibraryLocalFolder> NewChild() = 0;
    // Makes the child directory `name` and appends a new child for it at `address`.
    bool AddChildFolder(const QString& name, int address, IFeedback* feedback);
    // True when a child directory of that name is there already.
    virtual bool HasChildDirectory(const QString& name) const;
    // True for 0 (no address) and for the addresses of the folder's range.
    bool InRange(int address) const;
    // Removes the child's directory, which must be empty.
    bool RemoveChildFolder(ContentBase* child, IFeedback* feedback);
};
