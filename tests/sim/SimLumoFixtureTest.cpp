#include "content/ledimage/MarqaRDMImage.h"
#include "lumo/LumoRecords.h"
#include "rdm/RDMProtocol.h"
#include "sim/Rig.h"
#include "sim/SimLumoFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

constexpr quint64 kUid = 0x435600001001ULL;
constexpr quint64 kBroadcast = 0xFFFFFFFFFFFFULL;
constexpr quint8 kGet = 0x20;
constexpr quint8 kSet = 0x30;

struct Reply {
    bool answered = false;
    quint8 type = 0;
    QByteArray data;

    quint16 Reason() const { return qFromBigEndian<quint16>(data.constData()); }
};

Reply Send(Sim::SimLumoFixture& fixture, quint8 commandClass, quint16 pid,
           const QByteArray& data = {}, quint64 destination = kUid) {
    RDMProtocol protocol;
    const QByteArray bytes = fixture.HandleRdm(protocol.BuildRequest(
        quint32(destination), quint16(destination >> 32), commandClass, pid,
        reinterpret_cast<const quint8*>(data.constData()), quint8(data.size())));
    if (bytes.size() < 26) {
        return {};
    }
    return {true, quint8(bytes[16]), bytes.mid(24, quint8(bytes[23]))};
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int value : values) {
        bytes.append(char(value));
    }
    return bytes;
}

// Bytes of a file whose header names its key and name.
QByteArray FileBytes(int size, quint32 key, const char* name) {
    QByteArray bytes(size, '\x5a');
    qToLittleEndian(key, bytes.data() + 4);
    bytes.replace(8, 16, LumoWire::EncodeName(name));
    return bytes;
}

QByteArray Block(int folder, int file, int number, int type, const QByteArray& data) {
    return Bytes({folder, file, number >> 8, number & 0xFF, type}) + data;
}

Sim::RdmResponderConfig MarqaConfig() {
    Sim::RdmResponderConfig config;
    config.uid = kUid;
    config.modelDescription = "MARQA";
    return config;
}

Sim::LumoFixtureConfig WithFolders(int filesInFolder5 = 0) {
    Sim::LumoFixtureConfig config;
    config.folders = {{3, "Stock", {}}, {41, "Shows", {}}, {5, "Many", {}}};
    for (int file = 1; file <= filesInFolder5; ++file) {
        config.folders[2].files.append({quint8(file), 0x11223300U + quint32(file),
                                        QStringLiteral("F%1").arg(file), QByteArray(30, 'f')});
    }
    return config;
}

quint8 State(Sim::SimLumoFixture& fixture) {
    return quint8(Send(fixture, kGet, 0xA060).data.at(0));
}

}  // namespace

TEST(SimLumoFixtureTest, UploadedBlocksBecomeAFileAndCompleteIsReportedOnce) {
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders());
    const QByteArray bytes = FileBytes(2 * 226 + 40, 0xCAFE0042, "Ring");
    EXPECT_EQ(State(fixture), 1);
    const std::tuple<int, int, int> blocks[] = {{0, 1, 2}, {1, 2, 2}, {2, 4, 4}};
    for (const auto& [number, type, state] : blocks) {
        const QByteArray block = Block(3, 7, number, type, bytes.mid(number * 226, 226));
        EXPECT_FALSE(Send(fixture, kSet, 0xA070, block, kBroadcast).answered);
        EXPECT_EQ(State(fixture), state) << number;
    }
    EXPECT_EQ(State(fixture), 1);
    const auto file = fixture.File(3, 7);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->key, 0xCAFE0042);
    EXPECT_EQ(file->name, "Ring");
    EXPECT_EQ(file->bytes, bytes);

    // A single last block 0 is a whole file.
    const QByteArray small = FileBytes(100, 7, "Dot");
    EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(41, 1, 0, 4, small)).type, 0);
    EXPECT_EQ(State(fixture), 4);
    EXPECT_EQ(fixture.File(41, 1)->bytes, small);

    // FPGA blocks, without folder and file, run a machine of their own.
    EXPECT_EQ(Send(fixture, kSet, 0xA071, Bytes({0, 0, 4}) + small).type, 0);
    EXPECT_EQ(fixture.FpgaImage(), small);
    EXPECT_EQ(Send(fixture, kGet, 0xA061).data, Bytes({4}));
    EXPECT_EQ(State(fixture), 1);
}

