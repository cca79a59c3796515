#include "ui/AboutDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Aurel");
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/Resources/icon32.png"));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(this);
    text->setObjectName("aboutText");
    text->setText(QStringLiteral("<b>Aurel</b> %1<br><br>Finds DMX512 fixtures through RDM and "
                                 "talk-back, sets their addresses and looks after<br>the content "
                                 "stored in LED fixtures.<br><br>Corvane")
                      .arg(QStringLiteral(AUREL_VERSION)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Horizontal, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
