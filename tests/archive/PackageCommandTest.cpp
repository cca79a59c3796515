#include "ArchiveTestSupport.h"
#include "content/ledimage/MarqaImage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/ProgramRun.h"

namespace {

struct Result {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Result RunTool(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    ProgramResult run = RunProgram(program, arguments, 30000, environment);
    return {run.exitCode, std::move(run.out), std::move(run.err)};
}

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class PackageCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_package = m_dir.filePath("Pkg");
        WriteText(m_package + "/config.xml", "<objects policy=\"MARQAContentPackagePolicy\"/>");
        WriteText(m_package + "/F1/config.xml",
                  "<objects><content name=\"logo\" address=\"4\"/></objects>");
        MarqaImage image;
        image.SetFrames(std::vector<MarqaImage::Frame>(2));
        ASSERT_TRUE(image.Save(m_package + "/F1/logo.mqi"));
        QDir().mkpath(m_package + "/F2");
    }

    QTemporaryDir m_dir;
    QString m_package;
};

TEST_F(PackageCommandTest, PacksListsAndReadsPackages) {
    const QString out = m_dir.filePath("out.lumopkg");
    Result packed = RunTool(AURELCTL, {"package", "pack", m_package, out});
    ASSERT_EQ(packed.status, 0) << packed.err.constData();
    Result tar = RunTool("tar", {"tzf", out});
    ASSERT_EQ(tar.status, 0);
    EXPECT_EQ(QString(tar.out).split('\n', Qt::SkipEmptyParts),
              QStringList({"F1/", "F1/config.xml", "F1/logo.mqi", "F2/", "config.xml"}));

    const Result listed = RunTool(AURELCTL, {"package", "ls", out + "/f1"});
    ASSERT_EQ(listed.status, 0) << listed.err.constData();
    EXPECT_TRUE(listed.out.contains("logo.mqi")) << listed.out.constData();
    EXPECT_TRUE(listed.out.contains("config.xml"));
    const Result root = RunTool(AURELCTL, {"package", "ls", out});
    EXPECT_TRUE(root.out.contains("F1/") && root.out.contains("F2/")) << root.out.constData();

    const Result cat = RunTool(AURELCTL, {"package", "cat", out + "/F1/config.xml"});
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.out, "<objects><content name=\"logo\" address=\"4\"/></objects>");

    const Result missing = RunTool(AURELCTL, {"package", "cat", out + "/F1/none.mqi"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("no such entry")) << missing.err.constData();
}

TEST_F(PackageCommandTest, APackMadeFromARelativeDirectoryListsItsContent) {
    const ProgramResult packed =
        RunProgram(AURELCTL, {"package", "pack", "Pkg", "rel.lumopkg"}, 30000,
                   QProcessEnvironment::systemEnvironment(), m_dir.path());
    ASSERT_EQ(packed.exitCode, 0) << packed.err.constData();
    const Result root = RunTool(AURELCTL, {"package", "ls", m_dir.filePath("rel.lumopkg")});
    EXPECT_EQ(root.status, 0);
    EXPECT_TRUE(root.out.contains("F1/") && root.out.contains("config.xml"))
        << root.out.constData();

    // A package without anything to browse says so.
    ASSERT_TRUE(ArchiveTestSupport::WriteTarGz(m_dir.filePath("bare.lumopkg"), {}));
    const Result bare = RunTool(AURELCTL, {"package", "ls", m_dir.filePath("bare.lumopkg")});
    EXPECT_EQ(bare.status, 1);
    EXPECT_TRUE(bare.err.contains("holds no folders or files")) << bare.err.constData();
}

TEST_F(PackageCommandTest, EnciphersForStockContentAndDeciphersWithTheSameKey) {
    const QString out = m_dir.filePath("stock.lumopkg");
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("AUREL_PACKAGE_KEY", "0f0e0d0c0b0a09080706050403020100");
    ASSERT_EQ(
        RunTool(AURELCTL, {"package", "pack", m_package, out, "--encipher"}, environment).status,
        0);
    const QString entry = out + "/F1/config.xml";
    const Result raw = RunTool(AURELCTL, {"package", "cat", entry}, environment);
    EXPECT_FALSE(raw.out.contains("objects"));
    const Result plain = RunTool(AURELCTL, {"package", "cat", "decode#" + entry}, environment);
    EXPECT_EQ(plain.out, "<objects><content name=\"logo\" address=\"4\"/></objects>");
    const Result otherKey = RunTool(AURELCTL, {"package", "cat", "decode#" + entry});
    EXPECT_NE(otherKey.out, plain.out);
}

