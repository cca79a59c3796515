#include "SplitPicture.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "quorel/QuorelPreview.h"
#include "quorel/QuorelRenderer.h"

#include <QPainter>

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QuorelSettings Controls(int level, bool invert = false) {
    QuorelSettings controls;
    controls.contrast = controls.brightness = controls.luminanceWeight = level;
    controls.distanceWeight = controls.cutoff = level;
    controls.invert = invert;
    return controls;
}

// Every LED colour of frame 0 of a rendered image.
template <class Image>
std::vector<QRgb> Colours(const Content& content) {
    const auto& image = dynamic_cast<const Image&>(content);
    const auto frames = image.Frames();
    const LEDPalette palette = image.Palette();
    std::vector<QRgb> colours;
    for (const quint8 index : frames[0].leds) {
        colours.push_back(palette[index] & 0xFFFFFF);
    }
    return colours;
}

}  // namespace

// The importer is given the controls on its own scales, exactly as the creator derives them.
TEST(QuorelRenderTest, ControlsBecomeTheImporterParameters) {
    const struct {
        int level;
        bool invert;
        double contrast, brightness, weight, luminanceWeight;
        int importContrast, importBrightness;
    } cases[] = {
        {0, false, -2.0, -1.0, 0.0, 0.0, -128, -128},
        {128, false, 0.0, 1.0, 128 / 255.0, 128 / 255.0, 128, 128},
        {255, false, 0.9921875, 2.984375, 1.0, 1.0, 255, 382},
        {255, true, 0.9921875, 2.984375, 1.0, -1.0, 255, 382},
    };
    for (const auto& c : cases) {
        const QuorelImportParameters derived =
            QuorelImportParameters::Derive(Controls(c.level, c.invert), {400, 400}, true);
        EXPECT_DOUBLE_EQ(derived.contrast, c.contrast) << c.level;
        EXPECT_DOUBLE_EQ(derived.brightness, c.brightness) << c.level;
        EXPECT_DOUBLE_EQ(derived.distanceWeight, c.weight) << c.level;
        EXPECT_DOUBLE_EQ(derived.cutoff, c.weight) << c.level;
        EXPECT_DOUBLE_EQ(derived.luminanceWeight, c.luminanceWeight) << c.level;
        const ImportSettings settings = derived.ToImportSettings();
        EXPECT_EQ(settings.contrast, c.importContrast) << c.level;
        EXPECT_EQ(settings.brightness, c.importBrightness) << c.level;
        EXPECT_EQ(settings.luminanceWeight, int(std::lround(c.luminanceWeight * 255)));
        EXPECT_EQ(settings.aspect, ImportSettings::Aspect::Ignore);
    }
    const QuorelImportParameters defaults = QuorelImportParameters::Derive({}, {400, 200}, true);
    EXPECT_EQ(defaults.contrast, 0.0);
    EXPECT_EQ(defaults.brightness, 1.0);
    EXPECT_EQ(defaults.luminanceWeight, 0.0);
    // Sample points 10 and 5 pixels apart; Sample Size 50 spans 5 and 10 of them.
    EXPECT_EQ(defaults.gridWidth, 5);
    EXPECT_EQ(defaults.gridHeight, 10);
    // The grid keeps 3 to 30 points a side, however small or large the fixture.
    EXPECT_EQ(QuorelImportParameters::Derive({}, {4000, 4000}, false).gridWidth, 3);
    QuorelSettings wide;
    wide.sampleSize = 100;
    EXPECT_EQ(QuorelImportParameters::Derive(wide, {40, 40}, true).gridWidth, 30);
    EXPECT_EQ(QuorelSettings::MaxSampleSize({300, 200}), 66);
    EXPECT_EQ(QuorelSettings::MaxSampleSize({1000, 800}), 100);
}

TEST(QuorelRenderTest, FixtureRectanglesMapOntoTheMediaThroughTheFrame) {
    const QSize media(1000, 500);
    const QuorelTemplate::Frame whole{0, 0, 1, 1};
    EXPECT_EQ(QuorelRenderer::MediaRect(whole, {0.1, 0.2, 0.2, 0.4}, media),
              QRect(100, 100, 200, 200));
    // The new template's frame puts the media in the canvas's middle half.
    EXPECT_EQ(QuorelRenderer::MediaRect(QuorelTemplate::kNewFrame, {0.25, 0.25, 0.5, 0.5}, media),
              QRect(0, 0, 1000, 500));
    EXPECT_EQ(QuorelRenderer::MediaRect(whole, {0.10049, 0, 0.1, 0.1}, media).left(), 100);
    EXPECT_EQ(QuorelRenderer::MediaRect(whole, {0.1005, 0, 0.1, 0.1}, media).left(), 101);
    EXPECT_TRUE(QuorelRenderer::MediaRect({0, 0, 0, 1}, {0, 0, 1, 1}, media).isEmpty());
}

