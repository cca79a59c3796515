#include "ModalAnswers.h"
#include "content/ContentFolder.h"
#include "content/library/QuorelContentLibrary.h"
#include "quorel/QuorelTemplateList.h"
#include "support/TestMedia.h"
#include "ui/import/ValueSlider.h"
#include "ui/quorel/QuorelDialog.h"
#include "ui/quorel/QuorelFrameBar.h"
#include "ui/quorel/QuorelSettingsPanel.h"
#include "ui/quorel/QuorelWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

namespace {

QString SavePicture(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    const QString path = dir.filePath(name);
    return picture.save(path) ? path : QString();
}

struct QuorelDialogTest : ::testing::Test {
    QTemporaryDir dir;
    QString templates = dir.filePath("templates.xml");
};

}  // namespace

// The Sample Size range follows the first frame of the media; the frame labels follow the
// frames' delays; a file that is not media is refused with the warning and the media stays.
TEST_F(QuorelDialogTest, MediaSetsTheSampleRangeAndTheFrameLabels) {
    QuorelDialog dialog(nullptr, nullptr, templates);
    const QSlider* sample = dialog.SettingsPanel()->SampleSize()->Slider();
    EXPECT_EQ(sample->maximum(), 10);
    EXPECT_EQ(dialog.FrameBar()->FrameLabel()->text(), "Frame (0/0):");
    const struct {
        QSize size;
        int maximum;
    } pictures[] = {{{300, 200}, 66}, {{1000, 800}, 100}, {{20, 20}, 10}};
    for (const auto& picture : pictures) {
        ASSERT_TRUE(dialog.LoadMedia(SavePicture(dir, "p.png", picture.size)));
        EXPECT_EQ(sample->minimum(), 10);
        EXPECT_EQ(sample->maximum(), picture.maximum);
        EXPECT_EQ(sample->value(), std::min(50, picture.maximum));
        EXPECT_EQ(dialog.FrameBar()->TimeLabel()->text(), "Time: 0.00s/0.00s - Frame Delay: 0.00s");
    }

    const QString gif = dir.filePath("clip.gif");
    ASSERT_TRUE(TestMedia::WriteAnimatedGif(gif, {60, 40}, {10, 25, 40}));
    ASSERT_TRUE(dialog.LoadMedia(gif));
    EXPECT_EQ(dialog.FrameBar()->FrameLabel()->text(), "Frame (1/3):");
    dialog.FrameBar()->onForward();
    EXPECT_EQ(dialog.FrameBar()->FrameLabel()->text(), "Frame (2/3):");
    EXPECT_EQ(dialog.FrameBar()->TimeLabel()->text(), "Time: 0.10s/0.75s - Frame Delay: 0.25s");

    QFile junk(dir.filePath("junk.mov"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a clip at all");
    junk.close();
    ModalAnswers answers({});
    EXPECT_FALSE(dialog.LoadMedia(junk.fileName()));
    EXPECT_EQ(answers.boxes,
              std::vector<QString>{"Invalid Media Format: The media file format is unsupported."});
    EXPECT_EQ(dialog.Media().Path(), gif);
    EXPECT_EQ(dialog.Media().FrameCount(), 3);

    // New media with fewer frames than the frame shown: back to its first frame.
    dialog.FrameBar()->onForward();
    ASSERT_EQ(dialog.FrameBar()->Current(), 2);
    ASSERT_TRUE(dialog.LoadMedia(SavePicture(dir, "one.png", {90, 60})));
    EXPECT_EQ(dialog.FrameBar()->FrameLabel()->text(), "Frame (1/1):");
}

// Playback steps through the frames at their delays and stops where it is paused.
TEST_F(QuorelDialogTest, PlaybackAdvancesAndPauses) {
    QuorelDialog dialog(nullptr, nullptr, templates);
    const QString gif = dir.filePath("clip.gif");
    ASSERT_TRUE(TestMedia::WriteAnimatedGif(gif, {40, 40}, {2, 2, 2, 2}));
    ASSERT_TRUE(dialog.LoadMedia(gif));
    QuorelFrameBar* bar = dialog.FrameBar();
    bar->onPlayPause();
    ASSERT_TRUE(bar->IsPlaying());
    QTRY_COMPARE_WITH_TIMEOUT(bar->Current(), 3, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(bar->Current(), 0, 3000);  // round again
    bar->onPlayPause();
    EXPECT_FALSE(bar->IsPlaying());
    const int stopped = bar->Current();
    QTest::qWait(100);
    EXPECT_EQ(bar->Current(), stopped);
}

// New templates are numbered and saved at once; a second template of the same family may take
// the first one's fixtures; the lock is saved and stops adding fixtures.
TEST_F(QuorelDialogTest, TemplatesAreMadeCopiedLockedAndSaved) {
    QuorelDialog dialog(nullptr, nullptr, templates);
    dialog.onCreateNewMarqaTemplate();
    ASSERT_TRUE(dialog.Current());
    EXPECT_EQ(dialog.Current()->name, "New Template 1");
    dialog.Canvas()->addFixture();
    dialog.Canvas()->addFixture();
    {
        ModalAnswers answers({});
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle(), "Copy");
            box->button(QMessageBox::Yes)->click();
        });
        dialog.onCreateNewMarqaTemplate();
    }
    EXPECT_EQ(dialog.Current()->name, "New Template 2");
    EXPECT_EQ(dialog.Current()->Fixtures().size(), 2u);
    dialog.onCreateNewSolviTemplate();  // another family: no question
    EXPECT_EQ(dialog.Current()->name, "New Template 3");
    EXPECT_TRUE(dialog.Current()->Fixtures().empty());
    EXPECT_EQ(dialog.CreateButton()->text(), "Create Solvi Quorel...");

    auto* lock = dialog.findChild<QCheckBox*>();
    ASSERT_TRUE(lock && lock->text() == "Lock");
    lock->click();
    EXPECT_TRUE(dialog.Current()->locked);

    QuorelTemplateList stored;
    ASSERT_EQ(stored.Load(templates), QuorelTemplateList::LoadResult::Read);
    ASSERT_EQ(stored.Count(), 3);
    EXPECT_EQ(stored.At(0)->Fixtures().size(), 2u);
    EXPECT_EQ(stored.At(1)->Fixtures().size(), 2u);
    EXPECT_EQ(stored.At(2)->fixtureType, QuorelTypes::kSolvi);
    EXPECT_TRUE(stored.At(2)->locked);
}

