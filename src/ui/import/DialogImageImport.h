#pragma once

#include "content/ledimage/IImageImport.h"

#include <QPointer>
#include <QWidget>

// The desktop program's image import: the import dialog of the image's family, over the given
// window. A file that cannot be read is refused with a message box saying why.
class DialogImageImport : public IImageImport {
public:
    explicit DialogImageImport(QWidget* parent = nullptr) : m_parent(parent) {}

    bool Import(Content& image, int address, const QString& file) override;

private:
    template <class Dialog, class Image>
    bool Run(Image& image, const QString& file);

    QPointer<QWidget> m_parent;
};
