#include "WhenModal.h"
#include "content/NamedPolicies.h"
#include "content/import/FrameReaders.h"
#include "content/import/ImageStore.h"
#include "content/import/LedSampler.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "support/TestMedia.h"
#include "ui/import/DialogImageImport.h"
#include "ui/import/MarqaImageImportDialog.h"
#include "ui/import/PicturePane.h"
#include "ui/import/SolviImageImportDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Left half one colour, right half the other.
QImage Split(QSize size, QColor left, QColor right) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(right);
    QPainter painter(&picture);
    painter.fillRect(0, 0, size.width() / 2, size.height(), left);
    return picture;
}

// The LED furthest left (side -1) or right (side 1) on the disc.
int OuterLed(const LEDImageRender& layout, int side) {
    int outer = 0;
    for (int n = 1; n < layout.LedCount(); ++n) {
        if (side * layout.LedPosition(n).x() > side * layout.LedPosition(outer).x()) {
            outer = n;
        }
    }
    return outer;
}

// The colour the preview pane shows at LED n.
QRgb PreviewColour(const ImageImportDialog* dialog, const LEDImageRender& layout, int n) {
    const QPointF at = layout.PixelPosition(n, ImageImportDialog::kPreviewSize);
    return dialog->PreviewPane()->Picture().pixel(at.toPoint()) & 0xFFFFFF;
}

template <class Image>
QRgb LedColour(const Image& image, int frame, int n) {
    return image.Palette()[image.Frames()[size_t(frame)].leds[size_t(n)]] & 0xFFFFFF;
}

class ImageImportDialogTest : public ::testing::Test {
protected:
    QString Picture(const QString& name, const QImage& picture) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    // A MARQA folder "Clips" (41) in package "Show" of `root`, which the program imports into.
    static ContentLibraryFolder* ClipsFolder(ContentLibraryRoot& root) {
        if (!root.AddFolder("Show", 0, nullptr)) {
            return nullptr;
        }
        auto* package = qobject_cast<ContentLibraryPackage*>(root.Child(0));
        package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
        return package->AddFolder("Clips", 41, nullptr)
                   ? qobject_cast<ContentLibraryFolder*>(package->Child(0))
                   : nullptr;
    }

    QTemporaryDir m_dir;
};

TEST_F(ImageImportDialogTest, TitleAndTheRangesThatDependOnTheFile) {
    ASSERT_TRUE(TestMedia::WriteAnimatedGif(m_dir.filePath("three.gif"), {48, 40}, {4, 4, 4}));
    struct Case {
        bool marqa;
        QString file;
        const char* title;
        int largestSample;
        int sample;  // the default 50 held to the range
        int lastFrame;
    };
    const Case cases[] = {
        {true, Picture("wide.png", Split({200, 160}, Qt::red, Qt::blue)),
         "Marqa Image Import - wide.png", 160, 50, 0},
        {false, Picture("small.png", Split({40, 30}, Qt::red, Qt::blue)),
         "Solvi Image Import - small.png", 30, 30, 0},
        {false, m_dir.filePath("three.gif"), "Solvi Image Import - three.gif", 40, 40, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        std::unique_ptr<ImageImportDialog> dialog;
        if (c.marqa) {
            dialog = std::make_unique<MarqaImageImportDialog>(c.file);
        } else {
            dialog = std::make_unique<SolviImageImportDialog>(c.file);
        }
        QString error;
        ASSERT_TRUE(dialog->Load(&error)) << error.toStdString();
        dialog->show();
        EXPECT_EQ(dialog->windowTitle(), c.title);
        const auto* sample = dialog->findChild<QSlider*>("Sample Size");
        ASSERT_TRUE(sample);
        EXPECT_EQ(sample->minimum(), 10);
        EXPECT_EQ(sample->maximum(), c.largestSample);
        EXPECT_EQ(sample->value(), c.sample);
        EXPECT_EQ(sample->parentWidget()->findChild<QLabel*>()->text(), QString::number(c.sample));
        EXPECT_TRUE(sample->invertedAppearance());
        const auto* frame = dialog->findChild<QSlider*>("Frame");
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->minimum(), 0);
        EXPECT_EQ(frame->maximum(), c.lastFrame);
        // Every slider reports its value on release only, with ticks every 8.
        const QList<QSlider*> sliders = dialog->findChildren<QSlider*>();
        EXPECT_EQ(sliders.size(), 7);
        for (const QSlider* slider : sliders) {
            EXPECT_FALSE(slider->hasTracking()) << slider->objectName().toStdString();
            EXPECT_EQ(slider->tickInterval(), 8) << slider->objectName().toStdString();
        }
        EXPECT_EQ(dialog->PreviewPane()->Picture().width(), ImageImportDialog::kPreviewSize);
    }
}

