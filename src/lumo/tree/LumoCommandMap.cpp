#include "lumo/tree/LumoCommandMap.h"

#include "comm/IFeedback.h"
#include "content/ContentModelMutex.h"

#include <QThread>

#include <atomic>

// Passes a command's lines, progress and cancel polls on to the caller's feedback and keeps
// the end back until the node has applied the results.
class LumoCommandMap::Relay : public IFeedback {
public:
    explicit Relay(IFeedback* target) : m_target(target) {}

    void AddString(QString text, FeedbackStatus status) override {
        m_target->AddString(text, status);
    }
    void SetTotal(int total) override { m_target->SetTotal(total); }
    void SetCurrent(int current) override { m_target->SetCurrent(current); }
    void Finished(FeedbackResult result) override { m_result.store(result); }
    bool IsCancelled() override { return m_target->IsCancelled(); }
    void SetProgressText(QString text) override { m_target->SetProgressText(text); }

    // Hands on the command's result, or a failure when it has none or its results went
    // nowhere.
    void Conclude(bool applied) {
        const FeedbackResult result = m_result.load();
        m_target->Finished(applied && result != FeedbackResultNone ? result
                                                                   : FeedbackResultFailure);
    }

private:
    IFeedback* const m_target;
    std::atomic<FeedbackResult> m_result{FeedbackResultNone};
};

struct LumoCommandMap::Entry {
    std::unique_ptr<Command> command;
    std::unique_ptr<Relay> relay;
    bool queued = false;
};

LumoCommandMap::LumoCommandMap(QObject* owner)
    : m_owner(owner), m_manager(CommManager::Instance()) {}

LumoCommandMap::~LumoCommandMap() {
    const ContentModelLock lock;
    for (const std::shared_ptr<Entry>& entry : std::as_const(m_entries)) {
        Abandon(entry);
    }
}

Command* LumoCommandMap::FindCommand(const QUuid& id) const {
    const ContentModelLock lock;
    const auto found = m_entries.constFind(id);
    return found == m_entries.constEnd() ? nullptr : found.value()->command.get();
}

int LumoCommandMap::Count() const {
    const ContentModelLock lock;
    return int(m_entries.size());
}

void LumoCommandMap::Finish(const QUuid& id) {
    std::shared_ptr<Entry> entry;
    {
        const ContentModelLock lock;
        entry = m_entries.take(id);
    }
    if (entry && entry->relay) {
        entry->relay->Conclude(true);
    }
}

void LumoCommandMap::Record(std::unique_ptr<Command> command, IFeedback* feedback) {
    const ContentModelLock lock;
    auto entry = std::make_shared<Entry>();
    if (feedback) {
        entry->relay = std::make_unique<Relay>(feedback);
        command->SetFeedback(entry->relay.get());
    }
    const QUuid id = command->GetId();
    const bool onOwnerThread = QThread::currentThread() == m_owner->thread();
    if (!onOwnerThread) {
        command->moveToThread(m_owner->thread());
    }
    entry->command = std::move(command);
    m_entries.insert(id, entry);
    if (onOwnerThread) {
        QueueRecorded(id);
    } else {
        QMetaObject::invokeMethod(
            m_owner, [this, id] { QueueRecorded(id); }, Qt::QueuedConnection);
    }
}

void LumoCommandMap::QueueRecorded(const QUuid& id) {
    const ContentModelLock lock;
    const auto found = m_entries.constFind(id);
    if (found == m_entries.constEnd() || found.value()->queued) {
        return;
    }
    found.value()->queued = true;
    m_manager->QueueCommand(found.value()->command.get());
}

void LumoCommandMap::Abandon(const std::shared_ptr<Entry>& entry) {
    Command* command = entry->command.get();
    QObject::disconnect(command, nullptr, m_owner, nullptr);
    if (!entry->queued) {
        if (entry->relay) {
            entry->relay->Conclude(false);
        }
        return;  // never queued: it goes with the entry
    }
    // The worker may still hold it: it goes once it has come back.
    const QUuid id = command->GetId();
    QObject::connect(m_manager, &CommManager::CommandCompleted, command, [entry, id](QUuid done) {
        if (done != id || !entry->command) {
            return;
        }
        if (entry->relay) {
            entry->relay->Conclude(false);
        }
        entry->command.release()->deleteLater();
    });
}
