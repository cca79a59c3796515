#include "sim/SimOrxFixture.h"

#include "sim/FirmwareCatalogue.h"

#include "orx/OrxDefs.h"

#include <algorithm>

namespace Sim {

namespace {

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

}  // namespace

SimOrxFixture::SimOrxFixture(OrxFixtureConfig config)
    : m_config(std::move(config)),
      m_loader(m_config.id, m_config.eraseTimeMs, m_config.faults.firmware) {}

QByteArray SimOrxFixture::HandleRdm(const QByteArray& bytes) {
    std::lock_guard lock(m_lock);
    const std::optional<TalkbackFrame> frame = TalkbackFrame::Parse(bytes);
    if (!m_loader.Powered() || !frame) {
        return {};
    }
    if (const std::optional<QByteArray> reply = m_loader.Handle(*frame)) {
        if (const std::optional<QByteArray> image = m_loader.TakeInstalled()) {
            Install(*image);
        }
        return frame->kind == TalkbackFrame::Query ? Deliver(*reply) : QByteArray();
    }
    switch (frame->kind) {
        case TalkbackFrame::Talkback:
            return Deliver(OnTalkback(frame->operation, frame->code, frame->id));
        case TalkbackFrame::Query:
            return Deliver(OnQuery(frame->code, frame->id));
        default:
            return OnCommand(frame->code, frame->id);
    }
}

void SimOrxFixture::Install(const QByteArray& image) {
    const auto release = FirmwareCatalogue::Instance().Find(image);
    if (!release || release->role != FirmwareRole::Talkback) {
        return;  // an image no one knows: the versions it reports stay as they were
    }
    m_config.firmwareMajor = quint8(release->version.section('.', 0, 0).toUInt());
    m_config.firmwareMinor = quint8(release->version.section('.', 1, 1).toUInt());
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

QByteArray SimOrxFixture::OnCommand(quint8 code, quint32 id) {
    const auto& discoveryIds = Orx::kDiscoveryResetIds;
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
        default:
            break;
    }
    return {};  // commands are never answered
}

QByteArray SimOrxFixture::OnQuery(quint8 code, quint32 id) {
    const bool mine = id == m_config.id;
    switch (code) {
        case Orx::kQueryPresence:
            // Every fixture answers alike, so replies that overlap on the line still add up.
            if (!m_extinguished && m_config.id >= id) {
                return TalkbackFrame::QueryReply(QByteArray(1, char(code)));
            }
            return {};
        case Orx::kQuerySingle:
            return mine && !m_extinguished
                       ? TalkbackFrame::QueryReply(char(code) + Bytes({m_config.id}, {4}))
                       : QByteArray();
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
    return m_loader.PacketsStored();
}

QByteArray SimOrxFixture::Flash(int packets) const {
    std::lock_guard lock(m_lock);
    return m_loader.Flash(packets);
}

quint16 SimOrxFixture::FirmwareVersion() const {
    std::lock_guard lock(m_lock);
    return quint16(m_config.firmwareMajor << 8 | m_config.firmwareMinor);
}

}  // namespace Sim
