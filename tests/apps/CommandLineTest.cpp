#include "support/ProgramRun.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Result = ProgramResult;

QStringList WidgetPaths(const QByteArray& json) {
    QStringList paths;
    for (const QJsonValue& widget : QJsonDocument::fromJson(json).object()["widgets"].toArray()) {
        paths.append(widget.toObject()["path"].toString() + " " +
                     QString::number(widget.toObject()["ports"].toInt()) + " " +
                     widget.toObject()["firmware"].toString());
    }
    return paths;
}

}  // namespace

TEST(CommandLineTest, RigServedInOneProcessIsListedByAnotherUntilItStops) {
    QTemporaryDir dir;
    const QString rigFile = dir.filePath("rig.json");
    QFile file(rigFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"widgets": [{"name": "stage-left", "productCode": 23, "firmware": "5.2"}]})");
    file.close();
    const QString widgets = dir.filePath("widgets");

    QProcess rig;
    rig.start(AUREL_RIG, {rigFile, "--widget-dir", widgets});
    ASSERT_TRUE(rig.waitForReadyRead(10000));
    EXPECT_TRUE(rig.readAllStandardOutput().startsWith("aurel-rig: serving 1 widget(s) in "));

    const Result listed = RunProgram(AURELCTL, {"widgets", "--widget-dir", widgets, "--json"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(
        WidgetPaths(listed.out),
        QStringList({widgets + "/5621b03d-10b4-4624-9a0c-1d4a87217b1d/stage-left.sock 4 5.2"}));

    rig.terminate();
    ASSERT_TRUE(rig.waitForFinished(10000));
    EXPECT_EQ(rig.exitCode(), 0);

    const Result after = RunProgram(AURELCTL, {"widgets", "--widget-dir", widgets});
    EXPECT_EQ(after.exitCode, 0);
    EXPECT_EQ(after.out,
              "No widgets found; searched socket widgets in " + widgets + " (--widget-dir).\n");
}

TEST(CommandLineTest, BadInvocationsFailWithAMessage) {
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"widgets", "--rig", "/nonexistent.json"},
         "aurelctl: cannot read rig file /nonexistent.json"},
        {{"widgets", "--demo", "--widget-dir", "/tmp"}, "aurelctl: choose one of"},
        {{"frobnicate"}, "aurelctl: unknown command: frobnicate"},
        // Unknown options and options without their value, in every command.
        {{"widgets", "--frobnicate"}, "aurelctl: Unknown option 'frobnicate'."},
        {{"content", "ls", "--widget-dir"}, "aurelctl: Missing value after '--widget-dir'."},
        {{"quorel", "ls", "-z"}, "aurelctl: Unknown option 'z'."},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = RunProgram(AURELCTL, arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith(message)) << result.err.toStdString();
    }
    const Result version = RunProgram(AURELCTL, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("aurelctl ")) << version.out.toStdString();
    const Result rig = RunProgram(AUREL_RIG, {"/nonexistent.json"});
    EXPECT_EQ(rig.exitCode, 2);
    EXPECT_TRUE(rig.err.startsWith("aurel-rig: cannot read rig file")) << rig.err.toStdString();
}

TEST(CommandLineTest, WithoutAWidgetTheToolNamesWhereItLookedAndMakesNoFolder) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("not/yet");
    const QString where = "searched socket widgets in " + missing + " (--widget-dir)";
    const std::tuple<QStringList, int, QString> cases[] = {
        {{"widgets"}, 0, "No widgets found; " + where + ".\n"},
        {{"discover"}, 1, "aurelctl: no widget found; " + where + "\n"},
        {{"content", "ls", "4356:00001001"}, 1, "aurelctl: no widget found; " + where + "\n"},
        {{"identify", "4a41:00000101"}, 1, "aurelctl: no widget found; " + where + "\n"},
    };
    for (const auto& [arguments, status, message] : cases) {
        const Result result =
            RunProgram(AURELCTL, arguments + QStringList{"--widget-dir", missing});
        EXPECT_EQ(result.exitCode, status) << arguments.join(' ').toStdString();
        // Any progress lines come before the message.
        EXPECT_TRUE(QString::fromUtf8(result.out + result.err).endsWith(message))
            << (result.out + result.err).toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("not"))) << arguments.join(' ').toStdString();
    }

    // The variable and the serial interfaces name themselves.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("AUREL_WIDGET_DIR", missing);
    EXPECT_TRUE(RunProgram(AURELCTL, {"discover"}, 30000, environment)
                    .err.endsWith("aurelctl: no widget found; searched socket widgets in " +
                                  missing.toUtf8() + " ($AUREL_WIDGET_DIR)\n"));
    EXPECT_TRUE(RunProgram(AURELCTL, {"discover", "--usbpro", missing})
                    .err.endsWith("aurelctl: no widget found; searched the USB Pro interface at " +
                                  missing.toUtf8() + " (--usbpro)\n"));
}
