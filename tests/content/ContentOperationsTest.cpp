#include "ContentTestSupport.h"
#include "support/RecordingFeedback.h"

#include "archive/PackageBuilder.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/operations/ContentAddressOperation.h"
#include "content/operations/ContentCopyOperation.h"
#include "content/operations/ContentDeleteOperation.h"
#include "content/operations/ContentMoveOperation.h"
#include "content/operations/FeedbackWrapper.h"
#include "content/operations/QuorelContentImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

template <class Image>
std::unique_ptr<Content> NewImage(const QString& name, int address, int frames = 2) {
    auto image = std::make_unique<Image>();
    image->SetName(name);
    image->SetAddress(address);
    image->SetFrames(std::vector<typename Image::Frame>(size_t(frames)));
    return image;
}

ContentList One(std::unique_ptr<Content> item) {
    ContentList items;
    items.push_back(std::move(item));
    return items;
}

// An in-memory folder without a policy that keeps whatever it is given.
class PlainFolder : public TestPolicyFolder {
public:
    PlainFolder() : TestPolicyFolder(nullptr, "Plain") {}
    bool AddContent(ContentList items, IFeedback* feedback) override {
        for (std::unique_ptr<Content>& item : items) {
            Append(std::move(item));
        }
        feedback->Finished(FeedbackResultSuccess);
        return true;
    }
};

QStringList Names(const ContentFolder* folder) {
    QStringList names;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        names.append(folder->Child(i)->Name());
    }
    return names;
}

QList<int> Addresses(const ContentFolder* folder) {
    QList<int> addresses;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        addresses.append(folder->Child(i)->Address());
    }
    return addresses;
}

// A library "Pkg" of Marqa folders "A" (41) and "B" (42) and a Solvi package "SPkg" with folder "S"
// (41).
class ContentOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        NamedPolicies::Register();
        m_root = std::make_unique<ContentLibraryRoot>(m_dir.path());
        ASSERT_TRUE(m_root->AddFolder("Pkg", 0, nullptr));
        ASSERT_TRUE(m_root->AddFolder("SPkg", 0, nullptr));
        Package(0)->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
        Package(1)->HandDownPolicy(&NamedPolicies::SolviContentPackage());
        ASSERT_TRUE(Package(0)->AddFolder("A", 41, nullptr));
        ASSERT_TRUE(Package(0)->AddFolder("B", 42, nullptr));
        ASSERT_TRUE(Package(1)->AddFolder("S", 41, nullptr));
    }

    ContentLibraryPackage* Package(int i) const {
        return qobject_cast<ContentLibraryPackage*>(m_root->Child(i));
    }
    ContentLibraryFolder* Folder(int package, int i) const {
        return qobject_cast<ContentLibraryFolder*>(Package(package)->Child(i));
    }
    Content* Add(ContentFolder* folder, std::unique_ptr<Content> item) {
        EXPECT_TRUE(folder->AddContent(One(std::move(item)), nullptr));
        return qobject_cast<Content*>(folder->Child(folder->ChildCount() - 1));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ContentLibraryRoot> m_root;
    RecordingFeedback m_feedback;
};

TEST(FeedbackWrapperTest, MapsTheStepsProgressOntoItsShareWithIntegerArithmetic) {
    struct Case {
        int start, end, total, current, reported;
    };
    for (const Case& c : {Case{0, 100, 10, 5, 50}, Case{25, 50, 3, 1, 33}, Case{0, 100, 4, 9, 100},
                          Case{10, 20, 7, 0, 10}, Case{3, 4, 2, 1, 3}}) {
        RecordingFeedback outer;
        outer.m_current = -1;
        FeedbackWrapper wrapper(&outer, c.start, c.end);
        wrapper.SetTotal(c.total);
        wrapper.SetCurrent(c.current);
        EXPECT_EQ(outer.m_current, c.reported)
            << c.start << ".." << c.end << " " << c.current << "/" << c.total;
    }
    RecordingFeedback outer;
    outer.m_current = -1;
    FeedbackWrapper wrapper(&outer, 0, 100);
    wrapper.SetCurrent(5);  // no total yet: nothing to report
    EXPECT_EQ(outer.m_current, -1);
}

