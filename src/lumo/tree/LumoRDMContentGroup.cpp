#include "lumo/tree/LumoRDMContentGroup.h"

#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "lumo/commands/LumoAddFolderCommand.h"
#include "lumo/commands/LumoRemoveFolderCommand.h"
#include "lumo/commands/LumoRenameFolderCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoTreeSupport.h"

using namespace LumoTree;

LumoRDMContentGroup::LumoRDMContentGroup(LumoRDM* device, const QString& name, int minFolder,
                                         int maxFolder, GroupKind kind, int capacity)
    : m_device(device),
      m_minFolder(minFolder),
      m_maxFolder(maxFolder),
      m_kind(kind),
      m_capacity(capacity),
      m_commands(this) {
    SetName(name);
    m_commands.ConnectCompletion(this, &LumoRDMContentGroup::OnCommandFinished);
}

int LumoRDMContentGroup::ItemCount() const {
    const ContentModelLock lock;
    int count = 0;
    for (int i = 0, folders = m_folders.Count(); i < folders; ++i) {
        count += static_cast<const ContentFolder*>(m_folders.At(i))->ChildCount();
    }
    return count;
}

LumoRDMContentFolder* LumoRDMContentGroup::Folder(int number) const {
    const ContentModelLock lock;
    for (int i = 0, count = m_folders.Count(); i < count; ++i) {
        if (m_folders.At(i)->Address() == number) {
            return qobject_cast<LumoRDMContentFolder*>(m_folders.At(i));
        }
    }
    return nullptr;
}

int LumoRDMContentGroup::ChildCount() const {
    const ContentModelLock lock;
    return m_folders.Count();
}

ContentBase* LumoRDMContentGroup::Child(int index) {
    const ContentModelLock lock;
    return m_folders.At(index);
}

const ContentBase* LumoRDMContentGroup::Child(int index) const {
    const ContentModelLock lock;
    return m_folders.At(index);
}

void LumoRDMContentGroup::Sort(bool recursive) {
    const ContentModelLock lock;
    m_folders.SortByAddress(recursive);
}

int LumoRDMContentGroup::MinAddress() const {
    return m_minFolder;
}

int LumoRDMContentGroup::MaxAddress() const {
    return m_maxFolder;
}

bool LumoRDMContentGroup::ChildrenReadOnly() const {
    switch (m_kind) {
        case Stock:
            return LumoContentLocks::StockContentLocked();
        case Quorel:
            return LumoContentLocks::QuorelContentLocked();
        case User:
            break;
    }
    return false;
}

QIcon LumoRDMContentGroup::Icon() const {
    return IconPair(ChildrenReadOnly() ? QStringLiteral(":/Resources/content-package-crv")
                                       : QStringLiteral(":/Resources/content-package"));
}

QString LumoRDMContentGroup::ChildFolderTypeName(int /*kind*/) const {
    return QStringLiteral("Folder");
}

bool LumoRDMContentGroup::AddFolder(const QString& name, int address, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    if (!InRange(address)) {
        return Refuse(feedback, kFolderOutOfRange);
    }
    // A second folder of one number would hide the fixture's one.
    if (Folder(address)) {
        return Refuse(feedback, kConflict);
    }
    auto command = std::make_unique<LumoAddFolderCommand>();
    command->Setup(m_device, {quint8(address), name.left(ContentBase::kMaxNameLength)});
    m_commands.Queue(std::move(command), feedback, &LumoAddFolderCommand::FinishedAddFolder, this,
                     &LumoRDMContentGroup::OnFinishedAddFolder);
    return true;
}

bool LumoRDMContentGroup::Rename(ContentBase* child, const QString& name, int address,
                                 IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    LumoRDMContentFolder* folder = OwnFolder(child);
    if (!folder) {
        return false;
    }
    if (!InRange(address)) {
        return Refuse(feedback, kFolderOutOfRange);
    }
    if (Clashes(folder, name, address)) {
        return Refuse(feedback, kConflict);
    }
    auto command = std::make_unique<LumoRenameFolderCommand>();
    command->Setup(m_device, {folder->Number(), folder->Name()},
                   {quint8(address), name.left(ContentBase::kMaxNameLength)});
    m_commands.Queue(std::move(command), feedback, &LumoRenameFolderCommand::FinishedRenameFolder,
                     this, &LumoRDMContentGroup::OnFinishedRenameFolder);
    return true;
}

bool LumoRDMContentGroup::Move(ContentBase* /*item*/, IFeedback* feedback) {
    return Refuse(feedback, kGroupMove);
}

bool LumoRDMContentGroup::Remove(ContentBase* child, IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    const LumoRDMContentFolder* folder = OwnFolder(child);
    if (!folder) {
        return false;
    }
    auto command = std::make_unique<LumoRemoveFolderCommand>();
    command->Setup(m_device, folder->Number());
    m_commands.Queue(std::move(command), feedback, &LumoRemoveFolderCommand::FinishedRemoveFolder,
                     this, &LumoRDMContentGroup::OnFinishedRemoveFolder);
    return true;
}

bool LumoRDMContentGroup::RemoveAll(IFeedback* feedback) {
    const ContentModelLock lock;
    if (ChildrenReadOnly()) {
        return Refuse(feedback, kReadOnly);
    }
    while (m_folders.Count() > 0) {
        DropFolder(qobject_cast<LumoRDMContentFolder*>(m_folders.At(m_folders.Count() - 1)));
    }
    return true;
}