TEST(SimLumoFixtureTest, BlocksOutOfSequenceAbortAndTheAbortIsReportedOnce) {
    const QByteArray full(226, 'x');
    struct Case {
        const char* what;
        QList<QByteArray> blocks;
        quint16 reason;  // of the unicast reply to the last block
        Sim::LumoFaults faults = {};
    };
    const Case cases[] = {
        {"skipped block", {Block(3, 1, 0, 1, full), Block(3, 1, 2, 2, full)}, 0x8101},
        {"other file", {Block(3, 1, 0, 1, full), Block(3, 2, 1, 2, full)}, 0x8107},
        {"short middle block", {Block(3, 1, 0, 1, full), Block(3, 1, 1, 2, "ab")}, 0x8103},
        {"file 0", {Block(3, 0, 0, 1, full)}, 0x8107},
        {"abort fault", {Block(3, 1, 0, 1, full), Block(3, 1, 1, 2, full)}, 0x8101, {1}},
    };
    for (const Case& c : cases) {
        Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders());
        fixture.SetLumoFaults(c.faults);
        Reply reply;
        for (const QByteArray& block : c.blocks) {
            reply = Send(fixture, kSet, 0xA070, block);
        }
        EXPECT_EQ(reply.type, 2) << c.what;
        EXPECT_EQ(reply.Reason(), c.reason) << c.what;
        // A block after the abort is ignored; the abort is reported once, then the fixture is
        // ready again.
        EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(3, 1, 1, 4, "ab")).type, 0) << c.what;
        EXPECT_EQ(State(fixture), 5) << c.what;
        EXPECT_EQ(State(fixture), 1) << c.what;
        fixture.SetLumoFaults({});
        Send(fixture, kSet, 0xA070, Block(3, 1, 0, 1, full), kBroadcast);
        EXPECT_EQ(State(fixture), 2) << c.what;
    }
}

TEST(SimLumoFixtureTest, AnUploadIntoAFolderItLacksLeavesTheFixtureIdle) {
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders());
    EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(9, 1, 0, 1, QByteArray(226, 'x'))).type, 0);
    EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(9, 1, 1, 4, "ab")).type, 0);
    EXPECT_EQ(State(fixture), 1);
    EXPECT_FALSE(fixture.File(9, 1));
}

TEST(SimLumoFixtureTest, AFullFixtureRefusesANewFileButTakesAReplacement) {
    Sim::LumoFixtureConfig config;
    for (int folder = 1; folder <= 3; ++folder) {
        config.folders.append({quint8(folder), "F", {}});
        for (int file = 1; file <= 85; ++file) {
            config.folders.last().files.append({quint8(file), 0, "x", {}});
        }
    }
    Sim::SimLumoFixture fixture(MarqaConfig(), config);
    const QByteArray bytes = FileBytes(50, 1, "New");
    EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(1, 86, 0, 4, bytes)).Reason(), 0x810C);
    EXPECT_EQ(State(fixture), 5);
    EXPECT_EQ(Send(fixture, kSet, 0xA070, Block(1, 85, 0, 4, bytes)).type, 0);
    EXPECT_EQ(fixture.File(1, 85)->name, "New");
}

