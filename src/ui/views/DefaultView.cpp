#include "ui/views/DefaultView.h"

#include <QLabel>
#include <QVBoxLayout>

DefaultView::DefaultView(QWidget* parent) : QWidget(parent) {
    auto* label = new QLabel("The selected item cannot be viewed", this);
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}
