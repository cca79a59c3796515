#include "LumoRigTest.h"

#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "content/library/ContentCache.h"
#include "lumo/LumoImageKind.h"
#include "lumo/tree/LumoContentErasure.h"
#include "lumo/tree/LumoContentIndex.h"
#include "lumo/tree/LumoContentLocks.h"
#include "lumo/tree/LumoRDMContentAggregate.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 20000;

// Records what it is told and, when the end arrives, runs a check of its own.
class CheckingFeedback : public RecordingFeedback {
public:
    std::function<void()> onFinished;

    // Only the first end counts: a later one would hide an early one.
    void Finished(FeedbackResult result) override {
        if (onFinished && !Ended()) {
            onFinished();
        }
        if (!Ended()) {
            RecordingFeedback::Finished(result);
        }
    }
    bool Ended() const { return m_result.load() != FeedbackResultNone; }
    QString LastText() const { return Lines().empty() ? QString() : Lines().back().text; }
};

class LumoTreeTest : public LumoRigTest {
protected:
    LumoTreeTest() {
        // Each test starts without known data, in memory and on disk.
        LumoContentIndex::Instance().Clear();
        const QDir cache(ContentCache::Instance().Directory());
        for (const QString& file : cache.entryList(QDir::Files)) {
            QFile::remove(cache.filePath(file));
        }
        QObject::connect(m_comm.get(), &CommManager::CommandQueued, [this] { ++m_pending; });
        QObject::connect(m_comm.get(), &CommManager::CommandCompleted, [this] { --m_pending; });
    }
    ~LumoTreeTest() override {
        LumoContentLocks::SetStockContentLocked(true);
        LumoContentLocks::SetQuorelContentLocked(true);
    }

    static Sim::LumoStoredFile File(const QString& model, quint8 number, quint32 key,
                                    const QString& name) {
        return {number, key, name, Sim::SimLumoFixture::MakeImage(model, key, name)};
    }
    static Sim::LumoStoredFolder Holding(quint8 number, QList<Sim::LumoStoredFile> files,
                                         const QString& name = "Folder") {
        return {number, name, std::move(files)};
    }
    using LumoRigTest::Holding;

    template <class Item, class Record>
    static std::unique_ptr<Content> NewImage(int file, quint32 key, const QString& name,
                                             int frames = 3) {
        auto image = std::make_unique<Item>();
        image->FromRDMImage(Image<Record>(frames, key, name));
        image->SetName(name);
        image->SetAddress(file);
        return image;
    }
    static std::unique_ptr<Content> Marqa(int file, quint32 key = 0x5100, int frames = 3) {
        return NewImage<MarqaImage, MarqaRDMImage>(file, key, QStringLiteral("Clip %1").arg(file),
                                                   frames);
    }
    static std::unique_ptr<Content> Solvi(int file, quint32 key = 0x5200) {
        return NewImage<SolviImage, SolviRDMImage>(file, key, QStringLiteral("Clip %1").arg(file));
    }
    static ContentList One(std::unique_ptr<Content> item) {
        ContentList items;
        items.push_back(std::move(item));
        return items;
    }

    // The device's tree, once its folders and their files have been read.
    template <class Device>
    LumoRDMContentRoot* TreeOf(Device* device, int folders) {
        LumoRDMContentRoot* root = device->GetContentRoot();
        const bool read = QTest::qWaitFor([&] { return FolderCount(root) == folders; }, kWaitMs);
        EXPECT_TRUE(read);
        Settle();
        return root;
    }
    // Lets every queued command run and its results arrive.
    void Settle() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_pending == 0; }, kWaitMs));
        QCoreApplication::processEvents();
    }
    static int FolderCount(const LumoRDMContentRoot* root) {
        return root->StockGroup()->ChildCount() + root->UserGroup()->ChildCount() +
               root->QuorelGroup()->ChildCount();
    }
    static QList<int> Numbers(const ContentFolder* folder) {
        QList<int> numbers;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            numbers.append(folder->Child(i)->Address());
        }
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }
    static bool Finish(CheckingFeedback& feedback) {
        return QTest::qWaitFor([&] { return feedback.Ended(); }, kWaitMs);
    }

    int m_pending = 0;
};

