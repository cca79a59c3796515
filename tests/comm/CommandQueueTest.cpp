#include "comm/CommManager.h"
#include "comm/Command.h"
#include "comm/CommandQueueWatcher.h"
#include "os/Clock.h"
#include "support/Eventually.h"
#include "support/RecordingFeedback.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSemaphore>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>

namespace {

class LambdaCommand : public Command {
public:
    explicit LambdaCommand(std::function<bool(Command&)> work) : m_work(std::move(work)) {}
    bool Execute() override { return m_work(*this); }
    using Command::Describe;

private:
    std::function<bool(Command&)> m_work;
};

class FakeTaskList : public CommandQueueWatcher::TaskList {
public:
    bool HasCommandItem(const QUuid& id) const override { return ids.contains(id); }
    void AddCommandItem(Command* command, CommManager*) override { ids.append(command->GetId()); }
    QList<QUuid> ids;
};

}  // namespace

class CommandQueueTest : public ::testing::Test {
protected:
    CommandQueueTest() : m_previous(CommManager::Install(&m_manager)) {
        for (auto [signal, name] : {std::pair{&CommManager::CommandQueued, "queued"},
                                    std::pair{&CommManager::ExecutingNextCommand, "executing"},
                                    std::pair{&CommManager::CommandCompleted, "completed"}}) {
            QObject::connect(&m_manager, signal, [this, name = QString(name)](QUuid id) {
                m_events.append(name + " " + m_names.value(id));
            });
        }
        QObject::connect(&m_manager, &CommManager::CommandQueueIdle,
                         [this] { m_events.append("idle"); });
    }
    ~CommandQueueTest() override { CommManager::Install(m_previous); }

    LambdaCommand* Make(const QString& name, std::function<bool(Command&)> work) {
        auto command = std::make_unique<LambdaCommand>(std::move(work));
        m_names.insert(command->GetId(), name);
        m_commands.push_back(std::move(command));
        return m_commands.back().get();
    }

    Os::ScopedVirtualClock m_clock;
    CommManager m_manager;
    CommManager* m_previous;
    QHash<QUuid, QString> m_names;
    QStringList m_events;
    std::vector<std::unique_ptr<LambdaCommand>> m_commands;
};

TEST_F(CommandQueueTest, CommandsRunInQueueOrderFramedBySignals) {
    QStringList ran;
    std::mutex mutex;
    auto work = [&](const QString& name) {
        return [&, name](Command&) {
            std::lock_guard lock(mutex);
            ran.append(name);
            return true;
        };
    };
    m_manager.QueueCommand(Make("a", work("a")));
    m_manager.QueueCommand(Make("b", work("b")));
    ASSERT_TRUE(Eventually([&] { return m_events.size() >= 6; }));
    EXPECT_EQ(m_events, QStringList({"queued a", "queued b", "executing a", "completed a",
                                     "executing b", "completed b"}));
    EXPECT_EQ(ran, QStringList({"a", "b"}));
    // Back on the window thread, where its creator deletes it.
    EXPECT_EQ(m_commands[0]->thread(), QCoreApplication::instance()->thread());
}

TEST_F(CommandQueueTest, ThrowingCommandIsStillCompletedAndTheNextRuns) {
    m_manager.QueueCommand(
        Make("thrower", [](Command&) -> bool { throw std::runtime_error("x"); }));
    m_manager.QueueCommand(Make("next", [](Command&) { return true; }));
    ASSERT_TRUE(Eventually([&] { return m_events.contains("completed next"); }));
    EXPECT_TRUE(m_events.contains("completed thrower"));
}

TEST_F(CommandQueueTest, IdleSignalComesThirtySecondsAfterTheLastCompletion) {
    m_manager.QueueCommand(Make("a", [](Command&) { return true; }));
    ASSERT_TRUE(Eventually([&] { return m_events.contains("completed a"); }));
    m_clock.clock().Advance(29'000'000);
    EXPECT_FALSE(Eventually([&] { return m_events.contains("idle"); }, 300));
    m_clock.clock().Advance(1'001'000);
    ASSERT_TRUE(Eventually([&] { return m_events.contains("idle"); }));
    m_clock.clock().Advance(30'001'000);
    EXPECT_TRUE(Eventually([&] { return m_events.count("idle") == 2; }));
}

