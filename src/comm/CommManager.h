#pragma once

#include "comm/CommThread.h"

#include <QObject>
#include <QUuid>

#include <memory>

class Command;
class RdmUniverseUsb;

// The process-wide entry to device work: it owns the worker thread and the one RDM
// universe, queues commands and re-emits the queue's signals. Everything outside the queue
// listens to the manager's signals, never to the thread's.
class CommManager : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kShutdownPauseMs = 1000;

    // The process-wide manager, created on first use.
    static CommManager* Instance();

    // A manager of its own (tests, tools); Install makes one the process-wide instance.
    CommManager();
    ~CommManager() override;
    static CommManager* Install(CommManager* manager);

    // Moves the command to the worker thread and appends it to the queue.
    void QueueCommand(Command* command);
    Command* FindCommand(const QUuid& id) const;

    bool IsWidgetPresent() const;
    RdmUniverseUsb* GetUniverse() const { return m_universe.get(); }

Q_SIGNALS:
    void CommandQueueIdle();
    void CommandQueued(QUuid commandId);
    void ExecutingNextCommand(QUuid commandId);
    void CommandCompleted(QUuid commandId);

private:
    CommThread m_thread;
    std::unique_ptr<RdmUniverseUsb> m_universe;
};
