#include "content/import/SettingsImageImport.h"

#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

namespace {

// Hands a reader's frames, fitted to the import limits, to an importer that samples each one as
// it comes, so no picture is kept and the reader can convert every frame into one buffer.
class SamplingSink : public ImageSink {
public:
    SamplingSink(ImageImporter& importer, const ImportSettings& settings)
        : m_importer(importer),
          m_settings(settings),
          m_limits(SettingsImageImport::kMaxFrameEdge, SettingsImageImport::kMaxFrameEdge) {}

    bool AddImage(const QImage& picture, int delayMs) override {
        const QImage fitted = m_limits.Fit(picture);
        if (m_importer.FrameCount() == 0) {
            m_importer.SetSettings(SettingsImageImport::Fitted(m_settings, fitted.size()));
        }
        return m_importer.AddFrame(fitted, delayMs);
    }
    QSize KeptSize(QSize size) const override { return m_limits.KeptSize(size); }

private:
    ImageImporter& m_importer;
    ImportSettings m_settings;
    ImageStore m_limits;  // only its limits: it keeps nothing
};

template <class Image>
bool Sample(Image& image, const QString& file, const ImportSettings& settings, QString* error) {
    LEDImageImporter<Image> importer;
    SamplingSink sink(importer, settings);
    if (!FrameReaders::ReadFrames(file, sink, error)) {
        return false;
    }
    importer.FinishFrames();
    importer.Fill(image);
    return true;
}

}  // namespace

bool SettingsImageImport::Import(Content& image, int /*address*/, const QString& file) {
    m_error.clear();
    return ImportFile(image, file, m_settings, &m_error);
}

ImportSettings SettingsImageImport::Fitted(const ImportSettings& settings, QSize size) {
    ImportSettings fitted = settings;
    fitted.sampleSize = std::clamp(settings.sampleSize, ImportSettings::kMinSampleSize,
                                   ImportSettings::MaxSampleSize(size));
    return fitted;
}

bool SettingsImageImport::ImportFile(Content& image, const QString& file,
                                     const ImportSettings& settings, QString* error) {
    QString why;
    bool read = false;
    if (auto* marqa = qobject_cast<MarqaImage*>(&image)) {
        read = Sample(*marqa, file, settings, &why);
    } else if (auto* solvi = qobject_cast<SolviImage*>(&image)) {
        read = Sample(*solvi, file, settings, &why);
    } else {
        why = QStringLiteral("the target is not an LED image");
    }
    if (!read && error) {
        *error = QStringLiteral("cannot import %1: %2").arg(file, why);
    }
    return read;
}