TEST_F(LumoTreeTest, FoldersGoToTheGroupOfTheirNumberAndTheQuorelRangeFollowsTheFamily) {
    struct Case {
        QString model;
        QList<int> stock, user, quorel;
    };
    const QList<Sim::LumoStoredFolder> folders = {Folder(3), Folder(45), Folder(252)};
    for (const Case& c : {Case{"MARQA", {3}, {45}, {}}, Case{"Solvi", {3}, {45}, {252}}}) {
        SCOPED_TRACE(c.model.toStdString());
        const bool marqa = c.model == "MARQA";
        const quint64 uid = marqa ? kMarqaUid : kSolviUid;
        AddLumo(c.model, uid, Holding(folders), marqa ? 0 : 1);
        std::unique_ptr<LumoRDM> device;
        if (marqa) {
            device = MakeDevice<MarqaRDM>(uid, 0);
        } else {
            device = MakeDevice<SolviRDM>(uid, 1);
        }
        LumoRDMContentRoot* root =
            TreeOf(device.get(), int(c.stock.size() + c.user.size() + c.quorel.size()));
        ASSERT_EQ(root->ChildCount(), 3);
        EXPECT_EQ(root->Child(0), root->StockGroup());
        EXPECT_EQ(root->Child(1), root->UserGroup());
        EXPECT_EQ(root->Child(2), root->QuorelGroup());
        EXPECT_EQ(root->StockGroup()->Name(), "Stock Content");
        EXPECT_EQ(root->UserGroup()->Name(), "User Content");
        EXPECT_EQ(root->QuorelGroup()->Name(), "Quorel Content");
        EXPECT_EQ(root->QuorelGroup()->MaxAddress(), marqa ? 251 : 255);
        EXPECT_EQ(root->UserGroup()->ChildFolderTypeName(0),
                  marqa ? "MARQA Folder" : "Solvi Folder");
        EXPECT_EQ(root->StockGroup()->ChildFolderTypeName(0), "");
        EXPECT_EQ(Numbers(root->StockGroup()), c.stock);
        EXPECT_EQ(Numbers(root->UserGroup()), c.user);
        EXPECT_EQ(Numbers(root->QuorelGroup()), c.quorel);
    }
}

TEST_F(LumoTreeTest, FilesWithoutAKeyAreHiddenAndKnownKeysBringTheirData) {
    // Data the program has seen under key 0x77 (five frames), and data of key 0x79 (four
    // frames) that only the disk cache holds.
    LumoContentIndex::Instance().Register(*Marqa(9, 0x77, 5));
    ASSERT_TRUE(ContentCache::Instance().Store(*Marqa(9, 0x79, 4)));
    AddLumo("MARQA", kMarqaUid,
            Holding({Holding(
                45, {File("MARQA", 1, 0, "Blank"), File("MARQA", 2, 0x77, "Known"),
                     File("MARQA", 3, 0x78, "Unknown"), File("MARQA", 4, 0x79, "Cached")})}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 1);
    LumoRDMContentFolder* folder = root->UserGroup()->Folder(45);
    ASSERT_TRUE(folder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return folder->ChildCount() == 3; }, kWaitMs));
    Settle();
    EXPECT_EQ(Numbers(folder), (QList<int>{2, 3, 4}));
    auto* known = qobject_cast<MarqaImage*>(folder->Item(2));
    auto* unknown = qobject_cast<MarqaImage*>(folder->Item(3));
    ASSERT_TRUE(known && unknown);
    EXPECT_EQ(known->Name(), "Known");
    EXPECT_EQ(known->ContentKey(), 0x77u);
    EXPECT_EQ(known->FrameCount(), 5);
    EXPECT_EQ(unknown->Name(), "Unknown");
    EXPECT_EQ(unknown->FrameCount(), 0);
    const auto* cached = qobject_cast<MarqaImage*>(folder->Item(4));
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->FrameCount(), 4);
    EXPECT_EQ(cached->Name(), "Cached");
}

