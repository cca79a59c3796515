// GIF export of a full 255-frame image of each family at the default render size: time per
// export, and the size of the file written (counter "bytes").

#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A spiral that turns from frame to frame over a palette of smooth colours: every LED changes
// in every frame, as in real content.
template <class Image>
std::unique_ptr<Image> SpiralImage() {
    auto image = std::make_unique<Image>();
    LEDPalette palette;
    for (int i = 0; i < 256; ++i) {
        palette[size_t(i)] = qRgb(i, (i * 3) % 256, 255 - i);
    }
    image->SetPalette(palette);
    std::vector<typename Image::Frame> frames(255);
    for (size_t f = 0; f < frames.size(); ++f) {
        frames[f].delay = 40;
        for (int n = 0; n < Image::kLedCount; ++n) {
            const QPointF p = Image::Renderer().LedPosition(n);
            const double turn = std::atan2(p.y(), p.x()) + 6 * std::hypot(p.x(), p.y());
            frames[f].leds[size_t(n)] = quint8(int(turn * 40.0 + double(f) * 3.0) & 0xFF);
        }
    }
    image->SetFrames(frames);
    return image;
}

template <class Image>
void ExportGif(benchmark::State& state) {
    const std::unique_ptr<Image> image = SpiralImage<Image>();
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.gif");
    for (auto _ : state) {
        if (!image->ExportGif(path)) {
            state.SkipWithError("export failed");
            return;
        }
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
    state.counters["frames"] = image->FrameCount();
}

}  // namespace

BENCHMARK(ExportGif<MarqaImage>)->Name("ExportGif/Marqa255")->Unit(benchmark::kMillisecond);
BENCHMARK(ExportGif<SolviImage>)->Name("ExportGif/Solvi255")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