TEST(SimLumoFixtureTest, TransferFaultsAskForRetriesAndFallSilent) {
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders());
    fixture.SetLumoFaults({.retryCount = 2, .silentAfterBlock = 1});
    const QByteArray full(226, 'x');
    EXPECT_EQ(State(fixture), 1);  // no transfer runs: no retry asked for
    Send(fixture, kSet, 0xA070, Block(3, 1, 0, 1, full), kBroadcast);
    EXPECT_EQ(State(fixture), 3);
    EXPECT_EQ(State(fixture), 3);
    EXPECT_EQ(State(fixture), 2);
    Send(fixture, kSet, 0xA070, Block(3, 1, 1, 2, full), kBroadcast);
    EXPECT_FALSE(Send(fixture, kGet, 0xA060).answered);
    EXPECT_FALSE(Send(fixture, kGet, 0x0060).answered);
    fixture.SetLumoFaults({});
    EXPECT_EQ(State(fixture), 2);
}

TEST(SimLumoFixtureTest, DownloadHandsOutNumberedPacketsAndRepeatsTheLast) {
    auto config = WithFolders();
    const QByteArray bytes = FileBytes(500, 9, "Down");
    config.folders[0].files.append({4, 9, "Down", bytes});
    Sim::SimLumoFixture fixture(MarqaConfig(), config);
    fixture.SetLumoFaults({.nackDownloadCount = 1});
    EXPECT_EQ(Send(fixture, kGet, 0xA080, Bytes({3, 4, 1})).Reason(), 0x8111);
    const std::tuple<int, int, int, int> steps[] = {
        // request, packet, type, data bytes
        {3, 1, 1, 226},
        {2, 2, 2, 226},
        {3, 2, 2, 226},
        {2, 3, 4, 48},
    };
    QByteArray received;
    for (const auto& [request, packet, type, size] : steps) {
        const Reply reply = Send(fixture, kGet, 0xA080, Bytes({3, 4, request}));
        ASSERT_EQ(reply.type, 0) << request;
        EXPECT_EQ(reply.data.left(5), Bytes({3, 4, 0, packet, type}));
        EXPECT_EQ(reply.data.size() - 5, size);
        if (request != 3 || packet == 1) {
            received += reply.data.mid(5);
        }
    }
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(Send(fixture, kGet, 0xA080, Bytes({3, 4, 2})).Reason(), 0x810A);  // past the end
    EXPECT_EQ(Send(fixture, kGet, 0xA080, Bytes({3, 5, 1})).Reason(), 0x810E);
}

TEST(SimLumoFixtureTest, LongFileListsComeInOverflowChunks) {
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders(23));
    const QByteArray all = Bytes({5, 1});
    // A different request in between starts the listing over.
    EXPECT_EQ(Send(fixture, kGet, 0xA0A2, all).type, 3);
    const Reply tail = Send(fixture, kGet, 0xA0A2, Bytes({5, 21}));
    EXPECT_EQ(tail.type, 0);
    EXPECT_EQ(LumoWire::DecodeFiles(tail.data, LumoWire::KeyOrder::LowFirst).size(), 3);

    QList<LumoFileRecord> files;
    QList<int> types;
    do {
        const Reply reply = Send(fixture, kGet, 0xA0A2, all);
        types.append(reply.type);
        files += LumoWire::DecodeFiles(reply.data, LumoWire::KeyOrder::LowFirst);
    } while (types.last() == 3 && types.size() < 10);
    EXPECT_EQ(types, QList<int>({3, 3, 0}));
    ASSERT_EQ(files.size(), 23);
    EXPECT_EQ(files[22], (LumoFileRecord{5, 23, 0x11223317, "F23"}));

    Sim::LumoFixtureConfig config = WithFolders();
    config.foldersPerReply = 2;
    Sim::SimLumoFixture folders(MarqaConfig(), config);
    EXPECT_EQ(Send(folders, kGet, 0xA0A1, Bytes({0})).type, 3);
    const Reply last = Send(folders, kGet, 0xA0A1, Bytes({0}));
    EXPECT_EQ(last.type, 0);
    EXPECT_EQ(LumoWire::DecodeFolders(last.data), (QList<LumoFolderRecord>{{41, "Shows"}}));
}

