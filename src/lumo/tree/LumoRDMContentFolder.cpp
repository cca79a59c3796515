#include "lumo/tree/LumoRDMContentFolder.h"

#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "lumo/LumoImageKind.h"
#include "lumo/commands/LumoContentDiscoveryCommand.h"
#include "lumo/commands/LumoContentDownloadCommand.h"
#include "lumo/commands/LumoContentUploadCommand.h"
#include "lumo/commands/LumoMoveContentCommand.h"
#include "lumo/commands/LumoRemoveContentCommand.h"
#include "lumo/commands/LumoRenameContentCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoContentIndex.h"
#include "lumo/tree/LumoRDMContentGroup.h"
#include "lumo/tree/LumoTreeSupport.h"

#include <QThread>

using namespace LumoTree;

LumoRDMContentFolder::LumoRDMContentFolder(const PolicyBase& policy, LumoRDM* device, quint8 number,
                                           const QString& name, bool discover)
    : ContentPolicyFolder(&policy), m_device(device), m_commands(this) {
    SetName(name);
    SetAddress(number);
    m_commands.ConnectCompletion(this, &LumoRDMContentFolder::OnCommandFinished);
    if (discover) {
        DiscoverContent();
    }
}

quint8 LumoRDMContentFolder::Number() const {
    return quint8(Address());
}

LumoRDMContentGroup* LumoRDMContentFolder::Group() const {
    return qobject_cast<LumoRDMContentGroup*>(Parent());
}

Content* LumoRDMContentFolder::Item(int file) const {
    const ContentModelLock lock;
    for (int i = 0, count = m_items.Count(); i < count; ++i) {
        if (m_items.At(i)->Address() == file) {
            return qobject_cast<Content*>(m_items.At(i));
        }
    }
    return nullptr;
}

int LumoRDMContentFolder::ChildCount() const {
    const ContentModelLock lock;
    return m_items.Count();
}

ContentBase* LumoRDMContentFolder::Child(int index) {
    const ContentModelLock lock;
    return m_items.At(index);
}

const ContentBase* LumoRDMContentFolder::Child(int index) const {
    const ContentModelLock lock;
    return m_items.At(index);
}

void LumoRDMContentFolder::Sort(bool recursive) {
    const ContentModelLock lock;
    m_items.SortByAddress(recursive);
}

int LumoRDMContentFolder::MinAddress() const {
    return kMinFile;
}

int LumoRDMContentFolder::MaxAddress() const {
    return kMaxFile;
}

bool LumoRDMContentFolder::ChildrenReadOnly() const {
    const ContentModelLock lock;
    const LumoRDMContentGroup* group = Group();
    return group && group->ChildrenReadOnly();
}

QIcon LumoRDMContentFolder::Icon() const {
    return IconPair(ChildrenReadOnly() ? QStringLiteral(":/Resources/content-folder-crv")
                                       : QStringLiteral(":/Resources/content-folder"));
}

bool LumoRDMContentFolder::HasFlaggedContent() const {
    const ContentModelLock lock;
    for (int i = 0, count = m_items.Count(); i < count; ++i) {
        const auto* item = qobject_cast<const Content*>(m_items.At(i));
        if (item && item->IsFlagged()) {
            return true;
        }
    }
    return false;
}

bool LumoRDMContentFolder::AcceptsContent(const Content* content) const {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return false;
    }
    const LumoRDMContentGroup* group = Group();
    if (group && group->ItemCount() >= group->Capacity()) {
        return false;
    }
    return ImageKind().Accepts(content);
}

bool LumoRDMContentFolder::CheckNewContent(const ContentList& items, IFeedback* feedback) const {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    const LumoRDMContentGroup* group = Group();
    if (group && group->ItemCount() >= group->Capacity()) {
        return Refuse(feedback, kNoSpace);
    }
    for (const std::unique_ptr<Content>& item : items) {
        if (!AcceptsContent(item.get())) {
            return Refuse(feedback, kWrongType);
        }
        if (item->Address() < kMinFile || item->Address() > kMaxFile) {
            return Refuse(feedback, kContentOutOfRange);
        }
    }
    return true;
}

