#pragma once

#include "ui/tasks/TaskItem.h"

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTextEdit;

// The whole log of one task, following it while open. "Dismiss" (for a task that finished
// with an error) ends the dialog with the Dismissed result.
class TaskInfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int Dismissed = 2;

    explicit TaskInfoDialog(TaskItem* item, QWidget* parent = nullptr);

    QTextEdit* LogView() const { return m_log; }
    QPushButton* DismissButton() const { return m_dismiss; }

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
};
