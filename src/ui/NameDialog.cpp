#include "ui/NameDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

NameDialog::NameDialog(const QString& title, const QString& name, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(name, this)) {
    setWindowTitle(title);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    auto* layout = new QFormLayout(this);
    layout->addRow("Name:", m_edit);
    layout->addRow(buttons);
    m_edit->selectAll();
    ok->setEnabled(!name.trimmed().isEmpty());
    connect(m_edit, &QLineEdit::textChanged, ok,
            [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<QString> NameDialog::Ask(const QString& title, const QString& name, QWidget* parent) {
    NameDialog dialog(title, name, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Edit()->text().trimmed();
}
