#include "ui/AddressDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

AddressDialog::AddressDialog(const QString& label, int current, int highest, QWidget* parent,
                             int lowest)
    : QDialog(parent), m_edit(new QLineEdit(QString::number(current), this)) {
    m_edit->setValidator(new QIntValidator(lowest, highest, m_edit));
    m_edit->selectAll();
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QFormLayout(this);
    layout->addRow(label, m_edit);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_edit, &QLineEdit::textChanged, this, &AddressDialog::UpdateButtons);
    UpdateButtons();
}

std::optional<int> AddressDialog::Ask(const QString& title, const QString& label, int current,
                                      int lowest, int highest, QWidget* parent) {
    AddressDialog dialog(label, current, highest, parent, lowest);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Value();
}

int AddressDialog::Value() const {
    return m_edit->text().toInt();
}

bool AddressDialog::IsValueAcceptable() const {
    return m_edit->hasAcceptableInput();
}

void AddressDialog::UpdateButtons() {
    m_ok->setEnabled(IsValueAcceptable());
}
