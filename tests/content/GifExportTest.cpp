#include "content/ledimage/GifWriter.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "support/FileBytes.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What the graphic control extensions of a GIF say, read by walking its blocks.
struct GifFrameInfo {
    int disposal = -1;
    bool transparent = false;
    int transparentIndex = -1;
    int delay = -1;  // hundredths
};

struct GifInfo {
    bool valid = false;
    int width = 0;
    int height = 0;
    int packed = 0;
    int background = -1;
    bool loops = false;
    std::vector<GifFrameInfo> frames;
};

GifInfo ParseGif(const QByteArray& data) {
    GifInfo info;
    const auto byte = [&](qsizetype at) { return at < data.size() ? quint8(data[at]) : 0; };
    if (!data.startsWith("GIF89a") || data.size() < 13 + 768) {
        return info;
    }
    info.width = byte(6) | byte(7) << 8;
    info.height = byte(8) | byte(9) << 8;
    info.packed = byte(10);
    info.background = byte(11);
    qsizetype at = 13 + 768;
    const auto skipSubBlocks = [&] {
        while (at < data.size() && byte(at) != 0) {
            at += byte(at) + 1;
        }
        ++at;
    };
    GifFrameInfo pending;
    while (at < data.size()) {
        const quint8 kind = byte(at);
        if (kind == 0x3B) {
            info.valid = at == data.size() - 1;
            break;
        }
        if (kind == 0x21 && byte(at + 1) == 0xF9) {
            pending.disposal = (byte(at + 3) >> 2) & 7;
            pending.transparent = byte(at + 3) & 1;
            pending.delay = byte(at + 4) | byte(at + 5) << 8;
            pending.transparentIndex = byte(at + 6);
            at += 2;
            skipSubBlocks();
        } else if (kind == 0x21) {
            info.loops = info.loops || data.mid(at + 3, 11) == "NETSCAPE2.0";
            at += 2;
            skipSubBlocks();
        } else if (kind == 0x2C) {
            info.frames.push_back(pending);
            pending = {};
            at += 10 + 1;  // descriptor, minimum code size
            skipSubBlocks();
        } else {
            break;
        }
    }
    return info;
}

LEDPalette DistinctPalette() {
    LEDPalette palette;
    for (int i = 0; i < 256; ++i) {
        palette[size_t(i)] = qRgb(i, 255 - i, (i * 37) % 256);
    }
    return palette;
}

}  // namespace

TEST(GifExportTest, EveryFrameDecodesWithItsDelayAndColours) {
    SolviImage image;
    image.SetPalette(DistinctPalette());
    image.SetBackgroundIndex(200);
    std::vector<SolviImage::Frame> frames(3);
    for (size_t f = 0; f < frames.size(); ++f) {
        frames[f].delay = quint16(100 + 250 * f + 7);  // hundredths are whole: 10, 35, 60
        for (size_t n = 0; n < frames[f].leds.size(); ++n) {
            frames[f].leds[n] = quint8(1 + n * 3 + f * 50);
        }
    }
    image.SetFrames(frames);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.gif");
    ASSERT_TRUE(image.ExportGif(path));

    QImageReader reader(path);
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.imageCount(), 3);
    EXPECT_EQ(reader.loopCount(), -1);  // for ever
    const int size = LEDImageRender::kDefaultSize;
    for (size_t f = 0; f < frames.size(); ++f) {
        SCOPED_TRACE(f);
        const QImage decoded = reader.read();
        ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(reader.nextImageDelay(), int(frames[f].delay / 10) * 10);
        ASSERT_EQ(decoded.size(), QSize(size, size));
        for (int n = 0; n < SolviImage::kLedCount; ++n) {
            const QPoint at = SolviImage::Renderer().PixelPosition(n, size).toPoint();
            EXPECT_EQ(decoded.pixel(at), image.Palette()[frames[f].leds[size_t(n)]]) << n;
        }
        EXPECT_EQ(decoded.pixel(0, 0), image.Palette()[200]);
    }

    const GifInfo info = ParseGif(FileBytes(path));
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.width, size);
    EXPECT_EQ(info.packed, 0xF7);
    EXPECT_EQ(info.background, 200);
    EXPECT_TRUE(info.loops);
    ASSERT_EQ(info.frames.size(), 3u);
    EXPECT_EQ(info.frames[2].delay, 60);
    EXPECT_EQ(info.frames[2].disposal, 2);
}