bool LumoRDMContentFolder::AddContent(ContentList items, IFeedback* feedback) {
    const ContentModelLock lock;
    if (!CheckNewContent(items, feedback)) {
        return false;
    }
    // Items made on an operation's thread join the folder's, where they will live.
    for (const std::unique_ptr<Content>& item : items) {
        if (item->thread() == QThread::currentThread() && item->thread() != thread()) {
            item->moveToThread(thread());
        }
    }
    std::unique_ptr<LumoContentUploadCommand> command = NewUploadCommand();
    command->Setup(m_device, Number(), std::move(items));
    m_commands.Queue(std::move(command), feedback, &LumoContentUploadCommand::FinishedContentUpload,
                     this, &LumoRDMContentFolder::OnFinishedContentUpload);
    return true;
}

bool LumoRDMContentFolder::Rename(ContentBase* child, const QString& name, int address,
                                  IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    Content* item = OwnItem(child);
    if (!item) {
        return Refuse(feedback, kRenameItemsOnly);
    }
    if (address < kMinFile || address > kMaxFile) {
        return Refuse(feedback, kContentOutOfRange);
    }
    if (HasConflict(item, name, address)) {
        return Refuse(feedback, kConflict);
    }
    const LumoFileRecord old = RecordOf(*item);
    LumoFileRecord now = old;
    now.file = quint8(address);
    now.name = name.left(ContentBase::kMaxNameLength);
    auto command = std::make_unique<LumoRenameContentCommand>();
    command->Setup(m_device, old, now);
    m_commands.Queue(std::move(command), feedback, &LumoRenameContentCommand::FinishedContentRename,
                     this, &LumoRDMContentFolder::OnFinishedContentRename);
    return true;
}

