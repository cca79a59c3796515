#include "quorel/QuorelRenderer.h"

#include "content/ContentContainer.h"
#include "content/ContentContainerFolder.h"
#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/ImageSink.h"
#include "content/import/ParallelFor.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QPainter>

#include <cmath>

namespace {

int RoundToPixel(double value) {
    return int(std::floor(value + 0.5));
}

// One fixture's importer: its media rectangle, the importer of its family and how to build
// the image from it.
struct FixtureRender {
    int num = 0;
    QRect area;
    std::unique_ptr<ImageImporter> importer;
    std::function<std::unique_ptr<Content>()> build;
};

template <class Image>
FixtureRender MakeRender() {
    auto importer = std::make_unique<LEDImageImporter<Image>>();
    LEDImageImporter<Image>* family = importer.get();
    return {0, {}, std::move(importer), [family] { return family->Build(); }};
}

// Samples every frame for every fixture as the reader delivers it.
class RenderSink : public ImageSink {
public:
    RenderSink(const QuorelTemplate& quorel, const QuorelSettings& settings,
               const QuorelRenderer::Progress& progress)
        : m_quorel(quorel), m_settings(settings), m_progress(progress) {}

    bool AddImage(const QImage& picture, int delayMs) override {
        if (m_frames == 0) {
            Place(picture.size());
        }
        const QImage frame =
            picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                ? picture
                : picture.convertToFormat(QImage::Format_RGB32);
        ParallelFor(int(m_fixtures.size()), [&](int f) {
            FixtureRender& fixture = m_fixtures[size_t(f)];
            fixture.importer->AddFrame(QuorelRenderer::Cut(frame, fixture.area), delayMs);
        });
        ++m_frames;
        if (m_progress && !m_progress(m_frames)) {
            m_stopped = true;
            return false;
        }
        return true;
    }

    bool Stopped() const { return m_stopped; }
    int Frames() const { return m_frames; }
    std::vector<FixtureRender>& Fixtures() { return m_fixtures; }
    const QStringList& Skipped() const { return m_skipped; }

private:
    // Every fixture with media under it gets its importer, set for its size in pixels.
    void Place(QSize media) {
        for (const auto& fixture : m_quorel.Fixtures()) {
            const auto placement = QuorelRenderer::Place(m_quorel, *fixture, media, m_settings);
            if (!placement) {
                m_skipped.append(
                    QStringLiteral("Quorel address %1 has no media under it").arg(fixture->num));
                continue;
            }
            FixtureRender render =
                fixture->IsMarqa() ? MakeRender<MarqaImage>() : MakeRender<SolviImage>();
            render.num = fixture->num;
            render.area = placement->area;
            render.importer->SetSettings(placement->settings);
            m_fixtures.push_back(std::move(render));
        }
    }

    const QuorelTemplate& m_quorel;
    QuorelSettings m_settings;
    const QuorelRenderer::Progress& m_progress;
    std::vector<FixtureRender> m_fixtures;
    QStringList m_skipped;
    int m_frames = 0;
    bool m_stopped = false;
};

}  // namespace

QRect QuorelRenderer::MediaRect(const QuorelTemplate::Frame& frame, const QRectF& fixture,
                                QSize media) {
    if (frame[2] <= 0 || frame[3] <= 0) {
        return {};
    }
    const auto x = [&](double canvas) {
        return RoundToPixel((canvas - frame[0]) / frame[2] * media.width());
    };
    const auto y = [&](double canvas) {
        return RoundToPixel((canvas - frame[1]) / frame[3] * media.height());
    };
    return QRect(QPoint(x(fixture.left()), y(fixture.top())),
                 QPoint(x(fixture.right()) - 1, y(fixture.bottom()) - 1));
}

std::optional<QuorelRenderer::Placement> QuorelRenderer::Place(const QuorelTemplate& quorel,
                                                               const QuorelTypes::Fixture& fixture,
                                                               QSize media,
                                                               const QuorelSettings& settings) {
    const QRect area = MediaRect(quorel.frame, fixture.Rect(), media);
    if (area.width() < 1 || area.height() < 1 || !area.intersects(QRect({}, media))) {
        return std::nullopt;
    }
    QuorelSettings held = settings;
    held.sampleSize = std::clamp(held.sampleSize, QuorelSettings::kMinSampleSize,
                                 QuorelSettings::MaxSampleSize(media));
    ImportSettings imported =
        QuorelImportParameters::Derive(held, area.size(), fixture.IsMarqa()).ToImportSettings();
    imported.sampleSize = std::min(imported.sampleSize, ImportSettings::MaxSampleSize(area.size()));
    return Placement{area, imported};
}

QImage QuorelRenderer::Cut(const QImage& frame, const QRect& area) {
    if (frame.rect().contains(area)) {
        return frame.copy(area);
    }
    QImage cut(area.size(), QImage::Format_RGB32);
    cut.fill(Qt::black);
    const QRect inside = area & frame.rect();
    if (!inside.isEmpty()) {
        QPainter(&cut).drawImage(inside.topLeft() - area.topLeft(), frame, inside);
    }
    return cut;
}

bool QuorelRenderer::Render(const QuorelTemplate& quorel, const QString& media,
                            const QuorelSettings& settings, std::vector<Rendered>* rendered,
                            QString* error, QStringList* warnings, const Progress& progress) {
    rendered->clear();
    RenderSink sink(quorel, settings, progress);
    QString why;
    const bool read = FrameReaders::ReadFrames(media, sink, &why);
    if (sink.Stopped()) {
        if (error) {
            *error = QStringLiteral("the render was stopped");
        }
        return false;
    }
    if (!read || sink.Frames() == 0) {
        if (error) {
            *error = QStringLiteral("cannot read %1: %2").arg(media, why);
        }
        return false;
    }
    for (FixtureRender& fixture : sink.Fixtures()) {
        fixture.importer->FinishFrames();
        std::unique_ptr<Content> image = fixture.build();
        image->SetAddress(fixture.num);
        rendered->push_back({fixture.num, std::move(image)});
    }
    if (warnings) {
        *warnings = sink.Skipped();
    }
    return true;
}

std::unique_ptr<ContentFolder> QuorelRenderer::Collage(const QString& name,
                                                       std::vector<Rendered> rendered) {
    auto folder = std::make_unique<ContentContainer>();
    folder->SetName(name);
    folder->SetAddress(kQuorelFolder);
    ContentList items;
    QSet<QString> names;
    for (Rendered& one : rendered) {
        QString itemName = QStringLiteral("Quorel %1").arg(one.num);
        for (int copy = 2; names.contains(itemName); ++copy) {
            itemName = QStringLiteral("Quorel %1 (%2)").arg(one.num).arg(copy);
        }
        names.insert(itemName);
        one.image->SetName(itemName);
        one.image->SetAddress(one.num);
        one.image->SetTag(quint16(one.num));
        items.push_back(std::move(one.image));
    }
    folder->AddContent(std::move(items), nullptr);
    auto collage = std::make_unique<ContentContainerFolder>();
    collage->SetName(name);
    collage->AppendFolder(std::move(folder));
    return collage;
}