// A fixture on the left of a left-red right-blue picture renders red, one on the right blue,
// each in its own family and carrying its Quorel address; a fixture off the media renders
// nothing and is named.
TEST(QuorelRenderTest, EachFixtureShowsTheMediaUnderIt) {
    QTemporaryDir dir;
    const QString media = SaveSplitPicture(dir);
    ASSERT_FALSE(media.isEmpty());

    QuorelTemplate quorel;
    quorel.frame = {0, 0, 1, 1};
    quorel.AddFixture({{0.25, 0.5}, {0.4, 0.6}, 7, QuorelTypes::kMarqa});
    quorel.AddFixture({{0.75, 0.5}, {0.4, 0.6}, 9, QuorelTypes::kSolvi});
    quorel.AddFixture({{3, 3}, {0.1, 0.1}, 11, QuorelTypes::kMarqa});

    std::vector<QuorelRenderer::Rendered> rendered;
    QString error;
    QStringList warnings;
    ASSERT_TRUE(QuorelRenderer::Render(quorel, media, {}, &rendered, &error, &warnings))
        << error.toStdString();
    ASSERT_EQ(rendered.size(), 2u);
    EXPECT_EQ(rendered[0].num, 7);
    EXPECT_EQ(rendered[0].image->Address(), 7);
    for (const QRgb colour : Colours<MarqaImage>(*rendered[0].image)) {
        ASSERT_EQ(colour, 0xFF0000u);
    }
    EXPECT_EQ(rendered[1].num, 9);
    for (const QRgb colour : Colours<SolviImage>(*rendered[1].image)) {
        ASSERT_EQ(colour, 0x0000FFu);
    }
    EXPECT_EQ(warnings, QStringList{"Quorel address 11 has no media under it"});

    // Stopped, or with media that cannot be read, nothing is rendered.
    EXPECT_FALSE(QuorelRenderer::Render(quorel, media, {}, &rendered, &error, nullptr,
                                        [](int) { return false; }));
    EXPECT_TRUE(rendered.empty());
    EXPECT_FALSE(QuorelRenderer::Render(quorel, dir.filePath("none.png"), {}, &rendered, &error));
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();

    // The collage carries each image's Quorel number for Quorel folder 251.
    ASSERT_TRUE(QuorelRenderer::Render(quorel, media, {}, &rendered, &error));
    const std::unique_ptr<ContentFolder> collage =
        QuorelRenderer::Collage("Split", std::move(rendered));
    ASSERT_EQ(collage->ChildCount(), 1);
    const ContentBase* folder = collage->Child(0);
    EXPECT_EQ(folder->Name(), "Split");
    EXPECT_EQ(folder->Address(), QuorelRenderer::kQuorelFolder);
    const auto* images = qobject_cast<const ContentFolder*>(folder);
    ASSERT_EQ(images->ChildCount(), 2);
    EXPECT_EQ(images->Child(1)->Name(), "Quorel 9");
    EXPECT_EQ(images->Child(1)->Tag(), 9);
}

// The preview shows each fixture what the render gives it, also from a frame kept at half the
// media's size; a fixture off the media shows nothing.
TEST(QuorelRenderTest, ThePreviewSamplesWhatEachFixtureWillShow) {
    QuorelTemplate quorel;
    quorel.frame = {0, 0, 1, 1};
    const QuorelTypes::Fixture* left =
        quorel.AddFixture({{0.25, 0.5}, {0.4, 0.6}, 7, QuorelTypes::kMarqa});
    const QuorelTypes::Fixture* right =
        quorel.AddFixture({{0.75, 0.5}, {0.4, 0.6}, 9, QuorelTypes::kSolvi});
    quorel.AddFixture({{3, 3}, {0.1, 0.1}, 11, QuorelTypes::kMarqa});

    QuorelPreview preview;
    for (const QSize kept : {QSize(300, 200), QSize(150, 100)}) {
        QImage frame(kept, QImage::Format_RGB32);
        frame.fill(Qt::blue);
        QPainter(&frame).fillRect(0, 0, kept.width() / 2, kept.height(), Qt::red);
        const QuorelPreview::Leds leds = preview.Sample(quorel, frame, {300, 200}, {});
        ASSERT_EQ(leds.size(), 2u);
        ASSERT_EQ(leds.at(left).size(), 127u);
        ASSERT_EQ(leds.at(right).size(), 61u);
        for (const QRgb colour : leds.at(left)) {
            ASSERT_EQ(colour & 0xFFFFFF, 0xFF0000u) << kept.width();
        }
        for (const QRgb colour : leds.at(right)) {
            ASSERT_EQ(colour & 0xFFFFFF, 0x0000FFu) << kept.width();
        }
    }
}
