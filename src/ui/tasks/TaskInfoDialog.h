#pragma once

#include "ui/tasks/TaskItem.h"

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTextEdit;

// The whole log of one task, following it while open. "Dismiss" (for a task that finished
// with an error) ends the dialog with the Dismissed result; "Cancel Task" (for a task that can
// still be stopped) asks it to stop before its next step.
class TaskInfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int Dismissed = 2;

    explicit TaskInfoDialog(TaskItem* item, QWidget* parent = nullptr);

    QTextEdit* LogView() const { return m_log; }
    QPushButton* DismissButton() const { return m_dismiss; }
    QPushButton* CancelTaskButton() const { return m_cancelTask; }

public Q_SLOTS:
    void addText(QString text, TaskItem::Severity severity);
    void addText(QString text);
    void updateButtons();
    void close();
    void dismiss();

private:
    QPointer<TaskItem> m_item;
    QTextEdit* m_log;  // children of this dialog
    QPushButton* m_dismiss;
    QPushButton* m_cancelTask;
};