// Create renders the template and stores the collage under the name given; a taken name is
// refused with the error and asked again, and nothing is overwritten.
TEST_F(QuorelDialogTest, CreateStoresTheCollageAndAsksAgainForATakenName) {
    QuorelContentLibraryRoot library(dir.filePath("quorel"));
    QuorelDialog dialog(nullptr, &library, templates);
    QuorelTemplate* quorel = dialog.Templates().AddNew(QuorelTypes::kMarqa);
    quorel->frame = {0, 0, 1, 1};
    for (const auto& [x, num] : {std::pair{0.25, 4}, std::pair{0.75, 9}}) {
        QuorelTypes::Fixture fixture;
        fixture.pos = {x, 0.5};
        fixture.scale = {0.4, 0.4};
        fixture.num = num;
        quorel->AddFixture(fixture);
    }
    dialog.SelectTemplate(0);
    EXPECT_FALSE(dialog.CreateButton()->isEnabled());  // no media yet
    ASSERT_TRUE(dialog.LoadMedia(SavePicture(dir, "split.png", {300, 200})));
    ASSERT_TRUE(dialog.CreateButton()->isEnabled());
    EXPECT_EQ(dialog.CreateButton()->text(), "Create MARQA Quorel...");

    {
        ModalAnswers answers({"Wall"});
        dialog.onCreateQuorel();
        EXPECT_EQ(answers.boxes, std::vector<QString>{"Success: Quorel export complete."});
    }
    {
        ModalAnswers answers({"Wall", "Wall 2"});
        dialog.onCreateQuorel();
        EXPECT_EQ(answers.boxes,
                  (std::vector<QString>{"Error: There is already a collage with that name.",
                                        "Success: Quorel export complete."}));
    }
    {
        ModalAnswers answers({});  // the name dialog cancelled: nothing stored
        dialog.onCreateQuorel();
        EXPECT_TRUE(answers.boxes.empty());
    }
    ASSERT_EQ(library.ChildCount(), 2);
    for (int c = 0; c < 2; ++c) {
        const auto* collage = qobject_cast<const ContentFolder*>(library.Child(c));
        ASSERT_TRUE(collage && collage->ChildCount() == 1);
        const auto* folder = qobject_cast<const ContentFolder*>(collage->Child(0));
        ASSERT_TRUE(folder && folder->ChildCount() == 2);
        EXPECT_EQ(folder->Name(), collage->Name());
        EXPECT_EQ(folder->Child(0)->Tag(), 4);
        EXPECT_EQ(folder->Child(1)->Tag(), 9);
    }
}
