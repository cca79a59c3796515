#include "rdm/RDMProtocol.h"
#include "sim/Rig.h"
#include "sim/SimRdmResponder.h"
#include "sim/SimWidget.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

constexpr quint64 kUid = 0x4A4100000101ULL;

QByteArray Request(quint64 destination, quint8 commandClass, quint16 pid,
                   const QByteArray& data = {}) {
    RDMProtocol protocol;
    return protocol.BuildRequest(quint32(destination), quint16(destination >> 32), commandClass,
                                 pid, reinterpret_cast<const quint8*>(data.constData()),
                                 quint8(data.size()));
}

QByteArray Range(quint64 low, quint64 high) {
    QByteArray data(12, '\0');
    RDMProtocol::PackUid(reinterpret_cast<quint8*>(data.data()), low);
    RDMProtocol::PackUid(reinterpret_cast<quint8*>(data.data()) + 6, high);
    return data;
}

// Decodes a unique-branch reply: the UID, or nothing when it does not add up.
std::optional<quint64> DecodeBranchReply(const QByteArray& reply) {
    const qsizetype start = reply.indexOf(char(0xAA));
    if (start < 0 || reply.size() < start + 17) {
        return std::nullopt;
    }
    const QByteArray encoded = reply.mid(start + 1, 16);
    quint8 decoded[8];
    quint16 sum = 0;
    for (int i = 0; i < 8; ++i) {
        decoded[i] = quint8(encoded[2 * i]) & quint8(encoded[2 * i + 1]);
        if (i < 6) {
            sum = quint16(sum + quint8(encoded[2 * i]) + quint8(encoded[2 * i + 1]));
        }
    }
    if (sum != quint16(decoded[6] << 8 | decoded[7])) {
        return std::nullopt;
    }
    return RDMProtocol::UnpackUid(decoded);
}

Sim::RdmResponderConfig Config(quint64 uid = kUid) {
    Sim::RdmResponderConfig config;
    config.uid = uid;
    return config;
}

}  // namespace

TEST(SimRdmResponderTest, UniqueBranchAnswersInRangeUntilMuted) {
    Sim::SimRdmResponder responder(Config());
    const QByteArray reply =
        responder.HandleRdm(Request(0xFFFFFFFFFFFFULL, 0x10, 0x0001, Range(0, 0xFFFFFFFFFFFEULL)));
    ASSERT_EQ(reply.size(), 24);
    EXPECT_EQ(reply.left(8), QByteArray::fromHex("fefefefefefefeaa"));
    EXPECT_EQ(DecodeBranchReply(reply), kUid);
    EXPECT_TRUE(
        responder
            .HandleRdm(Request(0xFFFFFFFFFFFFULL, 0x10, 0x0001, Range(kUid + 1, 0xFFFFFFFFFFFEULL)))
            .isEmpty());

    const QByteArray mute = responder.HandleRdm(Request(kUid, 0x10, 0x0002));
    ASSERT_EQ(mute.size(), 28);
    EXPECT_EQ(quint8(mute[20]), 0x11);
    EXPECT_EQ(quint8(mute[23]), 2);
    EXPECT_TRUE(responder.IsMuted());
    EXPECT_TRUE(
        responder.HandleRdm(Request(0xFFFFFFFFFFFFULL, 0x10, 0x0001, Range(0, 0xFFFFFFFFFFFEULL)))
            .isEmpty());
    EXPECT_TRUE(responder.HandleRdm(Request(0xFFFFFFFFFFFFULL, 0x10, 0x0003)).isEmpty());
    EXPECT_FALSE(responder.IsMuted());  // a broadcast un-mute is obeyed without a reply
}

TEST(SimRdmResponderTest, TwoFixturesAnsweringOneBranchCollide) {
    Sim::SimWidget widget({"w", QUuid(), 26, 1, 0});
    widget.AttachResponder(0, std::make_shared<Sim::SimRdmResponder>(Config(kUid)));
    widget.AttachResponder(0, std::make_shared<Sim::SimRdmResponder>(Config(kUid + 6)));
    QByteArray send(16, '\0');
    qToLittleEndian<quint32>(38, send.data());
    send += Request(0xFFFFFFFFFFFFULL, 0x10, 0x0001, Range(0, 0xFFFFFFFFFFFEULL));
    ASSERT_EQ(widget.IoControl(0x88B4EC1C, send, 0).status, 0);
    QByteArray receive(16, '\0');
    qToLittleEndian<quint32>(63, receive.data());
    const QByteArray line = widget.IoControl(0x88B4EC20, receive, 63).output;
    EXPECT_EQ(line.size(), 24);                         // someone is there...
    EXPECT_FALSE(DecodeBranchReply(line).has_value());  // ...but not one readable UID
}

