// The content preview on a folder of 255 animated LED images (32 frames of 40 ms each, every
// image different): the time from showing the folder to the first page painted with every
// picture in it, and the window thread's longest stall while the page is scrolled to the end
// and back with the images animating. Prints the figures of three fresh views.

#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "ui/views/ContentFolderPreview.h"
#include "ui/views/ContentFolderView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kImages = 255;
constexpr int kFrames = 32;

std::unique_ptr<Content> Image(int number) {
    auto image = std::make_unique<MarqaImage>();
    image->SetName(QStringLiteral("Image %1").arg(number));
    image->SetAddress(number);
    LEDPalette palette;
    for (int i = 0; i < 256; ++i) {
        palette[size_t(i)] = qRgb(i, (i * 3 + number) % 256, 255 - i);
    }
    image->SetPalette(palette);
    std::vector<MarqaImage::Frame> frames(kFrames);
    for (size_t f = 0; f < frames.size(); ++f) {
        frames[f].delay = 40;
        for (int n = 0; n < MarqaImage::kLedCount; ++n) {
            const QPointF p = MarqaImage::Renderer().LedPosition(n);
            const double turn =
                std::atan2(p.y(), p.x()) * (1 + number % 5) + 6 * std::hypot(p.x(), p.y());
            frames[f].leds[size_t(n)] = quint8(int(turn * 40.0 + double(f) * 8.0) & 0xFF);
        }
    }
    image->SetFrames(frames);
    return image;
}

// Turns the event loop until the condition holds or `ms` pass.
template <class Condition>
bool Wait(Condition condition, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return condition();
}

// Seconds to the first page painted with all its pictures.
double FirstPage(ContentFolderView& view, ContentFolder* folder) {
    QElapsedTimer timer;
    timer.start();
    view.SetFolder(folder);
    ContentFolderPreview* preview = view.Preview();
    preview->viewport()->repaint();  // asks for the pictures in sight
    if (!Wait([preview] { return preview->VisibleItemsReady(); }, 10000)) {
        return -1;
    }
    preview->viewport()->repaint();
    return timer.nsecsElapsed() / 1e9;
}

// The longest gap, in milliseconds, between turns of the window thread's loop while the
// preview scrolls down in steps of 40 pixels every 16 ms and back up.
double LongestStall(ContentFolderPreview* preview) {
    QScrollBar* bar = preview->verticalScrollBar();
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    beat.start(1);
    int step = 40;
    bool done = false;
    QTimer scroll;
    QObject::connect(&scroll, &QTimer::timeout, [&] {
        bar->setValue(bar->value() + step);
        if (step > 0 && bar->value() >= bar->maximum()) {
            step = -step;
        } else if (step < 0 && bar->value() <= bar->minimum()) {
            done = true;
        }
    });
    scroll.start(16);
    Wait([&] { return done; }, 60000);
    return longest / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ContentLibraryRoot library(dir.path());
    if (!library.AddFolder("Bench", 0, nullptr)) {
        std::fprintf(stderr, "cannot make the library\n");
        return 1;
    }
    auto* package = qobject_cast<ContentLibraryPackage*>(library.Child(0));
    package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    package->AddFolder("Images", 41, nullptr);
    auto* folder = qobject_cast<ContentFolder*>(package->Child(0));
    ContentList images;
    for (int i = 1; i <= kImages; ++i) {
        images.push_back(Image(i));
    }
    if (!folder || !folder->AddContent(std::move(images), nullptr) ||
        folder->ChildCount() != kImages) {
        std::fprintf(stderr, "cannot fill the folder\n");
        return 1;
    }
    std::printf("preview of %d images of %d frames, %d x %d window\n", kImages, kFrames, 1024, 700);
    for (int run = 1; run <= 3; ++run) {
        ContentFolderView view;
        view.resize(1024, 700);
        view.setCurrentIndex(1);
        view.show();
        Wait([] { return false; }, 50);  // the window is laid out and shown
        const double first = FirstPage(view, folder);
        const double stall = LongestStall(view.Preview());
        std::printf("run %d: first painted page %.3f s, longest stall while scrolling %.1f ms\n",
                    run, first, stall);
    }
    return 0;
}
