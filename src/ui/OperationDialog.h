#pragma once

#include "comm/IFeedback.h"

#include <QDialog>
#include <QThread>

#include <memory>

class ContentOperation;
class FeedbackProxy;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QTimer;

// Runs one content operation on a worker thread under a modal dialog: a status line, a
// progress bar, Cancel, and the log of the operation's lines behind "Details >>". A
// successful operation closes the dialog by itself while the log is hidden; a cancelled
// one closes it as rejected; otherwise the dialog stays with "Operation Completed" or
// "Operation Failed" until the user closes it.
class OperationDialog : public QDialog {
    Q_OBJECT

public:
    // The worker: runs Execute(proxy, options) once and keeps the result.
    class Thread : public QThread {
    public:
        Thread(ContentOperation* operation, FeedbackProxy* proxy, int options);
        int Result() const { return m_result; }

    protected:
        void run() override;

    private:
        ContentOperation* m_operation;
        FeedbackProxy* m_proxy;
        int m_options;
        int m_result = 1;
    };

    explicit OperationDialog(QWidget* parent = nullptr);
    ~OperationDialog() override;

    // Runs the operation to its end; true when the dialog was accepted (a success).
    bool Run(std::unique_ptr<ContentOperation> operation);
    // The operation's result (0, 1 or 2) once it has ended.
    int OperationResult() const { return m_result; }
    void SetAutoClose(bool autoClose) { m_autoClose = autoClose; }

    QLabel* StatusLabel() const { return m_status; }
    QTextEdit* Log() const { return m_log; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* CloseButton() const { return m_close; }
    QPushButton* DetailsButton() const { return m_details; }

    // The background of log lines of each status.
    static QColor LineColor(FeedbackStatus status);

public Q_SLOTS:
    void addText(QString text, FeedbackStatus status);
    void setProgressGoal(int goal);
    void setProgressCurrent(int current);
    void operationFinished();
    void toggleDetails();
    // While the operation runs, closing the dialog asks it to stop instead.
    void reject() override;

private:
    void RefreshProgress();

    QLabel* m_status;  // children of this dialog
    QTextEdit* m_log;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QPushButton* m_close;
    QPushButton* m_details;
    QTimer* m_refresh;
    std::unique_ptr<FeedbackProxy> m_proxy;
    std::unique_ptr<Thread> m_thread;
    bool m_autoClose = true;
    bool m_running = false;
    int m_current = 0;
    int m_result = 1;
};
