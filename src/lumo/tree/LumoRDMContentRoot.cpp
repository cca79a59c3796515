#include "lumo/tree/LumoRDMContentRoot.h"

#include "content/ContentModelMutex.h"
#include "lumo/LumoRecords.h"
#include "lumo/commands/LumoContentDiscoveryCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentGroup.h"

LumoRDMContentRoot::LumoRDMContentRoot(LumoRDM* device) : m_device(device), m_commands(this) {
    m_commands.ConnectCompletion(this, &LumoRDMContentRoot::OnCommandFinished);
}

LumoRDMContentRoot::~LumoRDMContentRoot() = default;

int LumoRDMContentRoot::ChildCount() const {
    const ContentModelLock lock;
    return m_groups.Count();
}

ContentBase* LumoRDMContentRoot::Child(int index) {
    const ContentModelLock lock;
    return m_groups.At(index);
}

const ContentBase* LumoRDMContentRoot::Child(int index) const {
    const ContentModelLock lock;
    return m_groups.At(index);
}

int LumoRDMContentRoot::MinAddress() const {
    return 0;
}

int LumoRDMContentRoot::MaxAddress() const {
    return 0;
}

void LumoRDMContentRoot::AddGroups(std::unique_ptr<LumoRDMContentGroup> stock,
                                   std::unique_ptr<LumoRDMContentGroup> user,
                                   std::unique_ptr<LumoRDMContentGroup> quorel) {
    const ContentModelLock lock;
    m_stock = stock.get();
    m_user = user.get();
    m_quorel = quorel.get();
    m_groups.Append(std::move(stock), this);
    m_groups.Append(std::move(user), this);
    m_groups.Append(std::move(quorel), this);
}

LumoRDMContentFolder::ReadState LumoRDMContentRoot::ContentRead() const {
    const ContentModelLock lock;
    if (m_read == LumoRDMContentFolder::Reading) {
        return m_read;
    }
    LumoRDMContentFolder::ReadState state = m_read;
    for (const LumoRDMContentGroup* group : {m_stock, m_user, m_quorel}) {
        for (int i = 0, count = group ? group->ChildCount() : 0; i < count; ++i) {
            const auto* folder = qobject_cast<const LumoRDMContentFolder*>(group->Child(i));
            const LumoRDMContentFolder::ReadState read =
                folder ? folder->FilesRead() : LumoRDMContentFolder::Read;
            if (read == LumoRDMContentFolder::Reading) {
                return read;
            }
            state = read == LumoRDMContentFolder::ReadFailed ? read : state;
        }
    }
    return state;
}

void LumoRDMContentRoot::DiscoverFolders() {
    const ContentModelLock lock;
    m_read = LumoRDMContentFolder::Reading;
    auto command = std::make_unique<LumoContentDiscoveryCommand>();
    command->Setup(m_device, 0);
    m_commands.Queue(std::move(command), nullptr,
                     &LumoContentDiscoveryCommand::FinishedContentDiscovery, this,
                     &LumoRDMContentRoot::OnFinishedFolderDiscovery);
}

void LumoRDMContentRoot::AddDiscoveredFolders(const QList<LumoFolderRecord>& folders) {
    const ContentModelLock lock;
    for (int i = 0, count = m_groups.Count(); i < count; ++i) {
        static_cast<LumoRDMContentGroup*>(m_groups.At(i))->AddDiscoveredFolders(folders);
    }
}

void LumoRDMContentRoot::EraseContent(LumoEraseContentCommand::Kind kind, IFeedback* feedback) {
    auto command = std::make_unique<LumoEraseContentCommand>();
    command->Setup(m_device, kind);
    m_commands.Queue(std::move(command), feedback);
}

void LumoRDMContentRoot::OnCommandFinished(QUuid commandId) {
    m_commands.Finish(commandId);
}

void LumoRDMContentRoot::OnFinishedFolderDiscovery(QUuid commandId, bool bResult) {
    const ContentModelLock lock;
    const auto* command = m_commands.Find<LumoContentDiscoveryCommand>(commandId);
    if (command && bResult) {
        AddDiscoveredFolders(command->Folders());
    }
    m_read = command && bResult ? LumoRDMContentFolder::Read : LumoRDMContentFolder::ReadFailed;
}
