#include "hardware/RdmUniverseUsb.h"
#include "support/RdmRig.h"

#include <QtEndian>

namespace {

struct Call {
    ResponseStatus status;
    quint32 length;
    QByteArray data;
};

}  // namespace

class RdmTransactionTest : public RdmRigTest {
protected:
    Call Transact(quint8 commandClass, quint16 pid, quint32 capacity = 255,
                  quint64 uid = kFixtureUid, const QByteArray& data = {}) {
        QByteArray reply(512, '\0');
        quint32 length = capacity;
        const ResponseStatus status = m_protocol.RdmTransaction(
            0, quint32(uid), quint16(uid >> 32), commandClass, pid,
            reinterpret_cast<const quint8*>(data.constData()), int(data.size()),
            reinterpret_cast<quint8*>(reply.data()), length, &m_feedback);
        return {status, length, reply.left(int(std::min<quint32>(length, 512)))};
    }
};

TEST_F(RdmTransactionTest, RequestWithoutDataIs26BytesWithItsChecksum) {
    AddResponder(Fixture());
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);
    ASSERT_EQ(call.status, ResponseAck);
    EXPECT_EQ(call.length, 19u);
    const auto sent = SentRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], QByteArray::fromHex("cc0118"
                                           "4a4100000101"
                                           "7ff112345789"
                                           "000100000020"
                                           "006000"
                                           "0489"));
    EXPECT_EQ(m_protocol.TransactionNumber(), 1);
}

TEST_F(RdmTransactionTest, ReplyThatIsNotForThisProgramIsRejectedWithoutRetry) {
    for (const bool foreign : {true, false}) {
        Sim::RdmResponderConfig config = Fixture();
        config.faults.foreignController = foreign;
        config.faults.corruptChecksum = !foreign;
        m_widget->ClearTraffic();
        m_feedback.Clear();
        auto responder = AddResponder(config, foreign ? 0 : 1);
        QByteArray reply(64, '\0');
        quint32 length = 64;
        EXPECT_EQ(m_protocol.RdmTransaction(
                      foreign ? 0 : 1, 0x00000101, 0x4A41, Rdm::kGet, Rdm::DeviceInfo, nullptr, 0,
                      reinterpret_cast<quint8*>(reply.data()), length, &m_feedback),
                  ResponseInvalid);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(SentRequests().size(), 1u);
        ASSERT_EQ(m_feedback.Lines().size(), 1u);
        EXPECT_EQ(m_feedback.Lines()[0].text,
                  " Error! device (0x4a4100000101) : checksum failed for COMMAND(0x20) and "
                  "PID(0x60)!");
        EXPECT_EQ(m_feedback.Lines()[0].status, FeedbackStatusError);
    }
}

TEST_F(RdmTransactionTest, BusyNackWaitsASecondAndResendsWithANewTransactionNumber) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.busyCount = 2;
    AddResponder(config);
    const qint64 start = clock().NowMs();
    const Call call = Transact(Rdm::kGet, Rdm::DeviceLabel, 60);
    EXPECT_EQ(call.status, ResponseAck);
    EXPECT_GE(clock().NowMs() - start, 2000);
    const auto sent = SentRequests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(quint8(sent[0][15]), 0);
    EXPECT_EQ(quint8(sent[1][15]), 1);
    EXPECT_EQ(quint8(sent[2][15]), 2);
    EXPECT_TRUE(m_feedback.Lines().empty());
}

TEST_F(RdmTransactionTest, AckTimerResendsAGetButEndsASet) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.ackTimerCount = 1;
    config.faults.ackTimerEstimate = 3;
    auto responder = AddResponder(config);

    qint64 start = clock().NowMs();
    Call call = Transact(Rdm::kGet, Rdm::DmxStartAddress, 50);
    EXPECT_EQ(call.status, ResponseAck);
    EXPECT_EQ(call.data, QByteArray::fromHex("0001"));
    EXPECT_GE(clock().NowMs() - start, 300);
    EXPECT_EQ(SentRequests().size(), 2u);

    Sim::RdmFaults faults = config.faults;
    responder->SetFaults(faults);
    m_widget->ClearTraffic();
    start = clock().NowMs();
    call = Transact(Rdm::kSet, Rdm::DmxStartAddress, 50, kFixtureUid, QByteArray::fromHex("0010"));
    EXPECT_EQ(call.status, ResponseAck);
    EXPECT_EQ(call.length, 0u);
    EXPECT_GE(clock().NowMs() - start, 300);
    EXPECT_EQ(SentRequests().size(), 1u);
    EXPECT_EQ(responder->State().startAddress, 1);  // the fixture only said "later"
}

