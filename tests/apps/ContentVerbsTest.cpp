#include "content/ledimage/MarqaRDMImage.h"
#include "content/ledimage/SolviImage.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ProgramResult Aurelctl(const QStringList& arguments) {
    return RunProgram(AURELCTL, arguments, 240000);
}

// An image file of the first family with a few frames.
QByteArray WriteImage(const QString& path, quint32 key = 0x0BADF00D,
                      const QString& name = "Sparkle") {
    MarqaRDMImage record;
    record.header.contentKey = key;
    record.SetNameText(name);
    for (int frame = 0; frame < 12; ++frame) {
        LumoRDMImage::Entry entry;
        entry.delay = quint16(30 + frame);
        entry.leds = QByteArray(MarqaRDMImage::kLedCount, char(frame * 3 + int(key & 7)));
        record.entries.push_back(entry);
    }
    record.header.frameCount = 12;
    record.header.palette[3] = 200;
    const QByteArray bytes = record.ToBytes();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return bytes;
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A rig file served as socket widgets in a folder of its own, for the life of the object.
class SocketRig {
public:
    explicit SocketRig(const QString& file) {
        m_rig.start(AUREL_RIG, {QDir(RIGS_DIR).filePath(file), "--widget-dir", m_dir.path()});
        m_ready = m_rig.waitForReadyRead(10000);
    }
    ~SocketRig() {
        m_rig.terminate();
        m_rig.waitForFinished(10000);
    }
    bool Ready() const { return m_ready; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // The options that reach it.
    QStringList On() const { return {"--widget-dir", m_dir.path()}; }

private:
    QTemporaryDir m_dir;
    QProcess m_rig;
    bool m_ready = false;
};

}  // namespace

TEST(ContentVerbsTest, ALibraryFolderCopiedToAFixtureAndClonedToTwoOthersComesBackByteForByte) {
    const SocketRig dir("clone.json");
    ASSERT_TRUE(dir.Ready());
    const QStringList on = dir.On();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("AUREL_DOCUMENTS_DIR", dir.filePath("docs"));
    const auto aurelctl = [&](const QStringList& arguments) {
        return RunProgram(AURELCTL, arguments + on, 240000, environment);
    };

    // The library: package "Show" with folder "Clips" (45) holding Fire (1) and Rain (2).
    const QString clips = dir.filePath("docs/Aurel Content Library/Show/Clips");
    ASSERT_TRUE(QDir().mkpath(clips));
    const QByteArray fire = WriteImage(clips + "/Fire.mqi", 0xF1, "Fire");
    const QByteArray rain = WriteImage(clips + "/Rain.mqi", 0xA2, "Rain");
    WriteText(clips + "/../config.xml",
              "<objects policy=\"MARQAContentPackagePolicy\"><folder name=\"Clips\" "
              "address=\"45\"/></objects>");
    WriteText(clips + "/config.xml",
              "<objects policy=\"MARQAContentFolderPolicy\"><content name=\"Fire\" address=\"1\"/>"
              "<content name=\"Rain\" address=\"2\"/></objects>");

    const ProgramResult copy = aurelctl({"content", "cp", "lib:Show/Clips", "4356:00002001"});
    ASSERT_EQ(copy.exitCode, 0) << copy.err.toStdString();
    EXPECT_EQ(copy.out, "Copying Clips to User Content: Operation Completed\n");
    EXPECT_TRUE(copy.err.contains("] Copying Rain from Clips to Clips")) << copy.err.toStdString();

    const QStringList clone{"content",       "clone", "4356:00002001", "--to",
                            "4356:00002002", "--to",  "4356:00002003", "--json"};
    const ProgramResult cloned = aurelctl(clone);
    ASSERT_EQ(cloned.exitCode, 0) << cloned.out.toStdString() << cloned.err.toStdString();
    EXPECT_TRUE(cloned.out.contains("\"result\": \"succeeded\"")) << cloned.out.toStdString();
    EXPECT_TRUE(cloned.out.contains("Deleting Extra in User Content")) << cloned.out.toStdString();

    for (const QString uid : {"4356:00002001", "4356:00002002", "4356:00002003"}) {
        SCOPED_TRACE(uid.toStdString());
        for (const auto& [file, bytes] : {std::pair<QString, QByteArray>{"1", fire}, {"2", rain}}) {
            const QString back = dir.filePath("back.mqi");
            const ProgramResult download = aurelctl({"content", "download", uid, "45", file, back});
            ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
            QFile read(back);
            ASSERT_TRUE(read.open(QIODevice::ReadOnly));
            EXPECT_EQ(read.readAll(), bytes);
        }
        const ProgramResult listing = aurelctl({"content", "ls", uid});
        EXPECT_FALSE(listing.out.contains("Extra")) << listing.out.toStdString();
    }

    // Nothing changed: the second clone only reads the listings.
    const ProgramResult again = aurelctl(clone);
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains("\"lines\": [\n    ]")) << again.out.toStdString();

    // A folder that holds files goes only with --recursive, from the library as from a fixture.
    for (const QString where : {"lib:Show/Clips", "4356:00002003/45"}) {
        SCOPED_TRACE(where.toStdString());
        const ProgramResult refused = aurelctl({"content", "rm", where});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_TRUE(
            refused.err.contains("aurelctl: folder " + where.toUtf8() +
                                 " holds 2 file(s); add --recursive to remove it with them"))
            << refused.err.toStdString();
        const ProgramResult removed = aurelctl({"content", "rm", where, "--recursive"});
        EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    }
    EXPECT_FALSE(QDir(clips).exists());
    EXPECT_FALSE(aurelctl({"content", "ls", "4356:00002003"}).out.contains("Clips"));
}

