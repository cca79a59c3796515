#pragma once

#include "comm/CommandQueueWatcher.h"
#include "ui/tasks/TaskItem.h"

#include <QGraphicsView>
#include <QList>
#include <QPointer>

class QGraphicsScene;

// The task strip: one item per queued command, in order of arrival, left to right. Clicking
// an item opens its log; dismissing a failed item there removes it.
class TaskView : public QGraphicsView, public CommandQueueWatcher::TaskList {
    Q_OBJECT
public:
    explicit TaskView(QWidget* parent = nullptr);
    ~TaskView() override;

    // Adds an item and takes it into the scene (the scene owns it).
    void AddTask(TaskItem* item);
    const QList<TaskItem*>& Tasks() const { return m_items; }

    bool HasCommandItem(const QUuid& id) const override;
    void AddCommandItem(Command* command, CommManager* source) override;

    // How long finished items without error stay (for items added from now on).
    void SetRemovalDelay(int milliseconds) { m_removalDelayMs = milliseconds; }
    int RemovalDelay() const { return m_removalDelayMs; }

    // Opens the log of an item modally; dismissing there removes the item.
    void ShowTaskInfo(TaskItem* item);

    QSize sizeHint() const override;

public Q_SLOTS:
    void removeTask();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TaskItem* TaskAt(const QPoint& position) const;
    void Layout();

    QGraphicsScene* m_scene;  // child of this view
    QList<TaskItem*> m_items;
    QPointer<TaskItem> m_pressed;
    int m_removalDelayMs = TaskItem::kRemovalDelayMs;
};