TEST(FeedbackWrapperTest, WaitsForAnEndReportedFromAnotherThreadAndSeesTheCancel) {
    struct Case {
        FeedbackResult result;
        bool cancelled;
        int expected;
    };
    for (const Case& c :
         {Case{FeedbackResultSuccess, false, 0}, Case{FeedbackResultFailure, false, 1},
          Case{FeedbackResultSuccess, true, 2}}) {
        RecordingFeedback outer;
        outer.m_cancelled = c.cancelled;
        FeedbackWrapper wrapper(&outer, 0, 100);
        std::thread reporter([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            wrapper.Finished(FeedbackResultNone);  // no end yet
            wrapper.Finished(c.result);
            wrapper.Finished(FeedbackResultFailure);  // a second end does not count
        });
        EXPECT_EQ(wrapper.WaitResult(), c.expected);
        reporter.join();
    }
}

TEST_F(ContentOperationsTest, AMoveWithStopOnFailureEndsAtTheFailingItemAndLeavesTheRestUntried) {
    for (const int options : {ContentOperation::kStopOnFailure, 0}) {
        SCOPED_TRACE(options);
        const QString from = QStringLiteral("From%1").arg(options);
        const QString to = QStringLiteral("To%1").arg(options);
        ASSERT_TRUE(Package(0)->AddFolder(from, 50 + options * 2, nullptr));
        ASSERT_TRUE(Package(0)->AddFolder(to, 51 + options * 2, nullptr));
        auto* a =
            qobject_cast<ContentLibraryFolder*>(Package(0)->Child(Package(0)->ChildCount() - 2));
        auto* b =
            qobject_cast<ContentLibraryFolder*>(Package(0)->Child(Package(0)->ChildCount() - 1));
        QList<ContentBase*> items = {Add(a, NewImage<MarqaImage>("one", 1)),
                                     Add(a, NewImage<MarqaImage>("two", 2)),
                                     Add(a, NewImage<MarqaImage>("three", 3))};
        Add(b, NewImage<MarqaImage>("two", 9));  // in the way of the second
        ContentMoveOperation move(items, b);
        EXPECT_EQ(move.Title(), "Moving 3 files to " + to);
        RecordingFeedback feedback;
        EXPECT_EQ(move.Execute(&feedback, options), ContentOperation::Failed);
        const std::vector<RecordingFeedback::Line> lines = feedback.Lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0].text, QStringLiteral("Moving one from %1 to %2").arg(from, to));
        EXPECT_EQ(lines[1].text, QStringLiteral("Moving two from %1 to %2").arg(from, to));
        EXPECT_EQ(lines[2].text, "Can't move two to " + to);
        EXPECT_EQ(lines[2].status, FeedbackStatusError);
        if (options == ContentOperation::kStopOnFailure) {
            EXPECT_EQ(lines.size(), 3u);
            EXPECT_EQ(Names(a), QStringList({"two", "three"}));
            EXPECT_EQ(feedback.m_current, 2);
        } else {
            EXPECT_EQ(Names(a), QStringList({"two"}));
            EXPECT_EQ(feedback.m_current, 3);
        }
        EXPECT_TRUE(QFile::exists(a->FilePath(qobject_cast<Content*>(a->Child(0)))));
    }
}

