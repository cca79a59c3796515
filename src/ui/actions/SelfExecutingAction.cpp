#include "ui/actions/SelfExecutingAction.h"

SelfExecutingAction::SelfExecutingAction(const QString& caption, QObject* parent)
    : QAction(caption, parent) {
    connect(this, &QAction::triggered, this, &SelfExecutingAction::execute);
}
