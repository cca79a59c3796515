#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// The talk-back protocol of the legacy moving lights: frame layout, codes and reset ids.
namespace Orx {

constexpr quint8 kStartCode = 0x26;

// Command codes.
constexpr quint8 kUploadReset = 0x80;
constexpr quint8 kFirmwarePacket = 0x81;
constexpr quint8 kEraseFlash = 0x82;
constexpr quint8 kExtinguish = 0x83;
constexpr quint8 kDiscoveryReset = 0x85;

// Query codes.
constexpr quint8 kQueryReady = 1;
constexpr quint8 kQueryMirror = 2;
constexpr quint8 kQueryChecksum = 3;
constexpr quint8 kQueryPresence = 5;
constexpr quint8 kQuerySingle = 6;

constexpr int kQueryFrameSize = 10;
constexpr int kQueryReplySize = 12;         // byte 0, payload 1..9, checksum 10..11
constexpr quint32 kReadyMark = 0xFEEDFACE;  // reply bytes 6..9 of a ready fixture

// Talk-back.
constexpr quint8 kTalkbackMark = 0x50;
constexpr quint8 kTalkbackRead = 0x30;        // request operation; the reply carries 0x31
constexpr quint8 kTalkbackReadParams = 0x32;  // the all-parameters operation; reply 0x33
constexpr int kTalkbackFrameSize = 17;
constexpr int kTalkbackHeaderSize = 8;  // 0x26 0x50 operation code, device id
constexpr quint8 kTalkbackDeviceType = 0x01;
constexpr quint8 kTalkbackDeviceHours = 0x07;
constexpr quint8 kTalkbackFirmwareVersion = 0x08;
constexpr quint8 kTalkbackFootprint = 0x15;
constexpr quint8 kTalkbackAll = 0xFF;

constexpr std::array<quint32, 4> kDiscoveryResetIds = {0x434C5241, 0x434C5242, 0x434C5243,
                                                       0x434C5245};
constexpr std::array<quint32, 4> kUploadResetIds = {0x52534554, 0x52534541, 0x52534542, 0x52534543};

constexpr int kPacketSize = 256;

// c = (c rotated left by one bit) + byte + 3, over 16 bits.
inline quint16 Checksum(const QByteArray& bytes, quint16 start = 0) {
    quint16 c = start;
    for (char byte : bytes) {
        c = quint16(quint16(c << 1 | c >> 15) + quint8(byte) + 3);
    }
    return c;
}

}  // namespace Orx