TEST_F(ImageImportDialogTest, ASettingChangeSamplesAgainAndImportGivesTheShownImage) {
    const QString file = Picture("halves.png", Split({200, 200}, Qt::red, Qt::blue));
    const LEDImageRender& layout = MarqaImage::Renderer();
    const int left = OuterLed(layout, -1);
    const int right = OuterLed(layout, 1);
    bool answered = false;
    WhenModal<ImageImportDialog>([&](ImageImportDialog* dialog) {
        EXPECT_EQ(PreviewColour(dialog, layout, left), 0xFF0000u);
        dialog->findChild<QComboBox*>("Luminance")->setCurrentIndex(1);  // Invert
        EXPECT_EQ(PreviewColour(dialog, layout, left), 0x00FFFFu);
        EXPECT_EQ(PreviewColour(dialog, layout, right), 0xFFFF00u);
        // The frame itself is shown as it is.
        EXPECT_EQ(dialog->OriginalPane()->Picture().pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        answered = true;
        dialog->AcceptButton()->click();
    });
    MarqaImage image;
    DialogImageImport import;
    EXPECT_TRUE(import.Import(image, 41, file));
    ASSERT_TRUE(answered);
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_EQ(LedColour(image, 0, left), 0x00FFFFu);
    EXPECT_EQ(LedColour(image, 0, right), 0xFFFF00u);
}

TEST_F(ImageImportDialogTest, ShowDrawsTheSampleMaskOfEveryLedAroundItsPixel) {
    SolviImageImportDialog dialog(Picture("halves.png", Split({120, 100}, Qt::red, Qt::blue)));
    ASSERT_TRUE(dialog.Load(nullptr));
    dialog.show();
    EXPECT_TRUE(dialog.OriginalPane()->Outlines().empty());
    dialog.findChild<QCheckBox*>("Show")->setChecked(true);
    const LedSampler sampler(SolviImage::Renderer(), {120, 100}, ImportSettings::Aspect::Keep, 50);
    const std::vector<QRectF>& outlines = dialog.OriginalPane()->Outlines();
    ASSERT_EQ(outlines.size(), sampler.LedPixels().size());
    for (size_t n = 0; n < outlines.size(); ++n) {
        EXPECT_EQ(outlines[n].width(), 50);
        EXPECT_EQ(outlines[n].center(), QPointF(sampler.LedPixels()[n]));
    }
    EXPECT_EQ(dialog.OriginalPane()->OutlineShape(), PicturePane::Shape::Ellipse);
    // A smaller sample shrinks the outlines; the mask goes with "Show".
    dialog.findChild<QSlider*>("Sample Size")->setValue(20);
    EXPECT_EQ(dialog.OriginalPane()->Outlines().front().width(), 20);
    dialog.findChild<QCheckBox*>("Show")->setChecked(false);
    EXPECT_TRUE(dialog.OriginalPane()->Outlines().empty());
}

// Through a library folder, as the program imports: a cancelled import and a file that cannot
// be read both give nothing, the latter after a message box saying why.
TEST_F(ImageImportDialogTest, CancelOrAnUnreadableFileLeavesTheFolderUnchanged) {
    ContentLibraryRoot root(m_dir.filePath("library"));
    ContentLibraryFolder* folder = ClipsFolder(root);
    ASSERT_TRUE(folder);
    DialogImageImport import;
    IImageImport::Install(&import);

    WhenModal<ImageImportDialog>(
        [](ImageImportDialog* dialog) { dialog->CancelButton()->click(); });
    EXPECT_TRUE(folder->ImportFiles(1, {Picture("halves.png", Split({64, 64}, Qt::red, Qt::blue))})
                    .empty());

    QFile garbage(m_dir.filePath("broken.png"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("no picture here");
    garbage.close();
    ImageStore store;
    QString why;
    ASSERT_FALSE(FrameReaders::ReadFrames(garbage.fileName(), store, &why));
    QString shown;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->windowTitle() + ": " + box->text();
        box->accept();
    });
    EXPECT_TRUE(folder->ImportFiles(1, {garbage.fileName()}).empty());
    IImageImport::Install(nullptr);
    EXPECT_EQ(shown, "Marqa Image Import - broken.png: " + why);
    EXPECT_EQ(folder->ChildCount(), 0);
}

// A row of dropped files: the first dialog offers "Apply to all"; taken, the other files are
// imported with its settings and no dialog of their own. A single file is not offered it.
TEST_F(ImageImportDialogTest, ApplyToAllImportsTheRestOfARowWithoutDialogs) {
    ContentLibraryRoot root(m_dir.filePath("library"));
    ContentLibraryFolder* folder = ClipsFolder(root);
    ASSERT_TRUE(folder);
    DialogImageImport import;
    IImageImport::Install(&import);

    const QStringList files = {Picture("a.png", Split({64, 64}, Qt::red, Qt::red)),
                               Picture("b.png", Split({64, 64}, Qt::blue, Qt::blue)),
                               Picture("c.png", Split({64, 64}, Qt::green, Qt::green))};
    int dialogs = 0;
    QString offer;
    WhenModal<ImageImportDialog>([&](ImageImportDialog* dialog) {
        ++dialogs;
        offer = dialog->ApplyToAllBox()->isVisibleTo(dialog) ? dialog->ApplyToAllBox()->text()
                                                             : QString();
        dialog->ApplyToAllBox()->setChecked(true);
        dialog->AcceptButton()->click();
    });
    const ContentList imported = folder->ImportFiles(1, files);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(offer, "Apply to all 3 files");
    ASSERT_EQ(imported.size(), 3u);
    const auto* blue = qobject_cast<const MarqaImage*>(imported[1].get());
    ASSERT_TRUE(blue);
    EXPECT_EQ(LedColour(*blue, 0, 0), 0x0000FFu);

    // The next row asks again; one file alone has nothing to apply to.
    WhenModal<ImageImportDialog>([&](ImageImportDialog* dialog) {
        offer = dialog->ApplyToAllBox()->isVisibleTo(dialog) ? "offered" : "not offered";
        dialog->AcceptButton()->click();
    });
    EXPECT_EQ(folder->ImportFiles(1, {files[0]}).size(), 1u);
    IImageImport::Install(nullptr);
    EXPECT_EQ(offer, "not offered");
}

}  // namespace
