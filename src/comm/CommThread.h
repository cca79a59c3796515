#pragma once

#include <QList>
#include <QThread>
#include <QUuid>

#include "os/Clock.h"

#include <condition_variable>
#include <mutex>

class Command;

// The one worker thread that runs queued commands, strictly one after another in queue
// order. It starts at the first Enqueue and runs until destroyed.
class CommThread : public QThread {
    Q_OBJECT
public:
    static constexpr qint64 kIdleIntervalMs = 30000;

    explicit CommThread(QObject* parent = nullptr);
    ~CommThread() override;

    void Enqueue(Command* command);
    // Tells the worker to stop and cuts short the clock wait of the running command, without
    // waiting for the worker.
    void RequestStop();
    // Tells the worker to stop and waits for it; commands still queued are not run.
    void Stop();
    bool StopRequested() const;
    // The pending command with this id; a command the worker has taken is not found.
    Command* FindCommand(const QUuid& id) const;

Q_SIGNALS:
    void CommandQueueIdle();
    void CommandQueued(QUuid commandId);
    void ExecutingNextCommand(QUuid commandId);
    void CommandCompleted(QUuid commandId);

protected:
    void run() override;

private:
    // Takes the next command off the queue; waits up to the poll interval when there is none.
    Command* TakeNext();

    // The standard primitives, which thread checkers see through (a wait on a toolkit wait
    // condition unlocks its mutex where they cannot see it).
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    Os::WaitBreaker m_waits;
    QList<Command*> m_queue;
    // Commands being announced (CommandQueued): findable, but not yet run.
    QList<Command*> m_announcing;
};