TEST(SimLumoFixtureTest, FileKeysAreSentLowByteFirstAndTakenHighByteFirst) {
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders(1));
    EXPECT_EQ(Send(fixture, kGet, 0xA0A2, Bytes({5, 1})).data.mid(2, 4),
              Bytes({0x01, 0x33, 0x22, 0x11}));
    const QByteArray entry =
        Bytes({5, 1, 0xAA, 0xBB, 0xCC, 0xDD}) + LumoWire::EncodeName("Renamed");
    EXPECT_EQ(Send(fixture, kSet, 0xA0A2, entry).type, 0);
    EXPECT_EQ(fixture.File(5, 1)->key, 0xAABBCCDD);
    EXPECT_EQ(fixture.File(5, 1)->name, "Renamed");
    EXPECT_EQ(Send(fixture, kGet, 0xA0A2, Bytes({5, 1})).data.mid(2, 4),
              Bytes({0xDD, 0xCC, 0xBB, 0xAA}));
    QByteArray missing = entry;
    missing[1] = 2;
    EXPECT_EQ(Send(fixture, kSet, 0xA0A2, missing).Reason(), 0x810E);
}

TEST(SimLumoFixtureTest, QuorelAddressIsSetLowByteFirstAndReadHighByteFirst) {
    Sim::SimLumoFixture fixture(MarqaConfig(), {});
    EXPECT_EQ(Send(fixture, kSet, 0xA0B5, Bytes({0x02, 0x01})).type, 0);
    EXPECT_EQ(fixture.QuorelAddress(), 0x0102);
    EXPECT_EQ(Send(fixture, kGet, 0xA0B5).data, Bytes({0x01, 0x02}));
    EXPECT_EQ(Send(fixture, kSet, 0xA0B5, Bytes({1})).Reason(), 0x0001);
}

TEST(SimLumoFixtureTest, ContentRequestsChangeTheStoreOrNackWithTheReason) {
    const std::tuple<quint16, QByteArray, quint16> cases[] = {
        {0xA0A4, Bytes({5, 1, 3, 9}), 0},       // move a file
        {0xA0A4, Bytes({5, 9, 3, 9}), 0x810E},  // no such file
        {0xA0A4, Bytes({5, 1, 7, 1}), 0x810D},  // no destination folder
        {0xA0A4, Bytes({5, 1, 5, 2}), 0x8102},  // destination taken
        {0xA0A5, Bytes({5, 60}), 0},            // move a folder
        {0xA0A5, Bytes({5, 41}), 0x8102},       // number taken
        {0xA0A5, Bytes({8, 60}), 0x810D},       // no such folder
        {0xA090, Bytes({5, 9}), 0},             // erasing a missing file is fine
        {0xA090, Bytes({8, 1}), 0x810D},        // ...in a missing folder it is not
        {0xA0A3, Bytes({8}), 0x810D},           //
        {0xA0A1, Bytes({0}) + QByteArray(16, 'n'), 0x0006},
        {0xA0A6, Bytes({1}), 0x0001},  // takes no data
    };
    for (const auto& [pid, data, reason] : cases) {
        Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders(2));
        const Reply reply = Send(fixture, kSet, pid, data);
        EXPECT_EQ(reply.type, reason ? 2 : 0) << pid << " " << data.toHex().toStdString();
        if (reason) {
            EXPECT_EQ(reply.Reason(), reason) << pid << " " << data.toHex().toStdString();
        }
    }
    Sim::SimLumoFixture fixture(MarqaConfig(), WithFolders(2));
    Send(fixture, kSet, 0xA0A4, Bytes({5, 1, 3, 9}));
    Send(fixture, kSet, 0xA0A5, Bytes({5, 251}));
    Send(fixture, kSet, 0xA0A1, Bytes({3}) + LumoWire::EncodeName("Renamed"));
    EXPECT_EQ(fixture.File(3, 9)->key, 0x11223301);
    EXPECT_TRUE(fixture.File(251, 2));
    Send(fixture, kSet, 0xA0A7);
    Send(fixture, kSet, 0xA0A6);
    const QList<Sim::LumoStoredFolder> left = fixture.Folders();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].name, "Renamed");
}

