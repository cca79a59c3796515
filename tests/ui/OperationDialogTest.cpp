#include "comm/IFeedback.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/ContentMoveOperation.h"
#include "ui/OperationDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// An operation that reports the given lines and ends with the given result; with
// `untilCancelled` it first waits for the user's cancel.
class ScriptedOperation : public ContentOperation {
public:
    ScriptedOperation(int result, bool untilCancelled = false)
        : m_result(result), m_untilCancelled(untilCancelled) {}
    QString Title() const override { return QStringLiteral("Scripted"); }
    bool CanExecute() const override { return true; }
    int Execute(IFeedback* feedback, int options) override {
        EXPECT_EQ(options, 1);
        feedback->SetTotal(4);
        feedback->AddString(QStringLiteral("Working"), FeedbackStatusNormal);
        feedback->AddString(QStringLiteral("Careful"), FeedbackStatusWarning);
        feedback->SetCurrent(2);
        while (m_untilCancelled && !feedback->IsCancelled()) {
            QThread::msleep(5);
        }
        return m_result;
    }

private:
    int m_result;
    bool m_untilCancelled;
};

// Runs `act` on the dialog once `ready` holds, while the dialog runs its own loop.
void WhenReady(OperationDialog& dialog, std::function<bool()> ready, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [ready, act] {
        ASSERT_TRUE(QTest::qWaitFor(ready, 10000));
        act();
    });
}

QColor Background(const QTextEdit* log, const QString& text) {
    for (QTextBlock block = log->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text() == text) {
            return block.blockFormat().background().color();
        }
    }
    return {};
}

std::unique_ptr<Content> NamedImage(const QString& name, int address) {
    auto image = std::make_unique<MarqaImage>();
    image->SetName(name);
    image->SetAddress(address);
    image->SetFrames(std::vector<MarqaImage::Frame>(1));
    return image;
}

TEST(OperationDialogTest, AFailingMoveStopsAtItsSecondItemAndShowsTheFailureInRed) {
    NamedPolicies::Register();
    QTemporaryDir dir;
    ContentLibraryRoot root(dir.path());
    ASSERT_TRUE(root.AddFolder("Pkg", 0, nullptr));
    auto* package = qobject_cast<ContentLibraryPackage*>(root.Child(0));
    package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    ASSERT_TRUE(package->AddFolder("A", 41, nullptr));
    ASSERT_TRUE(package->AddFolder("B", 42, nullptr));
    auto* a = qobject_cast<ContentLibraryFolder*>(package->Child(0));
    auto* b = qobject_cast<ContentLibraryFolder*>(package->Child(1));
    QList<ContentBase*> items;
    for (const char* name : {"one", "two", "three"}) {
        ContentList list;
        list.push_back(NamedImage(name, items.size() + 1));
        ASSERT_TRUE(a->AddContent(std::move(list), nullptr));
        items.append(a->Child(a->ChildCount() - 1));
    }
    ContentList inTheWay;
    inTheWay.push_back(NamedImage("two", 9));
    ASSERT_TRUE(b->AddContent(std::move(inTheWay), nullptr));

    OperationDialog dialog;
    WhenReady(
        dialog, [&] { return dialog.CloseButton()->isVisible(); },
        [&] {
            EXPECT_EQ(dialog.StatusLabel()->text(), "Operation Failed");
            EXPECT_FALSE(dialog.CancelButton()->isVisible());
            EXPECT_FALSE(dialog.ProgressBar()->isVisible());
            dialog.DetailsButton()->click();
            EXPECT_TRUE(dialog.Log()->isVisible());
            EXPECT_EQ(dialog.DetailsButton()->text(), "<< Hide");
            dialog.CloseButton()->click();
        });
    EXPECT_TRUE(dialog.Run(std::make_unique<ContentMoveOperation>(items, b)));
    EXPECT_EQ(dialog.windowTitle(), "Moving 3 files to B");
    EXPECT_EQ(dialog.OperationResult(), ContentOperation::Failed);
    EXPECT_EQ(dialog.Log()->toPlainText(),
              "Moving one from A to B\nMoving two from A to B\nCan't move two to B");
    EXPECT_EQ(Background(dialog.Log(), "Moving one from A to B"), QColor(Qt::white));
    EXPECT_EQ(Background(dialog.Log(), "Can't move two to B"), QColor(255, 192, 192));
    EXPECT_EQ(a->ChildCount(), 2);  // "two" failed, "three" was not tried
}

TEST(OperationDialogTest, ASuccessClosesByItselfUnlessTheLogIsShown) {
    {
        OperationDialog dialog;
        EXPECT_TRUE(dialog.Run(std::make_unique<ScriptedOperation>(0)));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(Background(dialog.Log(), "Careful"), QColor(255, 255, 192));
    }
    OperationDialog dialog;
    dialog.toggleDetails();
    WhenReady(
        dialog, [&] { return dialog.CloseButton()->isVisible(); },
        [&] {
            EXPECT_EQ(dialog.StatusLabel()->text(), "Operation Completed");
            EXPECT_EQ(dialog.ProgressBar()->value(), 2);
            EXPECT_EQ(dialog.ProgressBar()->maximum(), 4);
            dialog.CloseButton()->click();
        });
    EXPECT_TRUE(dialog.Run(std::make_unique<ScriptedOperation>(0)));
}

TEST(OperationDialogTest, CancelEndsTheOperationAndRejectsTheDialog) {
    OperationDialog dialog;
    WhenReady(
        dialog, [&] { return dialog.StatusLabel()->text() == "Careful"; },
        [&] {
            dialog.reject();  // closing the window while it runs only asks it to stop
            EXPECT_TRUE(dialog.isVisible());
        });
    EXPECT_FALSE(dialog.Run(std::make_unique<ScriptedOperation>(2, true)));
    EXPECT_EQ(dialog.OperationResult(), ContentOperation::Cancelled);
    EXPECT_FALSE(dialog.isVisible());

    OperationDialog clicked;
    WhenReady(
        clicked, [&] { return clicked.StatusLabel()->text() == "Careful"; },
        [&] { clicked.CancelButton()->click(); });
    EXPECT_FALSE(clicked.Run(std::make_unique<ScriptedOperation>(2, true)));
}

}  // namespace
