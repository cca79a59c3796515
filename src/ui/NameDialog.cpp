#include "ui/NameDialog.h"

#include "content/ContentBase.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

NameDialog::NameDialog(const QString& title, const QString& name, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(name, this)) {
    setWindowTitle(title);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    auto* problem = new QLabel(this);
    auto* layout = new QFormLayout(this);
    layout->addRow("Name:", m_edit);
    layout->addRow(problem);
    layout->addRow(buttons);
    m_edit->selectAll();
    // OK takes only a name the content objects keep whole; a long one says why it is refused.
    const auto check = [ok, problem](const QString& text) {
        const QString why = ContentBase::NameProblem(text.trimmed());
        ok->setEnabled(why.isEmpty());
        problem->setText(text.trimmed().isEmpty() ? QString() : why);
        problem->setVisible(!problem->text().isEmpty());
    };
    check(name);
    connect(m_edit, &QLineEdit::textChanged, ok, check);
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