TEST(GifExportTest, FrameTransparencyFallsBackToTheImageDefault) {
    struct Case {
        quint8 imageDefault;
        quint8 frameIndex;
        bool transparent;
        int index;
    };
    const Case cases[] = {
        {0, 0, false, -1},
        {9, 0, true, 9},
        {9, 5, true, 5},
        {0, 5, true, 5},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.imageDefault) << "/" << int(c.frameIndex));
        MarqaImage image;
        image.SetPalette(DistinctPalette());
        image.SetTransparentIndex(c.imageDefault);
        MarqaImage::Frame frame;
        frame.transparent = c.frameIndex;
        frame.delay = 500;
        frame.leds.fill(1);
        frame.leds[0] = 5;
        frame.leds[1] = 9;
        image.SetFrames({frame});
        const QString path = dir.filePath("t.gif");
        ASSERT_TRUE(image.ExportGif(path));

        const GifInfo info = ParseGif(FileBytes(path));
        ASSERT_EQ(info.frames.size(), 1u);
        EXPECT_EQ(info.frames[0].transparent, c.transparent);
        if (c.transparent) {
            EXPECT_EQ(info.frames[0].transparentIndex, c.index);
        }
        QImageReader reader(path);
        const QImage decoded = reader.read();
        const int size = LEDImageRender::kDefaultSize;
        for (int n : {0, 1, 2}) {
            const QPoint at = MarqaImage::Renderer().PixelPosition(n, size).toPoint();
            const bool clear = frame.leds[size_t(n)] == c.index;
            EXPECT_EQ(qAlpha(decoded.pixel(at)), clear ? 0 : 255) << n;
        }
    }
}

TEST(GifWriterTest, LzwDataDecodesExactlyAcrossTableResets) {
    // Noise fills the code table many times over; long runs make deep codes; one pixel and
    // odd sizes test the edges of the packing.
    QRandomGenerator random(42);
    const auto noise = [&](int count, int spread) {
        std::vector<quint8> pixels(static_cast<size_t>(count));
        for (quint8& pixel : pixels) {
            pixel = quint8(random.bounded(spread));
        }
        return pixels;
    };
    struct Case {
        int width, height;
        std::vector<quint8> pixels;
    };
    std::vector<Case> cases;
    cases.push_back({300, 200, noise(300 * 200, 256)});
    cases.push_back({257, 131, noise(257 * 131, 3)});
    cases.push_back({640, 100, std::vector<quint8>(64000, 77)});
    cases.push_back({1, 1, {255}});

    std::array<QRgb, 256> colors;
    for (int i = 0; i < 256; ++i) {
        colors[size_t(i)] = qRgb(i, (i * 5) % 256, (i * 11) % 256);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        GifWriter writer(&buffer);
        ASSERT_TRUE(writer.Begin(c.width, c.height, colors, 0));
        ASSERT_TRUE(writer.AddFrame(c.pixels.data(), 3, -1));
        ASSERT_TRUE(writer.Finish());
        buffer.close();

        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        QImageReader reader(&buffer, "gif");
        const QImage decoded = reader.read();
        ASSERT_EQ(decoded.size(), QSize(c.width, c.height)) << reader.errorString().toStdString();
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                wrong += decoded.pixel(x, y) != colors[c.pixels[size_t(y * c.width + x)]];
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(GifWriterTest, WriteFailuresAreReported) {
    MarqaImage image;
    image.SetFrames(std::vector<MarqaImage::Frame>(2));
    QTemporaryDir dir;
    EXPECT_FALSE(image.ExportGif(dir.filePath("missing/folder/out.gif")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/folder/out.gif")));

    QByteArray bytes;
    QBuffer readOnly(&bytes);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    GifWriter writer(&readOnly);
    EXPECT_FALSE(writer.Begin(4, 4, {}, 0));
}
