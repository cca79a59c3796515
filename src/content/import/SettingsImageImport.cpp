#include "content/import/SettingsImageImport.h"

#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/SamplingSink.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

namespace {

template <class Image>
bool Sample(Image& image, const QString& file, const ImportSettings& settings, QString* error) {
    LEDImageImporter<Image> importer;
    SamplingSink sink(importer, settings, SettingsImageImport::kMaxFrameEdge);
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
