#include "LumoRigTest.h"
#include "support/MarqaPackage.h"
#include "support/RecordingFeedback.h"

#include "archive/PackageBuilder.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/library/StockContent.h"
#include "content/operations/ContentCopyOperation.h"
#include "content/operations/ContentEraseOperation.h"
#include "content/operations/ContentStockUpdateOperation.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FeedbackProxy.h"
#include "content/operations/UpdateQuorelContentSyncOperation.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoContentIndex.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

using MarqaPackage::WriteText;
constexpr int kWaitMs = 30000;
constexpr quint64 kSecondUid = 0x43560000A002ULL;

// Runs the operation on a thread of its own while this thread serves the trees, as the
// operation dialog does.
class OperationRun {
public:
    OperationRun(ContentOperation& operation, IFeedback* feedback)
        : m_thread([&operation, feedback, this] { m_result = operation.Execute(feedback, 1); }) {}
    int Wait() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_result.load() >= 0; }, kWaitMs));
        m_thread.join();
        return m_result;
    }

private:
    std::atomic<int> m_result{-1};
    std::thread m_thread;
};

class ContentSyncTest : public LumoRigTest {
protected:
    ContentSyncTest() {
        NamedPolicies::Register();
        LumoContentIndex::Instance().Clear();
        m_library = std::make_unique<ContentLibraryRoot>(m_dir.path());
        QObject::connect(m_comm.get(), &CommManager::CommandQueued, [this] { m_idle = 0; });
        QObject::connect(m_comm.get(), &CommManager::CommandCompleted, [this] { m_idle = 0; });
    }

    static Sim::LumoStoredFile File(quint8 number, quint32 key, const QString& name) {
        return {number, key, name, Sim::SimLumoFixture::MakeImage("MARQA", key, name)};
    }
    // A library package of Marqa folders, each with its items.
    ContentLibraryPackage* Package(
        const QList<std::pair<std::pair<QString, int>, QList<std::tuple<QString, int, quint32>>>>&
            folders) {
        EXPECT_TRUE(m_library->AddFolder("Show", 0, nullptr));
        auto* package = qobject_cast<ContentLibraryPackage*>(m_library->Child(0));
        package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
        for (const auto& [folder, items] : folders) {
            EXPECT_TRUE(package->AddFolder(folder.first, folder.second, nullptr));
            ContentFolder* made =
                qobject_cast<ContentFolder*>(package->Child(package->ChildCount() - 1));
            for (const auto& [name, address, key] : items) {
                ContentList list;
                list.push_back(MarqaPackage::Image(name, address, key));
                EXPECT_TRUE(made->AddContent(std::move(list), nullptr));
            }
        }
        return package;
    }
    LumoRDMContentRoot* Tree(LumoRDM* device) {
        LumoRDMContentRoot* root = device->GetContentRoot();
        Settle();
        return root;
    }
    // Runs events until the queue has been idle for a while.
    void Settle() {
        m_idle = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] { return ++m_idle > 40; }, kWaitMs));
    }
    // Every file of the fixture as "NUMBER FOLDER-NAME/FILE FILE-NAME", sorted.
    static QStringList Held(const Sim::SimLumoFixture& fixture) {
        QStringList held;
        for (const Sim::LumoStoredFolder& folder : fixture.Folders()) {
            for (const Sim::LumoStoredFile& file : folder.files) {
                held.append(QStringLiteral("%1 %2/%3 %4")
                                .arg(folder.number)
                                .arg(folder.name)
                                .arg(file.number)
                                .arg(file.name));
            }
        }
        held.sort();
        return held;
    }
    // The user folders of a fixture as "number name: file name key, ...".
    static QStringList Store(const Sim::SimLumoFixture& fixture) {
        QStringList text;
        for (const Sim::LumoStoredFolder& folder : fixture.Folders()) {
            if (folder.number < 41 || folder.number > 250) {
                continue;
            }
            QStringList files;
            for (const Sim::LumoStoredFile& file : folder.files) {
                files.append(QStringLiteral("%1 %2 %3")
                                 .arg(file.number)
                                 .arg(file.name)
                                 .arg(file.key, 0, 16));
            }
            std::sort(files.begin(), files.end());
            text.append(
                QStringLiteral("%1 %2: %3").arg(folder.number).arg(folder.name, files.join(", ")));
        }
        std::sort(text.begin(), text.end());
        return text;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ContentLibraryRoot> m_library;
    int m_idle = 0;
};