TEST(SimRdmResponderTest, IgnoresWhatIsNotAValidRequestForIt) {
    Sim::SimRdmResponder responder(Config());
    QByteArray valid = Request(kUid, 0x20, 0x0060);
    ASSERT_FALSE(responder.HandleRdm(valid).isEmpty());
    QByteArray wrongStart = valid;
    wrongStart[0] = char(0xCD);
    QByteArray badSum = valid;
    badSum[25] = char(badSum[25] ^ 1);
    const QByteArray cases[] = {
        wrongStart,
        badSum,
        valid.left(20),
        Request(kUid + 1, 0x20, 0x0060),
        Request(0x4A41FFFFFFFFULL, 0x20, 0x0060),  // its manufacturer's broadcast: no reply
    };
    for (const QByteArray& request : cases) {
        EXPECT_TRUE(responder.HandleRdm(request).isEmpty()) << request.toHex().toStdString();
    }
}

TEST(SimRdmResponderTest, NacksWithStandardReasons) {
    Sim::SimRdmResponder responder(Config());
    const std::tuple<quint8, quint16, QByteArray, quint16> cases[] = {
        {0x20, 0x7FE0, {}, 0x0000},                           // unknown PID
        {0x30, 0x0060, {}, 0x0005},                           // DEVICE_INFO cannot be set
        {0x30, 0x00F0, QByteArray::fromHex("0201"), 0x0006},  // address 513
        {0x30, 0x00F0, QByteArray::fromHex("01"), 0x0001},    // wrong length
    };
    for (const auto& [commandClass, pid, data, reason] : cases) {
        const QByteArray reply = responder.HandleRdm(Request(kUid, commandClass, pid, data));
        ASSERT_EQ(reply.size(), 28) << pid;
        EXPECT_EQ(quint8(reply[16]), 2);
        EXPECT_EQ(qFromBigEndian<quint16>(reply.constData() + 24), reason) << pid;
    }
}

TEST(RigFixturesTest, FixturesAreReadAndBadOnesRejected) {
    QString error;
    const auto rig = Sim::Rig::Parse(R"({"widgets": [{"name": "w", "productCode": 17,
        "fixtures": [{"port": 3, "uid": "4a41:00000101", "startAddress": 40,
                      "faults": {"busyCount": 2, "corruptChecksum": true}}]}]})",
                                     &error);
    ASSERT_TRUE(rig) << error.toStdString();
    const Sim::RigFixture& fixture = rig->widgets[0].fixtures[0];
    EXPECT_EQ(fixture.port, 3);
    EXPECT_EQ(fixture.rdm.uid, kUid);
    EXPECT_EQ(fixture.rdm.startAddress, 40);
    EXPECT_EQ(fixture.rdm.faults.busyCount, 2);
    EXPECT_TRUE(fixture.rdm.faults.corruptChecksum);

    const std::pair<const char*, const char*> bad[] = {
        {R"({"port": 4, "uid": "4a41:00000101"})", "\"port\" must be a port of the widget, 0 to 3"},
        {R"({"port": 0})", "\"uid\" is missing"},
        {R"({"port": 0, "uid": "4a41:ffffffff"})", "\"uid\" must be"},
        {R"({"port": 0, "uid": "4a41:1"})", "\"uid\" must be"},
        {R"({"port": 0, "uid": "4a41:00000001", "startAddress": 0})", "\"startAddress\" must be"},
        {R"({"port": 0, "uid": "4a41:00000001", "faults": {"explode": 1}})",
         "fixture 1 faults: unknown field \"explode\""},
        {R"({"port": 0, "uid": "4a41:00000001", "personality": 2})",
         "\"personality\" is not one of its personalities"},
    };
    for (const auto& [fixtureJson, message] : bad) {
        const QByteArray json =
            QByteArray(R"({"widgets": [{"name": "w", "productCode": 17, "fixtures": [)") +
            fixtureJson + "]}]}";
        EXPECT_FALSE(Sim::Rig::Parse(json, &error)) << fixtureJson;
        EXPECT_TRUE(error.contains(message)) << fixtureJson << " -> " << error.toStdString();
    }
}
