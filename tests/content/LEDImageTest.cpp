#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Record bytes laid out by hand, independent of the writer under test.
QByteArray Header(quint8 frameCount, const QByteArray& name = "Clip", quint32 key = 0x0A0B0C0D) {
    QByteArray bytes(792, '\0');
    bytes[0] = 1;
    bytes[1] = char(frameCount);
    bytes[2] = 9;   // background
    bytes[3] = 17;  // transparent
    qToLittleEndian<quint32>(key, bytes.data() + 4);
    bytes.replace(8, int(name.size()), name);
    for (int i = 0; i < 256; ++i) {
        bytes[24 + i * 3] = char(i);
        bytes[24 + i * 3 + 1] = char(255 - i);
        bytes[24 + i * 3 + 2] = char(i / 2);
    }
    return bytes;
}

QByteArray Entry(int type, int leds, quint16 delay, quint8 transparent, quint8 value) {
    QByteArray bytes(8 + leds + (type == 2 ? 1 : 0), '\0');
    bytes[0] = char(type);
    bytes[1] = char(transparent);
    qToLittleEndian<quint16>(delay, bytes.data() + 2);
    bytes.replace(8, leds, QByteArray(leds, char(value)));
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
    }
    return path;
}

template <class Image>
std::unique_ptr<Image> Filled(int frames) {
    auto filled = std::make_unique<Image>();
    Image& image = *filled;
    image.SetName("Pattern");
    LEDPalette palette;
    for (int i = 0; i < 256; ++i) {
        palette[size_t(i)] = qRgb(i, (i * 7) % 256, 255 - i);
    }
    image.SetPalette(palette);
    std::vector<typename Image::Frame> list(static_cast<size_t>(frames));
    for (int f = 0; f < frames; ++f) {
        list[size_t(f)].delay = quint16(40 + f * 10);
        for (size_t n = 0; n < list[size_t(f)].leds.size(); ++n) {
            list[size_t(f)].leds[n] = quint8(n + f);
        }
    }
    image.SetFrames(list);
    return filled;
}

template <class Image>
bool RoundTrip(const QString& in, const QString& out, int* frames) {
    Image image;
    const bool ok = image.Load(in) && image.Save(out);
    *frames = image.FrameCount();
    return ok;
}

}  // namespace

TEST(LEDImageFileTest, HeaderOnlyFileLoadsAsAnImageWithoutFrames) {
    QTemporaryDir dir;
    MarqaImage image;
    QSignalSpy changed(&image, &Content::ContentChanged);
    EXPECT_TRUE(image.IsFlagged());
    ASSERT_TRUE(image.Load(WriteFile(dir, "empty.mqi", Header(0))));
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_EQ(image.Name(), "Clip");
    EXPECT_EQ(image.ContentKey(), 0x0A0B0C0Du);
    EXPECT_EQ(image.BackgroundIndex(), 9);
    EXPECT_EQ(image.TransparentIndex(), 17);
    EXPECT_EQ(image.Palette()[200], qRgb(200, 55, 100));
    EXPECT_FALSE(image.IsFlagged());
    EXPECT_EQ(changed.count(), 1);
}

TEST(LEDImageFileTest, TypeOneEntriesLoadAndAreSavedAsTypeTwo) {
    struct Family {
        int leds;
        const char* suffix;
        bool (*roundTrip)(const QString& in, const QString& out, int* frames);
    };
    const Family families[] = {
        {127, "mqi", &RoundTrip<MarqaImage>},
        {61, "slvi", &RoundTrip<SolviImage>},
    };
    QTemporaryDir dir;
    for (const Family& family : families) {
        SCOPED_TRACE(family.suffix);
        // The frame-count byte says 5; the three entries present are what counts.
        const QByteArray original = Header(5) + Entry(1, family.leds, 100, 0, 3) +
                                    Entry(1, family.leds, 250, 4, 7) +
                                    Entry(2, family.leds, 65535, 0, 9);
        const QString in = WriteFile(dir, QString("old.") + family.suffix, original);
        const QString out = dir.filePath(QString("new.") + family.suffix);
        int frames = 0;
        ASSERT_TRUE(family.roundTrip(in, out, &frames));
        EXPECT_EQ(frames, 3);

        const QByteArray expected = Header(3) + Entry(2, family.leds, 100, 0, 3) +
                                    Entry(2, family.leds, 250, 4, 7) +
                                    Entry(2, family.leds, 65535, 0, 9);
        EXPECT_EQ(FileBytes(out).size(), 792 + 3 * (family.leds + 9));
        EXPECT_EQ(FileBytes(out), expected);
    }
}

