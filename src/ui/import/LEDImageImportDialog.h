#pragma once

#include "content/import/ImageImporter.h"
#include "ui/import/ImageImportDialog.h"

// The import dialog of one LED image family: its importer, and an image of the family that
// holds the last computation for the preview.
template <class Image>
class LEDImageImportDialog : public ImageImportDialog {
public:
    // Gives `image` the palette and frames the dialog shows.
    void Fill(Image& image) const { m_importer.Fill(image); }

protected:
    LEDImageImportDialog(const QString& family, const QString& file, QWidget* parent)
        : ImageImportDialog(family, file, parent) {}

    ImageImporter& Importer() override { return m_importer; }
    void TakeComputation() override { m_importer.Fill(m_preview); }
    QImage RenderPreview(int frame, int size) const override {
        return m_preview.RenderPreview(frame, size);
    }

private:
    LEDImageImporter<Image> m_importer;
    Image m_preview;
};