TEST_F(RdmTransactionTest, ReplyLargerThanTheBufferGivesMinusOne) {
    AddResponder(Fixture());
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 10);
    EXPECT_EQ(call.status, ResponseBufferTooSmall);
    EXPECT_EQ(call.length, 0u);
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({" Error! device (0x4a4100000101) : receive buffer(10) is too small! "
                           "Expected 19 for COMMAND(0x20) and PID(0x60)!"}));
}

TEST_F(RdmTransactionTest, SilentUnicastIsTriedFiveTimes) {
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);
    EXPECT_EQ(call.status, ResponseNoReply);
    EXPECT_EQ(call.length, 0u);
    EXPECT_EQ(SentRequests().size(), 5u);
    const QString lost =
        " Warning! device (0x4a4100000101) : failed to respond for COMMAND(0x20) and PID(0x60)!";
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({lost, lost, lost, lost, lost,
                           " Warning: Retry attempts exceeded for device (0x4a4100000101) - "
                           "COMMAND(0x20) and PID(0x60)!"}));
    for (const auto& line : m_feedback.Lines()) {
        EXPECT_EQ(line.status, FeedbackStatusWarning);
    }
    // Every attempt repeats the same bytes.
    const auto sent = SentRequests();
    EXPECT_TRUE(
        std::all_of(sent.begin(), sent.end(), [&](const QByteArray& r) { return r == sent[0]; }));
}

TEST_F(RdmTransactionTest, LostReplyIsRetriedAndRecovers) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.dropEvery = 2;
    AddResponder(config);
    EXPECT_EQ(Transact(Rdm::kGet, Rdm::DeviceInfo, 60).status, ResponseAck);
    const Call second = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);  // its first reply is dropped
    EXPECT_EQ(second.status, ResponseAck);
    EXPECT_EQ(second.length, 19u);
    EXPECT_EQ(SentRequests().size(), 3u);
    EXPECT_EQ(m_feedback.Lines().size(), 1u);
}

TEST_F(RdmTransactionTest, SilentBroadcastAndDiscoveryAreSentOnce) {
    Call call =
        Transact(Rdm::kSet, Rdm::IdentifyDevice, 60, 0xFFFFFFFFFFFFULL, QByteArray(1, '\x01'));
    EXPECT_EQ(call.status, ResponseAck);
    EXPECT_EQ(call.length, 60u);  // untouched
    EXPECT_EQ(SentRequests().size(), 1u);
    EXPECT_TRUE(m_feedback.Lines().empty());

    m_widget->ClearTraffic();
    call = Transact(Rdm::kDiscovery, Rdm::DiscMute, 2);
    EXPECT_EQ(call.status, ResponseNoReply);
    EXPECT_EQ(SentRequests().size(), 1u);
    EXPECT_EQ(m_feedback.Lines().size(), 2u);  // failed to respond, retries exceeded
}

TEST_F(RdmTransactionTest, TransactionNumberWrapsAfter256Requests) {
    AddResponder(Fixture());
    for (int i = 0; i < 256; ++i) {
        Transact(Rdm::kGet, Rdm::IdentifyDevice, 60);
    }
    EXPECT_EQ(m_protocol.TransactionNumber(), 0);
    const auto sent = SentRequests();
    EXPECT_EQ(quint8(sent.back()[15]), 255);
}

TEST_F(RdmTransactionTest, ResendsAreBounded) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.busyCount = 1000;
    AddResponder(config);
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);
    EXPECT_EQ(call.status, ResponseNoReply);
    EXPECT_EQ(call.length, 0u);
    EXPECT_EQ(SentRequests().size(), size_t(RDMProtocol::kMaxResends + 1));
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({" Warning: Resend limit exceeded for device (0x4a4100000101) - "
                           "COMMAND(0x20) and PID(0x60)!"}));
}

TEST_F(RdmTransactionTest, AnAckTimerWaitIsCappedAndItsResendsBounded) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.ackTimerCount = 1000;
    config.faults.ackTimerEstimate = 0xFFFF;  // 109 minutes
    AddResponder(config);
    const qint64 start = clock().NowMs();
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);
    EXPECT_EQ(call.status, ResponseNoReply);
    EXPECT_EQ(SentRequests().size(), size_t(RDMProtocol::kMaxResends + 1));
    EXPECT_LE(clock().NowMs() - start,
              (RDMProtocol::kMaxResends + 2) * RDMProtocol::kMaxAckTimerWaitMs);
}

