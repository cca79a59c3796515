// Rendering a Quorel: 32 fixtures (8 x 4 MARQA fixtures over the whole picture) from a colourful
// 255-frame 1920 x 1080 clip made by the ffmpeg program, end to end (decoding, cutting each
// fixture's part out of every frame, sampling, one palette per fixture), against decoding and
// converting the same clip alone, which is the decoding's share.
//
//   build/bin/quorel_bench [--runs N]

#include "BestTime.h"
#include "content/import/FrameReaders.h"
#include "content/import/ImageSink.h"
#include "quorel/QuorelRenderer.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>

namespace {

// Takes every frame and keeps none: what reading alone costs.
class CountingSink : public ImageSink {
public:
    bool AddImage(const QImage&, int) override {
        ++frames;
        return true;
    }
    int frames = 0;
};

QuorelTemplate Grid(int columns, int rows) {
    QuorelTemplate quorel;
    quorel.frame = {0, 0, 1, 1};
    int num = 1;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            quorel.AddFixture({{(column + 0.5) / columns, (row + 0.5) / rows},
                               {1.0 / columns, 1.0 / rows},
                               num++,
                               QuorelTypes::kMarqa});
        }
    }
    return quorel;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int runs =
        arguments.contains("--runs") ? arguments.value(arguments.indexOf("--runs") + 1).toInt() : 3;
    QTemporaryDir dir;
    const QString clip = dir.filePath("wall.mkv");
    QString error;
    if (!TestMedia::MakeClip(clip, "testsrc2=s=1920x1080:r=25:d=10.2",
                             {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-frames:v", "255"},
                             &error)) {
        std::fprintf(stderr, "quorel_bench: cannot make the clip: %s\n", qPrintable(error));
        return 1;
    }
    int frames = 0;
    const double read = BestTime(runs, [&] {
        CountingSink sink;
        FrameReaders::ReadFrames(clip, sink);
        frames = sink.frames;
    });
    const QuorelTemplate quorel = Grid(8, 4);
    size_t images = 0;
    const double render = BestTime(runs, [&] {
        std::vector<QuorelRenderer::Rendered> rendered;
        QuorelRenderer::Render(quorel, clip, {}, &rendered, &error);
        images = rendered.size();
    });
    std::printf("clip: %d frames of 1920 x 1080 (libx264, %lld kB), %d threads\n", frames,
                QFileInfo(clip).size() / 1024, QThread::idealThreadCount());
    std::printf("decode and convert alone %6.3f s\n", read);
    std::printf("render %zu fixtures      %6.3f s (decoding %.0f %%)\n", images, render,
                100.0 * read / render);
    return 0;
}
