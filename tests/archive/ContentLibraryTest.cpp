#include "ArchiveTestSupport.h"
#include "support/LogCapture.h"
#include "support/RecordingFeedback.h"

#include "archive/CustomFileSystemEngineHandler.h"
#include "archive/PackageBuilder.h"
#include "content/NamedPolicies.h"
#include "content/PolicyBase.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "content/library/ContentCache.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryPackageFile.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/library/StockContent.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

template <class Image>
std::unique_ptr<Image> NewImage(const QString& name, int frames, quint32 key = 0) {
    auto image = std::make_unique<Image>();
    image->SetName(name);
    std::vector<typename Image::Frame> list(static_cast<size_t>(frames));
    for (int f = 0; f < frames; ++f) {
        list[size_t(f)].delay = quint16(40 + f);
        for (size_t n = 0; n < list[size_t(f)].leds.size(); ++n) {
            list[size_t(f)].leds[n] = quint8(n + f);
        }
    }
    image->SetFrames(list);
    image->SetContentKey(key);
    return image;
}

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

ContentLibraryPackage* PackageAt(ContentLibraryRoot& root, int i) {
    return qobject_cast<ContentLibraryPackage*>(root.Child(i));
}

ContentLibraryFolder* FolderAt(ContentFolder* package, int i) {
    return qobject_cast<ContentLibraryFolder*>(package->Child(i));
}

// Makes the directory read-only: by its permissions, or (for the superuser, whom permissions
// do not stop) by the immutable attribute. False when neither holds on this file system.
bool MakeReadOnly(const QString& directory) {
    const auto writable = [&] {
        QFile probe(directory + "/.probe");
        const bool ok = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return ok;
    };
    QFile::setPermissions(directory, QFile::ReadOwner | QFile::ExeOwner);
    if (writable()) {
        QProcess::execute("chattr", {"+i", directory});
    }
    return !writable();
}