TEST_F(LumoTreeTest, RefusedEditsReportTheirReasonAndChangeNothing) {
    auto fixture =
        AddLumo("MARQA", kMarqaUid,
                Holding({Holding(3, {File("MARQA", 1, 0x31, "Stock")}), Folder(45), Folder(251)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 3);
    LumoRDMContentGroup* stock = root->StockGroup();
    LumoRDMContentGroup* user = root->UserGroup();
    LumoRDMContentFolder* stockFolder = stock->Folder(3);
    LumoRDMContentFolder* userFolder = user->Folder(45);
    ASSERT_TRUE(stockFolder && userFolder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return stockFolder->ChildCount() == 1; }, kWaitMs));
    ContentBase* stockItem = stockFolder->Child(0);

    struct Case {
        const char* edit;
        std::function<bool(IFeedback*)> run;
        QString refusal;
    };
    const QString readOnly = "Items in this folder can't be modified";
    const Case cases[] = {
        {"folder 40 in user", [&](IFeedback* f) { return user->AddFolder("New", 40, f); },
         "Address is out of range"},
        {"folder 251 in user", [&](IFeedback* f) { return user->AddFolder("New", 251, f); },
         "Address is out of range"},
        {"folder 45 again", [&](IFeedback* f) { return user->AddFolder("New", 45, f); },
         "New name and/or address conflicts with an existing child"},
        {"add stock folder", [&](IFeedback* f) { return stock->AddFolder("New", 5, f); }, readOnly},
        {"rename stock folder",
         [&](IFeedback* f) { return stock->Rename(stockFolder, "New", 4, f); }, readOnly},
        {"remove stock folder", [&](IFeedback* f) { return stock->Remove(stockFolder, f); },
         readOnly},
        {"add Quorel folder",
         [&](IFeedback* f) { return root->QuorelGroup()->AddFolder("New", 251, f); }, readOnly},
        {"upload to stock", [&](IFeedback* f) { return stockFolder->AddContent(One(Marqa(2)), f); },
         readOnly},
        {"rename stock item",
         [&](IFeedback* f) { return stockFolder->Rename(stockItem, "New", 1, f); }, readOnly},
        {"remove stock item", [&](IFeedback* f) { return stockFolder->Remove(stockItem, f); },
         readOnly},
        {"move stock item out", [&](IFeedback* f) { return userFolder->Move(stockItem, f); },
         readOnly},
        {"move folder onto group", [&](IFeedback* f) { return user->Move(userFolder, f); },
         "Moves to folder groups not permitted"},
        {"move folder into folder", [&](IFeedback* f) { return userFolder->Move(stockFolder, f); },
         "Only content objects can be moved into this folder"},
        {"file 0", [&](IFeedback* f) { return userFolder->AddContent(One(Marqa(0)), f); },
         "Content address is out of range"},
        {"file 256", [&](IFeedback* f) { return userFolder->AddContent(One(Marqa(256)), f); },
         "Content address is out of range"},
        {"other family", [&](IFeedback* f) { return userFolder->AddContent(One(Solvi(5)), f); },
         "Folder can't store content of this type"},
        {"item of no fixture", [&](IFeedback* f) { return userFolder->Move(Marqa(4).get(), f); },
         "Only content of the same fixture can be moved into this folder"},
    };
    const auto before = fixture->Folders();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        CheckingFeedback feedback;
        EXPECT_FALSE(c.run(&feedback));
        ASSERT_EQ(feedback.Lines().size(), 1u);
        EXPECT_EQ(feedback.LastText(), c.refusal);
        EXPECT_EQ(feedback.Lines().back().status, FeedbackStatusError);
    }
    EXPECT_FALSE(userFolder->AcceptsContent(Solvi(5).get()));
    EXPECT_TRUE(userFolder->AcceptsContent(Marqa(5).get()));
    Settle();
    EXPECT_EQ(fixture->Folders(), before);
    EXPECT_EQ(Numbers(stock), (QList<int>{3}));
    EXPECT_EQ(Numbers(user), (QList<int>{45}));
    EXPECT_EQ(Numbers(userFolder), (QList<int>{}));

    // The locks decide; the user group is never locked.
    EXPECT_TRUE(stock->ChildrenReadOnly() && stockFolder->ChildrenReadOnly());
    EXPECT_FALSE(user->ChildrenReadOnly() || userFolder->ChildrenReadOnly());
    LumoContentLocks::SetStockContentLocked(false);
    EXPECT_FALSE(stock->ChildrenReadOnly() || stockFolder->ChildrenReadOnly());
    EXPECT_TRUE(root->QuorelGroup()->ChildrenReadOnly());
}

TEST_F(LumoTreeTest, MakeUniqueCountsTheNameFromOneAndRaisesTheNumber) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(45, "Show"), Folder(46, "Show (1)")}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 2);
    QString name = "Show";
    int number = 45;
    root->UserGroup()->MakeUnique(&name, &number);
    EXPECT_EQ(name, "Show (2)");
    EXPECT_EQ(number, 47);
}