TEST_F(ContentSyncTest, ACloneLeavesEveryFixtureHoldingExactlyTheSourceAndSendsNothingTwice) {
    ContentLibraryPackage* package =
        Package({{{"Show", 41}, {{"A", 1, 0xA1}, {"B", 2, 0xB2}, {"C", 3, 0xC3}}},
                 {{"Two", 42}, {{"D", 1, 0xD4}}}});
    // The first holds A and B swapped, a stranger and an extra folder; the second holds A
    // where it belongs and a folder of the wrong name at 42.
    auto first = AddLumo(
        "MARQA", kMarqaUid,
        Holding({{41, "Old", {File(1, 0xB2, "B"), File(2, 0xA1, "A"), File(3, 0x99, "Stranger")}},
                 {60, "Extra", {File(1, 0x98, "Gone")}}}));
    auto second = AddLumo("MARQA", kSecondUid,
                          Holding({{41, "Show", {File(1, 0xA1, "A")}}, {42, "Wrong", {}}}));
    const auto one = MakeDevice<MarqaRDM>(kMarqaUid);
    const auto two = MakeDevice<MarqaRDM>(kSecondUid);
    ContentSyncOperation sync(package,
                              {Tree(one.get())->UserGroup(), Tree(two.get())->UserGroup()});
    sync.SetAggregators(LumoRDMContentFolderAggregator::Families());
    EXPECT_EQ(sync.Title(), "Cloning Show to 2 location(s)");
    ASSERT_TRUE(sync.CanExecute());
    RecordingFeedback feedback;
    EXPECT_EQ(OperationRun(sync, &feedback).Wait(), ContentOperation::Succeeded)
        << feedback.Texts().join("\n").toStdString();
    Settle();
    const QStringList expected = {"41 Show: 1 A a1, 2 B b2, 3 C c3", "42 Two: 1 D d4"};
    EXPECT_EQ(Store(*first), expected);
    EXPECT_EQ(Store(*second), expected);
    // The trees show it too.
    EXPECT_EQ(one->GetContentRoot()->UserGroup()->ChildCount(), 2);
    QStringList copies = feedback.Texts().filter("Copying");
    copies.sort();
    EXPECT_EQ(copies, QStringList({"Copying B from Show to Show", "Copying C from Show to Show",
                                   "Copying C from Show to Show", "Copying D from Two to Two",
                                   "Copying D from Two to Two"}))
        << feedback.Texts().join("\n").toStdString();

    // A second clone finds nothing to change.
    RecordingFeedback again;
    EXPECT_EQ(OperationRun(sync, &again).Wait(), ContentOperation::Succeeded);
    EXPECT_EQ(again.Texts(), QStringList());
    EXPECT_EQ(Store(*first), expected);
}