TEST(ContentVerbsTest, ImagesGoToASocketRigFixtureAndComeBackByteForByte) {
    const SocketRig dir("led.json");
    ASSERT_TRUE(dir.Ready());
    const QStringList on = dir.On();
    const QString uid = "4356:00001001";

    const QString image = dir.filePath("sparkle.mqi");
    const QByteArray bytes = WriteImage(image);
    const ProgramResult upload =
        Aurelctl(QStringList{"content", "upload", uid, "41", image, "--file", "5"} + on);
    ASSERT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_EQ(upload.out, "Sparkle -> folder 41 file 5\n");

    const QString back = dir.filePath("back.mqi");
    const ProgramResult download =
        Aurelctl(QStringList{"content", "download", uid, "41", "5", back} + on);
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    QFile file(back);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);

    struct Step {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const Step steps[] = {
        {{"content", "mkdir", uid, "60", "Extra"}, 0, ""},
        {{"content", "rename", uid, "41", "5", "Glitter"}, 0, ""},
        {{"content", "rm", uid, "41", "1"}, 0, ""},
        {{"quorel-address", uid, "300"}, 0, ""},
        // The stock folders are locked.
        {{"content", "upload", uid, "1", image},
         1,
         "aurelctl: Items in this folder can't be modified\n"},
        {{"content", "mkdir", uid, "40", "Nope"},
         1,
         "aurelctl: Items in this folder can't be modified\n"},
        {{"content", "download", uid, "41", "9", back}, 1, ""},
        {{"content", "upload", uid, "41", dir.filePath("missing.mqi")},
         2,
         "aurelctl: cannot read LED image " + dir.filePath("missing.mqi").toUtf8() +
             ": no such file\n"},
        {{"content", "ls", "4a41:00000999"}, 1, ""},
    };
    for (const Step& step : steps) {
        const ProgramResult result = Aurelctl(step.arguments + on);
        EXPECT_EQ(result.exitCode, step.status) << step.arguments.join(' ').toStdString() << "\n"
                                                << result.err.toStdString();
        if (!step.err.isEmpty()) {
            EXPECT_EQ(result.err, step.err) << step.arguments.join(' ').toStdString();
        }
    }

    const ProgramResult list = Aurelctl(QStringList{"content", "ls", uid} + on);
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out,
              "Stock Content (folders 1-40)\n"
              "    1  Stock\n"
              "         1  Sunrise           0x00000101\n"
              "User Content (folders 41-250)\n"
              "   41  Shows\n"
              "         5  Glitter           0x0badf00d\n"
              "   60  Extra\n"
              "Quorel Content (folders 251-251)\n");
    const ProgramResult quorel = Aurelctl(QStringList{"quorel-address", uid} + on);
    EXPECT_EQ(quorel.out, "0x435600001001 Quorel address 300\n");
}

