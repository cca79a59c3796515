#include "sim/SimOrxFixture.h"

#include "orx/OrxDefs.h"
#include "os/Clock.h"

#include <QtEndian>

#include <algorithm>

namespace Sim {

namespace {

quint32 Be32(const QByteArray& bytes, int offset) {
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

QByteArray Bytes(std::initializer_list<quint32> values, std::initializer_list<int> sizes) {
    QByteArray bytes;
    auto size = sizes.begin();
    for (quint32 value : values) {
        for (int i = *size - 1; i >= 0; --i) {
            bytes.append(char(value >> (8 * i)));
        }
        ++size;
    }
    return bytes;
}

bool AddsUp(const QByteArray& frame) {
    if (frame.size() < 4) {
        return false;
    }
    const qsizetype body = frame.size() - 2;
    return Orx::Checksum(frame.left(body)) == qFromBigEndian<quint16>(frame.constData() + body);
}

}  // namespace

SimOrxFixture::SimOrxFixture(OrxFixtureConfig config) : m_config(std::move(config)) {}

QByteArray SimOrxFixture::HandleRdm(const QByteArray& frame) {
    std::lock_guard lock(m_lock);
    if (!m_powered || frame.size() < 8 || quint8(frame[0]) != Orx::kStartCode || !AddsUp(frame)) {
        return {};
    }
    if (frame.size() == Orx::kTalkbackFrameSize && quint8(frame[1]) == Orx::kTalkbackMark) {
        return Deliver(OnTalkback(quint8(frame[2]), quint8(frame[3]), Be32(frame, 4)));
    }
    if (frame.size() == Orx::kQueryFrameSize) {
        return Deliver(OnQuery(quint8(frame[1]), Be32(frame, 2),
                               qFromBigEndian<quint16>(frame.constData() + 6)));
    }
    return OnCommand(quint8(frame[1]), Be32(frame, 2), frame.mid(6, frame.size() - 8));
}

QByteArray SimOrxFixture::Deliver(const QByteArray& reply) {
    if (reply.isEmpty()) {
        return {};
    }
    if (m_config.faults.dropEvery > 0 && ++m_replies % m_config.faults.dropEvery == 0) {
        return {};
    }
    return reply;
}

QByteArray SimOrxFixture::OnCommand(quint8 code, quint32 id, const QByteArray& data) {
    const auto& discoveryIds = Orx::kDiscoveryResetIds;
    const auto& uploadIds = Orx::kUploadResetIds;
    switch (code) {
        case Orx::kDiscoveryReset:
            if (std::find(discoveryIds.begin(), discoveryIds.end(), id) != discoveryIds.end()) {
                m_extinguished = false;
            }
            break;
        case Orx::kExtinguish:
            if (id == m_config.id && !m_config.faults.neverExtinguish) {
                m_extinguished = true;
            }
            break;
        case Orx::kUploadReset:
            if (std::find(uploadIds.begin(), uploadIds.end(), id) != uploadIds.end()) {
                m_bootloader = true;
            }
            break;
        case Orx::kEraseFlash:
            if (id == m_config.id && m_bootloader) {
                m_flash.clear();
                m_packets = 0;
                m_eraseStartMs = Os::Clock::Instance().NowMs();
            }
            break;
        case Orx::kFirmwarePacket:  // sent to all; the id field carries the packet number
            if (m_bootloader && EraseDone() && data.size() == Orx::kPacketSize) {
                m_flash.insert(int(id), data);
                ++m_packets;
                if (m_config.faults.powerLossAfterPackets > 0 &&
                    m_packets >= m_config.faults.powerLossAfterPackets) {
                    m_powered = false;
                }
            }
            break;
        default:
            break;
    }
    return {};  // commands are never answered
}

bool SimOrxFixture::EraseDone() const {
    return m_eraseStartMs >= 0 &&
           Os::Clock::Instance().NowMs() - m_eraseStartMs >= m_config.eraseTimeMs;
}

QByteArray SimOrxFixture::QueryReply(const QByteArray& payload) const {
    QByteArray reply(1, char(Orx::kStartCode));
    reply += payload.leftJustified(9, '\0', true);
    const quint16 sum = Orx::Checksum(reply);
    reply.append(char(sum >> 8));
    reply.append(char(sum & 0xFF));
    return reply;
}

QByteArray SimOrxFixture::OnQuery(quint8 code, quint32 id, quint16 parameter) {
    const bool mine = id == m_config.id;
    switch (code) {
        case Orx::kQueryPresence:
            // Every fixture answers alike, so replies that overlap on the line still add up.
            if (!m_extinguished && m_config.id >= id) {
                return QueryReply(QByteArray(1, char(code)));
            }
            return {};
        case Orx::kQuerySingle:
            return mine && !m_extinguished ? QueryReply(char(code) + Bytes({m_config.id}, {4}))
                                           : QByteArray();
        case Orx::kQueryReady:
            if (!mine || !m_bootloader) {
                return {};
            }
            return QueryReply(char(code) +
                              Bytes({m_config.id, EraseDone() ? Orx::kReadyMark : 0u}, {4, 4}));
        case Orx::kQueryMirror:
            return mine ? QueryReply(char(code) + Bytes({m_config.id, 0, parameter}, {4, 2, 2}))
                        : QByteArray();
        case Orx::kQueryChecksum: {
            if (!mine) {
                return {};
            }
            const quint16 sum = Orx::Checksum(Image(parameter));
            return QueryReply(char(code) + Bytes({m_config.id, 0, sum}, {4, 2, 2}));
        }
        default:
            return {};
    }
}

QByteArray SimOrxFixture::OnTalkback(quint8 operation, quint8 code, quint32 id) {
    if (id != m_config.id) {
        return {};
    }
    const OrxFixtureConfig& c = m_config;
    QByteArray data;
    if (operation == Orx::kTalkbackReadParams && code == Orx::kTalkbackAll) {
        data = Bytes({c.dmxAddress, c.personality, c.panTiltSwap, c.panInvert, c.tiltInvert,
                      c.displayInvert, c.displayOn, c.lampLimit, c.fixtureType, c.lampState},
                     {2, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    } else if (operation == Orx::kTalkbackRead) {
        switch (code) {
            case Orx::kTalkbackDeviceType:
                data = Bytes({c.fixtureType}, {1});
                break;
            case Orx::kTalkbackDeviceHours:
                data = Bytes({c.deviceHours}, {4});
                break;
            case Orx::kTalkbackFirmwareVersion:
                data = Bytes({c.firmwareMajor, c.firmwareMinor}, {1, 1});
                break;
            case Orx::kTalkbackFootprint:
                data = Bytes({c.footprint}, {2});
                break;
            case Orx::kTalkbackAll:
                data = Bytes(
                    {c.shutdownTime, c.datalossTime, c.encoderDisable, c.lensType, c.fastMode},
                    {2, 2, 1, 1, 1});
                break;
            default:
                return {};
        }
    } else {
        return {};
    }
    QByteArray reply;
    reply.append(char(Orx::kStartCode));
    reply.append(char(Orx::kTalkbackMark));
    reply.append(char(operation + 1));
    reply.append(char(code));
    reply += Bytes({c.id}, {4}) + data;
    const quint16 sum = Orx::Checksum(reply);
    reply.append(char(sum >> 8));
    reply.append(char(sum & 0xFF));
    return reply;
}

bool SimOrxFixture::IsExtinguished() const {
    std::lock_guard lock(m_lock);
    return m_extinguished;
}

int SimOrxFixture::PacketsStored() const {
    std::lock_guard lock(m_lock);
    return m_packets;
}

QByteArray SimOrxFixture::Flash(int packets) const {
    std::lock_guard lock(m_lock);
    return Image(packets);
}

QByteArray SimOrxFixture::Image(int packets) const {
    QByteArray image;
    for (int i = 0; i < packets; ++i) {
        image += m_flash.value(i, QByteArray(Orx::kPacketSize, char(0xFF)));
    }
    return image;
}

}  // namespace Sim
