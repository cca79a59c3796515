#pragma once

#include <QGraphicsItem>

// The round progress gauge of a task: a ring that fills with progress, coloured by mode
// (0 normal, 1 warning, 2 error), with the per cent inside while it runs. Without a goal a
// running task shows a quarter arc.
class ProgressDialItem : public QGraphicsItem {
public:
    explicit ProgressDialItem(qreal diameter, QGraphicsItem* parent = nullptr);

    void SetMode(int mode);
    int Mode() const { return m_mode; }
    // Goal and current progress, and whether the task has begun or ended.
    void SetProgress(int goal, int current, bool running, bool finished);
    // What the ring shows inside: "42%" while a task with a goal runs, else nothing.
    QString Label() const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    qreal m_diameter;
    int m_mode = 0;
    int m_goal = 0;
    int m_current = 0;
    bool m_running = false;
    bool m_finished = false;
};