TEST(SimLumoFixtureTest, TakesANewMotionIdAsItsUid) {
    Sim::SimLumoFixture fixture(MarqaConfig(), {});
    EXPECT_EQ(Send(fixture, kSet, 0xA0B3, Bytes({0x00, 0xAB, 0xCD, 0xEF})).type, 0);
    EXPECT_FALSE(Send(fixture, kGet, 0x0060).answered);
    EXPECT_TRUE(Send(fixture, kGet, 0x0060, {}, 0x435600ABCDEFULL).answered);
    EXPECT_EQ(fixture.MotionUniqueId(), 0x00ABCDEFU);
}

TEST(SimLumoFixtureTest, RigFileFoldersAndImagesLoad) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("images"));
    QFile image(dir.filePath("images/ring.mqi"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(Sim::SimLumoFixture::MakeImage("MARQA", 0x77, "Inside"));
    image.close();
    const QByteArray widget = R"({"widgets": [{"name": "w", "productCode": 17, "fixtures": [)";
    QFile rig(dir.filePath("rig.json"));
    ASSERT_TRUE(rig.open(QIODevice::WriteOnly));
    rig.write(widget + R"({"port": 1, "type": "marqa", "uid": "4356:00001001",
        "quorelAddress": 7, "faults": {"dropEvery": 3, "retryCount": 2},
        "folders": [{"number": 3, "name": "Stock", "files": [
            {"file": 1, "name": "Ring", "key": "0x00001234", "image": "images/ring.mqi"},
            {"file": 2}]}]}]}]})");
    rig.close();
    QString error;
    const auto loaded = Sim::Rig::Load(rig.fileName(), &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    const Sim::RigFixture& fixture = loaded->widgets[0].fixtures[0];
    EXPECT_EQ(fixture.type, Sim::RigFixture::Led);
    EXPECT_EQ(fixture.rdm.modelDescription, "MARQA");
    EXPECT_EQ(fixture.rdm.faults.dropEvery, 3);
    EXPECT_EQ(fixture.led.faults.retryCount, 2);
    EXPECT_EQ(fixture.led.quorelAddress, 7);
    ASSERT_EQ(fixture.led.folders.size(), 1);
    const QList<Sim::LumoStoredFile>& files = fixture.led.folders[0].files;
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].key, 0x1234U);
    EXPECT_EQ(files[0].name, "Ring");
    for (const Sim::LumoStoredFile& file : files) {
        MarqaRDMImage read;
        ASSERT_TRUE(read.FromBytes(file.bytes)) << file.number;
        EXPECT_EQ(read.header.contentKey, file.key);  // the header agrees with the listing
        EXPECT_EQ(read.NameText(), file.name);
    }

    const std::pair<const char*, const char*> bad[] = {
        {R"("folders": [{"number": 3, "files": [{"file": 1, "image": "none.mqi"}]}])",
         "\"image\" must name a readable image file"},
        {R"("folders": [{"number": 3, "files": [{"file": 1, "colour": 2}]}])",
         "folder 1 file 1: unknown field \"colour\""},
        {R"("folders": [{"number": 3}, {"number": 3}])", "\"number\" must be"},
        {R"("faults": {"abortAtBlock": -2})", "\"abortAtBlock\" must be"},
    };
    for (const auto& [fields, message] : bad) {
        const QByteArray json =
            widget + R"({"port": 0, "type": "solvi", "uid": "4356:00002001", )" + fields + "}]}]}";
        EXPECT_FALSE(Sim::Rig::Parse(json, &error, dir.path())) << fields;
        EXPECT_TRUE(error.contains(message)) << fields << " -> " << error.toStdString();
    }
}
