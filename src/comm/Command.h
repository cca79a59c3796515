#pragma once

#include "comm/IFeedback.h"

#include <QMutex>
#include <QObject>
#include <QUuid>

#include <atomic>

// A piece of device work, run by the command worker thread. Whoever creates a command owns
// it and deletes it when CommandCompleted names its id. Every IFeedback call is emitted as a
// signal and then passed on to the forwarding target, if one is set.
class Command : public QObject, public IFeedback {
    Q_OBJECT
public:
    explicit Command(QObject* parent = nullptr);

    QUuid GetId() const { return m_id; }
    QString GetName() const { return m_name; }

    // The target that also receives every feedback call (not owned). Set before queueing.
    void SetFeedback(IFeedback* feedback) { m_feedback = feedback; }
    IFeedback* GetFeedback() const { return m_feedback; }

    // Does the command's whole work on the worker thread; true on success.
    virtual bool Execute() = 0;
    // Called by the worker just before Execute: writes the description, so that every log
    // of the command starts with it.
    void Begin();

    // The thread the command was queued from; it returns there once it has run, so that
    // its creator can delete it there.
    QThread* GetHomeThread() const { return m_homeThread; }
    void SetHomeThread(QThread* thread) { m_homeThread = thread; }

    void AddString(QString text, FeedbackStatus status) override;
    void SetTotal(int total) override;
    void SetCurrent(int current) override;
    // Pauses 100 ms first, so that the last lines reach the watchers before the end.
    void Finished(FeedbackResult result) override;
    // Pauses 100 ms first; true once Cancel() was called, otherwise the forwarding target's
    // answer (false without one).
    bool IsCancelled() override;
    void SetProgressText(QString text) override;

    // Whether the command stops early when Cancel() is called (it polls IsCancelled between
    // its steps).
    virtual bool IsCancellable() const { return false; }
    // Asks the command to stop before its next step; from any thread, queued or running.
    void Cancel() { m_cancelRequested = true; }

Q_SIGNALS:
    void IFeedback_AddString(QString string, FeedbackStatus status);
    void IFeedback_SetTotal(int total);
    void IFeedback_SetCurrent(int current);
    void IFeedback_Finished(FeedbackResult result);
    void IFeedback_SetProgressText(QString text);

protected:
    void SetName(const QString& name) { m_name = name; }
    // The line the command's log starts with ("Rename Forest"). Commands describe themselves
    // when they are set up, before anyone listens, so the line is kept and written by Begin.
    void Describe(const QString& text);
    static FeedbackResult ResultOf(bool success) { return FeedbackResult(2 - int(success)); }
    bool CancelRequested() const { return m_cancelRequested; }

    mutable QMutex m_mutex;  // for the subclasses' own state

private:
    const QUuid m_id;
    QString m_name;
    IFeedback* m_feedback = nullptr;
    mutable QMutex m_descriptionMutex;  // apart from m_mutex: subclasses describe under it
    QString m_description;
    QThread* m_homeThread = nullptr;
    std::atomic<bool> m_cancelRequested{false};
};
