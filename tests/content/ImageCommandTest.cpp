#include "content/ledimage/MarqaImage.h"
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

using Result = ProgramText;

Result RunAurelctl(const QStringList& arguments) {
    return RunProgramText(AURELCTL, arguments);
}

class ImageCommandTest : public testing::Test {
protected:
    void SetUp() override {
        MarqaImage image;
        image.SetName("Sunrise");
        image.SetContentKey(0x00C0FFEE);
        std::vector<MarqaImage::Frame> frames(2);
        frames[0].delay = 120;
        frames[1].delay = 480;
        frames[1].leds.fill(3);
        frames[1].leds[5] = 4;
        image.SetFrames(frames);
        ASSERT_TRUE(image.Save(Path("sunrise.mqi")));
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(ImageCommandTest, InfoDescribesTheImage) {
    const Result result = RunAurelctl({"image", "info", Path("sunrise.mqi")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    for (const char* line :
         {"Family:        Marqa (127 LEDs)", "Name:          Sunrise", "Content key:   00c0ffee",
          "Frames:        2", "Delays (ms):   120 480", "Palette used:  3 of 256 colours"}) {
        EXPECT_TRUE(result.out.contains(line)) << line << "\n" << result.out.toStdString();
    }
    const Result json = RunAurelctl({"image", "info", Path("sunrise.mqi"), "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8()).object(),
              (QJsonObject{{"file", Path("sunrise.mqi")},
                           {"family", "Marqa"},
                           {"leds", 127},
                           {"name", "Sunrise"},
                           {"key", "0x00c0ffee"},
                           {"frames", 2},
                           {"delays", QJsonArray{120, 480}},
                           {"paletteUsed", 3}}))
        << json.out.toStdString();
}

TEST_F(ImageCommandTest, ConvertGifAndRenderWriteReadableFiles) {
    Result result = RunAurelctl({"image", "convert", Path("sunrise.mqi"), Path("sunrise.slvi")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    SolviImage converted;
    ASSERT_TRUE(converted.Load(Path("sunrise.slvi")));
    EXPECT_EQ(converted.FrameCount(), 2);
    EXPECT_EQ(converted.ContentKey(), 0x00C0FFEEu);

    result = RunAurelctl({"image", "gif", Path("sunrise.slvi"), Path("sunrise.gif")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QImageReader(Path("sunrise.gif")).imageCount(), 2);

    result = RunAurelctl({"image", "render", Path("sunrise.mqi"), Path("frame.png"), "--frame", "1",
                          "--size", "64"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QImage(Path("frame.png")).size(), QSize(64, 64));
}

TEST_F(ImageCommandTest, BadFilesAndArgumentsFailWithAMessage) {
    QFile empty(Path("empty.mqi"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile garbage(Path("garbage.slvi"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(3001, '\x01'));  // cuts its last entry
    garbage.close();
    // A good image with its first entry's type, then its header's format, spoilt.
    QFile good(Path("sunrise.mqi"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    QByteArray spoilt = good.readAll();
    spoilt[792] = 7;
    QFile badType(Path("bad-type.mqi"));
    ASSERT_TRUE(badType.open(QIODevice::WriteOnly));
    badType.write(spoilt);
    badType.close();
    spoilt[0] = 2;
    QFile badFormat(Path("bad-format.mqi"));
    ASSERT_TRUE(badFormat.open(QIODevice::WriteOnly));
    badFormat.write(spoilt);
    badFormat.close();
    QFile notes(Path("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{"image", "info", Path("empty.mqi")}, 1, ": shorter than the 792-byte header"},
        {{"image", "info", Path("garbage.slvi")}, 1, "aurelctl: cannot read LED image"},
        {{"image", "info", Path("garbage.slvi")}, 1, "is cut short"},
        {{"image", "info", Path("bad-type.mqi")}, 1, ": bad entry type 7 at entry 1"},
        {{"image", "info", Path("bad-format.mqi")}, 1, ": unknown format 2 in the header"},
        {{"image", "info", Path("missing.mqi")}, 1, "missing.mqi: no such file"},
        {{"image", "info", Path("missing.png")}, 1, "missing.png: no such file"},
        {{"image", "info", Path("notes.txt")}, 2, "notes.txt: not an LED image file name"},
        {{"image", "convert", Path("sunrise.mqi"), Path("out.txt")}, 2, "output suffix"},
        {{"image", "gif", Path("sunrise.mqi"), Path("out.png")},
         2,
         "out.png: the output suffix must be .gif"},
        {{"image", "gif", Path("sunrise.mqi"), Path("no/dir/out.gif")}, 1, "cannot write"},
        {{"image", "render", Path("sunrise.mqi"), Path("x.png"), "--frame", "2"},
         2,
         "has 2 frame(s); there is no frame 2"},
        {{"image", "render", Path("sunrise.mqi"), Path("x.png"), "--size", "0"}, 2, "--size"},
        {{"image", "gif", Path("sunrise.mqi")}, 2, "usage: aurelctl image gif"},
        {{"image", "paint"}, 2, "unknown action paint"},
        {{"image"}, 2, "no action given"},
    };
    for (const Case& c : cases) {
        const Result result = RunAurelctl(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
}

TEST_F(ImageCommandTest, ImportSamplesOneFileWithTheSettingsGiven) {
    QImage red(60, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(Path("red.png")));
    const Result inverted = RunAurelctl(
        {"image", "import", Path("red.png"), Path("out.slvi"), "--invert", "--name", "Teal"});
    ASSERT_EQ(inverted.exitCode, 0) << inverted.err.toStdString();
    SolviImage image;
    ASSERT_TRUE(image.Load(Path("out.slvi")));
    EXPECT_EQ(image.Name(), "Teal");
    EXPECT_EQ(image.Palette()[image.Frames()[0].leds[0]] & 0xFFFFFF, 0x00FFFFu);

    for (const QStringList& bad : {
             QStringList{"image", "import", Path("red.png"), Path("out.slvi"), "--cutoff", "300"},
             QStringList{"image", "import", Path("red.png"), Path("out.slvi"), "--aspect", "wide"},
             QStringList{"image", "import", Path("red.png"), Path("out.png")},
         }) {
        const Result result = RunAurelctl(bad);
        EXPECT_EQ(result.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("aurelctl: ")) << result.err.toStdString();
    }
    const Result missing = RunAurelctl({"image", "import", Path("none.png"), Path("out.mqi")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("does not exist")) << missing.err.toStdString();
}

TEST_F(ImageCommandTest, ImportIntoALibraryFolderTakesEveryReadableFileAndNamesTheRest) {
    const QString in = Path("in");
    ASSERT_TRUE(QDir().mkpath(in));
    QImage blue(30, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(in + "/a-blue.png"));
    ASSERT_TRUE(blue.save(in + "/c-sky.jpg"));
    QFile notes(in + "/b-notes.txt");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("a list of cues");
    notes.close();
    const QString clips = Path("docs/Aurel Content Library/Show/Clips");
    ASSERT_TRUE(QDir().mkpath(clips));
    for (const auto& [file, text] :
         {std::pair<QString, QByteArray>{clips + "/../config.xml",
                                         "<objects policy=\"MARQAContentPackagePolicy\"><folder "
                                         "name=\"Clips\" address=\"45\"/></objects>"},
          {clips + "/config.xml", "<objects policy=\"MARQAContentFolderPolicy\"></objects>"}}) {
        QFile config(file);
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(text);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("AUREL_DOCUMENTS_DIR", Path("docs"));
    const ProgramResult run = RunProgram(
        AURELCTL, {"image", "import", in, "--into", "lib:Show/Clips"}, 60000, environment);
    EXPECT_EQ(run.exitCode, 1);
    const QString out = QString::fromUtf8(run.out);
    EXPECT_TRUE(out.startsWith("2 of 3 file(s) imported into Clips\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("failed: b-notes.txt: cannot import")) << out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.err).contains("[2/3] b-notes.txt"));
    MarqaImage sky;
    ASSERT_TRUE(sky.Load(clips + "/c-sky.mqi"));
    EXPECT_EQ(sky.FrameCount(), 1);
    EXPECT_TRUE(QFile::exists(clips + "/a-blue.mqi"));
    EXPECT_FALSE(QFile::exists(clips + "/b-notes.mqi"));
}
