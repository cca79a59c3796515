#include "ui/OperationDialog.h"

#include "content/operations/ContentOperation.h"
#include "content/operations/FeedbackProxy.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kRefreshMs = 1000;
constexpr int kOptions = ContentOperation::kStopOnFailure;
}  // namespace

OperationDialog::Thread::Thread(ContentOperation* operation, FeedbackProxy* proxy, int options)
    : m_operation(operation), m_proxy(proxy), m_options(options) {}

void OperationDialog::Thread::run() {
    m_result = m_operation->Execute(m_proxy, m_options);
}

OperationDialog::OperationDialog(QWidget* parent)
    : QDialog(parent),
      m_status(new QLabel(this)),
      m_log(new QTextEdit(this)),
      m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(tr("Cancel"), this)),
      m_close(new QPushButton(tr("Close"), this)),
      m_details(new QPushButton(tr("Details >>"), this)),
      m_refresh(new QTimer(this)) {
    setModal(true);
    setMinimumWidth(480);
    m_status->setWordWrap(true);
    m_log->setReadOnly(true);
    m_log->setMinimumHeight(200);
    m_log->hide();
    m_close->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_details);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    layout->addWidget(m_log, 1);
    connect(m_details, &QPushButton::clicked, this, &OperationDialog::toggleDetails);
    connect(m_close, &QPushButton::clicked, this, &OperationDialog::accept);
    connect(m_refresh, &QTimer::timeout, this, &OperationDialog::RefreshProgress);
}

OperationDialog::~OperationDialog() {
    if (m_thread) {
        m_thread->wait();
    }
}

bool OperationDialog::Run(std::unique_ptr<ContentOperation> operation) {
    setWindowTitle(operation->Title());
    m_proxy = std::make_unique<FeedbackProxy>();
    connect(m_proxy.get(), &FeedbackProxy::IFeedback_AddString, this, &OperationDialog::addText);
    connect(m_proxy.get(), &FeedbackProxy::IFeedback_SetTotal, this,
            &OperationDialog::setProgressGoal);
    connect(m_proxy.get(), &FeedbackProxy::IFeedback_SetCurrent, this,
            &OperationDialog::setProgressCurrent);
    connect(m_cancel, &QPushButton::clicked, m_proxy.get(), &FeedbackProxy::cancel,
            Qt::DirectConnection);
    m_thread = std::make_unique<Thread>(operation.get(), m_proxy.get(), kOptions);
    operation->moveToThread(m_thread.get());
    m_proxy->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, this, &OperationDialog::operationFinished);
    m_running = true;
    m_thread->start(QThread::InheritPriority);
    m_refresh->start(kRefreshMs);
    const bool accepted = exec() == QDialog::Accepted;
    m_thread->wait();
    return accepted;
}

QColor OperationDialog::LineColor(FeedbackStatus status) {
    switch (status) {
        case FeedbackStatusNormal:
            return Qt::white;
        case FeedbackStatusWarning:
            return QColor(255, 255, 192);
        default:
            return QColor(255, 192, 192);
    }
}

void OperationDialog::addText(QString text, FeedbackStatus status) {
    m_status->setText(text);
    QTextCursor cursor(m_log->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_log->document()->isEmpty()) {
        cursor.insertBlock();
    }
    QTextBlockFormat format;
    format.setBackground(LineColor(status));
    cursor.setBlockFormat(format);
    cursor.insertText(text);
    m_log->setTextCursor(cursor);
    m_log->ensureCursorVisible();
}

void OperationDialog::setProgressGoal(int goal) {
    m_progress->setRange(0, std::max(goal, 1));
    RefreshProgress();
}

void OperationDialog::setProgressCurrent(int current) {
    m_current = current;
}

void OperationDialog::RefreshProgress() {
    m_progress->setValue(std::clamp(m_current, 0, m_progress->maximum()));
}

void OperationDialog::operationFinished() {
    m_running = false;
    m_result = m_thread->Result();
    RefreshProgress();
    if (m_result == ContentOperation::Succeeded && m_autoClose && m_log->isHidden()) {
        accept();
        return;
    }
    if (m_result == ContentOperation::Cancelled) {
        QDialog::reject();
        return;
    }
    m_status->setText(m_result == ContentOperation::Succeeded ? tr("Operation Completed")
                                                              : tr("Operation Failed"));
    m_progress->hide();
    m_cancel->hide();
    m_close->show();
    m_close->setDefault(true);
    m_refresh->stop();
}

void OperationDialog::toggleDetails() {
    m_log->setVisible(m_log->isHidden());
    m_details->setText(m_log->isHidden() ? tr("Details >>") : tr("<< Hide"));
    adjustSize();
}

void OperationDialog::reject() {
    if (m_running) {
        if (m_proxy) {
            m_proxy->cancel();
        }
        m_status->setText(tr("Cancelling..."));
        return;
    }
    QDialog::reject();
}
