#include "comm/CommManager.h"
#include "comm/Command.h"
#include "comm/CommandQueueWatcher.h"
#include "ui/tasks/CommandItem.h"
#include "ui/tasks/TaskInfoDialog.h"
#include "ui/tasks/TaskView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

// Logs its lines, then reports the given result.
class ScriptedCommand : public Command {
public:
    ScriptedCommand(QList<QPair<QString, FeedbackStatus>> lines, bool result)
        : m_lines(std::move(lines)), m_result(result) {
        SetName("Scripted Command");
    }
    bool Execute() override {
        for (const auto& [text, status] : m_lines) {
            AddString(text, status);
        }
        Finished(ResultOf(m_result));
        return m_result;
    }

private:
    QList<QPair<QString, FeedbackStatus>> m_lines;
    bool m_result;
};

// Steps until it is cancelled, for at most five seconds of real time (the clock is virtual).
class StoppableCommand : public Command {
public:
    StoppableCommand() { SetName("Stoppable Command"); }
    bool IsCancellable() const override { return true; }
    bool Execute() override {
        QElapsedTimer timer;
        timer.start();
        for (int step = 0; timer.elapsed() < 5000; ++step) {
            if (IsCancelled()) {
                AddString("stopped at step " + QString::number(step), FeedbackStatusWarning);
                Finished(FeedbackResultFailure);
                return false;
            }
            QThread::msleep(5);
        }
        Finished(FeedbackResultSuccess);
        return true;
    }
};

// Reports part of its progress, then waits to be let go (for at most five seconds).
class TransferCommand : public Command {
public:
    TransferCommand() { SetName("Transfer"); }
    bool Execute() override {
        SetTotal(40);
        SetCurrent(12);
        SetProgressText("Block 12 of 40, 2 fixture(s)");
        QElapsedTimer timer;
        timer.start();
        while (!release && timer.elapsed() < 5000) {
            QThread::msleep(5);
        }
        Finished(FeedbackResultSuccess);
        return true;
    }
    std::atomic<bool> release{false};
};

class TaskViewTest : public ::testing::Test {
protected:
    TaskViewTest() : m_watcher(&m_view) { m_view.SetRemovalDelay(150); }

    // Queues the command, waits until the queue is done with it and returns its item.
    CommandItem* Run(Command* command) {
        QSignalSpy completed(CommManager::Instance(), &CommManager::CommandCompleted);
        CommManager::Instance()->QueueCommand(command);
        EXPECT_TRUE(QTest::qWaitFor([&] { return completed.count() > 0; }, 5000));
        CommandItem* item = ItemOf(command->GetId());
        EXPECT_TRUE(item);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !item || item->GetState() == TaskItem::Finished; }, 5000));
        return item;
    }

    CommandItem* ItemOf(const QUuid& id) const {
        for (TaskItem* task : m_view.Tasks()) {
            auto* item = qobject_cast<CommandItem*>(task);
            if (item && item->GetCommandId() == id) {
                return item;
            }
        }
        return nullptr;
    }

    TaskView m_view;
    CommandQueueWatcher m_watcher;
};

}  // namespace

TEST_F(TaskViewTest, ItemsWithoutErrorGoAfterTheDelayAndErrorItemsStayUntilDismissed) {
    struct Case {
        const char* name;
        QList<QPair<QString, FeedbackStatus>> lines;
        bool result;
        TaskItem::Severity severity;
        bool stays;
    };
    const Case cases[] = {
        {"plain success", {{"step", FeedbackStatusNormal}}, true, TaskItem::Normal, false},
        {"warning", {{"odd", FeedbackStatusWarning}}, true, TaskItem::Warning, false},
        {"error line, success",
         {{"bad", FeedbackStatusError}, {"ok", FeedbackStatusNormal}},
         true,
         TaskItem::Error,
         true},
        {"fatal line", {{"worse", FeedbackStatusFatal}}, true, TaskItem::Error, true},
        {"failure without a line", {}, false, TaskItem::Error, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedCommand command(c.lines, c.result);
        CommandItem* item = Run(&command);
        ASSERT_TRUE(item);
        QPointer<CommandItem> alive(item);
        EXPECT_EQ(item->Title(), "Scripted Command");
        EXPECT_EQ(item->GetSeverity(), c.severity);
        EXPECT_EQ(item->Log().size(), c.lines.size());
        EXPECT_EQ(item->IsRemovalPending(), !c.stays);
        if (!c.stays) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !m_view.Tasks().contains(item); }, 5000));
            continue;
        }
        QTest::qWait(2 * m_view.RemovalDelay());
        ASSERT_TRUE(m_view.Tasks().contains(item));
        TaskInfoDialog dialog(item);
        EXPECT_FALSE(dialog.DismissButton()->isHidden());
        dialog.DismissButton()->click();
        EXPECT_EQ(dialog.result(), TaskInfoDialog::Dismissed);
        item->dismiss();
        EXPECT_FALSE(m_view.Tasks().contains(item));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
    }
}

TEST_F(TaskViewTest, ClickingAFailedItemOpensItsLogAndDismissRemovesIt) {
    m_view.resize(600, 120);
    m_view.show();
    ScriptedCommand command({{"no reply", FeedbackStatusError}}, false);
    CommandItem* item = Run(&command);
    ASSERT_TRUE(item);
    QString log;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TaskInfoDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        log = dialog->LogView()->toPlainText();
        dialog->DismissButton()->click();
    });
    const QPoint centre = m_view.mapFromScene(item->sceneBoundingRect().center());
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(log, "no reply");
    EXPECT_FALSE(m_view.Tasks().contains(item));
}

