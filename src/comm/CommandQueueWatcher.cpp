#include "comm/CommandQueueWatcher.h"

#include "comm/CommManager.h"
#include "comm/Command.h"
#include "os/Trap.h"

CommandQueueWatcher::CommandQueueWatcher(TaskList* tasks, QObject* parent)
    : QObject(parent), m_tasks(tasks) {
    CommManager* manager = CommManager::Instance();
    bool didConnectSucceed = bool(connect(manager, &CommManager::CommandQueueIdle, this,
                                          &CommandQueueWatcher::OnCommandQueueIdle));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed = bool(
        connect(manager, &CommManager::CommandQueued, this, &CommandQueueWatcher::OnCommandQueued));
    OS_TRAP_IF(!didConnectSucceed);
}

void CommandQueueWatcher::OnCommandQueueIdle() {}

void CommandQueueWatcher::OnCommandQueued(QUuid id) {
    Command* command = CommManager::Instance()->FindCommand(id);
    if (!command || command->GetFeedback() || !m_tasks || m_tasks->HasCommandItem(id)) {
        return;
    }
    m_tasks->AddCommandItem(command, CommManager::Instance());
}
