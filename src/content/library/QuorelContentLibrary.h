#pragma once

#include "archive/ArchiveEngine.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"

// The Quorel content library: the same shape as the content library, with each item's Quorel
// number in the folder descriptions ("quorelID").

// A Quorel folder: its description carries the items' Quorel numbers.
class QuorelContentLibraryFolder : public ContentLibraryFolder {
    Q_OBJECT

public:
    using ContentLibraryFolder::ContentLibraryFolder;

protected:
    bool DescribesQuorelIds() const override { return true; }
};

// A folder of a Quorel package archive (collage packages).
class QuorelContentLibraryPackageFolder : public QuorelContentLibraryFolder {
    Q_OBJECT

public:
    using QuorelContentLibraryFolder::QuorelContentLibraryFolder;
};

// A Quorel package: its folders are Quorel folders.
class QuorelContentLibraryPackage : public ContentLibraryPackage {
    Q_OBJECT

public:
    using ContentLibraryPackage::ContentLibraryPackage;

protected:
    std::unique_ptr<ContentLibraryLocalFolder> NewChild() override;
};

class MarqaQuorelContentLibraryPackage : public QuorelContentLibraryPackage {
    Q_OBJECT

public:
    MarqaQuorelContentLibraryPackage();
};

class SolviQuorelContentLibraryPackage : public QuorelContentLibraryPackage {
    Q_OBJECT

public:
    SolviQuorelContentLibraryPackage();
};

// A Quorel package that is a package archive (a collage package); call Scan() to read it.
class QuorelContentLibraryPackageFile : public QuorelContentLibraryPackage {
    Q_OBJECT

public:
    QuorelContentLibraryPackageFile(const QString& path, const PolicyBase* policy);

protected:
    std::unique_ptr<ContentLibraryLocalFolder> NewChild() override;
};

// A collage package being written; see ContentLibraryPackageDestinationFile.
class QuorelContentLibraryPackageDestinationFile : public QuorelContentLibraryPackageFile {
    Q_OBJECT

public:
    QuorelContentLibraryPackageDestinationFile(const QString& archiveFile,
                                               const PolicyBase* policy);
    ~QuorelContentLibraryPackageDestinationFile() override;

private:
    std::unique_ptr<ArchiveEngine> m_writer;
};

// The Quorel library's root ("Quorel Content"): read-only, its children too, view-only.
class QuorelContentLibraryRoot : public ContentLibraryRoot {
    Q_OBJECT

public:
    // The library in `directory`; an empty one means the "QuorelContentLibraryRoot" folder.
    explicit QuorelContentLibraryRoot(const QString& directory = QString());

    // Adds the collage `name` of the package policy from `collage` (folders of images, each
    // image with its Quorel number): the directories, the image files and the descriptions
    // are written, then read in. The library stays closed to every other change. False, with
    // the reason and nothing left on disk, when the name is taken or not a safe file name, or
    // the disk refuses.
    bool ImportCollage(const QString& name, const PolicyBase* policy, const ContentFolder& collage,
                       IFeedback* feedback);
    // Whether a collage of that name is in the library or its directory on disk.
    bool HasCollage(const QString& name) const;

protected:
    std::unique_ptr<ContentLibraryLocalFolder> NewChild() override;
};