TEST_F(ContentOperationsTest, ASolviImageIsConvertedIntoAMarqaFolderAndClonedIntoAPlainOne) {
    Content* solvi = Add(Folder(1, 0), NewImage<SolviImage>("ring", 4, 3));
    ContentLibraryFolder* marqa = Folder(0, 0);
    ContentCopyOperation intoMarqa({solvi}, marqa);
    ASSERT_TRUE(intoMarqa.CanExecute());
    EXPECT_EQ(intoMarqa.Execute(&m_feedback, 1), ContentOperation::Succeeded);
    ASSERT_EQ(marqa->ChildCount(), 1);
    const auto* converted = qobject_cast<const MarqaImage*>(marqa->Child(0));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->Name(), "ring");
    EXPECT_EQ(converted->Address(), 4);
    EXPECT_EQ(converted->FrameCount(), 3);
    EXPECT_TRUE(QFile::exists(marqa->Dir().filePath("ring.mqi")));
    EXPECT_EQ(m_feedback.Texts().first(), "Copying ring from S to A");
    EXPECT_EQ(m_feedback.m_current, 100);

    PlainFolder plain;
    EXPECT_EQ(ContentCopyOperation({solvi}, &plain).Execute(&m_feedback, 1),
              ContentOperation::Succeeded);
    ASSERT_EQ(plain.ChildCount(), 1);
    EXPECT_NE(qobject_cast<const SolviImage*>(plain.Child(0)), nullptr);
    EXPECT_NE(plain.Child(0), solvi);
}

TEST_F(ContentOperationsTest, CopyingAFolderMakesItAgainWithItsItemsAndGoesOnAfterAFailure) {
    ContentLibraryFolder* a = Folder(0, 0);
    Add(a, NewImage<MarqaImage>("one", 1));
    Add(a, NewImage<MarqaImage>("two", 2));
    ASSERT_TRUE(m_root->AddFolder("Copy", 0, nullptr));
    ContentFolder* target = Package(2);
    target->SetName("Copy");
    Package(2)->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    Content* solvi = Add(Folder(1, 0), NewImage<SolviImage>("s", 1));
    // The Solvi image cannot go into a package (it holds folders only); the folder still goes.
    ContentCopyOperation copy({solvi, a}, target);
    EXPECT_FALSE(copy.CanExecute());
    EXPECT_EQ(copy.Title(), "Copying 2 files to Copy");
    EXPECT_EQ(copy.Execute(&m_feedback, 1), ContentOperation::Failed);
    ASSERT_EQ(target->ChildCount(), 1);
    auto* made = qobject_cast<ContentLibraryFolder*>(target->Child(0));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Name(), "A");
    EXPECT_EQ(made->Address(), 41);
    EXPECT_EQ(Names(made), QStringList({"one", "two"}));
    EXPECT_TRUE(QFile::exists(made->Dir().filePath("two.mqi")));
    EXPECT_TRUE(m_feedback.Texts().contains("Can't copy s to Copy"));
    EXPECT_TRUE(m_feedback.Texts().contains("Creating folder A in Copy"));
    // Copying a folder into itself is refused before it starts.
    EXPECT_FALSE(ContentCopyOperation({a}, a).CanExecute());
}

TEST_F(ContentOperationsTest, DeletingAFolderDeletesItsItemsFirst) {
    ContentLibraryFolder* a = Folder(0, 0);
    Add(a, NewImage<MarqaImage>("one", 1));
    Add(a, NewImage<MarqaImage>("two", 2));
    const QString dir = a->DirPath();
    ContentDeleteOperation remove({a});
    EXPECT_EQ(remove.Title(), "Deleting A");
    ASSERT_TRUE(remove.CanExecute());
    EXPECT_EQ(remove.Execute(&m_feedback, 1), ContentOperation::Succeeded);
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({"Deleting one in A", "Deleting two in A", "Deleting A in Pkg"}));
    EXPECT_FALSE(QDir(dir).exists());
    EXPECT_EQ(Names(Package(0)), QStringList({"B"}));
}