TEST(LEDImageFileTest, SixteenCharacterNameFillsTheFieldWithoutTerminator) {
    QTemporaryDir dir;
    SolviImage image;
    image.SetName("ABCDEFGHIJKLMNOPQR");
    const QString path = dir.filePath("name.slvi");
    ASSERT_TRUE(image.Save(path));
    const QByteArray bytes = FileBytes(path);
    EXPECT_EQ(bytes.mid(8, 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(bytes[24], '\0');  // the palette follows directly

    SolviImage loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.Name(), "ABCDEFGHIJKLMNOP");

    // An empty name field takes the file's base name.
    const QString unnamed = WriteFile(dir, "From the file name.slvi", Header(0, ""));
    ASSERT_TRUE(loaded.Load(unnamed));
    EXPECT_EQ(loaded.Name(), "From the file na");
}

TEST(LEDImageFileTest, BadFilesAreRefusedAndTheImageKeepsItsValues) {
    const QByteArray valid = Header(1) + Entry(2, 127, 10, 0, 1);
    QByteArray badFormat = valid;
    badFormat[0] = 2;
    QByteArray badType = valid;
    badType[792] = 3;
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"short header", valid.left(791)},
        {"format byte 2", badFormat},
        {"entry type 3", badType},
        {"cut entry", valid.left(792 + 100)},
        {"type 2 entry missing its last byte", valid.chopped(1)},
        {"one stray byte", Header(0) + QByteArray(1, '\2')},
        {"garbage", QByteArray(5000, '\xA5')},
    };
    QTemporaryDir dir;
    const std::unique_ptr<MarqaImage> filled = Filled<MarqaImage>(2);
    MarqaImage& image = *filled;
    image.SetContentKey(77);
    const std::vector<MarqaImage::Frame> before = image.Frames();
    for (const auto& [label, bytes] : cases) {
        EXPECT_FALSE(image.Load(WriteFile(dir, "bad.mqi", bytes))) << label;
        EXPECT_EQ(image.Frames(), before) << label;
        EXPECT_EQ(image.Name(), "Pattern") << label;
        EXPECT_EQ(image.ContentKey(), 77u) << label;
    }
    EXPECT_FALSE(image.Load(dir.filePath("missing.mqi")));
    // A first-family record is not a second-family one: the entry sizes differ.
    SolviImage solvi;
    EXPECT_FALSE(solvi.Load(WriteFile(dir, "marqa.slvi", valid)));
}

TEST(LEDImageFileTest, SaveReplacesTheFileOnlyWhenTheWriteSucceeds) {
    QTemporaryDir dir;
    const std::unique_ptr<MarqaImage> filled = Filled<MarqaImage>(3);
    MarqaImage& image = *filled;
    EXPECT_FALSE(image.Save(dir.filePath("no/such/dir/x.mqi")));

    const QString path = dir.filePath("x.mqi");
    ASSERT_TRUE(image.Save(path));
    MarqaImage loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.Frames(), image.Frames());
    EXPECT_EQ(loaded.Palette(), image.Palette());
    EXPECT_EQ(loaded.Summary(), image.Summary());
    EXPECT_EQ(image.Summary().size(), MarqaImage::kSummarySize);
}

TEST(LEDImageFileTest, AnImageOfMoreThan255FramesIsNeverWritten) {
    QTemporaryDir dir;
    const std::unique_ptr<MarqaImage> image = Filled<MarqaImage>(256);
    image->SetName("long");
    const QString path = dir.filePath("long.mqi");
    EXPECT_EQ(image->StoreProblem(),
              "long has 256 frames, more than the 255 an LED image can hold");
    EXPECT_FALSE(image->Save(path));
    EXPECT_FALSE(QFile::exists(path));
    image->SetFrames(std::vector<MarqaImage::Frame>(255));
    EXPECT_TRUE(image->StoreProblem().isEmpty());
    EXPECT_TRUE(image->Save(path));
}

TEST(LEDImageTest, CloneAndCopyTakeEveryValue) {
    const std::unique_ptr<SolviImage> filled = Filled<SolviImage>(4);
    SolviImage& original = *filled;
    original.SetAddress(12);
    original.SetTag(3);
    original.SetContentKey(0xCAFE);
    original.SetBackgroundIndex(5);
    original.SetTransparentIndex(6);
    original.SetFlagged(false);

    const std::unique_ptr<Content> cloned = original.Clone();
    const auto* copy = qobject_cast<const SolviImage*>(cloned.get());
    ASSERT_NE(copy, nullptr);
    {
        EXPECT_EQ(copy->Name(), "Pattern");
        EXPECT_EQ(copy->Address(), 12);
        EXPECT_EQ(copy->Tag(), 3);
        EXPECT_EQ(copy->ContentKey(), 0xCAFEu);
        EXPECT_EQ(copy->Summary(), original.Summary());
        EXPECT_EQ(copy->Frames(), original.Frames());
        EXPECT_FALSE(copy->IsFlagged());
        EXPECT_EQ(copy->Parent(), nullptr);
    }
    SolviImage target;
    QSignalSpy changed(&target, &Content::ContentChanged);
    target.CopyFrom(original);
    EXPECT_EQ(target.Frames(), original.Frames());
    EXPECT_EQ(target.Palette(), original.Palette());
    EXPECT_EQ(target.ContentKey(), 0xCAFEu);
    EXPECT_EQ(changed.count(), 1);
}

