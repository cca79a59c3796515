#include "ui/tasks/TaskView.h"

#include "comm/Command.h"
#include "ui/tasks/CommandItem.h"
#include "ui/tasks/TaskInfoDialog.h"

#include <QGraphicsScene>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr qreal kSpacing = 6;

}  // namespace

TaskView::TaskView(QWidget* parent) : QGraphicsView(parent), m_scene(new QGraphicsScene(this)) {
    m_scene->setBackgroundBrush(palette().color(QPalette::Window));
    setScene(m_scene);
    setFrameShape(QFrame::NoFrame);
    setRenderHints({});
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMinimumHeight(int(TaskItem::kHeight + 2 * kSpacing));
}

TaskView::~TaskView() = default;

QSize TaskView::sizeHint() const {
    return {600, int(TaskItem::kHeight + 2 * kSpacing)};
}

void TaskView::AddTask(TaskItem* item) {
    connect(item, &TaskItem::stale, this, &TaskView::removeTask);
    m_items.append(item);
    m_scene->addItem(item);
    Layout();
}

bool TaskView::HasCommandItem(const QUuid& id) const {
    return std::any_of(m_items.cbegin(), m_items.cend(), [&](TaskItem* item) {
        auto* commandItem = qobject_cast<CommandItem*>(item);
        return commandItem && commandItem->GetCommandId() == id;
    });
}

void TaskView::AddCommandItem(Command* command, CommManager* source) {
    AddTask(new CommandItem(source, command, nullptr, m_removalDelayMs));
}

void TaskView::removeTask() {
    auto* item = qobject_cast<TaskItem*>(sender());
    if (!item || !m_items.removeOne(item)) {
        return;
    }
    m_scene->removeItem(item);
    item->deleteLater();  // it may be in the middle of emitting stale()
    Layout();
}

void TaskView::Layout() {
    const qreal available = std::max<qreal>(viewport()->width(), TaskItem::kWidth + 2 * kSpacing);
    qreal x = kSpacing;
    qreal y = kSpacing;
    for (TaskItem* item : m_items) {
        if (x > kSpacing && x + TaskItem::kWidth + kSpacing > available) {
            x = kSpacing;
            y += TaskItem::kHeight + kSpacing;
        }
        item->setPos(x, y);
        x += TaskItem::kWidth + kSpacing;
    }
    const qreal height = m_items.isEmpty() ? 0 : y + TaskItem::kHeight + kSpacing;
    m_scene->setSceneRect(0, 0, available, height);
}

void TaskView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    Layout();
}

TaskItem* TaskView::TaskAt(const QPoint& position) const {
    QGraphicsItem* item = itemAt(position);
    while (item && item->parentItem()) {
        item = item->parentItem();
    }
    auto* task = dynamic_cast<TaskItem*>(item);
    return m_items.contains(task) ? task : nullptr;
}

void TaskView::mousePressEvent(QMouseEvent* event) {
    m_pressed = TaskAt(event->position().toPoint());
    QGraphicsView::mousePressEvent(event);
}

void TaskView::mouseReleaseEvent(QMouseEvent* event) {
    QGraphicsView::mouseReleaseEvent(event);
    TaskItem* item = TaskAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && item && item == m_pressed) {
        m_pressed = nullptr;
        ShowTaskInfo(item);
    }
}

void TaskView::ShowTaskInfo(TaskItem* item) {
    QPointer<TaskItem> alive(item);
    TaskInfoDialog dialog(item, this);
    if (dialog.exec() == TaskInfoDialog::Dismissed && alive) {
        alive->dismiss();
    }
}