void MakeWritable(const QString& directory) {
    QProcess::execute("chattr", {"-i", directory});
    QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class ContentLibraryTest : public ::testing::Test {
protected:
    // A library "Pkg/F1" with logo.mqi (Marqa), solvi.mqi (a Solvi image in an "mqi" file),
    // junk.mqi (neither) and an empty folder "Pkg/Empty".
    void SetUp() override {
        NamedPolicies::Register();
        F1 = m_dir.filePath("Pkg/F1");
        QDir().mkpath(F1);
        QDir().mkpath(m_dir.filePath("Pkg/Empty"));
        ASSERT_TRUE(NewImage<MarqaImage>("logo", 2)->Save(F1 + "/logo.mqi"));
        ASSERT_TRUE(NewImage<SolviImage>("solvi", 3)->Save(F1 + "/solvi.mqi"));
        WriteText(F1 + "/junk.mqi", "not an image");
    }
    void TearDown() override {
        if (m_readOnly) {
            MakeWritable(F1);
            MakeWritable(m_dir.filePath("Pkg"));
        }
    }
    QString Root() const { return m_dir.path(); }

    QTemporaryDir m_dir;
    QString F1;
    bool m_readOnly = false;
};

TEST_F(ContentLibraryTest, LoadsNamesCaseInsensitivelyAndHandsPoliciesDown) {
    WriteText(Root() + "/config.xml",
              "<objects version=\"1\"><package name=\"pkg\" address=\"0\"/></objects>");
    WriteText(Root() + "/Pkg/config.xml",
              "<objects policy=\"solvicontentpackagepolicy\"><folder name=\"f1\" address=\"3\"/>"
              "<other name=\"F1\" address=\"9\"/></objects>");
    WriteText(F1 + "/config.xml",
              "<objects policy=\"MARQAContentFolderPolicy\"><content name=\"LOGO\" address=\"5\" "
              "quorelID=\"9\"/></objects>");
    ContentLibraryRoot root(Root());
    EXPECT_EQ(root.Name(), "User Content");
    EXPECT_TRUE(root.IsReadOnly());
    ASSERT_EQ(root.ChildCount(), 1);
    ContentLibraryPackage* package = PackageAt(root, 0);
    EXPECT_EQ(package->Policy(), &NamedPolicies::SolviContentPackage());
    ASSERT_EQ(package->ChildCount(), 2);  // "Empty", "F1"
    ContentLibraryFolder* folder = FolderAt(package, 1);
    EXPECT_EQ(folder->Name(), "F1");
    EXPECT_EQ(folder->Address(), 3);
    // The package's policy hands the folder its child policy, over the folder's own choice.
    EXPECT_EQ(folder->Policy(), &NamedPolicies::SolviContentFolder());
    ASSERT_EQ(folder->ChildCount(), 2);
    EXPECT_EQ(folder->Child(0)->Name(), "logo");
    EXPECT_EQ(folder->Child(0)->Address(), 5);
    EXPECT_EQ(folder->Child(0)->Tag(), 9);
    EXPECT_NE(qobject_cast<MarqaImage*>(folder->Child(0)), nullptr);
    EXPECT_NE(qobject_cast<SolviImage*>(folder->Child(1)), nullptr);  // "mqi" holding Solvi
    EXPECT_TRUE(QFile::exists(F1 + "/junk.mqi"));
    EXPECT_FALSE(folder->IsReadOnly());
}

TEST_F(ContentLibraryTest, AnUnreadableDescriptionLeavesAddressesAndPolicyAlone) {
    WriteText(
        F1 + "/config.xml",
        "<objects policy=\"SOLVIContentFolderPolicy\"><content name=\"logo\" address=\"4\"/><cont");
    ContentLibraryRoot root(Root());
    ContentLibraryFolder* folder = FolderAt(PackageAt(root, 0), 1);
    EXPECT_EQ(folder->Child(0)->Address(), 0);
    EXPECT_EQ(folder->Policy(), &NamedPolicies::MarqaContentFolder());
}

TEST_F(ContentLibraryTest, RewritesEveryDescriptionForAnOtherVersionOnly) {
    WriteText(F1 + "/config.xml",
              "<objects policy=\"MARQAContentFolderPolicy\"><content name=\"logo\" address=\"5\"/>"
              "<content name=\"ghost\" address=\"6\"/></objects>");
    {
        ContentLibraryRoot root(Root());  // no root description: version 0
        EXPECT_EQ(root.Version(), 1);
    }
    const QByteArray rootText = ReadText(Root() + "/config.xml");
    EXPECT_TRUE(rootText.contains("version=\"1\"")) << rootText.constData();
    EXPECT_TRUE(rootText.contains("<package name=\"Pkg\" address=\"0\"/>")) << rootText.constData();
    const QByteArray folderText = ReadText(F1 + "/config.xml");
    EXPECT_FALSE(folderText.contains("ghost"));
    EXPECT_TRUE(folderText.contains("<content name=\"logo\" address=\"5\"/>"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("Pkg/Empty/config.xml")));

    // At version 1 nothing is written at start-up.
    WriteText(F1 + "/config.xml", "<objects><content name=\"logo\" address=\"7\"/></objects>");
    ContentLibraryRoot again(Root());
    EXPECT_EQ(ReadText(F1 + "/config.xml"),
              "<objects><content name=\"logo\" address=\"7\"/></objects>");
}

TEST_F(ContentLibraryTest, SavingWritesAddressedChildrenOnlyAndDeletesAnEmptyDescription) {
    ContentLibraryRoot root(Root());
    ContentLibraryFolder* folder = FolderAt(PackageAt(root, 0), 1);
    ASSERT_TRUE(folder->SaveConfig(false));
    const QByteArray text = ReadText(F1 + "/config.xml");
    EXPECT_TRUE(text.contains("<objects policy=\"MARQAContentFolderPolicy\"/>"))
        << text.constData();

    ContentLibraryFolder* empty = FolderAt(PackageAt(root, 0), 0);
    WriteText(m_dir.filePath("Pkg/Empty/config.xml"), "<objects/>");
    ASSERT_TRUE(empty->SaveConfig(false));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("Pkg/Empty/config.xml")));
}

TEST_F(ContentLibraryTest, AddingReplacesTheItemOfTheSameName) {
    ContentLibraryRoot root(Root());
    ContentLibraryFolder* folder = FolderAt(PackageAt(root, 0), 1);
    QSignalSpy removed(folder, &ContentFolder::ContentRemoved);
    QSignalSpy added(folder, &ContentFolder::ContentAdded);
    RecordingFeedback feedback;
    ContentList items;
    items.push_back(NewImage<MarqaImage>("logo", 4));
    ASSERT_TRUE(folder->AddContent(std::move(items), &feedback));
    EXPECT_EQ(feedback.Texts(), QStringList());
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(added.count(), 1);
    ASSERT_EQ(folder->ChildCount(), 2);
    EXPECT_EQ(folder->Child(1)->Name(), "logo");
    MarqaImage onDisk;
    ASSERT_TRUE(onDisk.Load(F1 + "/logo.mqi"));
    EXPECT_EQ(onDisk.Frames().size(), 4u);
    QCoreApplication::processEvents();  // the replaced item is deleted by the event loop
}

