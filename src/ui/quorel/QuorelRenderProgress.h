#pragma once

#include "quorel/QuorelRenderer.h"

#include <QStringList>

#include <vector>

class QWidget;

// Renders a template on a worker thread (the render itself runs on all cores) while a modal
// progress dialog shows the frames done and offers Cancel.
namespace QuorelRenderProgress {

// The rendered images; false when the render failed (`error` says why) or was cancelled
// (`error` empty).
bool Run(QWidget* parent, const QuorelTemplate& quorel, const QString& media, int frames,
         const QuorelSettings& settings, std::vector<QuorelRenderer::Rendered>* rendered,
         QString* error, QStringList* warnings);

}  // namespace QuorelRenderProgress