TEST_F(ContentSyncTest, CancelDuringADeviceCopyLetsTheRunningUploadFinishAndStops) {
    ContentLibraryPackage* package =
        Package({{{"Show", 41}, {{"A", 1, 0xA1}, {"B", 2, 0xB2}, {"C", 3, 0xC3}}}});
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({{41, "Show", {}}}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentFolder* folder = Tree(device.get())->UserGroup()->Folder(41);
    ASSERT_TRUE(folder);
    auto* source = qobject_cast<ContentFolder*>(package->Child(0));
    QList<ContentBase*> items;
    for (int i = 0; i < source->ChildCount(); ++i) {
        items.append(source->Child(i));
    }
    ContentCopyOperation copy(items, folder);
    ASSERT_TRUE(copy.CanExecute());
    FeedbackProxy proxy;
    QStringList lines;
    QObject::connect(
        &proxy, &FeedbackProxy::IFeedback_AddString, &proxy,
        [&](const QString& text) {
            lines.append(text);
            if (text.startsWith("Copying")) {
                proxy.cancel();
            }
        },
        Qt::DirectConnection);
    EXPECT_EQ(OperationRun(copy, &proxy).Wait(), ContentOperation::Cancelled);
    Settle();
    EXPECT_EQ(Store(*fixture), QStringList({"41 Show: 1 A a1"}));
    EXPECT_EQ(lines.filter("Copying"), QStringList({"Copying A from Show to Show"}));
}

TEST_F(ContentSyncTest, TheDeleteAllOperationsEmptyTheirGroupOnEveryFixtureAndInItsTree) {
    const QList<Sim::LumoStoredFolder> held = {{3, "Stock", {File(1, 0x31, "S")}},
                                               {41, "Mine", {File(1, 0x41, "M")}},
                                               {42, "More", {}},
                                               {251, "Quorel", {File(1, 0x51, "Q")}}};
    auto first = AddLumo("MARQA", kMarqaUid, Holding(held));
    auto second = AddLumo("MARQA", kSecondUid, Holding(held));
    const auto one = MakeDevice<MarqaRDM>(kMarqaUid);
    const auto two = MakeDevice<MarqaRDM>(kSecondUid);
    LumoRDMContentRoot* tree = Tree(one.get());  // the second's tree is read by the operation
    const auto numbers = [](const Sim::SimLumoFixture& fixture) {
        QList<int> found;
        for (const Sim::LumoStoredFolder& folder : fixture.Folders()) {
            found.append(folder.number);
        }
        return found;
    };
    ContentDeleteUserContentOperation users({one.get(), two.get()});
    EXPECT_EQ(users.Title(), "Deleting User Content from 2 devices");
    RecordingFeedback feedback;
    EXPECT_EQ(OperationRun(users, &feedback).Wait(), ContentOperation::Succeeded);
    Settle();
    EXPECT_EQ(numbers(*first), QList<int>({3, 251}));
    EXPECT_EQ(numbers(*second), QList<int>({3, 251}));
    EXPECT_EQ(tree->UserGroup()->ChildCount(), 0);
    EXPECT_EQ(two->ContentRootIfMade()->UserGroup()->ChildCount(), 0);
    EXPECT_EQ(tree->QuorelGroup()->ChildCount(), 1);
    EXPECT_EQ(feedback.m_current, 2);

    ContentDeleteQuorelContentOperation quorel({one.get()});
    EXPECT_EQ(quorel.Title(), "Deleting Quorel Content from 1 devices");
    EXPECT_EQ(OperationRun(quorel, &feedback).Wait(), ContentOperation::Succeeded);
    Settle();
    EXPECT_EQ(numbers(*first), QList<int>({3}));
    EXPECT_EQ(numbers(*second), QList<int>({3, 251}));
    EXPECT_EQ(tree->QuorelGroup()->ChildCount(), 0);
}

TEST_F(ContentSyncTest, AStockUpdateClonesTheFamilysStockPackageAndLeavesUserContentAlone) {
    // A MARQA stock package: folder "Logos" at 3 with "logo" (1) and "new" (2).
    const QString source = m_dir.filePath("stocksource");
    MarqaPackage::WriteFolder(source, "Logos", 3, {{"logo", 1, 0x31}, {"new", 2, 0x32}});
    const QString stock = m_dir.filePath("stock");
    QDir().mkpath(stock);
    QString error;
    ASSERT_TRUE(PackageBuilder::Pack(source, stock + "/marqa_stock_content.lumopkg", true, &error))
        << error.toStdString();
    StockContentRoot stockRoot(stock);

    auto fixture = AddLumo("MARQA", kMarqaUid,
                           Holding({{3, "Logos", {File(1, 0x31, "logo")}},
                                    {5, "Old", {File(1, 0x35, "old")}},
                                    {41, "Mine", {File(1, 0x41, "mine")}}}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    ContentStockUpdateOperation update({device.get()}, &stockRoot);
    QSignalSpy told(&update, &ContentOperation::InformationMessageBox);
    RecordingFeedback feedback;
    EXPECT_EQ(OperationRun(update, &feedback).Wait(), ContentOperation::Succeeded)
        << feedback.Texts().join("\n").toStdString();
    Settle();
    const QStringList held = Held(*fixture);
    EXPECT_EQ(held, QStringList({"3 Logos/1 logo", "3 Logos/2 new", "41 Mine/1 mine"}));
    EXPECT_EQ(told.count(), 0);
    EXPECT_TRUE(LumoContentLocks::StockContentLocked());

    EXPECT_EQ(OperationRun(update, &feedback).Wait(), ContentOperation::Succeeded);
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told[0][0].toString(), "Update Stock Content");
    EXPECT_EQ(told[0][1].toString(), "Stock Content Up To Date.");

    // No Solvi stock package: no source, nothing touched.
    auto solvi = AddLumo("Solvi", kSolviUid, Holding({{3, "Logos", {}}}), 1);
    const auto solviDevice = MakeDevice<SolviRDM>(kSolviUid, 1);
    ContentStockUpdateOperation none({solviDevice.get()}, &stockRoot);
    RecordingFeedback refused;
    EXPECT_EQ(OperationRun(none, &refused).Wait(), ContentOperation::Failed);
    EXPECT_EQ(refused.Texts(), QStringList({"Failed to determine source."}));
    EXPECT_EQ(solvi->Folders().size(), 1);
}

TEST_F(ContentSyncTest, AQuorelUpdateGivesEachFixtureTheImagesMadeForItsQuorelAddress) {
    // A MARQA collage "Wave": folder 251 with an image for Quorel address 12 and one for 13.
    const QString wave = m_dir.filePath("quorel/Wave/Wave");
    QDir().mkpath(wave);
    ASSERT_TRUE(MarqaPackage::Image("w12", 1, 0x1201)->Save(wave + "/w12.mqi"));
    ASSERT_TRUE(MarqaPackage::Image("w13", 2, 0x1301)->Save(wave + "/w13.mqi"));
    WriteText(wave + "/../config.xml",
              "<objects policy=\"MARQAQUORELContentPackagePolicy\"><folder name=\"Wave\" "
              "address=\"251\"/></objects>");
    WriteText(wave + "/config.xml",
              "<objects policy=\"MARQAQUORELContentFolderPolicy\"><content name=\"w12\" "
              "address=\"1\" quorelID=\"12\"/><content name=\"w13\" address=\"2\" "
              "quorelID=\"13\"/></objects>");
    QuorelContentLibraryRoot quorel(m_dir.filePath("quorel"));

    auto fixture = AddLumo(
        "MARQA", kMarqaUid,
        Holding({{41, "Mine", {File(1, 0x41, "mine")}}, {251, "Old", {File(3, 0x99, "stale")}}}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    device->SetQuorelAddress(12);
    UpdateQuorelContentSyncOperation update({device.get()}, &quorel);
    QSignalSpy told(&update, &ContentOperation::InformationMessageBox);
    RecordingFeedback feedback;
    EXPECT_EQ(OperationRun(update, &feedback).Wait(), ContentOperation::Succeeded)
        << feedback.Texts().join("\n").toStdString();
    Settle();
    const QStringList held = Held(*fixture);
    EXPECT_EQ(held, QStringList({"251 Wave/1 w12", "41 Mine/1 mine"}));
    EXPECT_EQ(told.count(), 0);
    EXPECT_TRUE(LumoContentLocks::QuorelContentLocked());

    EXPECT_EQ(OperationRun(update, &feedback).Wait(), ContentOperation::Succeeded);
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told[0][1].toString(), "Quorel Content Up To Date.");
}

}  // namespace
