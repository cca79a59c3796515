#include "ContentTestSupport.h"
#include "content/NamedPolicies.h"
#include "content/import/ColourOperations.h"
#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/ImageStore.h"
#include "content/import/LedSampler.h"
#include "content/import/SettingsImageImport.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage Solid(QSize size, QColor colour) {
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

// Left half one colour, right half the other.
QImage Split(QSize size, QColor left, QColor right) {
    QImage picture = Solid(size, right);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);  // transparent replaces too
    painter.fillRect(0, 0, size.width() / 2, size.height(), left);
    return picture;
}

std::vector<int> Delays(const ImageStore& store) {
    std::vector<int> delays;
    for (const ImageStore::Frame& frame : store.Frames()) {
        delays.push_back(frame.delayMs);
    }
    return delays;
}

class ImportMediaTest : public ::testing::Test {
protected:
    QString Clip(const QString& name, const QString& source, const QStringList& options) {
        const QString path = m_dir.filePath(name);
        QString error;
        EXPECT_TRUE(TestMedia::MakeClip(path, source, options, &error)) << error.toStdString();
        return path;
    }
    QString Picture(const QString& name, const QImage& picture) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    QTemporaryDir m_dir;
};

// The colour of each LED after the palette.
template <class Image>
std::vector<QRgb> LedColours(const Image& image, int frame = 0) {
    const auto frames = image.Frames();
    const LEDPalette palette = image.Palette();
    std::vector<QRgb> colours;
    for (const quint8 index : frames[size_t(frame)].leds) {
        colours.push_back(palette[index] & 0xFFFFFF);
    }
    return colours;
}

template <class Image>
void ExpectLeftRedRightBlue(const QString& file) {
    Image image;
    QString error;
    ImportSettings narrow;  // samples that stay on their own side of the split
    narrow.sampleSize = ImportSettings::kMinSampleSize;
    ASSERT_TRUE(SettingsImageImport::ImportFile(image, file, narrow, &error))
        << error.toStdString();
    const std::vector<QRgb> colours = LedColours(image);
    const LEDImageRender& layout = Image::Renderer();
    int left = 0, right = 0;
    for (int n = 0; n < layout.LedCount(); ++n) {
        const double x = layout.LedPosition(n).x();
        if (x < -0.1) {
            EXPECT_EQ(colours[size_t(n)], 0xFF0000u) << "LED " << n;
            ++left;
        } else if (x > 0.1) {
            EXPECT_EQ(colours[size_t(n)], 0x0000FFu) << "LED " << n;
            ++right;
        }
    }
    EXPECT_GT(left, layout.LedCount() / 3);
    EXPECT_EQ(left, right);
}

}  // namespace

TEST(ImageStoreTest, PicturesBeyondTheLimitsShrinkByOneFactorToFitBoth) {
    const struct {
        QSize limits, in, stored;
    } cases[] = {
        {{512, 512}, {1024, 256}, {512, 128}},
        {{512, 512}, {100, 600}, {85, 512}},  // 100 x 512/600 = 85.3, truncated
        {{512, 512}, {300, 200}, {300, 200}},
        {{-1, -1}, {4000, 3000}, {4000, 3000}},
        {{-1, 100}, {1000, 400}, {250, 100}},
    };
    for (const auto& c : cases) {
        ImageStore store(c.limits.width(), c.limits.height());
        ASSERT_TRUE(store.AddImage(Solid(c.in, Qt::green), 7));
        EXPECT_EQ(store.Frames().back().picture.size(), c.stored)
            << c.in.width() << "x" << c.in.height();
        EXPECT_EQ(store.Frames().back().delayMs, 7);
        EXPECT_EQ(store.Frames().back().picture.pixel(0, 0), QColor(Qt::green).rgb());
    }
}

