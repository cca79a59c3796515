#include "ui/tasks/TaskInfoDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

TaskInfoDialog::TaskInfoDialog(TaskItem* item, QWidget* parent)
    : QDialog(parent), m_item(item), m_log(new QTextEdit(this)) {
    setWindowTitle(item->Title());
    m_log->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(this);
    m_dismiss = buttons->addButton("Dismiss", QDialogButtonBox::ActionRole);
    m_cancelTask = buttons->addButton("Cancel Task", QDialogButtonBox::ActionRole);
    QPushButton* closeButton = buttons->addButton(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_log);
    layout->addWidget(buttons);
    resize(520, 320);

    for (const auto& [text, severity] : item->Log()) {
        addText(text, severity);
    }
    connect(item, &TaskItem::textAdded, this,
            qOverload<QString, TaskItem::Severity>(&TaskInfoDialog::addText));
    connect(item, &TaskItem::running, this, &TaskInfoDialog::updateButtons);
    connect(item, &TaskItem::finished, this, &TaskInfoDialog::updateButtons);
    connect(m_dismiss, &QPushButton::clicked, this, &TaskInfoDialog::dismiss);
    connect(m_cancelTask, &QPushButton::clicked, this, [this] {
        if (m_item) {
            m_item->cancel();
        }
        updateButtons();
    });
    connect(closeButton, &QPushButton::clicked, this, &TaskInfoDialog::close);
    updateButtons();
}

void TaskInfoDialog::addText(QString text, TaskItem::Severity severity) {
    QTextCursor cursor(m_log->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat format;
    if (severity == TaskItem::Warning) {
        format.setBackground(QColor(255, 255, 192));
    } else if (severity == TaskItem::Error) {
        format.setBackground(QColor(255, 192, 192));
    }
    if (!m_log->document()->isEmpty()) {
        cursor.insertBlock(format);
    } else {
        cursor.setBlockFormat(format);
    }
    cursor.insertText(text);
    m_log->setTextCursor(cursor);
    m_log->ensureCursorVisible();
}

void TaskInfoDialog::addText(QString text) {
    addText(text, TaskItem::Normal);
}

void TaskInfoDialog::updateButtons() {
    const bool failed = m_item && m_item->GetState() == TaskItem::Finished &&
                        m_item->GetSeverity() == TaskItem::Error;
    m_dismiss->setVisible(failed);
    m_cancelTask->setVisible(m_item && m_item->CanCancel());
}

void TaskInfoDialog::close() {
    reject();
}

void TaskInfoDialog::dismiss() {
    done(Dismissed);
}
