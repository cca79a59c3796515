#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

// Asks for an address from a lowest (1 unless given) to a highest value; OK is only possible
// with a value in range.
class AddressDialog : public QDialog {
    Q_OBJECT
public:
    AddressDialog(const QString& label, int current, int highest, QWidget* parent = nullptr,
                  int lowest = 1);

    // Shows a dialog titled `title`; the value chosen, or nothing when it was cancelled.
    static std::optional<int> Ask(const QString& title, const QString& label, int current,
                                  int lowest, int highest, QWidget* parent);

    int Value() const;
    bool IsValueAcceptable() const;
    QLineEdit* Edit() const { return m_edit; }

private:
    void UpdateButtons();

    QLineEdit* m_edit;  // children of this dialog
    QPushButton* m_ok;
};
