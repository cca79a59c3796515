#pragma once

#include "ui/actions/ContentBaseAction.h"

class Content;

// "Export to GIF": writes an LED image as an animated GIF file chosen by the user.
class ExportToGIFAction : public ContentBaseAction {
    Q_OBJECT

public:
    ExportToGIFAction(ContentBase* item, QWidget* parent);

    // Writes the image; false when it is not an LED image or cannot be written.
    static bool Export(const Content& item, const QString& file);

public Q_SLOTS:
    void execute() override;
};
