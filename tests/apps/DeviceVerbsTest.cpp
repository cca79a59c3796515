#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Result = ProgramResult;

Result Aurelctl(const QStringList& arguments) {
    return RunProgram(AURELCTL, arguments, 240000);
}

QString Rig(const char* name) {
    return QDir(RIGS_DIR).filePath(name);
}

// "uid protocol label address footprint port" per device, sorted.
QStringList Devices(const QByteArray& json) {
    QStringList devices;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).object()["devices"].toArray()) {
        const QJsonObject d = value.toObject();
        devices.append(QStringList{d["uid"].toString(), d["protocol"].toString(),
                                   d["label"].toString(), QString::number(d["address"].toInt()),
                                   QString::number(d["footprint"].toInt()),
                                   QString::number(d["port"].toInt())}
                           .join(' '));
    }
    devices.sort();
    return devices;
}

}  // namespace

TEST(DeviceVerbsTest, DiscoverFindsEveryFixtureOfAnInProcessRig) {
    const Result result = Aurelctl({"discover", "--rig", Rig("stage.json"), "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(Devices(result.out), QStringList({
                                       "0x280000000 RDM Hazer 500 16 2",
                                       "0x4a4100000101 RDM Wash 1 1 16 0",
                                       "0x4a4100000102 RDM Wash 2 15 16 0",
                                       "0x4a4100000203 RDM Wash 3 29 16 0",
                                       "0x51420000a001 RDM Par 1 101 7 2",
                                       "0x51420000a002 RDM Par 2 108 7 2",
                                       "0xa1b2c3 ORX  201 18 1",
                                       "0xa1b2c9 ORX  219 12 1",
                                   }));
    const Result rdmOnly = Aurelctl({"discover", "--rdm", "--rig", Rig("stage.json"), "--json"});
    EXPECT_EQ(Devices(rdmOnly.out).size(), 6);
    const Result thorough =
        Aurelctl({"discover", "--thorough", "--rig", Rig("stage.json"), "--json"});
    EXPECT_EQ(thorough.out, result.out) << thorough.err.toStdString();
}

