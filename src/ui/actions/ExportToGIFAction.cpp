#include "ui/actions/ExportToGIFAction.h"

#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "ui/LastPathFileDialog.h"

#include <QMessageBox>

namespace {

bool IsImage(const ContentBase* item) {
    return qobject_cast<const MarqaImage*>(item) || qobject_cast<const SolviImage*>(item);
}

}  // namespace

ExportToGIFAction::ExportToGIFAction(ContentBase* item, QWidget* parent)
    : ContentBaseAction("Export to GIF", {item}, parent) {
    setEnabled(IsImage(item));
}

bool ExportToGIFAction::Export(const Content& item, const QString& file) {
    return LEDImageFamily::ExportGif(item, file);
}

void ExportToGIFAction::execute() {
    const QList<ContentBase*> objects = Objects();
    const auto* item = objects.isEmpty() ? nullptr : qobject_cast<const Content*>(objects.first());
    if (!item || !IsImage(item)) {
        return;
    }
    const QString file = LastPathFileDialog::Save(ParentWidget(), "Export to GIF", "ExportToGIF",
                                                  item->Name() + ".gif", "GIF Images (*.gif)");
    if (!file.isEmpty() && !Export(*item, file)) {
        QMessageBox::critical(ParentWidget(), "Error", "Unable to export image");
    }
}
