#include "ArchiveTestSupport.h"

#include "archive/ArchiveIndex.h"
#include "archive/ArchivePath.h"
#include "archive/ArchivePathRouter.h"
#include "archive/ArchiveReader.h"
#include "archive/ArchiveWriter.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "archive/EncryptedArchiveReader.h"
#include "archive/WritingArchivedStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <typeinfo>

using namespace ArchiveTestSupport;

namespace {

QByteArray ReadEntry(const QString& path, bool* opened = nullptr) {
    QByteArray data;
    const bool ok = ArchivePathRouter::ReadAll(path, &data);
    if (opened) {
        *opened = ok;
    }
    return data;
}

TEST(ArchivePathTest, SplitsAndClassifiesPaths) {
    struct Case {
        const char* path;
        const char* archiveFile;
        const char* inner;
        bool decode;
        bool root;
        bool directory;
    };
    const Case cases[] = {
        {"X:/a/b.crvpkg/f/config.xml", "X:/a/b.crvpkg", "f/config.xml", false, false, false},
        {"X:/a/b.crvpkg/", "X:/a/b.crvpkg", "", false, true, true},
        {"X:/a/b.crvpkg/f", "X:/a/b.crvpkg", "f", false, false, true},
        {"X:/a/b.crvpkg/f/x.mqi", "X:/a/b.crvpkg", "f/x.mqi", false, false, false},
        {"X:/a/b.crvpkg", "X:/a/b.crvpkg", "", false, false, false},
        {"X:/a/B.LumoPKG\\f\\x.mqi", "X:/a/B.LumoPKG", "f\\x.mqi", false, false, false},
        {"decode#/s/m.lumopkg/f/config.xml", "/s/m.lumopkg", "f/config.xml", true, false, false},
        // The first occurrence of the suffix ends the archive file.
        {"/p/a.crvpkg/b.crvpkg/c", "/p/a.crvpkg", "b.crvpkg/c", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ArchivePath path = ArchivePath::Split(c.path);
        ASSERT_TRUE(path.IsArchive());
        EXPECT_EQ(path.ArchiveFile(), c.archiveFile);
        EXPECT_EQ(path.InnerPath(), c.inner);
        EXPECT_EQ(path.Decode(), c.decode);
        EXPECT_EQ(path.IsRoot(), c.root);
        EXPECT_EQ(path.IsDirectory(), c.directory);
    }
    EXPECT_FALSE(ArchivePath::Split("/home/x/file.tar.gz/f").IsArchive());
}

TEST(ArchivePathTest, HandlerChoosesTheEngineBySuffixAndMode) {
    struct Case {
        const char* path;
        bool writeMode;
        const std::type_info* engine;  // null: none
    };
    const Case cases[] = {
        {"/d/x.zip/f/a.mqi", false, nullptr},
        {"/d/x.crvpkg/f/a.mqi", false, &typeid(ArchiveReader)},
        {"/d/x.crvpkg/f/a.mqi", true, &typeid(ArchiveReader)},
        {"/d/X.CRVPKG/f/a.mqi", false, &typeid(ArchiveReader)},
        {"/d/x.lumopkg/f/a.mqi", false, &typeid(ArchiveReader)},
        {"decode#/d/x.lumopkg/f/a.mqi", false, &typeid(EncryptedArchiveReader)},
        {"/d/x.marqacollage/a.mqi", false, &typeid(ArchiveReader)},
        {"/d/x.solvicollage/a.slvi", false, &typeid(ArchiveReader)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::unique_ptr<ArchiveEngine> engine;
        if (c.writeMode) {
            const ArchiveWriterEnabler writing;
            engine = CustomFileSystemEngineHandler::create(c.path);
        } else {
            engine = CustomFileSystemEngineHandler::create(c.path);
        }
        if (!c.engine) {
            EXPECT_EQ(engine, nullptr);
        } else {
            ASSERT_NE(engine, nullptr);
            EXPECT_EQ(typeid(*engine), *c.engine);
        }
    }
    EXPECT_FALSE(CustomFileSystemEngineHandler::WriteMode());
}

class ArchiveEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ArchiveIndex::SetCacheBudget(ArchiveIndex::kDefaultCacheBudget); }
    void TearDown() override { ArchiveIndex::SetCacheBudget(ArchiveIndex::kDefaultCacheBudget); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(ArchiveEngineTest, ListsOneLevelWithoutCvsAndMatchesComponentsCaseInsensitively) {
    const QString archive = Path("b.crvpkg");
    ASSERT_TRUE(WriteTarGz(archive, {{"f1/", true, {}},
                                     {"f1/a.mqi", false, "A"},
                                     {"f1/b.slvi", false, "B"},
                                     {"f1/config.xml", false, "<objects/>"},
                                     {"f1/sub/", true, {}},
                                     {"CVS/", true, {}},
                                     {"./f2/", true, {}},
                                     {"f2/c.mqi", false, "C"},
                                     {"config.xml", false, "<objects/>"}}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/", QDir::Dirs), QStringList({"f1", "f2"}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/", QDir::Files),
              QStringList({"config.xml"}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/F1", QDir::Files, {"*.mqi", "*.slvi"}),
              QStringList({"a.mqi", "b.slvi"}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/f1", QDir::Dirs | QDir::Files),
              QStringList({"a.mqi", "b.slvi", "config.xml", "sub"}));
    EXPECT_TRUE(ArchivePathRouter::IsDirectory(archive + "/f2"));
    EXPECT_FALSE(ArchivePathRouter::IsDirectory(archive + "/f2/c.mqi"));
    EXPECT_EQ(ReadEntry(archive + "/f2/c.mqi"), "C");

    const std::unique_ptr<ArchiveEngine> root =
        CustomFileSystemEngineHandler::create(archive + "/");
    const auto flags = root->fileFlags(ArchiveEngine::FileFlags(0xFFFFFFFF));
    EXPECT_TRUE(flags & ArchiveEngine::RootFlag);
    EXPECT_TRUE(flags & ArchiveEngine::DirectoryType);
    EXPECT_TRUE(flags & ArchiveEngine::ExistsFlag);
}

TEST_F(ArchiveEngineTest, MissingEntryFailsToOpenWithSizeZero) {
    const QString archive = Path("m.lumopkg");
    ASSERT_TRUE(WriteTarGz(archive, {{"f/x.mqi", false, "data"}}));
    for (const QString& path :
         {archive + "/f/y.mqi", archive + "/F/x.mqi", Path("absent.lumopkg") + "/f/x.mqi"}) {
        SCOPED_TRACE(path.toStdString());
        ArchiveReader reader(".lumopkg", path);
        EXPECT_FALSE(reader.open(QIODevice::ReadOnly));
        EXPECT_EQ(reader.size(), 0);
    }
    ArchiveReader present(".lumopkg", archive + "/f/x.mqi");
    EXPECT_EQ(present.size(), 4);
}

TEST_F(ArchiveEngineTest, TwoWritersShareOneArchiveWrittenOnceInPathOrder) {
    const QString archive = Path("out.lumopkg");
    {
        const ArchiveWriterEnabler writing;
        auto second = CustomFileSystemEngineHandler::create(archive + "/z/b.mqi");
        auto first = CustomFileSystemEngineHandler::create(archive + "/a/c.mqi");
        ASSERT_EQ(typeid(*first), typeid(ArchiveWriter));
        ASSERT_TRUE(second->open(QIODevice::WriteOnly));
        ASSERT_TRUE(first->open(QIODevice::WriteOnly));
        EXPECT_EQ(second->write("second"), 6);
        EXPECT_EQ(first->write("first"), 5);
        EXPECT_TRUE(first->mkdir(archive + "/a", false));
        EXPECT_TRUE(first->mkdir(archive + "/z/", false));
        EXPECT_FALSE(first->mkdir(archive + "/", false));
        first.reset();
        EXPECT_FALSE(QFileInfo::exists(archive));  // the other writer still holds the stream
        second.reset();
    }
    ASSERT_TRUE(QFileInfo::exists(archive));
    EXPECT_TRUE(ArchiveLibInterface::WritingArchivedStream::Failure(archive).isEmpty());
    bool ok = false;
    const QByteArray listing = RunTool("tar", {"tzf", archive}, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(QString::fromUtf8(listing).split('\n', Qt::SkipEmptyParts),
              QStringList({"a/", "a/c.mqi", "z/", "z/b.mqi"}));
    EXPECT_EQ(ReadEntry(archive + "/a/c.mqi"), "first");
    EXPECT_EQ(ReadEntry(archive + "/z/b.mqi"), "second");
}

TEST_F(ArchiveEngineTest, WriterReportsAnArchiveThatCannotBeWritten) {
    const QString archive = Path("missing/dir/out.lumopkg");
    {
        const ArchiveWriterEnabler writing;
        const auto writer = CustomFileSystemEngineHandler::create(archive + "/f/a.mqi");
        EXPECT_FALSE(writer->open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(ArchiveLibInterface::WritingArchivedStream::Failure(archive).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(archive));
}

TEST_F(ArchiveEngineTest, ReadsWhatGnuTarMadeAndNoticesAChangedArchive) {
    QDir(m_dir.path()).mkpath("src/MARQA/f1");
    QFile file(Path("src/MARQA/f1/a.mqi"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(70000, 'x'));
    file.close();
    const QString archive = Path("gnu.lumopkg");
    bool ok = false;
    RunTool("tar", {"czf", archive, "-C", Path("src/MARQA"), "."}, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/", QDir::Dirs), QStringList({"f1"}));
    EXPECT_EQ(ReadEntry(archive + "/f1/a.mqi"), QByteArray(70000, 'x'));

    // Made again with other contents: the index of the old file must not answer.
    ASSERT_TRUE(WriteTarGz(archive, {{"f1/", true, {}}, {"f1/a.mqi", false, "new"}}));
    EXPECT_EQ(ReadEntry(archive + "/f1/a.mqi"), "new");
}

TEST_F(ArchiveEngineTest, EntriesBeyondTheCacheAreReadFromTheArchive) {
    ArchiveIndex::SetCacheBudget(100);
    const QString archive = Path("big.crvpkg");
    QByteArray big(50000, '\0');
    for (int i = 0; i < big.size(); ++i) {
        big[i] = char(i * 7);
    }
    ASSERT_TRUE(WriteTarGz(
        archive,
        {{"s.bin", false, "small"}, {"b.bin", false, big}, {"b.bin", false, "later copy"}}));
    EXPECT_EQ(ReadEntry(archive + "/s.bin"), "small");
    EXPECT_EQ(ReadEntry(archive + "/b.bin"), big);  // the first entry of the name wins
}

TEST_F(ArchiveEngineTest, UnsafeNamesAreNeverListedOrOpened) {
    const QString archive = Path("evil.lumopkg");
    ASSERT_TRUE(WriteTarGz(archive, {{"/etc/x.mqi", false, "abs"},
                                     {"../up.mqi", false, "up"},
                                     {"f/../../g.mqi", false, "up2"},
                                     {"f/", true, {}},
                                     {"f/ok.mqi", false, "ok"}}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/", QDir::Dirs | QDir::Files),
              QStringList({"f"}));
    EXPECT_EQ(ArchivePathRouter::EntryList(archive + "/f", QDir::Files), QStringList({"ok.mqi"}));
    for (const char* inner : {"/etc/x.mqi", "../up.mqi", "f/../../g.mqi", "etc/x.mqi"}) {
        bool opened = true;
        ReadEntry(archive + "/" + inner, &opened);
        EXPECT_FALSE(opened) << inner;
    }
}

TEST_F(ArchiveEngineTest, DamagedArchivesFailWithoutCrashingOrTouchingTheFile) {
    const QString good = Path("good.crvpkg");
    std::vector<TarEntry> entries;
    for (int i = 0; i < 20; ++i) {
        QByteArray data(3000, char('a' + i));
        entries.push_back({QByteArray("f/") + QByteArray::number(i) + ".mqi", false, data});
    }
    ASSERT_TRUE(WriteTarGz(good, entries));
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    in.close();

    struct Case {
        const char* name;
        QByteArray content;
    };
    QByteArray flipped = bytes;
    flipped[bytes.size() / 2] = char(flipped[bytes.size() / 2] ^ 0x5a);
    // An uncompressed tar whose first header's checksum field is garbage.
    bool ok = false;
    QDir(m_dir.path()).mkpath("plain");
    const QByteArray tar = RunTool("tar", {"cf", "-", "-C", m_dir.path(), "plain"}, &ok);
    QByteArray corruptTar = tar;
    corruptTar.replace(148, 8, "zzzzzzzz");
    const Case cases[] = {
        {"truncated.crvpkg", bytes.left(bytes.size() / 2)},
        {"flipped.crvpkg", flipped},
        {"empty.crvpkg", QByteArray()},
        {"garbage.crvpkg", QByteArray(5000, '\x1f')},
        {"header.crvpkg", corruptTar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Path(c.name);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.content);
        out.close();
        ArchivePathRouter::EntryList(path + "/", QDir::Dirs | QDir::Files);
        ArchivePathRouter::EntryList(path + "/f", QDir::Files);
        for (int i = 0; i < 20; ++i) {
            bool opened = false;
            const QByteArray data = ReadEntry(path + "/f/" + QString::number(i) + ".mqi", &opened);
            if (opened) {
                EXPECT_EQ(data, QByteArray(3000, char('a' + i)));  // never wrong data
            }
        }
        QFile check(path);
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), c.content);
    }
}

}  // namespace

TEST_F(ArchiveEngineTest, AnEntryClaimingMoreThanThePackageCanHoldRefusesThePackage) {
    const QString forged = Path("forged.crvpkg");
    ASSERT_TRUE(WriteForgedTarGz(forged, {{"F1/config.xml", false, "<objects/>"}}, "F1/big.mqi",
                                 QByteArray(600, 'x'), qint64(1000000000000000)));
    for (const char* inner : {"/F1/big.mqi", "/F1/config.xml"}) {
        SCOPED_TRACE(inner);
        QByteArray data("kept");
        QString error;
        EXPECT_FALSE(ArchivePathRouter::ReadAll(forged + inner, &data, &error));
        EXPECT_TRUE(error.contains("entry F1/big.mqi claims 1000000000000000 bytes"))
            << error.toStdString();
        EXPECT_EQ(data, "kept");
    }
    EXPECT_TRUE(ArchivePathRouter::EntryList(forged + "/F1", QDir::Files).isEmpty());
    EXPECT_EQ(ArchivePathRouter::OpenRead(forged + "/F1/big.mqi"), nullptr);
}

TEST_F(ArchiveEngineTest, ReadAllRefusesWhatIsLargerThanItsLimit) {
    const QString package = Path("large.crvpkg");
    ASSERT_TRUE(WriteTarGz(package, {{"f/large.mqi", false, QByteArray(5000, 'y')}}));
    QFile plain(Path("large.mqi"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write(QByteArray(5000, 'y'));
    plain.close();
    for (const QString& path : {package + "/f/large.mqi", Path("large.mqi")}) {
        SCOPED_TRACE(path.toStdString());
        QByteArray data("kept");
        QString error;
        EXPECT_FALSE(ArchivePathRouter::ReadAll(path, &data, &error, 4096));
        EXPECT_TRUE(error.contains("more than the 4096 bytes")) << error.toStdString();
        EXPECT_EQ(data, "kept");
        EXPECT_TRUE(ArchivePathRouter::ReadAll(path, &data, &error, 5000));
        EXPECT_EQ(data.size(), 5000);
    }
}

TEST(ArchiveWriteModeTest, BelongsToTheThreadThatSetsIt) {
    const QString path = "/d/x.lumopkg/f/a.mqi";
    const ArchiveWriterEnabler writing;
    std::unique_ptr<ArchiveEngine> elsewhere;
    std::thread([&] { elsewhere = CustomFileSystemEngineHandler::create(path); }).join();
    EXPECT_EQ(typeid(*elsewhere), typeid(ArchiveReader));
    // A read on another thread while this one writes leaves this thread a writer.
    std::thread([&] {
        const ArchiveReaderEnabler reading;
        elsewhere = CustomFileSystemEngineHandler::create(path);
    }).join();
    const std::unique_ptr<ArchiveEngine> here = CustomFileSystemEngineHandler::create(path);
    EXPECT_EQ(typeid(*here), typeid(ArchiveWriter));
}
