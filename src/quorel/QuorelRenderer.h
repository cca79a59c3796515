#pragma once

#include "content/Content.h"
#include "content/ContentFolder.h"
#include "quorel/QuorelSettings.h"
#include "quorel/QuorelTemplate.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Renders a template's fixtures from a picture or clip: each fixture becomes an LED image of
// its family made from the part of the media under it, with the fixture's Quorel address. The
// media is read once and every frame is sampled for all fixtures as it is decoded (on all
// cores), so even a long high-resolution clip is never held in memory whole.
class QuorelRenderer {
public:
    struct Rendered {
        int num = 0;
        std::unique_ptr<Content> image;  // a MarqaImage or SolviImage, its address the num
    };
    // Called after each frame with the frames done; false stops the render.
    using Progress = std::function<bool(int frames)>;

    // The media pixels under a fixture: the template's frame is the media's rectangle on the
    // canvas (left, top, width, height), so canvas units map linearly onto the media; corners
    // are rounded to the nearest pixel.
    static QRect MediaRect(const QuorelTemplate::Frame& frame, const QRectF& fixture, QSize media);

    // How one fixture reads media of `media` size: its media rectangle and its importer's
    // settings (the Sample Size held to what the media and the rectangle allow). None when no
    // media lies under the fixture.
    struct Placement {
        QRect area;
        ImportSettings settings;
    };
    static std::optional<Placement> Place(const QuorelTemplate& quorel,
                                          const QuorelTypes::Fixture& fixture, QSize media,
                                          const QuorelSettings& settings);
    // The part of a frame under a fixture; where the fixture reaches past the media, black.
    static QImage Cut(const QImage& frame, const QRect& area);

    // Renders every fixture of `quorel` (in list order) from `media`. A fixture with no media
    // pixels under it contributes nothing (and is named in `warnings`). False, with `error`
    // saying why, when the media cannot be read or the render was stopped.
    static bool Render(const QuorelTemplate& quorel, const QString& media,
                       const QuorelSettings& settings, std::vector<Rendered>* rendered,
                       QString* error, QStringList* warnings = nullptr,
                       const Progress& progress = {});

    // The folder the fixtures keep Quorel content in, the first of both families.
    static constexpr int kQuorelFolder = 251;
    // The rendered images as a collage for the Quorel library: one folder named `name` for
    // Quorel folder 251, each image named "Quorel N" and carrying N, its Quorel number, as
    // its address and Quorel number.
    static std::unique_ptr<ContentFolder> Collage(const QString& name,
                                                  std::vector<Rendered> rendered);
};
