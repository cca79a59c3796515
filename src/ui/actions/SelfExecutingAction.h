#pragma once

#include <QAction>

// An action that does its own work when triggered.
class SelfExecutingAction : public QAction {
    Q_OBJECT
public:
    SelfExecutingAction(const QString& caption, QObject* parent);

public Q_SLOTS:
    virtual void execute() = 0;
};