TEST_F(CommandQueueTest, CommandTakenAfterTheStopIsDropped) {
    CommThread worker;
    std::mutex mutex;
    QStringList seen;
    auto record = [&](const QString& what) {
        std::lock_guard lock(mutex);
        seen.append(what);
    };
    QObject::connect(
        &worker, &CommThread::ExecutingNextCommand, &worker,
        [&](QUuid id) { record("executing " + m_names.value(id)); }, Qt::DirectConnection);
    QObject::connect(
        &worker, &CommThread::CommandCompleted, &worker,
        [&](QUuid id) { record("completed " + m_names.value(id)); }, Qt::DirectConnection);
    QSemaphore started;
    QSemaphore release;
    std::atomic<bool> droppedRan{false};
    worker.Enqueue(Make("blocking", [&](Command&) {
        started.release();
        release.acquire();
        return true;
    }));
    worker.Enqueue(Make("dropped", [&](Command&) { return droppedRan = true; }));
    started.acquire();
    std::thread stopper([&] { worker.Stop(); });
    ASSERT_TRUE(Eventually([&] { return worker.StopRequested(); }));
    release.release();
    stopper.join();
    EXPECT_FALSE(droppedRan);
    EXPECT_EQ(seen, QStringList({"executing blocking", "completed blocking"}));
}

TEST_F(CommandQueueTest, FeedbackIsEmittedThenForwardedAndFinishedPausesOnTheClock) {
    RecordingFeedback target;
    LambdaCommand* command = Make("c", [](Command&) { return true; });
    QStringList emitted;
    QObject::connect(command, &Command::IFeedback_AddString,
                     [&](const QString& text, FeedbackStatus) { emitted.append(text); });
    command->AddString("line", FeedbackStatusWarning);
    EXPECT_FALSE(command->IsCancelled());  // no target yet
    command->SetFeedback(&target);
    command->AddString("forwarded", FeedbackStatusError);
    command->SetTotal(5);
    command->SetCurrent(2);
    const qint64 before = m_clock.clock().NowMs();
    command->Finished(FeedbackResultSuccess);
    target.m_cancelled = true;
    EXPECT_TRUE(command->IsCancelled());
    EXPECT_EQ(m_clock.clock().NowMs() - before, 200);
    EXPECT_EQ(emitted, QStringList({"line", "forwarded"}));
    EXPECT_EQ(target.Texts(), QStringList({"forwarded"}));
    EXPECT_EQ(target.m_total, 5);
    EXPECT_EQ(target.m_current, 2);
    EXPECT_EQ(target.m_result, FeedbackResultSuccess);
    EXPECT_EQ(command->GetName(), "Unknown");
}

TEST_F(CommandQueueTest, EveryLogOfAQueuedCommandStartsWithItsDescription) {
    RecordingFeedback target;
    LambdaCommand* command = Make("c", [](Command& self) {
        self.AddString("working", FeedbackStatusNormal);
        return true;
    });
    // Described while being set up, before any listener or target.
    command->Describe("Rename Forest");
    command->SetFeedback(&target);
    QStringList emitted;
    QObject::connect(&m_manager, &CommManager::CommandQueued, [&](QUuid) {
        QObject::connect(
            command, &Command::IFeedback_AddString, command,
            [&](const QString& text, FeedbackStatus) { emitted.append(text); },
            Qt::DirectConnection);
    });
    m_manager.QueueCommand(command);
    ASSERT_TRUE(Eventually([&] { return m_events.contains("completed c"); }));
    EXPECT_EQ(emitted, QStringList({"Rename Forest", "working"}));
    EXPECT_EQ(target.Texts(), QStringList({"Rename Forest", "working"}));
}

TEST_F(CommandQueueTest, WatcherListsOnlyCommandsWithoutAForwardingTarget) {
    FakeTaskList tasks;
    CommandQueueWatcher watcher(&tasks);
    RecordingFeedback target;
    QSemaphore release;
    LambdaCommand* blocking = Make("blocking", [&](Command&) {
        release.acquire();
        return true;
    });
    LambdaCommand* listed = Make("listed", [](Command&) { return true; });
    LambdaCommand* reporting = Make("reporting", [](Command&) { return true; });
    reporting->SetFeedback(&target);
    m_manager.QueueCommand(blocking);
    m_manager.QueueCommand(listed);
    m_manager.QueueCommand(reporting);
    release.release();
    ASSERT_TRUE(Eventually([&] { return m_events.contains("completed reporting"); }));
    EXPECT_TRUE(tasks.ids.contains(listed->GetId()));
    EXPECT_FALSE(tasks.ids.contains(reporting->GetId()));
}

TEST(CommShutdownTest, ClosingCutsShortTheClockWaitOfTheRunningCommand) {
    // On the real clock: the command's wait is ten minutes long.
    Os::Clock* installed = Os::Clock::Install(nullptr);
    auto manager = std::make_unique<CommManager>();
    std::atomic<bool> waiting{false};
    LambdaCommand command([&](Command&) {
        waiting = true;
        Os::Clock::Instance().Wait(600000);
        return true;
    });
    manager->QueueCommand(&command);
    ASSERT_TRUE(Eventually([&] { return waiting.load(); }));
    QElapsedTimer closing;
    closing.start();
    manager.reset();
    // The one-second pause of the shutdown, and not the wait.
    EXPECT_LT(closing.elapsed(), 5000);
    Os::Clock::Install(installed);
}