bool LumoRDMContentFolder::Move(ContentBase* item, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    auto* content = qobject_cast<Content*>(item);
    if (!content) {
        return Refuse(feedback, kFolderMove);
    }
    // The fixture moves files between its own folders only.
    const auto* from = qobject_cast<const LumoRDMContentFolder*>(content->Parent());
    if (!from || from->Device() != m_device) {
        return Refuse(feedback, kOtherFixtureMove);
    }
    if (from->ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    if (from == this) {
        return false;  // already here
    }
    auto command = std::make_unique<LumoMoveContentCommand>();
    command->Setup(m_device, content, Number(), quint8(content->Address()));
    m_commands.Queue(std::move(command), feedback, &LumoMoveContentCommand::FinishedContentMove,
                     this, &LumoRDMContentFolder::OnFinishedContentMove);
    return true;
}

bool LumoRDMContentFolder::Remove(ContentBase* child, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    Content* item = OwnItem(child);
    if (!item) {
        return false;
    }
    QueueRemove({item}, feedback);
    return true;
}

bool LumoRDMContentFolder::RemoveAll(IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    QList<Content*> items;
    for (int i = 0, count = m_items.Count(); i < count; ++i) {
        items.append(qobject_cast<Content*>(m_items.At(i)));
    }
    QueueRemove(items, feedback);
    return true;
}

bool LumoRDMContentFolder::Download(const QList<const Content*>& items, IFeedback* feedback) {
    const ContentModelLock lock;
    ContentList targets;
    for (const Content* wanted : items) {
        const Content* own = OwnItem(wanted);
        if (!own) {
            continue;
        }
        std::unique_ptr<Content> target = ImageKind().NewItem();
        // Made here (an operation's thread, maybe), it will live in the folder.
        if (target->thread() != thread()) {
            target->moveToThread(thread());
        }
        target->SetName(own->Name());
        target->SetAddress(own->Address());
        target->SetContentKey(own->ContentKey());
        targets.push_back(std::move(target));
    }
    if (targets.empty()) {
        return false;
    }
    std::unique_ptr<LumoContentDownloadCommand> command = NewDownloadCommand();
    command->Setup(m_device, Number(), std::move(targets));
    m_commands.Queue(std::move(command), feedback,
                     &LumoContentDownloadCommand::FinishedContentDownload, this,
                     &LumoRDMContentFolder::OnFinishedContentDownload);
    return true;
}

LumoRDMContentFolder::ReadState LumoRDMContentFolder::FilesRead() const {
    const ContentModelLock lock;
    return m_read;
}

void LumoRDMContentFolder::DiscoverContent() {
    const ContentModelLock lock;
    m_read = Reading;
    auto command = std::make_unique<LumoContentDiscoveryCommand>();
    command->Setup(m_device, Number());
    m_commands.Queue(std::move(command), nullptr,
                     &LumoContentDiscoveryCommand::FinishedContentDiscovery, this,
                     &LumoRDMContentFolder::OnFinishedContentDiscovery);
}

void LumoRDMContentFolder::AddDiscoveredContent(const QList<LumoFileRecord>& files) {
    const ContentModelLock lock;
    for (const LumoFileRecord& record : files) {
        // A file without a key holds no content the program can show.
        if (record.folder != Number() || record.key == 0 || record.file < kMinFile ||
            Item(record.file)) {
            continue;
        }
        std::unique_ptr<Content> item = LumoContentIndex::ItemFor(record, ImageKind());
        Content* added = item.get();
        m_items.Append(std::move(item), this);
        Q_EMIT ContentAdded(this, added);
    }
}

void LumoRDMContentFolder::PutContent(std::unique_ptr<Content> item) {
    const ContentModelLock lock;
    // An item made on another thread (an aggregate's, an operation's) lives where the folder
    // does, so that it can be deleted there.
    if (item->thread() == QThread::currentThread() && item->thread() != thread()) {
        item->moveToThread(thread());
    }
    if (Content* replaced = Item(item->Address())) {
        Discard(replaced);
    }
    Content* added = item.get();
    m_items.Append(std::move(item), this);
    Q_EMIT ContentAdded(this, added);
}

void LumoRDMContentFolder::DropAll() {
    const ContentModelLock lock;
    while (m_items.Count() > 0) {
        Discard(qobject_cast<Content*>(m_items.At(m_items.Count() - 1)));
    }
}

void LumoRDMContentFolder::OnCommandFinished(QUuid commandId) {
    m_commands.Finish(commandId);
}

void LumoRDMContentFolder::OnFinishedContentDiscovery(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoContentDiscoveryCommand>(commandId);
    if (command && bResult) {
        AddDiscoveredContent(command->Files());
    }
    m_read = command && bResult ? Read : ReadFailed;
}

void LumoRDMContentFolder::OnFinishedContentUpload(QUuid command, unsigned short file,
                                                   bool bResult) {
    const ContentModelLock lock;
    auto* upload = m_commands.Find<LumoContentUploadCommand>(command);
    if (!upload || !bResult) {
        return;
    }
    if (std::unique_ptr<Content> item = upload->TakeItem(file)) {
        LumoContentIndex::Remember(*item);
        PutContent(std::move(item));
    }
}

void LumoRDMContentFolder::OnFinishedContentDownload(QUuid command, unsigned short file,
                                                     bool bResult) {
    const ContentModelLock lock;
    auto* download = m_commands.Find<LumoContentDownloadCommand>(command);
    const Content* old = Item(file);
    if (!download || !bResult || !old) {
        return;  // an item removed meanwhile stays removed
    }
    if (std::unique_ptr<Content> item = download->TakeItem(file)) {
        // The fixture's file record names the item, not the image's own header.
        item->SetName(old->Name());
        item->SetContentKey(old->ContentKey());
        LumoContentIndex::Remember(*item);
        PutContent(std::move(item));
    }
}

void LumoRDMContentFolder::OnFinishedContentRemove(QUuid commandId, int content, bool bResult) {
    const ContentModelLock lock;
    if (!m_commands.Find<LumoRemoveContentCommand>(commandId) || !bResult) {
        return;
    }
    if (Content* item = Item(content)) {
        Discard(item);
    }
}

void LumoRDMContentFolder::OnFinishedContentRename(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoRenameContentCommand>(commandId);
    if (!command || !bResult) {
        return;
    }
    const LumoFileRecord now = command->NewFile();
    if (Content* item = Item(command->OldFile().file)) {
        item->SetName(now.name);
        item->SetAddress(now.file);
    }
}

void LumoRDMContentFolder::OnFinishedContentMove(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoMoveContentCommand>(commandId);
    if (!command || !bResult) {
        return;
    }
    Content* item = command->Item();
    auto* from = item ? qobject_cast<LumoRDMContentFolder*>(item->Parent()) : nullptr;
    if (!from || from == this) {
        return;
    }
    if (std::unique_ptr<Content> moved = from->TakeItem(item)) {
        PutContent(std::move(moved));
    }
}

Content* LumoRDMContentFolder::OwnItem(const ContentBase* child) const {
    const int index = m_items.IndexOf(child);
    return index < 0 ? nullptr : qobject_cast<Content*>(m_items.At(index));
}

std::unique_ptr<Content> LumoRDMContentFolder::TakeItem(Content* item) {
    std::unique_ptr<ContentBase> taken = m_items.Take(item);
    if (!taken) {
        return nullptr;
    }
    Q_EMIT ContentRemoved(this, item);
    return std::unique_ptr<Content>(static_cast<Content*>(taken.release()));
}

void LumoRDMContentFolder::Discard(Content* item) {
    if (std::unique_ptr<Content> taken = TakeItem(item)) {
        taken.release()->deleteLater();
    }
}

void LumoRDMContentFolder::QueueRemove(const QList<Content*>& items, IFeedback* feedback) {
    QList<LumoRemoveContentCommand::FileAddress> files;
    for (const Content* item : items) {
        files.append({Number(), quint8(item->Address())});
    }
    auto command = std::make_unique<LumoRemoveContentCommand>();
    command->Setup(m_device, files);
    m_commands.Queue(std::move(command), feedback, &LumoRemoveContentCommand::FinishedContentRemove,
                     this, &LumoRDMContentFolder::OnFinishedContentRemove);
}

LumoFileRecord LumoRDMContentFolder::RecordOf(const Content& item) const {
    return {Number(), quint8(item.Address()), item.ContentKey(), item.Name()};
}

MarqaRDMContentFolder::MarqaRDMContentFolder(LumoRDM* device, quint8 number, const QString& name,
                                             bool discover)
    : LumoRDMContentFolder(NamedPolicies::MarqaContentFolder(), device, number, name, discover) {}

const LumoImageKind& MarqaRDMContentFolder::ImageKind() const {
    return LumoImageKind::Marqa();
}

std::unique_ptr<LumoContentUploadCommand> MarqaRDMContentFolder::NewUploadCommand() const {
    return std::make_unique<MarqaContentUploadCommand>();
}

std::unique_ptr<LumoContentDownloadCommand> MarqaRDMContentFolder::NewDownloadCommand() const {
    return std::make_unique<MarqaContentDownloadCommand>();
}

SolviRDMContentFolder::SolviRDMContentFolder(LumoRDM* device, quint8 number, const QString& name,
                                             bool discover)
    : LumoRDMContentFolder(NamedPolicies::SolviContentFolder(), device, number, name, discover) {}

const LumoImageKind& SolviRDMContentFolder::ImageKind() const {
    return LumoImageKind::Solvi();
}

std::unique_ptr<LumoContentUploadCommand> SolviRDMContentFolder::NewUploadCommand() const {
    return std::make_unique<SolviContentUploadCommand>();
}

std::unique_ptr<LumoContentDownloadCommand> SolviRDMContentFolder::NewDownloadCommand() const {
    return std::make_unique<SolviContentDownloadCommand>();
}