TEST(DeviceVerbsTest, DiscoverShowsPlainProgressLinesOffATerminalAndNoneWhenQuiet) {
    const Result plain = Aurelctl({"discover", "--rig", Rig("led.json")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_FALSE(plain.err.contains('\r'));
    const QStringList lines = QString::fromUtf8(plain.err).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 3) << plain.err.toStdString();
    static const QRegularExpression progress("^\\[ *(\\d+)%\\] \\S");
    int percent = 0;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = progress.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_GE(match.captured(1).toInt(), percent) << line.toStdString();
        percent = match.captured(1).toInt();
    }
    EXPECT_TRUE(lines.filter("Port 0: searched").size() > 0) << plain.err.toStdString();
    EXPECT_EQ(lines.last(), "[100%] Found 1 fixture(s)");

    const Result quiet = Aurelctl({"discover", "--rig", Rig("led.json"), "--quiet"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, plain.out);
}

TEST(DeviceVerbsTest, DiscoveryWithoutTheUniqueIdFileWarnsAndSucceeds) {
    QTemporaryDir dir;
    QFile rig(dir.filePath("unset.json"));
    ASSERT_TRUE(rig.open(QIODevice::WriteOnly));
    rig.write(R"({ "widgets": [ { "name": "unset", "productCode": 2, "fixtures": [
        { "port": 0, "type": "marqa", "uid": "4356:00003001", "deviceLabel": "New" } ] } ] })");
    rig.close();
    const Result result = Aurelctl({"discover", "--rig", rig.fileName(), "--json", "--quiet"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    ASSERT_EQ(Devices(result.out).size(), 1);
    EXPECT_TRUE(Devices(result.out)[0].startsWith("0x435600003001 RDM New "));
    const Result told = Aurelctl({"discover", "--rig", rig.fileName()});
    EXPECT_EQ(told.exitCode, 0);
    EXPECT_TRUE(
        told.err.contains("Warning: Could not read the unique id file: no unique id file "
                          "is named under \"UniqueIdGenerator/MARQA\" in "))
        << told.err.toStdString();
    EXPECT_TRUE(told.err.contains("Corvane/Aurel.conf")) << told.err.toStdString();
}

TEST(DeviceVerbsTest, SingleFixtureVerbsLocateTheFixtureByUid) {
    const QString rig = Rig("stage.json");
    const std::tuple<QStringList, int, QByteArray> cases[] = {
        {{"identify", "4a41:00000102", "on"}, 0, "0x4a4100000102 identify on\n"},
        {{"identify", "0x4a4100000102"}, 0, "0x4a4100000102 identify on\n"},  // was off: over
        {{"address", "0x51420000a001", "42"}, 0, "0x51420000a001 address 42\n"},
        {{"address", "0x51420000a001", "513"}, 2, ""},
        {{"identify", "4a41:00000102", "blink"}, 2, ""},
        {{"identify", "not-a-uid"}, 2, ""},
        {{"identify", "0x4a4100000999", "on"}, 1, ""},
    };
    for (const auto& [arguments, status, out] : cases) {
        const Result result = Aurelctl(arguments + QStringList{"--rig", rig});
        EXPECT_EQ(result.exitCode, status) << arguments.join(' ').toStdString() << "\n"
                                           << result.err.toStdString();
        EXPECT_EQ(result.out, out) << arguments.join(' ').toStdString();
    }
    const Result missing = Aurelctl({"identify", "0x4a4100000999", "--rig", rig});
    EXPECT_EQ(missing.err, "aurelctl: Error: Device 0x4a4100000999 not found on any port\n");
    // A negative number is a value, wherever the options stand.
    for (const QStringList& arguments :
         {QStringList{"address", "0x51420000a001", "-1", "--rig", rig},
          QStringList{"--rig", rig, "address", "0x51420000a001", "-1"}}) {
        const Result negative = Aurelctl(arguments);
        EXPECT_EQ(negative.exitCode, 2);
        EXPECT_EQ(negative.err, "aurelctl: the address must be from 1 to 512, not -1\n");
    }
}

TEST(DeviceVerbsTest, SocketRigKeepsTheNewAddressBetweenRuns) {
    QTemporaryDir dir;
    QProcess rig;
    rig.start(AUREL_RIG, {Rig("small.json"), "--widget-dir", dir.path()});
    ASSERT_TRUE(rig.waitForReadyRead(10000));

    const Result all = Aurelctl({"discover", "--widget-dir", dir.path(), "--json"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_EQ(Devices(all.out),
              QStringList({"0x4a4100000101 RDM Wash 1 1 16 0", "0xa1b2c3 ORX  201 16 0"}));

    const Result address = Aurelctl({"address", "4a41:00000101", "77", "--widget-dir", dir.path()});
    EXPECT_EQ(address.out, "0x4a4100000101 address 77\n") << address.err.toStdString();

    const Result again = Aurelctl({"discover", "--rdm", "--widget-dir", dir.path(), "--json"});
    EXPECT_EQ(Devices(again.out), QStringList({"0x4a4100000101 RDM Wash 1 77 16 0"}));
    rig.terminate();
    rig.waitForFinished(10000);
}

TEST(DeviceVerbsTest, UsbProInterfaceOfTheRigIsListedFoundAndCarriesImagesUntilUnplugged) {
    QTemporaryDir dir;
    const QString link = dir.filePath("usbpro");
    QProcess rig;
    rig.start(AUREL_RIG, {Rig("led.json"), "--usbpro-link", link});
    ASSERT_TRUE(rig.waitForReadyRead(10000));
    const QStringList on = {"--usbpro", link};

    const Result widgets = Aurelctl(QStringList{"widgets", "--json"} + on);
    const QJsonArray list = QJsonDocument::fromJson(widgets.out).object()["widgets"].toArray();
    ASSERT_EQ(list.size(), 1) << widgets.err.toStdString();
    EXPECT_EQ(list[0]["path"].toString(), link);
    EXPECT_EQ(list[0]["ports"].toInt(), 1);
    EXPECT_EQ(list[0]["serial"].toString(), "12345678");
    EXPECT_EQ(list[0]["firmware"].toString(), "1.0");

    const Result found = Aurelctl(QStringList{"discover", "--json"} + on);
    ASSERT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_EQ(Devices(found.out), QStringList({"0x435600001001 RDM Marqa Test 1 16 0"}));

    // An image of the fixture family goes up and comes back byte for byte.
    const QString image = QDir(RIGS_DIR).filePath("../../fuzz/corpus/led_image/marqa-2-frames.mqi");
    const QString back = dir.filePath("back.mqi");
    const Result upload = Aurelctl(
        QStringList{"content", "upload", "4356:00001001", "41", image, "--file", "5"} + on);
    ASSERT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    const Result download =
        Aurelctl(QStringList{"content", "download", "4356:00001001", "41", "5", back} + on);
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    QFile sent(image);
    QFile received(back);
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly) && received.open(QIODevice::ReadOnly));
    EXPECT_EQ(received.readAll(), sent.readAll());

    rig.terminate();  // the terminal closes: the interface is unplugged
    ASSERT_TRUE(rig.waitForFinished(10000));
    EXPECT_EQ(Aurelctl(QStringList{"widgets"} + on).out,
              "No widgets found; searched the USB Pro interface at " + link + " (--usbpro).\n");
}
