#include "ui/tasks/CommandItem.h"

#include "comm/CommManager.h"
#include "comm/Command.h"

CommandItem::CommandItem(CommManager* manager, Command* command, QGraphicsItem* parent,
                         int removalDelayMs)
    : TaskItem(parent, removalDelayMs), m_id(command->GetId()), m_command(command) {
    setTitle(command->GetName());
    connect(manager, &CommManager::ExecutingNextCommand, this, &CommandItem::commandRunning);
    connect(command, &Command::IFeedback_AddString, this, &CommandItem::feedback);
    connect(command, &Command::IFeedback_SetTotal, this, &CommandItem::setProgressGoal);
    connect(command, &Command::IFeedback_SetCurrent, this, &CommandItem::setProgressCurrent);
    connect(command, &Command::IFeedback_SetProgressText, this, &CommandItem::setProgressText);
    connect(command, &Command::IFeedback_Finished, this,
            qOverload<FeedbackResult>(&CommandItem::finished));
}

void CommandItem::commandRunning(QUuid uuid) {
    if (uuid == m_id) {
        setState(Running);
    }
}

void CommandItem::feedback(QString text, FeedbackStatus status) {
    Severity severity = Normal;
    switch (status) {
        case FeedbackStatusWarning:
            severity = Warning;
            break;
        case FeedbackStatusError:
        case FeedbackStatusFatal:
            severity = Error;
            break;
        default:
            break;
    }
    addText(text, severity);
}

bool CommandItem::CanCancel() const {
    return m_command && m_command->IsCancellable() && !m_cancelled && GetState() != Finished;
}

void CommandItem::cancel() {
    if (CanCancel()) {
        m_cancelled = true;
        m_command->Cancel();
    }
}

void CommandItem::finished(FeedbackResult result) {
    if (result == FeedbackResultFailure && GetSeverity() != Error) {
        setSeverity(Error);
    }
    setState(Finished);
}
