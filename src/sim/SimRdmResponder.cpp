#include "sim/SimRdmResponder.h"
#include "sim/WireBytes.h"

#include <QtEndian>

#include <type_traits>

namespace Sim {

namespace {

// Wire values (the simulator keeps its own copy: it stands for a fixture, not the program).
constexpr quint8 kStartCode = 0xCC;
constexpr quint8 kSubStartCode = 0x01;
constexpr int kHeaderSize = 24;
constexpr quint8 kDiscovery = 0x10;
constexpr quint8 kGet = 0x20;
constexpr quint8 kSet = 0x30;
constexpr quint8 kAck = 0;
constexpr quint8 kAckTimer = 1;
constexpr quint8 kNack = 2;
constexpr quint8 kAckOverflow = 3;
constexpr quint16 kNackUnknownPid = 0x0000;
constexpr quint16 kNackFormatError = 0x0001;
constexpr quint16 kNackWriteProtect = 0x0004;
constexpr quint16 kNackUnsupportedCommandClass = 0x0005;
constexpr quint16 kNackDataOutOfRange = 0x0006;
constexpr quint16 kNackBusy = 0x8112;
constexpr quint64 kForeignController = 0x7FF100000001ULL;

quint16 U16(const QByteArray& bytes, int offset) {
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}

quint64 Uid(const QByteArray& bytes, int offset) {
    return quint64(U16(bytes, offset)) << 32 |
           qFromBigEndian<quint32>(bytes.constData() + offset + 2);
}

void PutUid(QByteArray& bytes, int offset, quint64 uid) {
    qToBigEndian<quint16>(quint16(uid >> 32), bytes.data() + offset);
    qToBigEndian<quint32>(quint32(uid), bytes.data() + offset + 2);
}

using WireBytes::Be16;
using WireBytes::Be32;

quint16 Sum(const QByteArray& bytes, int count) {
    quint16 sum = 0;
    for (int i = 0; i < count; ++i) {
        sum = quint16(sum + quint8(bytes[i]));
    }
    return sum;
}

constexpr int kLabelLength = 32;

QByteArray Text(const QString& text) {
    return text.toLatin1().left(kLabelLength);
}

}  // namespace

SimRdmResponder::SimRdmResponder(RdmResponderConfig config) : m_config(std::move(config)) {
    if (m_config.supportedParameters.isEmpty()) {
        m_config.supportedParameters = KnownOptionalParameters();
    }
}

QList<quint16> SimRdmResponder::KnownOptionalParameters() {
    return {0x0080, 0x0081, 0x0082, 0x0090, 0x00C2, 0x00E0, 0x00E1, 0x0400, 0x0401, 0x0402,
            0x0403, 0x0404, 0x0405, 0x0500, 0x0501, 0x0600, 0x0601, 0x0602, 0x1001, 0x1010};
}

QByteArray SimRdmResponder::EncodeDiscoveryReply(quint64 uid) {
    QByteArray reply(7, char(0xFE));
    reply.append(char(0xAA));
    QByteArray uidBytes(6, '\0');
    PutUid(uidBytes, 0, uid);
    quint16 sum = 0;
    for (char byte : uidBytes) {
        const quint8 b = quint8(byte);
        reply.append(char(b | 0xAA));
        reply.append(char(b | 0x55));
        sum = quint16(sum + (b | 0xAA) + (b | 0x55));
    }
    for (quint8 b : {quint8(sum >> 8), quint8(sum)}) {
        reply.append(char(b | 0xAA));
        reply.append(char(b | 0x55));
    }
    return reply;
}

const std::map<quint16, SimRdmResponder::Parameter>& SimRdmResponder::Parameters() {
    using R = SimRdmResponder;
    using D = const QByteArray&;
    auto value = [](auto read) {
        return [read](R& r, D) { return Answer{kAck, read(r.m_config)}; };
    };
    auto flag = [](bool RdmResponderConfig::*field) {
        return [field](R& r, D) { return Answer{kAck, QByteArray(1, char(r.m_config.*field))}; };
    };
    auto byte = [](quint8 RdmResponderConfig::*field) {
        return [field](R& r, D) { return Answer{kAck, QByteArray(1, char(r.m_config.*field))}; };
    };
    auto long32 = [](quint32 RdmResponderConfig::*field) {
        return [field](R& r, D) { return Answer{kAck, Be32(r.m_config.*field)}; };
    };
    auto nack = [](quint16 reason) { return Answer{kNack, Be16(reason)}; };
    // A one-byte SET that keeps the value when `allowed` takes it.
    auto setByte = [nack](auto field, std::function<bool(quint8)> allowed) {
        return [nack, field, allowed](R& r, D data) {
            if (data.size() != 1) {
                return nack(kNackFormatError);
            }
            if (!allowed(quint8(data[0]))) {
                return nack(kNackDataOutOfRange);
            }
            using Field = std::remove_reference_t<decltype(r.m_config.*field)>;
            r.m_config.*field = Field(quint8(data[0]));
            return Answer{kAck, {}};
        };
    };
    auto upTo = [](quint8 highest) {
        return std::function<bool(quint8)>([highest](quint8 v) { return v <= highest; });
    };
    auto oneOf = [](std::initializer_list<quint8> values) {
        const QList<quint8> list(values);
        return std::function<bool(quint8)>([list](quint8 v) { return list.contains(v); });
    };
    using C = const RdmResponderConfig&;
    static const std::map<quint16, Parameter> parameters = {
        {0x0050,
         {[](R& r, D) {
              Answer answer;
              answer.data = r.SupportedParametersChunk(&answer.responseType);
              return answer;
          },
          {}}},
        {0x0060,
         {value([](C c) {
              const RdmPersonality p = c.personalities.value(c.personality - 1);
              return Be16(0x0100) + Be16(c.modelId) + Be16(c.productCategory) +
                     Be32(c.softwareVersionId) + Be16(p.footprint) +
                     QByteArray(1, char(c.personality)) +
                     QByteArray(1, char(c.personalities.size())) + Be16(c.startAddress) +
                     Be16(c.subDeviceCount) + QByteArray(1, char(c.sensorCount));
          }),
          {}}},
        {0x0080, {value([](C c) { return Text(c.modelDescription); }), {}}},
        {0x0081, {value([](C c) { return Text(c.manufacturerLabel); }), {}}},
        {0x0082,
         {value([](C c) { return Text(c.deviceLabel); }),
          [nack](R& r, D data) {
              if (data.size() > kLabelLength) {
                  return nack(kNackFormatError);
              }
              r.m_config.deviceLabel = QString::fromLatin1(data);
              return Answer{kAck, {}};
          }}},
        {0x0090, {flag(&RdmResponderConfig::factoryDefaults), {}}},
        {0x00C0, {value([](C c) { return Text(c.softwareVersionLabel); }), {}}},
        {0x00C2, {value([](C c) { return Text(c.bootSoftwareVersionLabel); }), {}}},
        {0x00E0,
         {value([](C c) {
              return QByteArray(1, char(c.personality)) +
                     QByteArray(1, char(c.personalities.size()));
          }),
          [nack](R& r, D data) {
              if (data.size() != 1) {
                  return nack(kNackFormatError);
              }
              if (quint8(data[0]) < 1 || quint8(data[0]) > r.m_config.personalities.size()) {
                  return nack(kNackDataOutOfRange);
              }
              r.m_config.personality = quint8(data[0]);
              return Answer{kAck, {}};
          }}},
        {0x00E1,
         {[nack](R& r, D data) {
              const int index = data.isEmpty() ? 0 : quint8(data[0]);
              if (data.size() != 1 || index < 1 || index > r.m_config.personalities.size()) {
                  return nack(kNackDataOutOfRange);
              }
              const RdmPersonality& p = r.m_config.personalities[index - 1];
              return Answer{kAck,
                            QByteArray(1, char(index)) + Be16(p.footprint) + Text(p.description)};
          },
          {}}},
        {0x00F0,
         {value([](C c) { return Be16(c.startAddress); }),
          [nack](R& r, D data) {
              const quint16 address = data.size() == 2 ? U16(data, 0) : 0;
              if (data.size() != 2) {
                  return nack(kNackFormatError);
              }
              if (address < 1 || address > 512) {
                  return nack(kNackDataOutOfRange);
              }
              r.m_config.startAddress = address;
              return Answer{kAck, {}};
          }}},
        {0x0400, {long32(&RdmResponderConfig::deviceHours), {}}},
        {0x0401, {long32(&RdmResponderConfig::lampHours), {}}},
        {0x0402, {long32(&RdmResponderConfig::lampStrikes), {}}},
        {0x0403,
         {byte(&RdmResponderConfig::lampState), setByte(&RdmResponderConfig::lampState, upTo(3))}},
        {0x0404,
         {byte(&RdmResponderConfig::lampOnMode),
          setByte(&RdmResponderConfig::lampOnMode, upTo(3))}},
        {0x0405, {long32(&RdmResponderConfig::powerCycles), {}}},
        {0x0500,
         {byte(&RdmResponderConfig::displayInvert),
          setByte(&RdmResponderConfig::displayInvert, upTo(2))}},
        {0x0501,
         {byte(&RdmResponderConfig::displayLevel),
          setByte(&RdmResponderConfig::displayLevel, upTo(255))}},
        {0x0600,
         {flag(&RdmResponderConfig::panInvert), setByte(&RdmResponderConfig::panInvert, upTo(1))}},
        {0x0601,
         {flag(&RdmResponderConfig::tiltInvert),
          setByte(&RdmResponderConfig::tiltInvert, upTo(1))}},
        {0x0602,
         {flag(&RdmResponderConfig::panTiltSwap),
          setByte(&RdmResponderConfig::panTiltSwap, upTo(1))}},
        {0x1000,
         {flag(&RdmResponderConfig::identify),
          [nack](R& r, D data) {
              if (data.size() != 1 || quint8(data[0]) > 1) {
                  return nack(data.size() != 1 ? kNackFormatError : kNackDataOutOfRange);
              }
              r.m_config.identify = data[0] != 0;
              return Answer{kAck, {}};
          }}},
        {0x1001,
         {{},
          [nack](R& r, D data) {
              if (data.size() != 1) {
                  return nack(kNackFormatError);
              }
              if (quint8(data[0]) != 0x01 && quint8(data[0]) != 0xFF) {
                  return nack(kNackDataOutOfRange);
              }
              // Warm (1) or cold (0xFF): either way the fixture starts afresh.
              r.m_config.identify = false;
              ++r.m_config.powerCycles;
              r.m_muted = false;
              return Answer{kAck, {}};
          }}},
        {0x1010,
         {byte(&RdmResponderConfig::powerState),
          setByte(&RdmResponderConfig::powerState, oneOf({0, 1, 2, 255}))}},
    };
    return parameters;
}

QByteArray SimRdmResponder::SupportedParametersChunk(quint8* responseType) {
    const QList<quint16>& all = m_config.supportedParameters;
    const int perReply = std::max(1, std::min(m_config.parametersPerReply, 115));
    QByteArray data;
    const int end = std::min(int(all.size()), m_overflowOffset + perReply);
    for (int i = m_overflowOffset; i < end; ++i) {
        data += Be16(all[i]);
    }
    if (end < all.size()) {
        m_overflowOffset = end;
        *responseType = kAckOverflow;
    } else {
        m_overflowOffset = 0;
        *responseType = kAck;
    }
    return data;
}

std::optional<SimRdmResponder::Answer> SimRdmResponder::OwnParameter(quint8, quint16,
                                                                     const QByteArray&) {
    return std::nullopt;
}

SimRdmResponder::Answer SimRdmResponder::Dispatch(quint8 commandClass, quint16 pid,
                                                  const QByteArray& data) {
    if (auto own = OwnParameter(commandClass, pid, data)) {
        return *own;
    }
    const auto& parameters = Parameters();
    const auto it = parameters.find(pid);
    if (it == parameters.end()) {
        return {kNack, Be16(kNackUnknownPid)};
    }
    const Handler& handler = commandClass == kGet ? it->second.get : it->second.set;
    if (commandClass == kSet && KnownOptionalParameters().contains(pid) &&
        !m_config.supportedParameters.contains(pid)) {
        return {kNack, Be16(kNackUnknownPid)};
    }
    if (!handler) {
        return {kNack, Be16(kNackUnsupportedCommandClass)};
    }
    if (commandClass == kSet && m_config.writeProtected.contains(pid)) {
        return {kNack, Be16(kNackWriteProtect)};
    }
    return handler(*this, data);
}

QByteArray SimRdmResponder::HandleRdm(const QByteArray& request) {
    std::lock_guard lock(m_lock);
    // Only a whole, well-formed request that adds up is taken.
    if (request.size() < kHeaderSize + 2 || quint8(request[0]) != kStartCode ||
        quint8(request[1]) != kSubStartCode) {
        return {};
    }
    const int length = quint8(request[2]);
    const int dataLength = quint8(request[23]);
    if (length != kHeaderSize + dataLength || request.size() < length + 2 ||
        Sum(request, length) != U16(request, length)) {
        return {};
    }
    m_replyDelayMicros = 0;
    const quint64 destination = Uid(request, 3);
    const bool unicast = destination == m_config.uid;
    const bool broadcast = (destination & 0xFFFFFFFFULL) == 0xFFFFFFFFULL &&
                           (destination >> 32 == 0xFFFF || destination >> 32 == m_config.uid >> 32);
    if (!unicast && !broadcast) {
        return {};
    }
    ++m_requests;
    const quint8 commandClass = quint8(request[20]);
    const quint16 pid = U16(request, 21);
    const QByteArray data = request.mid(kHeaderSize, dataLength);
    if (commandClass == kDiscovery) {
        return Discovery(pid, data, unicast, request);
    }
    if (commandClass != kGet && commandClass != kSet) {
        return {};
    }

    Answer answer;
    RdmFaults& faults = m_config.faults;
    if (faults.busyCount > 0) {
        --faults.busyCount;
        answer = {kNack, Be16(kNackBusy)};
    } else if (faults.ackTimerCount > 0) {
        --faults.ackTimerCount;
        answer = {kAckTimer, Be16(faults.ackTimerEstimate)};
    } else {
        answer = Dispatch(commandClass, pid, data);
    }
    if (!unicast) {
        return {};  // broadcasts are obeyed, never answered
    }
    if (faults.wrongLength && (answer.responseType == kNack || answer.responseType == kAckTimer)) {
        answer.data.append('\0');
    }
    if (faults.dropEvery > 0 && ++m_replies % faults.dropEvery == 0) {
        return {};
    }
    return Reply(request, answer);
}

QByteArray SimRdmResponder::Discovery(quint16 pid, const QByteArray& data, bool unicast,
                                      const QByteArray& request) {
    switch (pid) {
        case 0x0001:  // DISC_UNIQUE_BRANCH: answer when in range and not muted
            if (m_config.faults.answersEveryBranch) {
                return NoiseReply(m_config.uid);
            }
            if (!m_muted && data.size() == 12 && Uid(data, 0) <= m_config.uid &&
                m_config.uid <= Uid(data, 6)) {
                m_replyDelayMicros = qint64(m_config.faults.lateBranchMs) * 1000;
                return EncodeDiscoveryReply(m_config.uid);
            }
            return {};
        case 0x0002:  // DISC_MUTE
            if (m_config.faults.noMuteAck) {
                return {};
            }
            [[fallthrough]];
        case 0x0003:  // DISC_UN_MUTE
            m_muted = pid == 0x0002;
            return unicast ? Reply(request, Answer{kAck, MuteReplyData()}) : QByteArray();
        default:
            return {};
    }
}

QByteArray SimRdmResponder::NoiseReply(quint64 uid) {
    QByteArray reply = EncodeDiscoveryReply(uid);
    reply[reply.size() - 1] = char(reply[reply.size() - 1] ^ 0x0A);  // the sum no longer adds up
    return reply;
}

qint64 SimRdmResponder::ReplyDelayMicros() const {
    std::lock_guard lock(m_lock);
    return m_replyDelayMicros;
}

QByteArray SimRdmResponder::MuteReplyData() const {
    QByteArray data = Be16(0);  // control field: no flags
    if (m_config.bindingUid != 0) {
        data.append(Be16(quint16(m_config.bindingUid >> 32)));
        data.append(Be16(quint16(m_config.bindingUid >> 16)));
        data.append(Be16(quint16(m_config.bindingUid)));
    }
    return data;
}

QByteArray SimRdmResponder::BuildReply(const QByteArray& request, quint64 source,
                                       quint64 destination, quint8 responseType,
                                       const QByteArray& data) {
    const int length = kHeaderSize + int(data.size());
    QByteArray reply(length + 2, '\0');
    reply[0] = char(kStartCode);
    reply[1] = char(kSubStartCode);
    reply[2] = char(length);
    PutUid(reply, 3, destination);
    PutUid(reply, 9, source);
    reply[15] = request[15];  // transaction number
    reply[16] = char(responseType);
    reply[17] = 0;
    reply[18] = request[18];
    reply[19] = request[19];
    reply[20] = char(quint8(request[20]) + 1);
    reply[21] = request[21];
    reply[22] = request[22];
    reply[23] = char(data.size());
    reply.replace(kHeaderSize, data.size(), data);
    qToBigEndian(Sum(reply, length), reply.data() + length);
    return reply;
}

QByteArray SimRdmResponder::Reply(const QByteArray& request, const Answer& answer) const {
    const quint64 controller =
        m_config.faults.foreignController ? kForeignController : Uid(request, 9);
    QByteArray reply =
        BuildReply(request, m_config.uid, controller, answer.responseType, answer.data);
    if (m_config.faults.corruptChecksum) {
        reply[reply.size() - 1] = char(reply[reply.size() - 1] ^ 0x5A);
        reply[reply.size() - 2] = char(reply[reply.size() - 2] ^ 0x5A);
    }
    return reply;
}

RdmResponderConfig SimRdmResponder::State() const {
    std::lock_guard lock(m_lock);
    return m_config;
}

bool SimRdmResponder::IsMuted() const {
    std::lock_guard lock(m_lock);
    return m_muted;
}

int SimRdmResponder::RequestsHandled() const {
    std::lock_guard lock(m_lock);
    return m_requests;
}

void SimRdmResponder::SetSoftwareVersionLabel(const QString& label) {
    std::lock_guard lock(m_lock);
    m_config.softwareVersionLabel = label;
}

void SimRdmResponder::SetFaults(const RdmFaults& faults) {
    std::lock_guard lock(m_lock);
    m_config.faults = faults;
}

}  // namespace Sim