TEST_F(ContentLibraryTest, FolderOperationsReportTheirRefusals) {
    ContentLibraryRoot root(Root());
    ContentLibraryPackage* package = PackageAt(root, 0);
    ContentLibraryFolder* empty = FolderAt(package, 0);
    ContentLibraryFolder* folder = FolderAt(package, 1);
    Content* logo = qobject_cast<Content*>(folder->Child(0));
    Content* solvi = qobject_cast<Content*>(folder->Child(1));

    struct Case {
        const char* name;
        std::function<bool(IFeedback*)> run;
        bool result;
        const char* message;  // null: none
    };
    const Case cases[] = {
        {"delete non-empty folder", [&](IFeedback* f) { return package->Remove(folder, f); }, false,
         "Can't delete folder"},
        {"make existing folder", [&](IFeedback* f) { return package->AddFolder("F1", 0, f); },
         false, "Can't create folder"},
        {"address out of range", [&](IFeedback* f) { return folder->Rename(logo, "logo", 999, f); },
         false, "Address out of range"},
        {"name taken", [&](IFeedback* f) { return folder->Rename(logo, "solvi", 0, f); }, false,
         "New name and/or address conflicts with an existing child"},
        {"rename item", [&](IFeedback* f) { return folder->Rename(logo, "emblem", 2, f); }, true,
         nullptr},
        {"move item", [&](IFeedback* f) { return empty->Move(solvi, f); }, true, nullptr},
        {"move back onto itself", [&](IFeedback* f) { return empty->Move(solvi, f); }, false,
         nullptr},
        {"make folder", [&](IFeedback* f) { return package->AddFolder("New", 0, f); }, true,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFeedback feedback;
        EXPECT_EQ(c.run(&feedback), c.result);
        EXPECT_EQ(feedback.Texts(), c.message ? QStringList{c.message} : QStringList());
    }
    EXPECT_TRUE(QFile::exists(F1 + "/emblem.mqi"));
    EXPECT_TRUE(ReadText(F1 + "/config.xml").contains("<content name=\"emblem\" address=\"2\"/>"));
    EXPECT_TRUE(QFile::exists(m_dir.filePath("Pkg/Empty/solvi.mqi")));  // kept its file name
    EXPECT_EQ(empty->ChildCount(), 1);
    EXPECT_EQ(folder->ChildCount(), 1);
    EXPECT_TRUE(QDir(m_dir.filePath("Pkg/New")).exists());

    // A file that vanished behind the library's back.
    QFile::remove(F1 + "/emblem.mqi");
    RecordingFeedback feedback;
    EXPECT_FALSE(folder->Remove(logo, &feedback));
    EXPECT_EQ(feedback.Texts(), QStringList{"File not found"});
    EXPECT_EQ(folder->ChildCount(), 1);
}

TEST_F(ContentLibraryTest, ReadOnlyFoldersGiveClearMessagesAndLeaveTheTreeUnchanged) {
    ContentLibraryRoot root(Root());
    ContentLibraryPackage* package = PackageAt(root, 0);
    ContentLibraryFolder* folder = FolderAt(package, 1);
    Content* logo = qobject_cast<Content*>(folder->Child(0));
    m_readOnly = true;
    if (!MakeReadOnly(F1) || !MakeReadOnly(m_dir.filePath("Pkg"))) {
        GTEST_SKIP() << "no read-only directories on this file system";
    }
    struct Case {
        const char* name;
        std::function<bool(IFeedback*)> run;
        const char* message;
    };
    const Case cases[] = {
        {"add",
         [&](IFeedback* f) {
             ContentList items;
             items.push_back(NewImage<MarqaImage>("fresh", 1));
             return folder->AddContent(std::move(items), f);
         },
         "Can't write file"},
        {"replace",
         [&](IFeedback* f) {
             ContentList items;
             items.push_back(NewImage<MarqaImage>("logo", 1));
             return folder->AddContent(std::move(items), f);
         },
         "Can't write file"},  // the new file is written before the old one goes
        {"remove", [&](IFeedback* f) { return folder->Remove(logo, f); }, "Can't delete file"},
        {"rename", [&](IFeedback* f) { return folder->Rename(logo, "other", 0, f); },
         "Can't rename file"},
        {"new folder", [&](IFeedback* f) { return package->AddFolder("G", 0, f); },
         "Can't create folder"},
        {"rename folder", [&](IFeedback* f) { return package->Rename(folder, "G1", 0, f); },
         "Can't rename folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFeedback feedback;
        EXPECT_FALSE(c.run(&feedback));
        EXPECT_EQ(feedback.Texts(), QStringList{c.message});
        EXPECT_EQ(folder->ChildCount(), 2);
        EXPECT_EQ(folder->Child(0), logo);
        EXPECT_EQ(logo->Name(), "logo");
        EXPECT_EQ(package->ChildCount(), 2);
        EXPECT_EQ(folder->Name(), "F1");
    }
}

TEST_F(ContentLibraryTest, QuorelFoldersDescribeQuorelNumbers) {
    const QString quorel = m_dir.filePath("quorel");
    QDir().mkpath(quorel + "/QP/QF");
    ASSERT_TRUE(NewImage<MarqaImage>("q", 1)->Save(quorel + "/QP/QF/q.mqi"));
    WriteText(quorel + "/QP/QF/config.xml",
              "<objects><content name=\"q\" quorelID=\"12\" address=\"1\"/></objects>");
    QuorelContentLibraryRoot root(quorel);
    EXPECT_EQ(root.Name(), "Quorel Content");
    EXPECT_TRUE(root.ChildrenReadOnly());
    EXPECT_TRUE(root.ViewOnly());
    const QByteArray text = ReadText(quorel + "/QP/QF/config.xml");  // rewritten: version 0
    EXPECT_TRUE(text.contains("<content name=\"q\" quorelID=\"12\" address=\"1\"/>"))
        << text.constData();
}

TEST_F(ContentLibraryTest, StockContentReadsAnEncipheredPackage) {
    WriteText(F1 + "/config.xml", "<objects><content name=\"logo\" address=\"8\"/></objects>");
    QFile::remove(F1 + "/junk.mqi");
    const QString stock = m_dir.filePath("stock");
    QDir().mkpath(stock);
    QString error;
    ASSERT_TRUE(PackageBuilder::Pack(m_dir.filePath("Pkg"), stock + "/marqa_stock_content.lumopkg",
                                     true, &error))
        << error.toStdString();
    StockContentRoot root(stock);
    ASSERT_EQ(root.ChildCount(), 2);
    auto* marqa = qobject_cast<ContentLibraryPackage*>(root.Child(0));
    EXPECT_EQ(marqa->Name(), "MARQA");
    EXPECT_TRUE(marqa->IsReadOnly());
    EXPECT_EQ(qobject_cast<ContentFolder*>(root.Child(1))->ChildCount(), 0);  // no Solvi package
    ASSERT_EQ(marqa->ChildCount(), 2);
    ContentLibraryFolder* folder = FolderAt(marqa, 1);
    ASSERT_EQ(folder->ChildCount(), 2);
    EXPECT_EQ(folder->Child(0)->Address(), 8);
    EXPECT_TRUE(folder->IsReadOnly());
    ContentList items;
    items.push_back(NewImage<MarqaImage>("x", 1));
    EXPECT_FALSE(folder->AddContent(std::move(items), nullptr));
}

TEST_F(ContentLibraryTest, APackageWithAForgedEntrySizeIsSkippedWithTheReasonLogged) {
    const QString stock = m_dir.filePath("stock");
    QDir().mkpath(stock);
    ASSERT_TRUE(ArchiveTestSupport::WriteForgedTarGz(
        stock + "/marqa_stock_content.lumopkg", {{"F1/config.xml", false, "<objects/>"}},
        "F1/logo.mqi", QByteArray(900, 'x'), qint64(1000000000000000)));
    const LogCapture log;
    StockContentRoot root(stock);
    ASSERT_EQ(root.ChildCount(), 2);
    EXPECT_EQ(qobject_cast<ContentFolder*>(root.Child(0))->ChildCount(), 0);
    EXPECT_TRUE(
        log.Texts().join('\n').contains("marqa_stock_content.lumopkg skipped: entry "
                                        "F1/logo.mqi claims 1000000000000000 bytes"))
        << log.Texts().join('\n').toStdString();
}

TEST_F(ContentLibraryTest, ADestinationFileWritesOneArchiveWhenItGoes) {
    const QString archive = m_dir.filePath("export.lumopkg");
    {
        const ArchiveWriterEnabler writing;
        ContentLibraryPackageDestinationFile destination(archive,
                                                         &NamedPolicies::MarqaContentPackage());
        EXPECT_EQ(destination.Name(), "export");
        ASSERT_TRUE(destination.AddFolder("Out", 0, nullptr));
        ContentLibraryFolder* folder = FolderAt(&destination, 0);
        ContentList items;
        items.push_back(NewImage<MarqaImage>("first", 1));
        items.push_back(NewImage<MarqaImage>("second", 2));
        ASSERT_TRUE(folder->AddContent(std::move(items), nullptr));
        ASSERT_TRUE(folder->Rename(folder->Child(1), "second", 7, nullptr));
        EXPECT_FALSE(QFile::exists(archive));
    }
    ASSERT_TRUE(QFile::exists(archive));
    ContentLibraryPackageFile package(archive, &NamedPolicies::MarqaContentPackage());
    package.Scan();
    ASSERT_EQ(package.ChildCount(), 1);
    ContentLibraryFolder* folder = FolderAt(&package, 0);
    ASSERT_EQ(folder->ChildCount(), 2);
    EXPECT_EQ(folder->Child(1)->Name(), "second");
    EXPECT_EQ(folder->Child(1)->Address(), 7);
    EXPECT_EQ(qobject_cast<MarqaImage*>(folder->Child(1))->Frames().size(), 2u);
}

TEST_F(ContentLibraryTest, ExportingOntoAnExistingPackageFileReplacesIt) {
    const QString archive = m_dir.filePath("export.lumopkg");
    for (const QString& name : {QStringLiteral("first"), QStringLiteral("second")}) {
        const ArchiveWriterEnabler writing;
        ContentLibraryPackageDestinationFile destination(archive,
                                                         &NamedPolicies::MarqaContentPackage());
        RecordingFeedback feedback;
        ASSERT_TRUE(destination.AddFolder("Out", 41, &feedback))
            << feedback.Texts().join("; ").toStdString();
        ContentList items;
        items.push_back(NewImage<MarqaImage>(name, 1));
        ASSERT_TRUE(FolderAt(&destination, 0)->AddContent(std::move(items), nullptr));
    }
    ContentLibraryPackageFile package(archive, &NamedPolicies::MarqaContentPackage());
    package.Scan();
    ASSERT_EQ(package.ChildCount(), 1);
    EXPECT_EQ(package.Child(0)->Address(), 41);
    ASSERT_EQ(FolderAt(&package, 0)->ChildCount(), 1);
    EXPECT_EQ(FolderAt(&package, 0)->Child(0)->Name(), "second");
}

TEST_F(ContentLibraryTest, FoldersKeepTheirAddressesSortByThemAndARenumberKeepsTheDirectory) {
    ContentLibraryRoot root(Root());
    ContentLibraryPackage* package = PackageAt(root, 0);
    package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    const QString longName = "A folder name longer than sixteen";
    ASSERT_TRUE(package->AddFolder(longName, 60, nullptr));
    ContentFolder* made = FolderAt(package, package->ChildCount() - 1);
    EXPECT_EQ(made->Address(), 60);
    RecordingFeedback feedback;
    ASSERT_TRUE(package->Rename(made, made->Name(), 45, &feedback));
    EXPECT_EQ(made->Address(), 45);
    EXPECT_TRUE(QDir(Root() + "/Pkg/" + longName).exists());
    EXPECT_FALSE(package->Rename(made, made->Name(), 251, &feedback));
    EXPECT_EQ(feedback.Texts().last(), "Address out of range");
    EXPECT_EQ(made->Address(), 45);
    EXPECT_FALSE(package->AddFolder("Other", 45, &feedback));

    ASSERT_TRUE(package->Rename(FolderAt(package, 0), FolderAt(package, 0)->Name(), 50, nullptr));
    package->Sort(false);
    QList<int> addresses;
    for (int i = 0; i < package->ChildCount(); ++i) {
        addresses.append(package->Child(i)->Address());
    }
    EXPECT_TRUE(std::is_sorted(addresses.begin(), addresses.end())) << addresses.size();

    // The new number is written down and read again.
    ContentLibraryRoot again(Root());
    bool found = false;
    for (int i = 0; i < PackageAt(again, 0)->ChildCount(); ++i) {
        const ContentBase* child = PackageAt(again, 0)->Child(i);
        found = found || (child->Name() == made->Name() && child->Address() == 45);
    }
    EXPECT_TRUE(found);
}

TEST_F(ContentLibraryTest, AReplacementThatCannotBeStoredLeavesTheItemItWouldReplace) {
    ContentLibraryRoot root(Root());
    ContentLibraryFolder* folder = FolderAt(PackageAt(root, 0), 1);
    const QByteArray before = ReadText(F1 + "/logo.mqi");
    ContentList items;
    items.push_back(NewImage<MarqaImage>("logo", LumoRDMImage::kMaxFrames + 1));
    RecordingFeedback feedback;
    EXPECT_FALSE(folder->AddContent(std::move(items), &feedback));
    EXPECT_EQ(feedback.Lines().size(), 1u);
    EXPECT_EQ(ReadText(F1 + "/logo.mqi"), before);
    bool listed = false;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        listed = listed || folder->Child(i)->Name() == "logo";
    }
    EXPECT_TRUE(listed);
}

TEST_F(ContentLibraryTest, NamesThatAreNotSafeFileNamesAreRefusedAndWriteNothing) {
    ContentLibraryRoot root(Root());
    ContentLibraryPackage* package = PackageAt(root, 0);
    ContentLibraryFolder* folder = FolderAt(package, 1);
    ASSERT_EQ(folder->Name(), "F1");
    const QStringList before =
        QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& name :
         {QStringLiteral("../../evil"), QStringLiteral("a/b"), QStringLiteral("a\\b"),
          QStringLiteral(".."), QStringLiteral("."), QStringLiteral("tab\tname"), QString()}) {
        SCOPED_TRACE(name.toStdString());
        RecordingFeedback feedback;
        ContentList items;
        items.push_back(NewImage<MarqaImage>(name, 1));
        EXPECT_FALSE(folder->AddContent(std::move(items), &feedback));
        EXPECT_FALSE(folder->Rename(folder->Child(0), name, 0, &feedback));
        EXPECT_FALSE(package->AddFolder(name, 0, &feedback));
        EXPECT_FALSE(package->Rename(folder, name, 0, &feedback));
        ASSERT_EQ(feedback.Lines().size(), 4u);
        for (const RecordingFeedback::Line& line : feedback.Lines()) {
            EXPECT_TRUE(line.text.startsWith("Can't use \"")) << line.text.toStdString();
            EXPECT_EQ(line.status, FeedbackStatusError);
        }
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("../evil.mqi")));
    EXPECT_EQ(folder->Name(), "F1");
}