void LumoRDMContentGroup::MakeUnique(QString* name, int* address) {
    const ContentModelLock lock;
    const QString stem = *name;
    for (int counter = 1; Clashes(nullptr, *name, 0); ++counter) {
        *name = QStringLiteral("%1 (%2)").arg(stem).arg(counter);
    }
    while (Folder(*address)) {
        ++*address;
    }
}

void LumoRDMContentGroup::AddDiscoveredFolders(const QList<LumoFolderRecord>& folders) {
    const ContentModelLock lock;
    for (const LumoFolderRecord& record : folders) {
        if (InRange(record.number) && !Folder(record.number)) {
            AppendFolder(NewFolder(record.number, record.name, true));
        }
    }
}

void LumoRDMContentGroup::OnCommandFinished(QUuid commandId) {
    m_commands.Finish(commandId);
}

void LumoRDMContentGroup::OnFinishedAddFolder(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoAddFolderCommand>(commandId);
    if (!command || !bResult) {
        return;
    }
    const LumoFolderRecord added = command->Folder();
    if (LumoRDMContentFolder* existing = Folder(added.number)) {
        existing->SetName(added.name);
    } else {
        AppendFolder(NewFolder(added.number, added.name, false));
    }
}

void LumoRDMContentGroup::OnFinishedRemoveFolder(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoRemoveFolderCommand>(commandId);
    if (!command || !bResult) {
        return;
    }
    if (LumoRDMContentFolder* folder = Folder(command->Folder())) {
        DropFolder(folder);
    }
}

void LumoRDMContentGroup::OnFinishedRenameFolder(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoRenameFolderCommand>(commandId);
    if (!command || !bResult) {
        return;
    }
    const LumoFolderRecord now = command->NewFolder();
    if (LumoRDMContentFolder* folder = Folder(command->OldFolder().number)) {
        folder->SetName(now.name);
        folder->SetAddress(now.number);
    }
}

LumoRDMContentFolder* LumoRDMContentGroup::OwnFolder(const ContentBase* child) const {
    const int index = m_folders.IndexOf(child);
    return index < 0 ? nullptr : qobject_cast<LumoRDMContentFolder*>(m_folders.At(index));
}

bool LumoRDMContentGroup::Clashes(const ContentBase* exclude, const QString& name,
                                  int number) const {
    for (int i = 0, count = m_folders.Count(); i < count; ++i) {
        const ContentBase* folder = m_folders.At(i);
        if (folder != exclude &&
            (folder->Name() == name || (number != 0 && folder->Address() == number))) {
            return true;
        }
    }
    return false;
}

bool LumoRDMContentGroup::IsFamilyFolder(const ContentFolder* folder, const PolicyBase& policy) {
    // A fixture's folder of the family, or a library folder of its content.
    const auto* policyFolder = qobject_cast<const ContentPolicyFolder*>(folder);
    return policyFolder && policyFolder->Policy() == &policy;
}

bool LumoRDMContentGroup::InRange(int number) const {
    return number >= m_minFolder && number <= m_maxFolder;
}

void LumoRDMContentGroup::AppendFolder(std::unique_ptr<LumoRDMContentFolder> folder) {
    LumoRDMContentFolder* added = folder.get();
    m_folders.Append(std::move(folder), this);
    Q_EMIT FolderAdded(this, added);
}

void LumoRDMContentGroup::DropFolder(LumoRDMContentFolder* folder) {
    std::unique_ptr<ContentBase> taken = m_folders.Take(folder);
    if (!taken) {
        return;
    }
    folder->DropAll();
    Q_EMIT FolderRemoved(this, folder);
    taken.release()->deleteLater();
}

MarqaRDMContentGroup::MarqaRDMContentGroup(LumoRDM* device, const QString& name, int minFolder,
                                           int maxFolder, GroupKind kind)
    : LumoRDMContentGroup(device, name, minFolder, maxFolder, kind) {}

QString MarqaRDMContentGroup::ChildFolderTypeName(int /*kind*/) const {
    return Kind() == User ? QStringLiteral("MARQA Folder") : QString();
}

bool MarqaRDMContentGroup::AcceptsFolder(const ContentFolder* folder) const {
    return IsFamilyFolder(folder, NamedPolicies::MarqaContentFolder());
}

std::unique_ptr<LumoRDMContentFolder> MarqaRDMContentGroup::NewFolder(quint8 number,
                                                                      const QString& name,
                                                                      bool discover) const {
    return std::make_unique<MarqaRDMContentFolder>(Device(), number, name, discover);
}

SolviRDMContentGroup::SolviRDMContentGroup(LumoRDM* device, const QString& name, int minFolder,
                                           int maxFolder, GroupKind kind)
    : LumoRDMContentGroup(device, name, minFolder, maxFolder, kind) {}

QString SolviRDMContentGroup::ChildFolderTypeName(int /*kind*/) const {
    return Kind() == User ? QStringLiteral("Solvi Folder") : QString();
}

bool SolviRDMContentGroup::AcceptsFolder(const ContentFolder* folder) const {
    return IsFamilyFolder(folder, NamedPolicies::SolviContentFolder());
}

std::unique_ptr<LumoRDMContentFolder> SolviRDMContentGroup::NewFolder(quint8 number,
                                                                      const QString& name,
                                                                      bool discover) const {
    return std::make_unique<SolviRDMContentFolder>(Device(), number, name, discover);
}
