#include "content/import/SamplingSink.h"

#include "content/import/ImageImporter.h"
#include "content/import/SettingsImageImport.h"

SamplingSink::SamplingSink(ImageImporter& importer, const ImportSettings& settings, int maxEdge)
    : m_importer(importer), m_settings(settings), m_limits(maxEdge, maxEdge) {}

bool SamplingSink::AddImage(const QImage& picture, int delayMs) {
    const QImage fitted = m_limits.Fit(picture);
    if (m_importer.FrameCount() == 0) {
        m_importer.SetSettings(SettingsImageImport::Fitted(m_settings, fitted.size()));
    }
    return m_importer.AddFrame(fitted, delayMs);
}
