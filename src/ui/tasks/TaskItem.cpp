#include "ui/tasks/TaskItem.h"

#include "ui/tasks/FormattedTextItem.h"
#include "ui/tasks/ProgressDialItem.h"

#include <QPainter>

namespace {

constexpr qreal kDial = 32;
constexpr qreal kTextLeft = kDial + 12;
constexpr qreal kTextWidth = TaskItem::kWidth - kTextLeft - 6;

}  // namespace

TaskItem::TaskItem(QGraphicsItem* parent, int removalDelayMs)
    : QGraphicsItem(parent),
      m_title(new FormattedTextItem(true, kTextWidth, this)),
      m_line(new FormattedTextItem(false, kTextWidth, this)),
      m_stateLine(new FormattedTextItem(false, kTextWidth, this)),
      m_dial(new ProgressDialItem(kDial, this)) {
    m_title->setPos(kTextLeft, 3);
    m_line->setPos(kTextLeft, 18);
    m_stateLine->setPos(kTextLeft, 32);
    m_stateLine->setBrush(QColor(100, 100, 100));
    m_dial->setPos(6, (kHeight - kDial) / 2);
    m_removalTimer.setSingleShot(true);
    m_removalTimer.setInterval(removalDelayMs);
    connect(&m_removalTimer, &QTimer::timeout, this, &TaskItem::stale);
    connect(this, &TaskItem::finished, this, &TaskItem::OnFinished);
    setAcceptedMouseButtons(Qt::LeftButton);
    Relayout();
}

TaskItem::~TaskItem() = default;

QString TaskItem::Title() const {
    return m_title->FullText();
}
QString TaskItem::LatestLine() const {
    return m_line->FullText();
}
QString TaskItem::StateLine() const {
    return m_stateLine->FullText();
}
QString TaskItem::DialLabel() const {
    return m_dial->Label();
}

void TaskItem::setState(TaskItem::State state) {
    m_state = state;
    Relayout();
    update();
    if (state == Running) {
        Q_EMIT running();
    } else if (state == Finished) {
        Q_EMIT finished();
    }
}

void TaskItem::setTitle(QString text) {
    m_title->SetFullText(text);
    setToolTip(text);
}

void TaskItem::addText(QString text, TaskItem::Severity severity) {
    m_log.append({text, severity});
    m_line->SetFullText(text);
    if (severity > m_severity) {
        setSeverity(severity);
    }
    Q_EMIT textAdded(text, severity);
}

void TaskItem::addText(QString text) {
    addText(text, Normal);
}

void TaskItem::setSeverity(TaskItem::Severity severity) {
    m_severity = severity;
    m_dial->SetMode(int(severity));
    if (severity == Error) {
        m_removalTimer.stop();
    }
    Relayout();
    update();
}

void TaskItem::setProgressGoal(int goal) {
    m_goal = goal;
    Relayout();
}

void TaskItem::setProgressCurrent(int current) {
    m_current = current;
    Relayout();
}

void TaskItem::setProgressText(QString text) {
    m_progressText = text;
    Relayout();
}

void TaskItem::dismiss() {
    Q_EMIT stale();
}

void TaskItem::OnFinished() {
    if (m_severity != Error) {
        m_removalTimer.start();
    }
}

void TaskItem::Relayout() {
    static const char* const kStates[] = {"Queued", "Running", "Finished"};
    QString text = kStates[m_state];
    if (m_state == Finished && m_severity == Error) {
        text = "Failed - click for the log";
    } else if (m_state == Running && !m_progressText.isEmpty()) {
        text = m_progressText;
    } else if (m_state == Running && m_goal > 0) {
        text += QStringLiteral(" %1 of %2").arg(m_current).arg(m_goal);
    }
    m_stateLine->SetFullText(text);
    m_dial->SetProgress(m_goal, m_current, m_state != Queued, m_state == Finished);
}

QRectF TaskItem::boundingRect() const {
    return {0, 0, kWidth, kHeight};
}

void TaskItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    static const QColor kBackgrounds[] = {QColor(250, 250, 250), QColor(255, 255, 216),
                                          QColor(255, 224, 224)};
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QColor(180, 180, 180));
    painter->setBrush(kBackgrounds[m_severity]);
    painter->drawRoundedRect(boundingRect().adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}
