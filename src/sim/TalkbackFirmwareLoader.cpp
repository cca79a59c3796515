#include "sim/TalkbackFirmwareLoader.h"

#include "orx/OrxDefs.h"
#include "os/Clock.h"

#include <QtEndian>

#include <algorithm>

namespace Sim {

namespace {

QByteArray Be(quint32 value, int size) {
    QByteArray bytes;
    for (int i = size - 1; i >= 0; --i) {
        bytes.append(char(value >> (8 * i)));
    }
    return bytes;
}

qint64 Now() {
    return Os::Clock::Instance().NowMs();
}

}  // namespace

std::optional<TalkbackFrame> TalkbackFrame::Parse(const QByteArray& bytes) {
    if (bytes.size() < 8 || quint8(bytes[0]) != Orx::kStartCode) {
        return std::nullopt;
    }
    const qsizetype body = bytes.size() - 2;
    if (Orx::Checksum(bytes.left(body)) != qFromBigEndian<quint16>(bytes.constData() + body)) {
        return std::nullopt;
    }
    TalkbackFrame frame;
    if (bytes.size() == Orx::kTalkbackFrameSize && quint8(bytes[1]) == Orx::kTalkbackMark) {
        frame.kind = Talkback;
        frame.operation = quint8(bytes[2]);
        frame.code = quint8(bytes[3]);
        frame.id = qFromBigEndian<quint32>(bytes.constData() + 4);
        return frame;
    }
    frame.code = quint8(bytes[1]);
    frame.id = qFromBigEndian<quint32>(bytes.constData() + 2);
    if (bytes.size() == Orx::kQueryFrameSize) {
        frame.kind = Query;
        frame.parameter = qFromBigEndian<quint16>(bytes.constData() + 6);
    } else {
        frame.data = bytes.mid(6, body - 6);
    }
    return frame;
}

QByteArray TalkbackFrame::QueryReply(const QByteArray& payload) {
    QByteArray reply(1, char(Orx::kStartCode));
    reply += payload.leftJustified(9, '\0', true);
    const quint16 sum = Orx::Checksum(reply);
    reply.append(char(sum >> 8));
    reply.append(char(sum & 0xFF));
    return reply;
}

TalkbackFirmwareLoader::TalkbackFirmwareLoader(quint32 id, qint64 eraseTimeMs,
                                               FirmwareFaults faults)
    : m_id(id), m_eraseTimeMs(eraseTimeMs), m_faults(faults) {}

std::optional<QByteArray> TalkbackFirmwareLoader::Handle(const TalkbackFrame& frame) {
    switch (frame.kind) {
        case TalkbackFrame::Command:
            return OnCommand(frame);
        case TalkbackFrame::Query:
            return OnQuery(frame);
        default:
            return std::nullopt;
    }
}

bool TalkbackFirmwareLoader::InBootLoader() const {
    return m_bootLoader && (m_eraseStartMs >= 0 || Now() - m_resetAtMs < kIdleResetMs);
}

bool TalkbackFirmwareLoader::EraseDone() const {
    return m_eraseStartMs >= 0 && Now() - m_eraseStartMs >= m_eraseTimeMs;
}

std::optional<QByteArray> TalkbackFirmwareLoader::OnCommand(const TalkbackFrame& frame) {
    const auto& resetIds = Orx::kUploadResetIds;
    switch (frame.code) {
        case Orx::kUploadReset:
            if (std::find(resetIds.begin(), resetIds.end(), frame.id) != resetIds.end()) {
                if (!InBootLoader()) {
                    m_eraseStartMs = -1;
                }
                m_bootLoader = true;
                m_resetAtMs = Now();
            }
            return QByteArray();
        case Orx::kEraseFlash:
            if (frame.id == m_id && InBootLoader()) {
                m_flash.clear();
                m_packets = 0;
                m_eraseStartMs = Now();
            }
            return QByteArray();
        case Orx::kFirmwarePacket:  // sent to all; the id field carries the packet number
            if (InBootLoader() && EraseDone() && !m_faults.neverReady &&
                frame.data.size() == Orx::kPacketSize) {
                m_flash.insert(int(frame.id), frame.data);
                ++m_packets;
                if (m_faults.powerLossAfterPackets > 0 &&
                    m_packets >= m_faults.powerLossAfterPackets) {
                    m_powered = false;
                }
            }
            return QByteArray();
        default:
            return std::nullopt;
    }
}

std::optional<QByteArray> TalkbackFirmwareLoader::OnQuery(const TalkbackFrame& frame) {
    const bool mine = frame.id == m_id;
    switch (frame.code) {
        case Orx::kQueryReady: {
            if (!mine || !InBootLoader()) {
                return QByteArray();
            }
            const bool ready = EraseDone() && !m_faults.neverReady;
            return TalkbackFrame::QueryReply(char(frame.code) + Be(m_id, 4) +
                                             Be(ready ? Orx::kReadyMark : 0u, 4));
        }
        case Orx::kQueryMirror:
            return mine ? TalkbackFrame::QueryReply(char(frame.code) + Be(m_id, 4) + Be(0, 2) +
                                                    Be(frame.parameter, 2))
                        : QByteArray();
        case Orx::kQueryChecksum: {
            if (!mine) {
                return QByteArray();
            }
            const QByteArray image = Flash(frame.parameter);
            quint16 sum = Orx::Checksum(image);
            if (m_faults.failVerify) {
                sum = quint16(sum + 1);
            } else if (InBootLoader() && m_eraseStartMs >= 0 && frame.parameter > 0) {
                // The image adds up: the fixture starts it.
                m_installed = image;
                m_bootLoader = false;
            }
            return TalkbackFrame::QueryReply(char(frame.code) + Be(m_id, 4) + Be(0, 2) +
                                             Be(sum, 2));
        }
        default:
            return std::nullopt;
    }
}

std::optional<QByteArray> TalkbackFirmwareLoader::TakeInstalled() {
    return std::exchange(m_installed, std::nullopt);
}

QByteArray TalkbackFirmwareLoader::Flash(int packets) const {
    QByteArray image;
    for (int i = 0; i < packets; ++i) {
        image += m_flash.value(i, QByteArray(Orx::kPacketSize, char(0xFF)));
    }
    return image;
}

}  // namespace Sim
