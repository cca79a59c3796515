#pragma once

#include "content/ContentChildList.h"
#include "content/ContentPolicyFolder.h"
#include "lumo/LumoRecords.h"
#include "lumo/tree/LumoCommandMap.h"

#include <QList>
#include <QUuid>

class LumoContentDownloadCommand;
class LumoContentUploadCommand;
class LumoImageKind;
class LumoRDM;
class LumoRDMContentGroup;

// One numbered folder of a fixture; its items are the fixture's files in it, numbered 1 to
// 255. Edits are checked here, sent to the fixture as queued commands and applied to the
// folder when the fixture has taken them.
class LumoRDMContentFolder : public ContentPolicyFolder {
    Q_OBJECT

public:
    static constexpr int kMinFile = 1;
    static constexpr int kMaxFile = 255;

    LumoRDM* Device() const { return m_device; }
    // The folder number on the fixture (the folder's address).
    quint8 Number() const;
    // The group the folder is in, or null.
    LumoRDMContentGroup* Group() const;
    // The item of that file number, or null.
    Content* Item(int file) const;
    // The family of the folder's items.
    virtual const LumoImageKind& ImageKind() const = 0;

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    void Sort(bool recursive) override;
    int MinAddress() const override;
    int MaxAddress() const override;
    // Follows the lock of the group the folder is in.
    bool ChildrenReadOnly() const override;
    QIcon Icon() const override;
    bool HasFlaggedContent() const override;
    bool AcceptsContent(const Content* content) const override;
    // Uploads the items to the fixture, each at its address; they join the folder as the
    // fixture takes them (an item already at that number is replaced).
    bool AddContent(ContentList items, IFeedback* feedback) override;
    bool Rename(ContentBase* child, const QString& name, int address, IFeedback* feedback) override;
    // Moves an item of another folder of the same fixture here, keeping its number.
    bool Move(ContentBase* item, IFeedback* feedback) override;
    bool Remove(ContentBase* child, IFeedback* feedback) override;
    bool RemoveAll(IFeedback* feedback) override;

    // Reads the data of the given items of this folder from the fixture; each downloaded
    // item replaces the one it was read for. False when none of them is in this folder.
    bool Download(const QList<const Content*>& items, IFeedback* feedback) override;
    // Whether the items may be uploaded here; reports the first refusal.
    bool CheckNewContent(const ContentList& items, IFeedback* feedback) const;

    enum ReadState { Reading, Read, ReadFailed };
    // Whether the folder's files have been read from the fixture.
    ReadState FilesRead() const;

    // Reads the folder's files from the fixture.
    void DiscoverContent();
    // Adds an item for each file record of this folder that has a content key and whose
    // number is not shown yet.
    void AddDiscoveredContent(const QList<LumoFileRecord>& files);
    // Puts an item the fixture now holds at its number, replacing the one there.
    void PutContent(std::unique_ptr<Content> item);
    // Takes every item off the tree, without telling the fixture (its folder is gone).
    void DropAll();

public Q_SLOTS:
    void OnCommandFinished(QUuid commandId);
    void OnFinishedContentDiscovery(QUuid commandId, bool bResult);
    void OnFinishedContentUpload(QUuid command, unsigned short file, bool bResult);
    void OnFinishedContentDownload(QUuid command, unsigned short file, bool bResult);
    void OnFinishedContentRemove(QUuid commandId, int content, bool bResult);
    void OnFinishedContentRename(QUuid commandId, bool bResult);
    void OnFinishedContentMove(QUuid commandId, bool bResult);

protected:
    // With `discover` the folder reads its files from the fixture at once.
    LumoRDMContentFolder(const PolicyBase& policy, LumoRDM* device, quint8 number,
                         const QString& name, bool discover);

    virtual std::unique_ptr<LumoContentUploadCommand> NewUploadCommand() const = 0;
    virtual std::unique_ptr<LumoContentDownloadCommand> NewDownloadCommand() const = 0;

private:
    // The child as an item of this folder, or null.
    Content* OwnItem(const ContentBase* child) const;
    std::unique_ptr<Content> TakeItem(Content* item);
    void Discard(Content* item);
    void QueueRemove(const QList<Content*>& items, IFeedback* feedback);
    LumoFileRecord RecordOf(const Content& item) const;

    LumoRDM* const m_device;
    ReadState m_read = Read;
    ContentChildList m_items;
    LumoCommandMap m_commands;
};

class MarqaRDMContentFolder : public LumoRDMContentFolder {
    Q_OBJECT

public:
    MarqaRDMContentFolder(LumoRDM* device, quint8 number, const QString& name, bool discover);
    const LumoImageKind& ImageKind() const override;

protected:
    std::unique_ptr<LumoContentUploadCommand> NewUploadCommand() const override;
    std::unique_ptr<LumoContentDownloadCommand> NewDownloadCommand() const override;
};

class SolviRDMContentFolder : public LumoRDMContentFolder {
    Q_OBJECT

public:
    SolviRDMContentFolder(LumoRDM* device, quint8 number, const QString& name, bool discover);
    const LumoImageKind& ImageKind() const override;

protected:
    std::unique_ptr<LumoContentUploadCommand> NewUploadCommand() const override;
    std::unique_ptr<LumoContentDownloadCommand> NewDownloadCommand() const override;
};
