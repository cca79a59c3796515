#include "comm/CommThread.h"

#include "comm/Command.h"
#include "os/Clock.h"
#include "os/Thread.h"

namespace {
// An idle worker looks at the clock this often (real time), for the idle signal.
constexpr unsigned long kPollMs = 100;
}  // namespace

CommThread::CommThread(QObject* parent) : QThread(parent) {}

CommThread::~CommThread() {
    Stop();
}

void CommThread::RequestStop() {
    {
        std::unique_lock lock(m_mutex);
        m_stop = true;
        m_wake.notify_one();
    }
    m_waits.Break();
}

void CommThread::Stop() {
    RequestStop();
    wait();
}

bool CommThread::StopRequested() const {
    std::unique_lock lock(m_mutex);
    return m_stop;
}

void CommThread::Enqueue(Command* command) {
    {
        std::unique_lock lock(m_mutex);
        m_announcing.append(command);
    }
    // Listeners that connect to the command when it is announced (the task view) must not
    // miss its first signals, so it joins the queue only afterwards.
    Q_EMIT CommandQueued(command->GetId());
    std::unique_lock lock(m_mutex);
    m_announcing.removeOne(command);
    m_queue.append(command);
    m_wake.notify_one();
    if (!isRunning() && !m_stop) {
        start(QThread::InheritPriority);
    }
}

Command* CommThread::FindCommand(const QUuid& id) const {
    std::unique_lock lock(m_mutex);
    for (const QList<Command*>* list : {&m_queue, &m_announcing}) {
        for (Command* command : *list) {
            if (command->GetId() == id) {
                return command;
            }
        }
    }
    return nullptr;
}

Command* CommThread::TakeNext() {
    std::unique_lock lock(m_mutex);
    if (m_queue.isEmpty() && !m_stop) {
        // Enqueue and the stop both wake the worker at once; otherwise it wakes to look at
        // the idle rule.
        m_wake.wait_for(lock, std::chrono::milliseconds(kPollMs));
    }
    return m_queue.isEmpty() ? nullptr : m_queue.takeFirst();
}

void CommThread::run() {
    Os::Thread::SetCurrentName("CommThread");
    const Os::WaitBreaker::Attach breakable(m_waits);
    qint64 idleSince = Os::Clock::Instance().NowMs();
    for (;;) {
        Command* command = TakeNext();
        const bool stop = StopRequested();
        if (command) {
            if (stop) {
                return;  // a command taken after the stop is neither run nor announced
            }
            const QUuid id = command->GetId();
            Q_EMIT ExecutingNextCommand(id);
            try {
                command->Begin();
                command->Execute();
            } catch (...) {
                // A command reports its own failures; nothing it throws stops the queue.
            }
            if (QThread* home = command->GetHomeThread()) {
                command->moveToThread(home);
            }
            Q_EMIT CommandCompleted(id);
            idleSince = Os::Clock::Instance().NowMs();
            continue;
        }
        const qint64 now = Os::Clock::Instance().NowMs();
        if (now - idleSince > kIdleIntervalMs) {
            idleSince = now;
            Q_EMIT CommandQueueIdle();
        }
        if (stop) {
            return;
        }
    }
}