TEST_F(RdmTransactionTest, ParameterDataAnRdmRequestCannotCarryIsRefusedUnsent) {
    AddResponder(Fixture());
    for (const int size : {232, 300}) {  // 300 would wrap to 44 in the length byte
        SCOPED_TRACE(size);
        m_widget->ClearTraffic();
        m_feedback.Clear();
        const Call call =
            Transact(Rdm::kSet, Rdm::DeviceLabel, 50, kFixtureUid, QByteArray(size, 'a'));
        EXPECT_EQ(call.status, ResponseRequestTooLong);
        EXPECT_TRUE(SentRequests().empty());
        EXPECT_EQ(m_feedback.Texts(),
                  QStringList({QStringLiteral(" Error! device (0x4a4100000101) : %1 bytes of "
                                              "parameter data are more than an RDM request can "
                                              "carry (231) for COMMAND(0x30) and PID(0x82)!")
                                   .arg(size)}));
    }
    m_widget->ClearTraffic();
    Transact(Rdm::kSet, Rdm::DeviceLabel, 50, kFixtureUid, QByteArray(231, 'a'));
    ASSERT_FALSE(SentRequests().empty());
    EXPECT_EQ(SentRequests().front().size(), 24 + 231 + 2);
}

TEST_F(RdmTransactionTest, NackAndTimerRepliesMustCarryTwoBytes) {
    Sim::RdmResponderConfig config = Fixture();
    config.faults.wrongLength = true;
    AddResponder(config);
    const Call call = Transact(Rdm::kGet, 0x7FE0, 60);  // unknown PID: NACK
    EXPECT_EQ(call.status, ResponseNoUniverse);
    EXPECT_EQ(call.length, 0u);
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({" Error! device (0x4a4100000101) : length (3) is not the expected "
                           "size(2) for COMMAND(0x20) and PID(0x7fe0) NACK OR ACK_TIMER!"}));
}

TEST_F(RdmTransactionTest, NackReasonIsReturned) {
    AddResponder(Fixture());
    Call call = Transact(Rdm::kGet, 0x7FE0, 60);
    EXPECT_EQ(call.status, ResponseNack);
    EXPECT_EQ(call.data, QByteArray::fromHex("0000"));
    call = Transact(Rdm::kGet, 0x7FE0, 1);
    EXPECT_EQ(call.status, ResponseBufferTooSmall);
    EXPECT_TRUE(m_feedback.Texts().last().endsWith("PID(0x7fe0)for NACK_REASON!"));
}

TEST_F(RdmTransactionTest, WithoutWidgetTheSendFailsFiveTimes) {
    layer().Unplug("w");
    const Call call = Transact(Rdm::kGet, Rdm::DeviceInfo, 60);
    EXPECT_EQ(call.status, ResponseSendFailed);
    EXPECT_EQ(m_feedback.Lines().size(), 6u);
    EXPECT_EQ(m_feedback.Texts().first(),
              " Warning! device (0x4a4100000101) : Send failed for COMMAND(0x20) and PID(0x60)!");
}

TEST(RdmBytesTest, PackAndUnpack) {
    quint8 buffer[8] = {};
    RDMProtocol::PackUid(buffer, 0x7FF112345789ULL);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 6), QByteArray::fromHex("7ff112345789"));
    EXPECT_EQ(RDMProtocol::UnpackUid(buffer), 0x7FF112345789ULL);
    EXPECT_EQ(RDMProtocol::UnpackUInt32(buffer + 2), 0x12345789u);
    EXPECT_EQ(RDMProtocol::UnpackUInt16(nullptr), 0);
    RDMProtocol::PackUInt16(nullptr, 7);  // does nothing
    quint8 message[4] = {0x01, 0xFF, 0, 0};
    RDMProtocol::CalculateChecksum(message, 2);
    EXPECT_EQ(message[2], 0x01);
    EXPECT_EQ(message[3], 0x00);
    EXPECT_TRUE(RDMProtocol::VerifyChecksum(message, 4));
    EXPECT_EQ(RDMProtocol::ReverseCopy(message, 3), QByteArray::fromHex("01ff01"));
    quint8 target[4] = {9, 9, 9, 9};
    RDMProtocol::ReverseCopy(message, 3, target);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(target), 4), QByteArray::fromHex("0901ff01"));
}