TEST(ContentCacheTest, StoresByKeyAndTrimsFromTheMostRecentBack) {
    QTemporaryDir dir;
    ContentCache cache(dir.path());
    EXPECT_EQ(ContentCache::FileName(0xab12, "mqi"), "0000ab12.mqi");
    auto image = NewImage<MarqaImage>("cached", 2, 0xab12);
    ASSERT_TRUE(cache.Store(*image));
    MarqaImage fetched;
    ASSERT_TRUE(cache.Fetch(0xab12, fetched));
    EXPECT_EQ(fetched.Frames(), image->Frames());
    EXPECT_FALSE(cache.Fetch(0xab13, fetched));
    EXPECT_FALSE(cache.Store(*NewImage<MarqaImage>("nokey", 1, 0)));

    // Five files of 3 MiB, newest first: the fourth crosses 10 MiB and goes with the fifth.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 5; ++i) {
        QFile file(dir.filePath(ContentCache::FileName(quint32(i + 1), "slvi")));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(3 * 1024 * 1024));
        file.setFileTime(now.addSecs(-60 * (i + 1)), QFileDevice::FileModificationTime);
    }
    WriteText(dir.filePath("notes.txt"), QByteArray(100, 'n'));
    EXPECT_EQ(cache.Trim(), 2);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(QFile::exists(dir.filePath(ContentCache::FileName(quint32(i + 1), "slvi"))),
                  i < 3)
            << i;
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("0000ab12.mqi")));
    EXPECT_TRUE(QFile::exists(dir.filePath("notes.txt")));
}

}  // namespace
