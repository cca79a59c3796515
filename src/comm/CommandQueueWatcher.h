#pragma once

#include <QObject>
#include <QUuid>

class Command;
class CommManager;

// Turns each newly queued command into an entry of a task list. Commands that report into
// an operation of their own (they have a forwarding target) get no entry.
class CommandQueueWatcher : public QObject {
    Q_OBJECT
public:
    // The task list the watcher adds to (the task view implements it).
    class TaskList {
    public:
        virtual ~TaskList() = default;
        virtual bool HasCommandItem(const QUuid& id) const = 0;
        virtual void AddCommandItem(Command* command, CommManager* source) = 0;
    };

    CommandQueueWatcher(TaskList* tasks, QObject* parent = nullptr);

public Q_SLOTS:
    void OnCommandQueueIdle();
    void OnCommandQueued(QUuid id);

private:
    TaskList* m_tasks;
};