TEST_F(ContentOperationsTest, AutosetAndResetRenumberOnlyTheItemsThatNeedIt) {
    ContentLibraryFolder* a = Folder(0, 0);
    QList<ContentBase*> items = {Add(a, NewImage<MarqaImage>("x", 0)),
                                 Add(a, NewImage<MarqaImage>("y", 3)),
                                 Add(a, NewImage<MarqaImage>("z", 0))};
    items[2]->SetAddress(3);  // two items at 3, as an old description may leave them
    ContentAddressOperation autoset(items, ContentAddressOperation::Autoset);
    EXPECT_EQ(autoset.Title(), "Addressing 3 files");
    EXPECT_EQ(autoset.Execute(&m_feedback, 1), ContentOperation::Succeeded);
    EXPECT_EQ(Addresses(a), QList<int>({1, 2, 3}));
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({"Renumbering x in A from 0 to 1", "Renumbering y in A from 3 to 2"}));

    items[1]->SetAddress(0);
    m_feedback.Clear();
    ContentAddressOperation reset({items[1], items[2]}, ContentAddressOperation::Reset);
    EXPECT_EQ(reset.Execute(&m_feedback, 1), ContentOperation::Succeeded);
    EXPECT_EQ(Addresses(a), QList<int>({1, 0, 0}));
    EXPECT_EQ(m_feedback.Texts(), QStringList({"Renumbering z in A from 3 to 0"}));
}

TEST_F(ContentOperationsTest, ACollageImportAddsItsImagesWithTheirQuorelNumbersOnce) {
    // A collage package file: folder "Wave" at 251 with images for Quorel addresses 12 and 13.
    const QString source = m_dir.filePath("collage");
    QDir().mkpath(source + "/Wave");
    ASSERT_TRUE(NewImage<MarqaImage>("w12", 1)->Save(source + "/Wave/w12.mqi"));
    ASSERT_TRUE(NewImage<MarqaImage>("w13", 2)->Save(source + "/Wave/w13.mqi"));
    for (const auto& [path, text] :
         {std::pair<QString, QByteArray>{source + "/config.xml",
                                         "<objects policy=\"MARQAQUORELContentPackagePolicy\">"
                                         "<folder name=\"Wave\" address=\"251\"/></objects>"},
          {source + "/Wave/config.xml",
           "<objects policy=\"MARQAQUORELContentFolderPolicy\"><content name=\"w12\" "
           "address=\"1\" quorelID=\"12\"/><content name=\"w13\" address=\"2\" "
           "quorelID=\"13\"/></objects>"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    const QString file = m_dir.filePath("Ocean.marqacollage");
    QString error;
    ASSERT_TRUE(PackageBuilder::Pack(source, file, false, &error)) << error.toStdString();

    QTemporaryDir library;
    QuorelContentLibraryRoot quorel(library.path());
    MarqaQuorelContentImport import(file, &quorel);
    EXPECT_EQ(import.Title(), "Importing MARQA Collage");
    ASSERT_TRUE(import.CanExecute());
    EXPECT_EQ(import.Execute(&m_feedback, 1), ContentOperation::Succeeded)
        << m_feedback.Texts().join("; ").toStdString();
    const auto check = [](ContentFolder* root) {
        ASSERT_EQ(root->ChildCount(), 1);
        auto* collage = qobject_cast<ContentFolder*>(root->Child(0));
        EXPECT_EQ(collage->Name(), "Ocean");
        ASSERT_EQ(collage->ChildCount(), 1);
        auto* wave = qobject_cast<ContentFolder*>(collage->Child(0));
        EXPECT_EQ(wave->Address(), 251);
        QStringList items;
        for (int i = 0; i < wave->ChildCount(); ++i) {
            items.append(QStringLiteral("%1 %2 %3")
                             .arg(wave->Child(i)->Name())
                             .arg(wave->Child(i)->Address())
                             .arg(wave->Child(i)->Tag()));
        }
        items.sort();
        EXPECT_EQ(items, QStringList({"w12 1 12", "w13 2 13"}));
    };
    check(&quorel);
    QuorelContentLibraryRoot reopened(library.path());  // as written on disk
    check(&reopened);

    RecordingFeedback again;
    EXPECT_EQ(MarqaQuorelContentImport(file, &quorel).Execute(&again, 1), ContentOperation::Failed);
    EXPECT_TRUE(again.Texts().contains("There is already a collage with that name."));
    EXPECT_EQ(quorel.ChildCount(), 1);
}

}  // namespace