TEST(ColourOperationsTest, TheOperationsAtTheirStatedValues) {
    using namespace ColourOperations;
    EXPECT_DOUBLE_EQ(Luminance(qRgb(255, 255, 255)), 1.0);
    EXPECT_NEAR(Luminance(qRgb(255, 0, 0)), 0.299, 1e-12);
    EXPECT_NEAR(Luminance(qRgb(0, 0, 255)), 0.114, 1e-12);
    EXPECT_EQ(ScaleColour(qRgba(100, 200, 50, 7), 0.5), qRgba(50, 100, 25, 7));
    EXPECT_EQ(ScaleColour(qRgb(100, 200, 50), 2.0), qRgb(200, 255, 100));
    EXPECT_EQ(ScaleColour(qRgb(100, 200, 50), -1.0), qRgb(0, 0, 0));
    const struct {
        QRgb in;
        double c;
        QRgb out;
    } contrast[] = {
        {qRgb(128, 128, 128), 0.5, qRgb(135, 135, 135)},
        {qRgb(64, 64, 64), 0.5, qRgb(37, 37, 37)},
        {qRgb(64, 64, 64), -1.0, qRgb(95, 95, 95)},
        {qRgb(200, 100, 50), 0.5, qRgb(172, 86, 43)},
        {qRgb(230, 230, 230), 0.5, qRgb(241, 241, 241)},
        {qRgb(200, 100, 50), 0.0, qRgb(200, 100, 50)},
        {qRgb(0, 0, 0), 0.5, qRgb(0, 0, 0)},  // black: no division by its zero luminance
    };
    for (const auto& c : contrast) {
        EXPECT_EQ(ApplyContrast(c.in, c.c), c.out) << qRed(c.in) << " c=" << c.c;
    }
}

TEST_F(ImportMediaTest, StillAndAnimatedPicturesKeepTheirDelaysUpToTheFrameLimit) {
    ImageStore still;
    ASSERT_TRUE(FrameReaders::ReadFrames(Picture("still.png", Solid({40, 30}, Qt::red)), still));
    EXPECT_EQ(Delays(still), std::vector<int>{0});

    ASSERT_TRUE(TestMedia::WriteAnimatedGif(m_dir.filePath("anim.gif"), {16, 16}, {10, 25, 4}));
    ImageStore animated;
    ASSERT_TRUE(FrameReaders::ReadPictures(m_dir.filePath("anim.gif"), animated));
    EXPECT_EQ(Delays(animated), (std::vector<int>{100, 250, 40}));

    ASSERT_TRUE(TestMedia::WriteAnimatedGif(m_dir.filePath("long.gif"), {16, 16},
                                            std::vector<quint16>(300, 2)));
    ImageStore cut;
    ASSERT_TRUE(FrameReaders::ReadFrames(m_dir.filePath("long.gif"), cut));
    EXPECT_EQ(cut.FrameCount(), 255);
}

TEST_F(ImportMediaTest, ClipDelaysComeFromTimeStampsAndTheLastReachesTheEnd) {
    const QString clip = Clip("red.mp4", "color=c=red:s=64x48:r=25:d=0.4", {"-c:v", "mpeg4"});
    ImageStore store;
    QString error;
    ASSERT_TRUE(FrameReaders::ReadFrames(clip, store, &error)) << error.toStdString();
    EXPECT_EQ(Delays(store), std::vector<int>(10, 40));
    EXPECT_EQ(store.Frames()[0].picture.size(), QSize(64, 48));

    // A raw stream carries no time stamps: every delay is 0.
    const QString raw =
        Clip("red.h264", "color=c=red:s=64x48:r=25:d=0.2", {"-c:v", "libx264", "-f", "h264"});
    ImageStore unstamped;
    ASSERT_TRUE(FrameReaders::ReadFrames(raw, unstamped, &error)) << error.toStdString();
    EXPECT_EQ(Delays(unstamped), std::vector<int>(5, 0));

    const QString longClip = Clip("long.mp4", "color=c=blue:s=32x32:r=50:d=6", {"-c:v", "mpeg4"});
    ImageStore cut;
    ASSERT_TRUE(FrameReaders::ReadFrames(longClip, cut, &error)) << error.toStdString();
    EXPECT_EQ(cut.FrameCount(), 255);
    EXPECT_EQ(cut.Frames().back().delayMs, 20);
}

