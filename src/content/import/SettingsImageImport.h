#pragma once

#include "content/import/ImportSettings.h"
#include "content/ledimage/IImageImport.h"

#include <QString>

// The image import without a dialog: every file is sampled with one set of settings (the
// command line installs it with the settings it was given).
class SettingsImageImport : public IImageImport {
public:
    // The edge limits of the frames an import samples (larger frames are scaled down).
    static constexpr int kMaxFrameEdge = 512;

    explicit SettingsImageImport(const ImportSettings& settings = {}) : m_settings(settings) {}

    bool Import(Content& image, int address, const QString& file) override;
    // Why the last import failed.
    QString LastError() const { return m_error; }

    // Reads `file` and fills `image` (a MarqaImage or SolviImage) with its frames sampled under
    // `settings` (the sample size held to what the first frame allows). False, with `image`
    // unchanged and `error` saying why, when the file cannot be read.
    static bool ImportFile(Content& image, const QString& file, const ImportSettings& settings,
                           QString* error);
    // The settings with the sample size held to what a first frame of `size` allows.
    static ImportSettings Fitted(const ImportSettings& settings, QSize size);

private:
    ImportSettings m_settings;
    QString m_error;
};
