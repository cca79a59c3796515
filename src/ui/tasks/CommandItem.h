#pragma once

#include "comm/IFeedback.h"
#include "ui/tasks/TaskItem.h"

#include <QPointer>
#include <QUuid>

class Command;
class CommManager;

// The task item of one queued command: it follows the command's feedback and the queue's
// "executing" signal (all arriving queued from the worker thread).
class CommandItem : public TaskItem {
    Q_OBJECT
public:
    CommandItem(CommManager* manager, Command* command, QGraphicsItem* parent = nullptr,
                int removalDelayMs = kRemovalDelayMs);

    QUuid GetCommandId() const { return m_id; }
    bool CanCancel() const override;

public Q_SLOTS:
    void commandRunning(QUuid uuid);
    void feedback(QString text, FeedbackStatus status);
    void finished(FeedbackResult result);
    void cancel() override;

private:
    const QUuid m_id;
    // Commands are deleted by their creators on this thread once completed.
    QPointer<Command> m_command;
    bool m_cancelled = false;
};
