#pragma once

#include "content/Content.h"
#include "content/ContentType.h"

#include <QString>

class ContentFolder;

// The rules of a policy folder: address range, uniqueness of names and addresses, what may
// be changed, which items and sub-folders it takes and how files become items. Policies are
// stateless and shared; each operation gets the folder it is asked about and runs with
// ContentModelMutex held by that folder.
class PolicyBase {
public:
    // A policy made with a class name joins the registry (at the front); one without, such as
    // a rule part, does not.
    explicit PolicyBase(const char* className = nullptr);
    virtual ~PolicyBase();
    PolicyBase(const PolicyBase&) = delete;
    PolicyBase& operator=(const PolicyBase&) = delete;

    virtual int MinAddress(const ContentFolder* folder) const;
    virtual int MaxAddress(const ContentFolder* folder) const;
    virtual int FirstFreeAddress(const ContentFolder* folder) const;
    virtual bool HasConflict(const ContentFolder* folder, const ContentBase* exclude,
                             const QString& name, int address) const;
    // Changes the name and address until they clash with no child but `exclude`; true when
    // either changed.
    virtual bool MakeUnique(const ContentFolder* folder, const ContentBase* exclude, QString* name,
                            int* address) const;
    // True when an item or sub-folder of that type may be put into the folder, converted
    // where needed.
    virtual bool CanConvertContent(const ContentFolder* folder, const ContentType& type) const;
    virtual bool ChildrenReadOnly(const ContentFolder* folder) const;
    virtual bool ViewOnly(const ContentFolder* folder) const;
    virtual bool IsReadOnly(const ContentFolder* folder) const;
    virtual bool AcceptsOwnType(const ContentType& type) const;
    // An item of the folder's own kind made from `content`, or null.
    virtual std::unique_ptr<Content> ConvertContent(const Content& content) const;
    // The key that folder descriptions store.
    virtual QString ClassName() const;
    virtual QString DisplayName() const;
    virtual QString Label() const;
    // The items made from `file` (or one new empty item when `createEmpty` is set).
    virtual ContentList Import(const ContentFolder* folder, int address, const QString& file,
                               bool createEmpty) const;
    // The policy of the sub-folders of `kind` made in the folder.
    virtual const PolicyBase* ChildPolicy(const ContentFolder* folder, int kind) const;

    // The registered policy of that class name, compared without regard to case; the most
    // recently registered one wins. Null when none matches.
    static const PolicyBase* Find(const QString& className);

private:
    const char* m_className;
    PolicyBase* m_next = nullptr;
};