// A running task that can stop offers "Cancel Task" in its log; pressing it stops the command
// at its next step. Tasks that cannot stop, or have finished, offer nothing.
TEST_F(TaskViewTest, CancelTaskStopsARunningCommandThatCanStop) {
    StoppableCommand command;
    QSignalSpy completed(CommManager::Instance(), &CommManager::CommandCompleted);
    CommManager::Instance()->QueueCommand(&command);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return ItemOf(command.GetId()) &&
                   ItemOf(command.GetId())->GetState() == TaskItem::Running;
        },
        5000));
    CommandItem* item = ItemOf(command.GetId());
    TaskInfoDialog dialog(item);
    ASSERT_FALSE(dialog.CancelTaskButton()->isHidden());
    dialog.CancelTaskButton()->click();
    EXPECT_TRUE(dialog.CancelTaskButton()->isHidden());  // asked once
    ASSERT_TRUE(QTest::qWaitFor([&] { return completed.count() > 0; }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->GetState() == TaskItem::Finished; }, 2000));
    EXPECT_TRUE(item->LatestLine().startsWith("stopped at step"))
        << item->LatestLine().toStdString();
    EXPECT_FALSE(item->CanCancel());

    ScriptedCommand plain({{"step", FeedbackStatusNormal}}, true);
    CommandItem* plainItem = Run(&plain);
    ASSERT_TRUE(plainItem);
    EXPECT_FALSE(plainItem->CanCancel());
    EXPECT_TRUE(TaskInfoDialog(plainItem).CancelTaskButton()->isHidden());
}

TEST_F(TaskViewTest, ARunningItemShowsItsPerCentOnTheDialAndItsLatestCount) {
    m_view.SetRemovalDelay(10000);
    TransferCommand command;
    QSignalSpy completed(CommManager::Instance(), &CommManager::CommandCompleted);
    CommManager::Instance()->QueueCommand(&command);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ItemOf(command.GetId()) != nullptr; }, 5000));
    CommandItem* item = ItemOf(command.GetId());
    ASSERT_TRUE(item);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !item->ProgressText().isEmpty(); }, 5000));
    EXPECT_EQ(item->DialLabel(), "30%");
    EXPECT_EQ(item->StateLine(), "Block 12 of 40, 2 fixture(s)");
    command.release = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return completed.count() > 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return item->GetState() == TaskItem::Finished; }, 5000));
    EXPECT_EQ(item->DialLabel(), "");
    EXPECT_EQ(item->StateLine(), "Finished");
}

TEST_F(TaskViewTest, FinishedItemsLeaveTwoSecondsLaterByDefault) {
    TaskView view;
    CommandQueueWatcher watcher(&view);
    ScriptedCommand command({}, true);
    QSignalSpy completed(CommManager::Instance(), &CommManager::CommandCompleted);
    CommManager::Instance()->QueueCommand(&command);
    ASSERT_TRUE(QTest::qWaitFor([&] { return completed.count() > 0; }, 5000));
    ASSERT_EQ(view.Tasks().size(), 1);
    TaskItem* item = view.Tasks().first();
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->GetState() == TaskItem::Finished; }, 5000));
    EXPECT_EQ(item->RemovalDelay(), 2000);
    EXPECT_TRUE(item->IsRemovalPending());
}

TEST_F(TaskViewTest, OneItemPerQueuedCommandAndNoneForForwardedFeedback) {
    ScriptedCommand command({}, true);
    Run(&command);
    m_watcher.OnCommandQueued(command.GetId());  // the queue announcing it again
    int items = 0;
    for (TaskItem* task : m_view.Tasks()) {
        items += qobject_cast<CommandItem*>(task)->GetCommandId() == command.GetId();
    }
    EXPECT_EQ(items, 1);

    ScriptedCommand forwarded({}, true);
    ScriptedCommand target({}, true);
    forwarded.SetFeedback(&target);
    QSignalSpy completed(CommManager::Instance(), &CommManager::CommandCompleted);
    CommManager::Instance()->QueueCommand(&forwarded);
    ASSERT_TRUE(QTest::qWaitFor([&] { return completed.count() > 0; }, 5000));
    EXPECT_FALSE(ItemOf(forwarded.GetId()));
}

TEST(TaskInfoDialogTest, ColoursLinesBySeverityAndFollowsTheItem) {
    TaskItem item;
    item.setTitle("Upload");
    item.addText("plain");
    item.addText("careful", TaskItem::Warning);
    TaskInfoDialog dialog(&item);
    EXPECT_EQ(dialog.windowTitle(), "Upload");
    item.addText("broken", TaskItem::Error);  // arrives while the dialog is open
    EXPECT_TRUE(dialog.DismissButton()->isHidden());
    item.setState(TaskItem::Finished);
    EXPECT_FALSE(dialog.DismissButton()->isHidden());

    const QTextDocument* document = dialog.LogView()->document();
    ASSERT_EQ(document->blockCount(), 3);
    const QColor expected[] = {QColor(), QColor(255, 255, 192), QColor(255, 192, 192)};
    const char* texts[] = {"plain", "careful", "broken"};
    for (int i = 0; i < 3; ++i) {
        const QTextBlock block = document->findBlockByNumber(i);
        EXPECT_EQ(block.text(), texts[i]);
        const QBrush background = block.blockFormat().background();
        EXPECT_EQ(background.style() == Qt::NoBrush ? QColor() : background.color(), expected[i])
            << i;
    }
    // The severity only rises: a later normal line keeps the item at error.
    item.addText("after");
    EXPECT_EQ(item.GetSeverity(), TaskItem::Error);
}
