#pragma once

#include "ui/import/ImageViewDialog.h"

#include <memory>

// The view dialog of one LED image family. It shows a copy of the image taken when it opens,
// so a change to the item meanwhile cannot tear a frame.
template <class Image>
class LEDImageViewDialog : public ImageViewDialog {
protected:
    LEDImageViewDialog(const QString& family, const Image& image, QWidget* parent)
        : ImageViewDialog(family, parent), m_image(image.CloneImage()) {
        const auto frames = m_image->Frames();
        std::vector<int> delays;
        delays.reserve(frames.size());
        for (const auto& frame : frames) {
            delays.push_back(frame.delay);
        }
        ShowImage(m_image->Name(), m_image->Address(), std::move(delays), m_image->Palette(),
                  ImagePaletteDialog::CountUses(frames));
    }

    QImage RenderPreview(int frame, int size) const override {
        return m_image->RenderPreview(frame, size);
    }

private:
    std::unique_ptr<Image> m_image;
};
