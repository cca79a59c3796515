#include "ui/import/DialogImageImport.h"

#include "ui/import/MarqaImageImportDialog.h"
#include "ui/import/SolviImageImportDialog.h"

#include <QApplication>
#include <QMessageBox>

bool DialogImageImport::Import(Content& image, int /*address*/, const QString& file) {
    if (auto* marqa = qobject_cast<MarqaImage*>(&image)) {
        return Run<MarqaImageImportDialog>(*marqa, file);
    }
    if (auto* solvi = qobject_cast<SolviImage*>(&image)) {
        return Run<SolviImageImportDialog>(*solvi, file);
    }
    return false;
}

template <class Dialog, class Image>
bool DialogImageImport::Run(Image& image, const QString& file) {
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    Dialog dialog(file, parent);
    QString why;
    if (!dialog.Load(&why)) {
        QMessageBox::warning(parent, dialog.windowTitle(),
                             why.isEmpty() ? QStringLiteral("%1 cannot be read").arg(file) : why);
        return false;
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    dialog.Fill(image);
    return true;
}
