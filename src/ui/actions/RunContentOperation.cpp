#include "ui/actions/RunContentOperation.h"

#include "content/operations/ContentOperation.h"
#include "ui/AurelMainWindow.h"
#include "ui/OperationDialog.h"

bool RunContentOperation(QWidget* parent, std::unique_ptr<ContentOperation> operation) {
    if (AurelMainWindow* window = AurelMainWindow::Instance()) {
        return window->RunOperation(std::move(operation));
    }
    OperationDialog dialog(parent);
    return dialog.Run(std::move(operation));
}