TEST_F(LumoTreeTest, EditsReachTheFixtureAndTheTreeBeforeTheCallerHearsTheEnd) {
    auto fixture = AddLumo("MARQA", kMarqaUid,
                           Holding({Holding(45, {File("MARQA", 1, 0x41, "First")}, "Show")}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 1);
    LumoRDMContentGroup* user = root->UserGroup();
    LumoRDMContentFolder* show = user->Folder(45);
    ASSERT_TRUE(QTest::qWaitFor([&] { return show->ChildCount() == 1; }, kWaitMs));

    // Each edit; the tree as it must stand when the caller's feedback ends.
    struct Step {
        const char* edit;
        std::function<bool(IFeedback*)> run;
        std::function<bool()> treeDone;
    };
    LumoRDMContentFolder* added = nullptr;
    const Step steps[] = {
        {"add folder 60", [&](IFeedback* f) { return user->AddFolder("Extra", 60, f); },
         [&] { return (added = user->Folder(60)) && added->Name() == "Extra"; }},
        {"rename folder 60 to 61",
         [&](IFeedback* f) { return user->Rename(added, "Moved", 61, f); },
         [&] {
             return !user->Folder(60) && user->Folder(61) == added && added->Name() == "Moved";
         }},
        {"upload file 7 over nothing and file 1 over First",
         [&](IFeedback* f) {
             ContentList items;
             items.push_back(Marqa(7, 0x47));
             items.push_back(Marqa(1, 0x48));
             return show->AddContent(std::move(items), f);
         },
         [&] {
             return Numbers(show) == QList<int>{1, 7} && show->Item(1)->Name() == "Clip 1" &&
                    qobject_cast<Content*>(show->Item(7))->ContentKey() == 0x47;
         }},
        {"rename file 7 to 8",
         [&](IFeedback* f) { return show->Rename(show->Item(7), "Renamed", 8, f); },
         [&] {
             return Numbers(show) == QList<int>{1, 8} && show->Item(8)->Name() == "Renamed";
         }},
        {"move file 8 into folder 61", [&](IFeedback* f) { return added->Move(show->Item(8), f); },
         [&] { return Numbers(show) == QList<int>{1} && Numbers(added) == QList<int>{8}; }},
        {"remove file 1", [&](IFeedback* f) { return show->Remove(show->Item(1), f); },
         [&] { return show->ChildCount() == 0; }},
        {"remove folder 45", [&](IFeedback* f) { return user->Remove(show, f); },
         [&] { return Numbers(user) == QList<int>{61}; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.edit);
        CheckingFeedback feedback;
        bool doneAtEnd = false;
        feedback.onFinished = [&] { doneAtEnd = step.treeDone(); };
        ASSERT_TRUE(step.run(&feedback));
        ASSERT_TRUE(Finish(feedback));
        EXPECT_EQ(feedback.m_result.load(), FeedbackResultSuccess);
        EXPECT_TRUE(doneAtEnd);
    }
    // The fixture holds what the tree shows.
    const auto folders = fixture->Folders();
    ASSERT_EQ(folders.size(), 1);
    EXPECT_EQ(folders[0].number, 61);
    EXPECT_EQ(folders[0].name, "Moved");
    ASSERT_EQ(folders[0].files.size(), 1);
    EXPECT_EQ(folders[0].files[0].number, 8);
    EXPECT_EQ(folders[0].files[0].name, "Renamed");
    EXPECT_EQ(folders[0].files[0].key, 0x47u);
    // The uploaded data is known by its key from now on.
    ASSERT_TRUE(LumoContentIndex::Instance().Find(0x48, LumoImageKind::Marqa()));
}

TEST_F(LumoTreeTest, AnEditFromAnOperationsThreadIsAppliedOnTheTreesThread) {
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({Folder(45)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 1);
    LumoRDMContentFolder* folder = root->UserGroup()->Folder(45);

    CheckingFeedback feedback;
    bool queued = false;
    std::unique_ptr<QThread> operation(QThread::create([&] {
        // The item is made where the operation runs, as a copy operation makes it.
        queued = folder->AddContent(One(Marqa(5, 0x65)), &feedback);
    }));
    operation->start();
    ASSERT_TRUE(operation->wait(kWaitMs));
    ASSERT_TRUE(queued);
    ASSERT_TRUE(Finish(feedback));
    EXPECT_EQ(feedback.m_result.load(), FeedbackResultSuccess);
    ASSERT_TRUE(folder->Item(5));
    EXPECT_EQ(folder->Item(5)->thread(), folder->thread());
    EXPECT_TRUE(fixture->File(45, 5));
    Settle();
}

TEST_F(LumoTreeTest, AFailedEditLeavesTheTreeAsItWas) {
    Sim::LumoFaults faults;
    faults.abortAtBlock = 0;
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({Folder(45)}, faults));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 1);
    LumoRDMContentFolder* folder = root->UserGroup()->Folder(45);
    QSignalSpy added(folder, &ContentFolder::ContentAdded);

    CheckingFeedback upload;
    ASSERT_TRUE(folder->AddContent(One(Marqa(3, 0x63)), &upload));
    ASSERT_TRUE(Finish(upload));
    EXPECT_EQ(upload.m_result.load(), FeedbackResultFailure);
    EXPECT_EQ(folder->ChildCount(), 0);
    EXPECT_EQ(added.count(), 0);
    EXPECT_FALSE(LumoContentIndex::Instance().Find(0x63, LumoImageKind::Marqa()));

    // A folder removal that the fixture never answers.
    m_widget->DetachResponders(0);
    QSignalSpy removed(root->UserGroup(), &ContentFolder::FolderRemoved);
    CheckingFeedback remove;
    ASSERT_TRUE(root->UserGroup()->Remove(folder, &remove));
    ASSERT_TRUE(Finish(remove));
    EXPECT_EQ(remove.m_result.load(), FeedbackResultFailure);
    EXPECT_EQ(root->UserGroup()->Folder(45), folder);
    EXPECT_EQ(removed.count(), 0);
}

TEST_F(LumoTreeTest, DownloadReplacesTheItemWithTheFixturesData) {
    AddLumo("MARQA", kMarqaUid, Holding({Holding(45, {File("MARQA", 2, 0x52, "Far")})}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 1);
    LumoRDMContentFolder* folder = root->UserGroup()->Folder(45);
    ASSERT_TRUE(QTest::qWaitFor([&] { return folder->ChildCount() == 1; }, kWaitMs));
    const Content* empty = folder->Item(2);
    EXPECT_EQ(qobject_cast<const MarqaImage*>(empty)->FrameCount(), 0);

    CheckingFeedback feedback;
    ASSERT_TRUE(folder->Download({empty}, &feedback));
    ASSERT_TRUE(Finish(feedback));
    EXPECT_EQ(feedback.m_result.load(), FeedbackResultSuccess);
    const auto* loaded = qobject_cast<const MarqaImage*>(folder->Item(2));
    ASSERT_TRUE(loaded);
    EXPECT_GT(loaded->FrameCount(), 0);
    EXPECT_EQ(loaded->Name(), "Far");
    EXPECT_EQ(loaded->ContentKey(), 0x52u);
    EXPECT_TRUE(LumoContentIndex::Instance().Find(0x52, LumoImageKind::Marqa()));
}

TEST_F(LumoTreeTest, BulkDeletionsEmptyTheirGroupOnFixtureAndTree) {
    auto fixture =
        AddLumo("Solvi", kSolviUid,
                Holding({Folder(3), Holding(45, {File("Solvi", 1, 0x91, "User")}), Folder(60),
                         Holding(251, {File("Solvi", 1, 0x92, "Layout")}), Folder(253)}));
    const auto device = MakeDevice<SolviRDM>(kSolviUid);
    LumoRDMContentRoot* root = TreeOf(device.get(), 5);

    ASSERT_TRUE(LumoContentErasure::DeleteAllUserContent(device.get(), &m_feedback));
    EXPECT_EQ(root->UserGroup()->ChildCount(), 0);
    EXPECT_EQ(device->CountUserContent(), 0);
    EXPECT_EQ(Numbers(root->QuorelGroup()), (QList<int>{251, 253}));

    ASSERT_TRUE(LumoContentErasure::DeleteAllQuorelContent(device.get(), &m_feedback));
    EXPECT_EQ(root->QuorelGroup()->ChildCount(), 0);
    EXPECT_TRUE(LumoContentLocks::QuorelContentLocked());
    EXPECT_EQ(Numbers(root->StockGroup()), (QList<int>{3}));
    QList<int> left;
    for (const Sim::LumoStoredFolder& folder : fixture->Folders()) {
        left.append(folder.number);
    }
    EXPECT_EQ(left, (QList<int>{3}));
}

TEST_F(LumoTreeTest, AnAggregateUploadsToEveryFixtureAndEachFolderShowsTheItem) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(45)}), 0);
    AddLumo("MARQA", kMarqaUid + 1, Holding({Folder(45)}), 1);
    AddLumo("Solvi", kSolviUid, Holding({Folder(45)}), 2);
    const auto first = MakeDevice<MarqaRDM>(kMarqaUid, 0);
    const auto second = MakeDevice<MarqaRDM>(kMarqaUid + 1, 1);
    const auto other = MakeDevice<SolviRDM>(kSolviUid, 2);
    QList<ContentFolder*> selection;
    for (LumoRDM* device : {static_cast<LumoRDM*>(first.get()), static_cast<LumoRDM*>(other.get()),
                            static_cast<LumoRDM*>(second.get())}) {
        selection.append(TreeOf(device, 1)->UserGroup()->Folder(45));
    }

    const MarqaRDMContentFolderAggregator aggregator;
    EXPECT_FALSE(aggregator.Aggregate(selection.mid(0, 2)));  // one folder of the family
    std::unique_ptr<ContentFolder> aggregate = aggregator.Aggregate(selection);
    ASSERT_TRUE(aggregate);
    EXPECT_EQ(aggregate->ChildCount(), 0);
    EXPECT_FALSE(aggregate->AcceptsContent(Solvi(4).get()));

    CheckingFeedback feedback;
    ASSERT_TRUE(aggregate->AddContent(One(Marqa(4, 0x84)), &feedback));
    ASSERT_TRUE(Finish(feedback));
    EXPECT_EQ(feedback.m_result.load(), FeedbackResultSuccess);
    EXPECT_EQ(Numbers(selection[0]), (QList<int>{4}));
    EXPECT_EQ(Numbers(selection[2]), (QList<int>{4}));
    EXPECT_EQ(Numbers(selection[1]), (QList<int>{}));

    std::vector<std::unique_ptr<ContentFolder>> aggregates;
    aggregates.push_back(std::move(aggregate));
    SolviRDMContentFolderAggregator().DeleteAggregates(aggregates);
    EXPECT_EQ(aggregates.size(), 1u);
    aggregator.DeleteAggregates(aggregates);
    EXPECT_TRUE(aggregates.empty());
}

