#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "ui/import/ImagePaletteDialog.h"
#include "ui/import/MarqaImageViewDialog.h"
#include "ui/import/PicturePane.h"
#include "ui/import/SolviImageViewDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Frames of one palette index each: index f + 1 for frame f, the first LED index 9 in frame 0.
template <class Image>
void FillFrames(Image& image, const std::vector<quint16>& delays) {
    LEDPalette palette{};
    palette.fill(qRgb(0, 0, 0));
    palette[1] = qRgb(255, 0, 0);
    palette[2] = qRgb(0, 128, 255);
    palette[3] = qRgb(10, 20, 30);
    palette[9] = qRgb(255, 255, 255);
    image.SetPalette(palette);
    std::vector<typename Image::Frame> frames(delays.size());
    for (size_t f = 0; f < frames.size(); ++f) {
        frames[f].delay = delays[f];
        frames[f].leds.fill(quint8(f + 1));
    }
    frames[0].leds[0] = 9;
    image.SetFrames(std::move(frames));
}

// The colour the preview shows at LED n.
QRgb PreviewColour(const ImageViewDialog& dialog, int n) {
    const QPointF at = MarqaImage::Renderer().PixelPosition(n, ImageViewDialog::kPreviewSize);
    return dialog.PreviewPane()->Picture().pixel(at.toPoint()) & 0xFFFFFF;
}

QString InfoLine(const ImageViewDialog& dialog) {
    return dialog.FrameLabel()->text() + " | " + dialog.DelayLabel()->text() + " | " +
           dialog.AddressLabel()->text();
}

QPushButton* ButtonWithText(const QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

TEST(ImageViewDialogTest, TheInfoLineAndPreviewFollowTheButtonsAndTheSlider) {
    MarqaImage image;
    image.SetName("Waves");
    image.SetAddress(12);
    FillFrames(image, {40, 0, 100});
    MarqaImageViewDialog dialog(image);
    EXPECT_EQ(dialog.windowTitle(), "Marqa Image - Waves");
    EXPECT_EQ(InfoLine(dialog), "Frame 1/3 | Delay 40 ms | DMX 12");
    EXPECT_EQ(PreviewColour(dialog, 0), 0xFFFFFFu);
    EXPECT_EQ(PreviewColour(dialog, 1), 0xFF0000u);

    dialog.FrameForward();
    EXPECT_EQ(InfoLine(dialog), "Frame 2/3 | Delay 0 ms | DMX 12");
    EXPECT_EQ(PreviewColour(dialog, 0), 0x0080FFu);
    dialog.FrameBackward();
    dialog.FrameBackward();  // from the first frame to the last
    EXPECT_EQ(InfoLine(dialog), "Frame 3/3 | Delay 100 ms | DMX 12");
    EXPECT_EQ(PreviewColour(dialog, 0), 0x0A141Eu);
    dialog.FrameForward();  // and on to the first again
    EXPECT_EQ(dialog.CurrentFrame(), 0);
    dialog.FrameSlider()->setValue(1);
    EXPECT_EQ(dialog.FrameLabel()->text(), "Frame 2/3");
    EXPECT_EQ(PreviewColour(dialog, 1), 0x0080FFu);
}

TEST(ImageViewDialogTest, TheAddressIsOneValueARangeOrNone) {
    EXPECT_EQ(ImageViewDialog::AddressText(12, 12), "DMX 12");
    EXPECT_EQ(ImageViewDialog::AddressText(12, 14), "DMX 12-14");
    EXPECT_EQ(ImageViewDialog::AddressText(0, 0), "DMX (none)");
    SolviImage image;
    image.SetName("Dark");
    FillFrames(image, {40});
    const SolviImageViewDialog dialog(image);
    EXPECT_EQ(dialog.windowTitle(), "Solvi Image - Dark");
    EXPECT_EQ(InfoLine(dialog), "Frame 1/1 | Delay 40 ms | DMX (none)");
}

TEST(ImageViewDialogTest, PlayShowsEachFrameInTurnUntilPaused) {
    MarqaImage image;
    FillFrames(image, {30, 0, 30});
    MarqaImageViewDialog dialog(image);
    EXPECT_EQ(dialog.PlayButton()->toolTip(), "Play");
    dialog.PlayButton()->click();
    EXPECT_TRUE(dialog.IsPlaying());
    EXPECT_EQ(dialog.PlayButton()->toolTip(), "Pause");
    // The frame of 0 ms passes too, and the last is followed by the first.
    std::vector<int> seen{dialog.CurrentFrame()};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (dialog.CurrentFrame() != seen.back()) {
                seen.push_back(dialog.CurrentFrame());
            }
            return seen.size() >= 5;
        },
        5000));
    EXPECT_EQ(seen, std::vector<int>({0, 1, 2, 0, 1}));
    dialog.PlayButton()->click();
    EXPECT_FALSE(dialog.IsPlaying());
    EXPECT_EQ(dialog.PlayButton()->toolTip(), "Play");
    const int paused = dialog.CurrentFrame();
    QTest::qWait(100);
    EXPECT_EQ(dialog.CurrentFrame(), paused);
}

TEST(ImageViewDialogTest, ThePaletteListsTheEntriesTheFramesUse) {
    MarqaImage image;
    FillFrames(image, {40, 40});
    auto frames = image.Frames();
    frames[1].leds.fill(1);  // index 2 is left unused
    image.SetFrames(frames);
    MarqaImageViewDialog dialog(image);
    QStringList rows;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* palette = qobject_cast<ImagePaletteDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(palette);
        title = palette->windowTitle();
        const QTableWidget* table = palette->Table();
        QStringList header;
        for (int column = 0; column < table->columnCount(); ++column) {
            header.append(table->horizontalHeaderItem(column)->text());
        }
        rows.append(header.join(" | "));
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column) {
                cells.append(table->item(row, column)->text());
            }
            rows.append(cells.join(" | "));
        }
        const auto swatch = table->item(0, 2)->data(Qt::DecorationRole).value<QPixmap>();
        EXPECT_EQ(swatch.toImage().pixel(2, 2) & 0xFFFFFF, 0xFF0000u);
        ButtonWithText(*palette, "OK")->click();
    });
    ButtonWithText(dialog, "Palette")->click();
    EXPECT_EQ(title, "Marqa Image Palette");
    const int leds = MarqaImage::kLedCount;
    EXPECT_EQ(rows, QStringList({"Frames | Pixels | Color | Index",
                                 QString("2 | %1 | 255 0 0 | 1").arg(2 * leds - 1),
                                 "1 | 1 | 255 255 255 | 9"}));
}

}  // namespace