// The in-process rig starts from its file on every run: folder 1 (stock) holds Sunrise,
// folder 41 holds Fire.
TEST(ContentVerbsTest, WrongRequestsSayWhatIsWrongAndChangeNothing) {
    QTemporaryDir dir;
    const QStringList on = {"--rig", QDir(RIGS_DIR).filePath("led.json")};
    const QString uid = "4356:00001001";
    const QString image = dir.filePath("sparkle.mqi");
    WriteImage(image);
    const QString shortImage = dir.filePath("short.mqi");
    WriteText(shortImage, QByteArray(100, '\x01'));
    const QByteArray back = dir.filePath("back").toUtf8();

    struct Case {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const Case cases[] = {
        {{"content", "download", uid, "41", "9", back + ".mqi"},
         1,
         "aurelctl: File 9 does not exist in folder 41\n"},
        {{"content", "download", uid, "41", "1", back + ".png"},
         2,
         "aurelctl: " + back + ".png: the output suffix must be .mqi, .slvi or .gif\n"},
        {{"content", "upload", uid, "41", dir.filePath("missing.png")},
         2,
         "aurelctl: cannot read LED image " + dir.filePath("missing.png").toUtf8() +
             ": no such file\n"},
        {{"content", "upload", uid, "41", shortImage},
         2,
         "aurelctl: cannot read LED image " + shortImage.toUtf8() +
             ": shorter than the 792-byte header\n"},
        {{"content", "rm", uid, "41"},
         2,
         "aurelctl: folder 41 holds 1 file(s); add --recursive to remove it with them\n"},
        {{"content", "mkdir", uid, "60", "Seventeen-letters"},
         2,
         "aurelctl: names are at most 16 characters; \"Seventeen-letters\" has 17\n"},
        {{"content", "mkdir", uid, "60", ""}, 2, "aurelctl: a name can't be empty\n"},
        {{"content", "rename", uid, "41", "1", "A-much-longer-name"},
         2,
         "aurelctl: names are at most 16 characters; \"A-much-longer-name\" has 18\n"},
        {{"content", "rename", uid, "41", " "}, 2, "aurelctl: a name can't be empty\n"},
        {{"content", "upload", uid, "41", image, "--file", "-1"},
         2,
         "aurelctl: --file must be from 1 to 255\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = Aurelctl(c.arguments + on);
        EXPECT_EQ(result.exitCode, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, c.err) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(back + ".mqi"));
}

TEST(ContentVerbsTest, DownloadWritesTheFormatOfItsSuffixAndUploadAndRmSayWhatTheyReplace) {
    QTemporaryDir dir;
    const QStringList on = {"--rig", QDir(RIGS_DIR).filePath("led.json")};
    const QString uid = "4356:00001001";

    // The fixture's file is of the first family: .slvi converts it, .gif exports it.
    const QString slvi = dir.filePath("fire.slvi");
    const ProgramResult converted =
        Aurelctl(QStringList{"content", "download", uid, "41", "1", slvi} + on);
    ASSERT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    EXPECT_EQ(converted.out, "Fire (key 0x00002901) -> " + slvi.toUtf8() + "\n");
    SolviImage solvi;
    ASSERT_TRUE(solvi.Load(slvi)) << solvi.LoadProblem().toStdString();
    EXPECT_EQ(solvi.FrameCount(), 3);
    const QString gif = dir.filePath("fire.gif");
    const ProgramResult exported =
        Aurelctl(QStringList{"content", "download", uid, "41", "1", gif} + on);
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(QImageReader(gif).imageCount(), 3);

    const QString image = dir.filePath("sparkle.mqi");
    WriteImage(image);
    const ProgramResult replaced =
        Aurelctl(QStringList{"content", "upload", uid, "41", image, "--file", "1"} + on);
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(replaced.out, "Sparkle -> folder 41 file 1 (replaces Fire)\n");

    const ProgramResult removed =
        Aurelctl(QStringList{"content", "rm", uid, "41", "--recursive"} + on);
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();

    const ProgramResult listed = Aurelctl(QStringList{"content", "ls", uid, "--json"} + on);
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(listed.out).object();
    EXPECT_EQ(root["uid"].toString(), "0x435600001001");
    QStringList files;
    for (const QJsonValue& group : root["groups"].toArray()) {
        files.append(QStringLiteral("%1 %2-%3")
                         .arg(group["name"].toString())
                         .arg(group["first"].toInt())
                         .arg(group["last"].toInt()));
        for (const QJsonValue& folder : group["folders"].toArray()) {
            for (const QJsonValue& file : folder["files"].toArray()) {
                files.append(QStringLiteral("%1 %2/%3 %4 %5")
                                 .arg(folder["name"].toString())
                                 .arg(folder["number"].toInt())
                                 .arg(file["number"].toInt())
                                 .arg(file["name"].toString(), file["key"].toString()));
            }
        }
    }
    EXPECT_EQ(files, QStringList({"Stock Content 1-40", "Stock 1/1 Sunrise 0x00000101",
                                  "User Content 41-250", "Shows 41/1 Fire 0x00002901",
                                  "Quorel Content 251-251"}));
}
