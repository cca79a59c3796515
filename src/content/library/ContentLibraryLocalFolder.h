#pragma once

#include "content/ContentChildList.h"
#include "content/ContentPolicyFolder.h"

#include <QDir>
#include <QString>

class IFeedback;

// A folder of the content library that is a directory: on disk, or inside a package archive.
// It owns its children and keeps its description file, "config.xml", beside them. Changes go
// to the disk first, then to the tree, then to the description.
class ContentLibraryLocalFolder : public ContentPolicyFolder {
    Q_OBJECT

public:
    explicit ContentLibraryLocalFolder(const PolicyBase* policy);

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;

    // The directory: the stored path when it is set, otherwise the parent's directory joined
    // with the folder's name.
    virtual QDir Dir() const;
    // Reads "config.xml" of the directory; false when it is missing or cannot be parsed (the
    // children then keep their addresses and the policy its value).
    virtual bool LoadConfig();
    // Writes "config.xml" (removes it when there are no children); with `recursive`, each
    // child folder writes its own too.
    virtual bool SaveConfig(bool recursive);

    // The directory as a path; it may run into a package archive, which QDir cannot hold.
    QString DirPath() const;
    // The absolute directory (roots, package files); empty: below the parent's.
    void SetDirPath(const QString& path);
    // The directory's own name below the parent's when it differs from the folder's name
    // (names are cut to 16 characters, directory names are not).
    void SetDirName(const QString& name);
    // Orders the children by address (and, with `recursive`, those of the sub-folders).
    void Sort(bool recursive) override;
    // Why `name` can't be the name of a file or directory of the library (empty, "." or "..",
    // a path separator or a control character in it); empty when it can.
    static QString NameProblem(const QString& name);

    // Reads the directory into children, then the description.
    virtual void Scan() = 0;
    // Gives the folder the policy and its sub-folders the child policies, down the tree.
    void HandDownPolicy(const PolicyBase* policy);

protected:
    // The element that describes a child in the description ("package", "folder", "content").
    virtual QString ChildElement() const = 0;
    // True when the description lists every child, not only those with an address.
    virtual bool DescribesAllChildren() const { return false; }
    virtual bool DescribesQuorelIds() const { return false; }
    // The "version" that the description carries (only the root's has one).
    virtual QString DescriptionVersion() const { return QString(); }
    virtual void SetDescriptionVersion(const QString& /*version*/) {}

    // The sub-directories of the directory, sorted by name.
    QStringList SubDirectories() const;
    QString ChildPath(const QString& name) const;
    void AppendChild(std::unique_ptr<ContentBase> child);
    std::unique_ptr<ContentBase> TakeChild(const ContentBase* child);
    ContentBase* FindChild(const QString& name) const;

    // IFeedback helpers: an error line, and success.
    static bool Refuse(IFeedback* feedback, const QString& message);
    static bool Succeed(IFeedback* feedback);

private:
    ContentChildList m_children;
    QString m_directory;
    QString m_dirName;
};
