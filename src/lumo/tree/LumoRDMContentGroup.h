#pragma once

#include "content/ContentChildList.h"
#include "content/ContentFolder.h"
#include "lumo/LumoRecords.h"
#include "lumo/tree/LumoCommandMap.h"

#include <QList>
#include <QUuid>

class LumoRDM;
class LumoRDMContentFolder;
class PolicyBase;

// One group of a fixture's folders: a range of folder numbers (stock, user or Quorel
// content). Folder edits are checked here, sent to the fixture as queued commands and
// applied to the group when the fixture has taken them.
class LumoRDMContentGroup : public ContentFolder {
    Q_OBJECT

public:
    enum GroupKind { User = 0, Stock = 1, Quorel = 2 };
    static constexpr int kCapacity = 256;

    LumoRDM* Device() const { return m_device; }
    GroupKind Kind() const { return m_kind; }
    // The number of items the group's folders may hold together.
    int Capacity() const { return m_capacity; }
    // The items in the group's folders.
    int ItemCount() const;
    // The folder of that number, or null.
    LumoRDMContentFolder* Folder(int number) const;

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    void Sort(bool recursive) override;
    // The group's lowest and highest folder number.
    int MinAddress() const override;
    int MaxAddress() const override;
    // The stock and the Quorel group follow their lock; the user group is always open.
    bool ChildrenReadOnly() const override;
    QIcon Icon() const override;
    QString ChildFolderTypeName(int kind) const override;
    bool AddFolder(const QString& name, int address, IFeedback* feedback) override;
    // Only folders of the group: another number within the group's range and/or name.
    bool Rename(ContentBase* child, const QString& name, int address, IFeedback* feedback) override;
    bool Move(ContentBase* item, IFeedback* feedback) override;
    bool Remove(ContentBase* child, IFeedback* feedback) override;
    // Takes every folder and its items off the tree without telling the fixture: for after
    // the fixture's content has been erased.
    bool RemoveAll(IFeedback* feedback) override;
    // A name no folder of the group has ("name (1)", "name (2)", ...), then the lowest
    // number from `address` up that no folder has; the range is not checked here.
    void MakeUnique(QString* name, int* address) override;

    // Makes a folder, which reads its files, for each record within the group's range whose
    // number the group does not show yet.
    void AddDiscoveredFolders(const QList<LumoFolderRecord>& folders);

public Q_SLOTS:
    void OnCommandFinished(QUuid commandId);
    void OnFinishedAddFolder(QUuid commandId, bool bResult);
    void OnFinishedRemoveFolder(QUuid commandId, bool bResult);
    void OnFinishedRenameFolder(QUuid commandId, bool bResult);

protected:
    LumoRDMContentGroup(LumoRDM* device, const QString& name, int minFolder, int maxFolder,
                        GroupKind kind, int capacity = kCapacity);

    // True for a folder whose policy is the family's folder policy (a fixture's or the
    // library's folder of that family's content).
    static bool IsFamilyFolder(const ContentFolder* folder, const PolicyBase& policy);

    // A folder of the family; with `discover` it reads its files at once.
    virtual std::unique_ptr<LumoRDMContentFolder> NewFolder(quint8 number, const QString& name,
                                                            bool discover) const = 0;

private:
    LumoRDMContentFolder* OwnFolder(const ContentBase* child) const;
    // True when a folder other than `exclude` has the name or the number.
    bool Clashes(const ContentBase* exclude, const QString& name, int number) const;
    bool InRange(int number) const;
    void AppendFolder(std::unique_ptr<LumoRDMContentFolder> folder);
    void DropFolder(LumoRDMContentFolder* folder);

    LumoRDM* const m_device;
    ContentChildList m_folders;
    const int m_minFolder;
    const int m_maxFolder;
    const GroupKind m_kind;
    const int m_capacity;
    LumoCommandMap m_commands;
};

class MarqaRDMContentGroup : public LumoRDMContentGroup {
    Q_OBJECT

public:
    MarqaRDMContentGroup(LumoRDM* device, const QString& name, int minFolder, int maxFolder,
                         GroupKind kind);
    QString ChildFolderTypeName(int kind) const override;
    bool AcceptsFolder(const ContentFolder* folder) const override;

protected:
    std::unique_ptr<LumoRDMContentFolder> NewFolder(quint8 number, const QString& name,
                                                    bool discover) const override;
};

class SolviRDMContentGroup : public LumoRDMContentGroup {
    Q_OBJECT

public:
    SolviRDMContentGroup(LumoRDM* device, const QString& name, int minFolder, int maxFolder,
                         GroupKind kind);
    QString ChildFolderTypeName(int kind) const override;
    bool AcceptsFolder(const ContentFolder* folder) const override;

protected:
    std::unique_ptr<LumoRDMContentFolder> NewFolder(quint8 number, const QString& name,
                                                    bool discover) const override;
};
