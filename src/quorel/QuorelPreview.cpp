#include "quorel/QuorelPreview.h"

#include "content/import/ParallelFor.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "quorel/QuorelRenderer.h"

#include <cmath>
#include <set>

ImageImporter& QuorelPreview::ImporterFor(const QuorelTypes::Fixture& fixture) {
    const LEDImageRender& layout =
        fixture.IsMarqa() ? MarqaImage::Renderer() : SolviImage::Renderer();
    std::unique_ptr<ImageImporter>& importer = m_importers[&fixture];
    if (!importer || &importer->Layout() != &layout) {
        importer = std::make_unique<ImageImporter>(layout);
    }
    return *importer;
}

namespace {

QRect Scaled(const QRect& area, double scale) {
    const auto at = [scale](int value) { return int(std::lround(value * scale)); };
    return QRect(QPoint(at(area.left()), at(area.top())),
                 QPoint(at(area.right() + 1) - 1, at(area.bottom() + 1) - 1));
}

}  // namespace

QuorelPreview::Leds QuorelPreview::Sample(const QuorelTemplate& quorel, const QImage& frame,
                                          QSize original, const QuorelSettings& settings) {
    // Importers of fixtures that have left the template go.
    std::set<const QuorelTypes::Fixture*> present;
    for (const auto& fixture : quorel.Fixtures()) {
        present.insert(fixture.get());
    }
    std::erase_if(m_importers, [&](const auto& entry) { return !present.count(entry.first); });

    struct Job {
        const QuorelTypes::Fixture* fixture;
        ImageImporter* importer;
        QRect area;
        std::vector<QRgb> leds;
    };
    std::vector<Job> jobs;
    if (frame.isNull() || original.width() < 1) {
        return {};
    }
    const double scale = double(frame.width()) / original.width();
    for (const auto& fixture : quorel.Fixtures()) {
        const auto placement = QuorelRenderer::Place(quorel, *fixture, original, settings);
        if (!placement) {
            continue;
        }
        const QRect area = Scaled(placement->area, scale);
        if (area.width() < 1 || area.height() < 1) {
            continue;
        }
        ImportSettings sampled = placement->settings;
        sampled.sampleSize = std::max(1, int(std::lround(sampled.sampleSize * scale)));
        ImageImporter& importer = ImporterFor(*fixture);
        importer.SetSettings(sampled);
        jobs.push_back({fixture.get(), &importer, area, {}});
    }
    ParallelFor(int(jobs.size()), [&](int j) {
        Job& job = jobs[size_t(j)];
        job.leds = job.importer->SamplePicture(QuorelRenderer::Cut(frame, job.area));
    });
    Leds leds;
    for (Job& job : jobs) {
        leds.emplace(job.fixture, std::move(job.leds));
    }
    return leds;
}