TEST_F(LumoTreeTest, AfterAnAggregateUploadEachFolderShowsWhatItsFixtureTook) {
    // The second fixture takes the one-frame file (5 blocks) and aborts the longer one.
    Sim::LumoFixtureConfig dropping = Holding({Folder(45)});
    dropping.faults.abortAtBlock = 6;
    AddLumo("MARQA", kMarqaUid, Holding({Folder(45)}), 0);
    AddLumo("MARQA", kMarqaUid + 1, dropping, 1);
    const auto first = MakeDevice<MarqaRDM>(kMarqaUid, 0);
    const auto second = MakeDevice<MarqaRDM>(kMarqaUid + 1, 1);
    QList<ContentFolder*> selection = {TreeOf(first.get(), 1)->UserGroup()->Folder(45),
                                       TreeOf(second.get(), 1)->UserGroup()->Folder(45)};
    std::unique_ptr<ContentFolder> aggregate =
        MarqaRDMContentFolderAggregator().Aggregate(selection);
    ASSERT_TRUE(aggregate);
    ContentList items;
    items.push_back(Marqa(4, 0x84, 1));
    items.push_back(Marqa(5, 0x85, 10));
    CheckingFeedback feedback;
    ASSERT_TRUE(aggregate->AddContent(std::move(items), &feedback));
    ASSERT_TRUE(Finish(feedback));
    Settle();
    EXPECT_EQ(Numbers(selection[0]), (QList<int>{4, 5}));
    EXPECT_EQ(Numbers(selection[1]), (QList<int>{4}));
    std::vector<std::unique_ptr<ContentFolder>> aggregates;
    aggregates.push_back(std::move(aggregate));
    MarqaRDMContentFolderAggregator().DeleteAggregates(aggregates);
}

}  // namespace
