#include "comm/CommManager.h"

#include "comm/Command.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"

#include <atomic>

namespace {
std::atomic<CommManager*> g_installed{nullptr};
}

CommManager* CommManager::Instance() {
    CommManager* manager = g_installed.load();
    if (!manager) {
        // Created on first use and kept for the rest of the process.
        static CommManager* const created = new CommManager;
        CommManager* expected = nullptr;
        g_installed.compare_exchange_strong(expected, created);
        manager = g_installed.load();
    }
    return manager;
}

CommManager* CommManager::Install(CommManager* manager) {
    return g_installed.exchange(manager);
}

CommManager::CommManager() : m_universe(std::make_unique<RdmUniverseUsb>()) {
    IFeedback::RegisterMetaTypes();
    qRegisterMetaType<QUuid>("QUuid");
    connect(&m_thread, &CommThread::CommandQueueIdle, this, &CommManager::CommandQueueIdle);
    connect(&m_thread, &CommThread::ExecutingNextCommand, this, &CommManager::ExecutingNextCommand);
    connect(&m_thread, &CommThread::CommandQueued, this, &CommManager::CommandQueued);
    connect(&m_thread, &CommThread::CommandCompleted, this, &CommManager::CommandCompleted);
}

CommManager::~CommManager() {
    CommManager* self = this;
    g_installed.compare_exchange_strong(self, nullptr);
    // The widget is dropped first, so that a running command fails fast instead of talking
    // to it; the pause lets it notice. The universe itself is deleted only once the worker
    // has stopped, so no command can still be using it.
    m_universe->CloseWidget();
    m_thread.RequestStop();
    Os::Clock::Instance().Wait(kShutdownPauseMs);
    m_thread.Stop();
    m_universe.reset();
}

void CommManager::QueueCommand(Command* command) {
    command->SetHomeThread(command->thread());
    command->moveToThread(&m_thread);
    m_thread.Enqueue(command);
}

Command* CommManager::FindCommand(const QUuid& id) const {
    return m_thread.FindCommand(id);
}

bool CommManager::IsWidgetPresent() const {
    return m_universe && m_universe->HasWidget();
}
