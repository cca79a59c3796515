#pragma once

#include "content/library/ContentLibraryContainerFolder.h"

// The content library's root ("User Content"): a directory of package directories. Opening it
// scans the directory, reads the descriptions and, when the library's version is not 1,
// writes every description again.
class ContentLibraryRoot : public ContentLibraryContainerFolder {
    Q_OBJECT

public:
    static constexpr int kVersion = 1;

    // The library in `directory`; an empty one means the "ContentLibraryRoot" named folder.
    explicit ContentLibraryRoot(const QString& directory = QString());

    // The root itself can be neither renamed nor removed.
    bool IsReadOnly() const override { return true; }
    int Version() const;

    void Scan() override;
    // Makes a package directory and a package of the root policy's first kind.
    bool AddFolder(const QString& name, int address, IFeedback* feedback) override;
    bool Remove(ContentBase* child, IFeedback* feedback) override;
    bool Move(ContentBase* item, IFeedback* feedback) override;

protected:
    // Used by the Quorel root: its own name, policy and directory.
    ContentLibraryRoot(const QString& name, const PolicyBase* policy, const QString& directory);
    // Scans, loads and upgrades; called by the constructors of the most derived roots.
    void Open();

    QString ChildElement() const override { return "package"; }
    bool DescribesAllChildren() const override { return true; }
    QString DescriptionVersion() const override;
    void SetDescriptionVersion(const QString& version) override;
    std::unique_ptr<ContentLibraryLocalFolder> NewChild() override;

private:
    int m_version = 0;
};