TEST_F(PackageCommandTest, RefusesBadInvocationsAndBadPackages) {
    WriteText(m_dir.filePath("broken.lumopkg"), QByteArray(3000, '\x1f'));
    struct Case {
        QStringList arguments;
        int status;
    };
    const Case cases[] = {
        {{"package", "pack", m_package, m_dir.filePath("out.tar")}, 1},
        {{"package", "pack", m_dir.filePath("absent"), m_dir.filePath("x.lumopkg")}, 1},
        {{"package", "ls", m_dir.filePath("broken.lumopkg")}, 1},
        {{"package", "cat", m_dir.filePath("broken.lumopkg") + "/F1/config.xml"}, 1},
        {{"package", "ls"}, 2},
        {{"package", "frob", "x"}, 2},
        {{"library", "rm"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Result result = RunTool(AURELCTL, c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.err.startsWith("aurelctl: ")) << result.err.constData();
    }
    EXPECT_FALSE(QFile::exists(m_dir.filePath("x.lumopkg")));

    // A place that takes no file: one line that names the output once, no log lines.
    const QString out = m_dir.filePath("no/such/folder/out.lumopkg");
    const Result unwritable = RunTool(AURELCTL, {"package", "pack", m_package, out});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(
        unwritable.err.startsWith("aurelctl: package pack: Can't write " + out.toUtf8() + ": "))
        << unwritable.err.constData();
    EXPECT_EQ(unwritable.err.count(out.toUtf8()), 1) << unwritable.err.constData();
    EXPECT_EQ(unwritable.err.count('\n'), 1) << unwritable.err.constData();
}

TEST_F(PackageCommandTest, AForgedEntrySizeIsRefusedWithAReason) {
    const QString forged = m_dir.filePath("forged.lumopkg");
    ASSERT_TRUE(ArchiveTestSupport::WriteForgedTarGz(forged, {}, "F1/big.mqi", QByteArray(700, 'x'),
                                                     qint64(1000000000000000)));
    for (const QString& verb : QStringList{"package cat", "image info"}) {
        SCOPED_TRACE(verb.toStdString());
        const Result result = RunTool(AURELCTL, verb.split(' ') << forged + "/F1/big.mqi");
        EXPECT_EQ(result.status, 1);
        EXPECT_TRUE(result.err.contains("claims 1000000000000000 bytes")) << result.err.constData();
    }
}

TEST_F(PackageCommandTest, ListsTheLibraryOfTheDocumentsFolder) {
    const QString documents = m_dir.filePath("documents");
    ASSERT_TRUE(QDir().rename(m_package, documents + "/Aurel Content Library/Pkg") ||
                (QDir().mkpath(documents + "/Aurel Content Library") &&
                 QDir().rename(m_package, documents + "/Aurel Content Library/Pkg")));
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("AUREL_DOCUMENTS_DIR", documents);
    environment.insert("AUREL_DATA_DIR", m_dir.filePath("data"));
    const Result listed = RunTool(AURELCTL, {"library", "ls"}, environment);
    ASSERT_EQ(listed.status, 0) << listed.err.constData();
    EXPECT_TRUE(listed.out.startsWith("User Content")) << listed.out.constData();
    EXPECT_TRUE(listed.out.contains("MARQAContentPackagePolicy"));
    EXPECT_TRUE(listed.out.contains("logo"));
    const Result quorel = RunTool(AURELCTL, {"library", "ls", "--quorel"}, environment);
    EXPECT_EQ(quorel.status, 0);
    EXPECT_TRUE(quorel.out.startsWith("Quorel Content"));

    const Result json = RunTool(AURELCTL, {"library", "ls", "--json"}, environment);
    ASSERT_EQ(json.status, 0) << json.err.constData();
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(root["name"].toString(), "User Content");
    const QJsonObject package = root["packages"][0].toObject();
    EXPECT_EQ(package["name"].toString(), "Pkg");
    EXPECT_EQ(package["policy"].toString(), "MARQAContentPackagePolicy");
    QStringList folders;
    for (const QJsonValue& folder : package["folders"].toArray()) {
        for (const QJsonValue& item : folder["items"].toArray()) {
            folders.append(folder["name"].toString() + "/" + item["name"].toString() + " " +
                           QString::number(item["address"].toInt()) + " " +
                           item["kind"].toString());
        }
    }
    EXPECT_EQ(folders, QStringList({"F1/logo 4 mqi"})) << json.out.constData();
}

}  // namespace