TEST(LEDGeometryTest, RingsStartJustClockwiseOfTheTopAndRunClockwise) {
    struct Ring {
        int first, count;
    };
    const std::pair<const LEDImageRender*, std::vector<Ring>> families[] = {
        {&MarqaImage::Renderer(), {{0, 36}, {36, 30}, {66, 24}, {90, 18}, {108, 12}, {120, 6}}},
        {&SolviImage::Renderer(), {{0, 24}, {24, 18}, {42, 12}, {54, 6}}},
    };
    for (const auto& [render, rings] : families) {
        for (const Ring& ring : rings) {
            const QPointF first = render->LedPosition(ring.first);
            const QPointF second = render->LedPosition(ring.first + 1);
            const double a0 = std::atan2(first.y(), first.x());
            const double a1 = std::atan2(second.y(), second.x());
            EXPECT_LT(a0, std::numbers::pi / 2);
            EXPECT_NEAR(a0, std::numbers::pi / 2 - std::numbers::pi / ring.count, 1e-9);
            EXPECT_GT(first.x(), 0);
            EXPECT_NEAR(a0 - a1, 2 * std::numbers::pi / ring.count, 1e-9);  // clockwise
        }
        const int centre = render->LedCount() - 1;
        EXPECT_EQ(render->LedPosition(centre), QPointF(0, 0));
        EXPECT_EQ(render->LedPosition(centre + 10), QPointF(0, 0));
    }
    EXPECT_EQ(MarqaImage::Renderer().LedCount(), 127);
    EXPECT_EQ(SolviImage::Renderer().LedCount(), 61);
    EXPECT_NEAR(MarqaImage::Renderer().LedPosition(0).y(),
                0.9583333333333334 * std::cos(std::numbers::pi / 36), 1e-12);
}

TEST(LEDRenderTest, EachLedIsDrawnAtItsPositionInItsColour) {
    const std::unique_ptr<MarqaImage> filled = Filled<MarqaImage>(2);
    const MarqaImage& image = *filled;
    const QImage frame = image.RenderFrame(1);
    ASSERT_EQ(frame.format(), QImage::Format_Indexed8);
    const QImage preview = image.RenderPreview(1);
    const auto leds = image.Frames()[1].leds;
    for (int n = 0; n < 127; ++n) {
        const QPoint at = MarqaImage::Renderer().PixelPosition(n, frame.width()).toPoint();
        EXPECT_EQ(frame.pixelIndex(at), leds[size_t(n)]) << n;
        EXPECT_EQ(preview.pixel(at), image.Palette()[leds[size_t(n)]]) << n;
    }
    EXPECT_EQ(preview.pixel(0, 0), qRgba(192, 192, 192, 255));
    EXPECT_EQ(frame.pixelIndex(0, 0), image.BackgroundIndex());
    EXPECT_TRUE(image.RenderFrame(2).isNull());
    EXPECT_TRUE(image.RenderFrame(0, 0).isNull());
    // The top of the picture is the top of the fixture.
    EXPECT_LT(MarqaImage::Renderer().PixelPosition(0, 100).y(), 50);
}

TEST(LEDConvertTest, ConvertedImagesLookLikeTheirSource) {
    // Left half, right half and the middle in three colours.
    const auto paint = [](auto& image) {
        using Image = std::decay_t<decltype(image)>;
        typename Image::Frame frame;
        frame.delay = 120;
        frame.transparent = 4;
        for (int n = 0; n < Image::kLedCount; ++n) {
            const double x = Image::Renderer().LedPosition(n).x();
            frame.leds[size_t(n)] = x < -0.1 ? 1 : x > 0.1 ? 2 : 3;
        }
        image.SetFrames({frame, frame});
    };
    const auto check = [](const auto& image) {
        using Image = std::decay_t<decltype(image)>;
        const std::vector<typename Image::Frame> frames = image.Frames();
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[1].delay, 120);
        EXPECT_EQ(frames[1].transparent, 4);
        for (int n = 0; n < Image::kLedCount; ++n) {
            const double x = Image::Renderer().LedPosition(n).x();
            if (std::abs(x) > 0.25) {
                EXPECT_EQ(frames[0].leds[size_t(n)], x < 0 ? 1 : 2) << n;
            }
        }
        EXPECT_EQ(frames[0].leds[size_t(Image::kLedCount - 1)], 3);
    };
    const std::unique_ptr<MarqaImage> filled = Filled<MarqaImage>(0);
    MarqaImage& marqa = *filled;
    marqa.SetContentKey(5);
    paint(marqa);
    const std::unique_ptr<SolviImage> solvi = SolviImage::ConvertFrom(marqa);
    check(*solvi);
    EXPECT_EQ(solvi->Name(), "Pattern");
    EXPECT_EQ(solvi->Palette(), marqa.Palette());
    EXPECT_EQ(solvi->ContentKey(), 5u);

    SolviImage source;
    paint(source);
    check(*MarqaImage::ConvertFrom(source));
}
