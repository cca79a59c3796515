#pragma once

#include "content/import/ImageSink.h"
#include "content/import/ImageStore.h"
#include "content/import/ImportSettings.h"

class ImageImporter;

// Hands a reader's frames, fitted to the import limits, to an importer that samples each one as
// it comes, so no picture is kept and a reader can convert every frame into one buffer. The
// settings are fitted to the first frame.
class SamplingSink : public ImageSink {
public:
    SamplingSink(ImageImporter& importer, const ImportSettings& settings, int maxEdge);

    bool AddImage(const QImage& picture, int delayMs) override;
    QSize KeptSize(QSize size) const override { return m_limits.KeptSize(size); }

private:
    ImageImporter& m_importer;
    ImportSettings m_settings;
    ImageStore m_limits;  // only its limits: it keeps nothing
};