TEST_F(ImportMediaTest, LargeClipsAreScaledWhileDecodingAndBadFilesSayWhy) {
    const QString clip = Clip("big.mp4", "color=c=red:s=1024x256:r=10:d=0.2", {"-c:v", "mpeg4"});
    ImageStore store(512, 512);
    ASSERT_TRUE(FrameReaders::ReadFrames(clip, store));
    ASSERT_EQ(store.FrameCount(), 2);
    EXPECT_EQ(store.Frames()[0].picture.size(), QSize(512, 128));

    QFile garbage(m_dir.filePath("garbage.mp4"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(5000, '\x5a'));
    garbage.close();
    // A clip cut short keeps the pictures before the cut.
    QFile whole(clip);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cutShort(m_dir.filePath("cut.mp4"));
    ASSERT_TRUE(cutShort.open(QIODevice::WriteOnly));
    cutShort.write(whole.read(whole.size() / 2));
    cutShort.close();
    for (const QString& bad : {m_dir.filePath("garbage.mp4"), m_dir.filePath("missing.png")}) {
        ImageStore none;
        QString error;
        EXPECT_FALSE(FrameReaders::ReadFrames(bad, none, &error)) << bad.toStdString();
        EXPECT_TRUE(none.IsEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
    ImageStore partial;
    FrameReaders::ReadFrames(m_dir.filePath("cut.mp4"), partial);
    EXPECT_LE(partial.FrameCount(), 2);
}

// The converter writes whole blocks of pixels; a clip whose width is not a multiple of them
// must still be read into its pictures without writing past them.
TEST_F(ImportMediaTest, ClipsOfAnyWidthAreReadIntoTheirPictures) {
    const QString clip =
        Clip("odd.mp4", "testsrc2=s=300x200:r=25:d=4.2", {"-c:v", "libx264", "-frames:v", "105"});
    for (int run = 0; run < 3; ++run) {
        MarqaImage image;
        QString error;
        ASSERT_TRUE(SettingsImageImport::ImportFile(image, clip, {}, &error))
            << error.toStdString();
        EXPECT_EQ(image.FrameCount(), 105);
        ImageStore store;
        ASSERT_TRUE(FrameReaders::ReadFrames(clip, store));
        ASSERT_EQ(store.FrameCount(), 105);
        EXPECT_EQ(store.Frames()[0].picture.size(), QSize(300, 200));
    }
}

TEST_F(ImportMediaTest, ASolidRedClipGivesRedLeds) {
    const QString clip = Clip("red.mkv", "color=c=red:s=128x128:r=25:d=0.2", {"-c:v", "ffv1"});
    MarqaImage image;
    QString error;
    ASSERT_TRUE(SettingsImageImport::ImportFile(image, clip, {}, &error)) << error.toStdString();
    ASSERT_EQ(image.FrameCount(), 5);
    for (int f = 0; f < image.FrameCount(); ++f) {
        for (const QRgb colour : LedColours(image, f)) {
            // The clip's colour passes through YUV: red within a few steps.
            ASSERT_GE(qRed(colour), 245);
            ASSERT_LE(qGreen(colour) + qBlue(colour), 10);
        }
    }
    EXPECT_EQ(image.Frames()[0].delay, 40);
}

// An import samples each frame as it is read and keeps no picture; the dialog keeps the frames
// and samples them again. Both give the same image, the sample size fitted to the first frame.
TEST_F(ImportMediaTest, SamplingWhileReadingMatchesSamplingKeptFrames) {
    const QString clip = Clip("bars.mkv", "testsrc2=s=160x120:r=25:d=0.6", {"-c:v", "ffv1"});
    ImportSettings settings;
    settings.sampleSize = 400;  // more than the 120-pixel first frame allows
    settings.contrast = 150;
    MarqaImage streamed;
    QString error;
    ASSERT_TRUE(SettingsImageImport::ImportFile(streamed, clip, settings, &error))
        << error.toStdString();

    ImageStore store(SettingsImageImport::kMaxFrameEdge, SettingsImageImport::kMaxFrameEdge);
    ASSERT_TRUE(FrameReaders::ReadFrames(clip, store));
    LEDImageImporter<MarqaImage> kept;
    kept.SetFrames(store.Frames());
    kept.SetSettings(SettingsImageImport::Fitted(settings, kept.Picture(0).size()));
    EXPECT_EQ(kept.Settings().sampleSize, 120);
    kept.Compute();
    MarqaImage again;
    kept.Fill(again);

    ASSERT_EQ(streamed.FrameCount(), 15);
    EXPECT_TRUE(streamed.Frames() == again.Frames());
    EXPECT_EQ(streamed.Palette(), again.Palette());
}

// Opaque pictures sampled with every pixel counting the same take a plain average over the
// mask's rows; it must give what the weighted sampling gives, at the picture's edges too and
// with samples larger than the mask's cells.
TEST(LedSamplerTest, PlainAveragesOfOpaquePicturesMatchTheWeightedSampling) {
    QImage noise(301, 187, QImage::Format_RGB32);
    quint32 seed = 7;
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    const QImage weighted = noise.convertToFormat(QImage::Format_ARGB32);
    for (const auto aspect : {ImportSettings::Aspect::Keep, ImportSettings::Aspect::Ignore}) {
        for (const int sampleSize : {3, 10, 50, 131, 187}) {
            LedSampler sampler(MarqaImage::Renderer(), noise.size(), aspect, sampleSize);
            std::vector<QRgb> plain(size_t(MarqaImage::Renderer().LedCount()));
            std::vector<QRgb> general(plain.size());
            sampler.Sample(noise, plain.data());
            sampler.Sample(weighted, general.data());
            for (size_t n = 0; n < plain.size(); ++n) {
                for (const int shift : {16, 8, 0}) {
                    ASSERT_NEAR(int(plain[n] >> shift & 0xFF), int(general[n] >> shift & 0xFF), 1)
                        << "sample " << sampleSize << ", LED " << n;
                }
            }
        }
    }
}

TEST_F(ImportMediaTest, LeftRedRightBluePictureLandsOnTheDiscHalvesInBothFamilies) {
    const QString picture = Picture("split.png", Split({300, 200}, Qt::red, Qt::blue));
    ExpectLeftRedRightBlue<MarqaImage>(picture);
    ExpectLeftRedRightBlue<SolviImage>(picture);
}

TEST_F(ImportMediaTest, TransparentPartsTakeTheTransparentIndex) {
    const QString picture = Picture("half.png", Split({100, 100}, Qt::transparent, Qt::green));
    SolviImage image;
    ASSERT_TRUE(SettingsImageImport::ImportFile(image, picture, {}, nullptr));
    EXPECT_EQ(image.TransparentIndex(), ImageImporter::kTransparentIndex);
    const auto leds = image.Frames()[0].leds;
    for (int n = 0; n < SolviImage::Renderer().LedCount(); ++n) {
        const double x = SolviImage::Renderer().LedPosition(n).x();
        if (x < -0.1) {
            EXPECT_EQ(leds[size_t(n)], ImageImporter::kTransparentIndex);
        } else if (x > 0.1) {
            EXPECT_EQ(image.Palette()[leds[size_t(n)]] & 0xFFFFFF, 0x00FF00u);
        }
    }
}

// Each setting does what its label says, seen on a picture of one colour.
TEST(ImageImporterTest, SettingsActOnTheLedColours) {
    const auto with = [](auto change) {
        ImportSettings settings;
        change(settings);
        return settings;
    };
    const struct {
        const char* what;
        QColor picture;
        ImportSettings settings;
        QRgb led;
    } cases[] = {
        {"defaults", QColor(200, 100, 50), {}, qRgb(200, 100, 50)},
        {"invert", QColor(255, 0, 0), with([](auto& s) { s.invert = true; }), qRgb(0, 255, 255)},
        {"greyscale", QColor(255, 0, 0),
         with([](auto& s) { s.colour = ImportSettings::ColourMode::Greyscale; }), qRgb(76, 76, 76)},
        {"monochrome dark", QColor(90, 90, 90),
         with([](auto& s) { s.colour = ImportSettings::ColourMode::Monochrome; }), qRgb(0, 0, 0)},
        {"monochrome light", QColor(160, 160, 160),
         with([](auto& s) { s.colour = ImportSettings::ColourMode::Monochrome; }),
         qRgb(255, 255, 255)},
        {"brightness 0", QColor(200, 100, 50), with([](auto& s) { s.brightness = 0; }),
         qRgb(0, 0, 0)},
        {"brightness 64", QColor(200, 100, 50), with([](auto& s) { s.brightness = 64; }),
         qRgb(100, 50, 25)},
        {"contrast up", QColor(64, 64, 64), with([](auto& s) { s.contrast = 192; }),
         qRgb(37, 37, 37)},
        {"cutoff less", QColor(64, 64, 64), with([](auto& s) { s.cutoff = 100; }), qRgb(0, 0, 0)},
        {"cutoff less passes", QColor(200, 200, 200), with([](auto& s) { s.cutoff = 100; }),
         qRgb(200, 200, 200)},
        {"cutoff greater", QColor(200, 200, 200), with([](auto& s) {
             s.cutoff = 100;
             s.cutoffMode = ImportSettings::CutoffMode::Greater;
         }),
         qRgb(0, 0, 0)},
    };
    for (const auto& c : cases) {
        LEDImageImporter<MarqaImage> importer;
        importer.SetFrames({{Solid({64, 64}, c.picture), 0}});
        importer.SetSettings(c.settings);
        importer.Compute();
        MarqaImage image;
        importer.Fill(image);
        for (const QRgb colour : LedColours(image)) {
            ASSERT_EQ(colour, c.led & 0xFFFFFF) << c.what;
        }
    }
}

// Weights and aspect move the sampled colour the way their labels promise.
TEST(ImageImporterTest, WeightsAndAspectChooseWhichPixelsCount) {
    // A wide picture: blue bands left and right of a red centre square.
    QImage wide = Solid({300, 100}, Qt::blue);
    QPainter(&wide).fillRect(100, 0, 100, 100, Qt::red);
    const auto outerColour = [&](ImportSettings settings) {
        LEDImageImporter<SolviImage> importer;
        importer.SetFrames({{wide, 0}});
        importer.SetSettings(settings);
        importer.Compute();
        return importer.LedColours(0)[6];  // an outer LED, right of the top
    };
    ImportSettings keep;
    keep.sampleSize = 10;
    EXPECT_EQ(outerColour(keep), qRgb(255, 0, 0));  // the disc stays on the centre square
    ImportSettings ignore = keep;
    ignore.aspect = ImportSettings::Aspect::Ignore;
    EXPECT_EQ(outerColour(ignore), qRgb(0, 0, 255));  // the disc spreads over the whole width

    // A dark picture with a bright centre: luminance weight pulls the LED to the bright part,
    // distance weight to its own centre.
    QImage spot = Solid({64, 64}, Qt::black);
    QPainter(&spot).fillRect(28, 28, 8, 8, Qt::white);
    const auto centreColour = [&](ImportSettings settings) {
        LEDImageImporter<MarqaImage> importer;
        importer.SetFrames({{spot, 0}});
        settings.sampleSize = 40;
        importer.SetSettings(settings);
        importer.Compute();
        return qRed(importer.LedColours(0)[MarqaImage::Renderer().LedCount() - 1]);
    };
    const int plain = centreColour({});
    ImportSettings luminance;
    luminance.luminanceWeight = 255;
    ImportSettings distance;
    distance.distanceWeight = 255;
    EXPECT_GT(centreColour(luminance), plain * 3);
    EXPECT_GT(centreColour(distance), plain);
}

TEST_F(ImportMediaTest, AFolderImportsPicturesAndLeavesOutWhatItCannotRead) {
    const QString picture = Picture("Sunset.png", Solid({50, 50}, Qt::yellow));
    QFile garbage(m_dir.filePath("broken.png"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("no picture here");
    garbage.close();

    SettingsImageImport import;
    IImageImport::Install(&import);
    TestPolicyFolder folder(&NamedPolicies::SolviContentFolder());
    const ContentList imported = folder.ImportFiles(3, {m_dir.filePath("broken.png"), picture});
    IImageImport::Install(nullptr);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(imported[0]->Name(), "Sunset");
    const auto* solvi = qobject_cast<SolviImage*>(imported[0].get());
    ASSERT_NE(solvi, nullptr);
    EXPECT_EQ(LedColours(*solvi)[0], 0xFFFF00u);
    EXPECT_TRUE(import.LastError().isEmpty());
    EXPECT_EQ(folder.ChildCount(), 0);
}
