#include "content/import/SettingsImageImport.h"

#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

namespace {

template <class Image>
bool Sample(Image& image, const ImageStore& store, const ImportSettings& settings) {
    LEDImageImporter<Image> importer;
    importer.SetFrames(store.Frames());
    importer.SetSettings(SettingsImageImport::Fitted(settings, importer));
    importer.Compute();
    importer.Fill(image);
    return true;
}

}  // namespace

bool SettingsImageImport::Import(Content& image, int /*address*/, const QString& file) {
    m_error.clear();
    return ImportFile(image, file, m_settings, &m_error);
}

ImportSettings SettingsImageImport::Fitted(const ImportSettings& settings,
                                           const ImageImporter& importer) {
    ImportSettings fitted = settings;
    const int largest = importer.FrameCount() > 0
                            ? ImportSettings::MaxSampleSize(importer.Picture(0).size())
                            : ImportSettings::kMinSampleSize;
    fitted.sampleSize = std::clamp(settings.sampleSize, ImportSettings::kMinSampleSize, largest);
    return fitted;
}

bool SettingsImageImport::ImportFile(Content& image, const QString& file,
                                     const ImportSettings& settings, QString* error) {
    ImageStore store(kMaxFrameEdge, kMaxFrameEdge);
    QString why;
    if (!FrameReaders::ReadFrames(file, store, &why)) {
        if (error) {
            *error = QStringLiteral("cannot import %1: %2").arg(file, why);
        }
        return false;
    }
    if (auto* marqa = qobject_cast<MarqaImage*>(&image)) {
        return Sample(*marqa, store, settings);
    }
    if (auto* solvi = qobject_cast<SolviImage*>(&image)) {
        return Sample(*solvi, store, settings);
    }
    if (error) {
        *error = QStringLiteral("cannot import %1: the target is not an LED image").arg(file);
    }
    return false;
}
