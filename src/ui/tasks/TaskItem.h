#pragma once

#include <QGraphicsItem>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>

class FormattedTextItem;
class ProgressDialItem;

// One entry of the task strip: a title, the latest log line, a state line (the latest
// progress text while the task runs) and a progress dial. It keeps its whole log. Finished without
// error it asks to be removed (stale()) after the removal delay; with an error it stays until
// dismissed.
class TaskItem : public QObject, public QGraphicsItem {
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)
public:
    enum State { Queued = 0, Running = 1, Finished = 2 };
    Q_ENUM(State)
    enum Severity { Normal = 0, Warning = 1, Error = 2 };
    Q_ENUM(Severity)

    static constexpr int kRemovalDelayMs = 2000;
    static constexpr qreal kWidth = 240;
    static constexpr qreal kHeight = 48;

    explicit TaskItem(QGraphicsItem* parent = nullptr, int removalDelayMs = kRemovalDelayMs);
    ~TaskItem() override;

    State GetState() const { return m_state; }
    Severity GetSeverity() const { return m_severity; }
    QString Title() const;
    QString LatestLine() const;
    QString StateLine() const;
    QString ProgressText() const { return m_progressText; }
    // What the dial shows inside ("42%"), empty when it shows no per cent.
    QString DialLabel() const;
    const QList<QPair<QString, Severity>>& Log() const { return m_log; }
    int ProgressGoal() const { return m_goal; }
    int ProgressCurrent() const { return m_current; }
    int RemovalDelay() const { return m_removalTimer.interval(); }
    bool IsRemovalPending() const { return m_removalTimer.isActive(); }
    // Whether the task can still be asked to stop (and has not been asked yet).
    virtual bool CanCancel() const { return false; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

Q_SIGNALS:
    void running();
    void finished();
    void stale();
    void textAdded(QString text, TaskItem::Severity severity);

public Q_SLOTS:
    virtual void setState(TaskItem::State state);
    virtual void setTitle(QString text);
    virtual void addText(QString text, TaskItem::Severity severity);
    void addText(QString text);
    virtual void setSeverity(TaskItem::Severity severity);
    virtual void setProgressGoal(int goal);
    virtual void setProgressCurrent(int current);
    void setProgressText(QString text);
    virtual void dismiss();
    // Asks the task to stop early; nothing for tasks that cannot.
    virtual void cancel() {}
    void OnFinished();

private:
    void Relayout();

    State m_state = Queued;
    Severity m_severity = Normal;
    int m_goal = 0;
    int m_current = 0;
    QString m_progressText;
    QList<QPair<QString, Severity>> m_log;
    FormattedTextItem* m_title;  // children of this item
    FormattedTextItem* m_line;
    FormattedTextItem* m_stateLine;
    ProgressDialItem* m_dial;
    QTimer m_removalTimer;
};
