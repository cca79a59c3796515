#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// Asks for a name: "Name:", a line to type it in, OK and "Cancel". OK needs a name that
// content objects keep whole (see ContentBase::NameProblem); a long one shows why not.
class NameDialog : public QDialog {
    Q_OBJECT

public:
    NameDialog(const QString& title, const QString& name, QWidget* parent = nullptr);

    // The name entered, or nothing when the dialog was cancelled.
    static std::optional<QString> Ask(const QString& title, const QString& name, QWidget* parent);

    QLineEdit* Edit() const { return m_edit; }

private:
    QLineEdit* m_edit;  // child of this dialog
};
