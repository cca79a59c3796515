#include "ui/import/DialogImageImport.h"

#include "content/import/SettingsImageImport.h"
#include "ui/import/MarqaImageImportDialog.h"
#include "ui/import/SolviImageImportDialog.h"

#include <QApplication>
#include <QMessageBox>

void DialogImageImport::BeginBatch(int files) {
    m_batchLeft = files;
    m_applied.reset();
}

void DialogImageImport::EndBatch() {
    m_batchLeft = 0;
    m_applied.reset();
}

bool DialogImageImport::Refuse(const QString& title, const QString& file,
                               const QString& why) const {
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    QMessageBox::warning(parent, title,
                         why.isEmpty() ? QStringLiteral("%1 cannot be read").arg(file) : why);
    return false;
}

bool DialogImageImport::Import(Content& image, int /*address*/, const QString& file) {
    const int left = m_batchLeft;
    m_batchLeft = std::max(0, m_batchLeft - 1);
    if (m_applied) {
        QString why;
        return SettingsImageImport::ImportFile(image, file, *m_applied, &why) ||
               Refuse(QStringLiteral("Import"), file, why);
    }
    if (auto* marqa = qobject_cast<MarqaImage*>(&image)) {
        return Run<MarqaImageImportDialog>(*marqa, file, left);
    }
    if (auto* solvi = qobject_cast<SolviImage*>(&image)) {
        return Run<SolviImageImportDialog>(*solvi, file, left);
    }
    return false;
}

template <class Dialog, class Image>
bool DialogImageImport::Run(Image& image, const QString& file, int files) {
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    Dialog dialog(file, parent);
    QString why;
    if (!dialog.Load(&why)) {
        return Refuse(dialog.windowTitle(), file, why);
    }
    dialog.OfferApplyToAll(files);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    dialog.Fill(image);
    if (dialog.ApplyToAll()) {
        m_applied = dialog.Settings();
    }
    return true;
}
