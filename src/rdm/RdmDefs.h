#pragma once

#include <QtGlobal>

// Values of the RDM wire format that the program uses.
namespace Rdm {

constexpr quint8 kStartCode = 0xCC;
constexpr quint8 kSubStartCode = 0x01;
constexpr int kHeaderSize = 24;  // bytes before the parameter data
constexpr int kChecksumSize = 2;
constexpr int kMaxParameterData = 231;  // the message length must fit in one byte
constexpr int kReplyBufferSize = 512;
constexpr quint32 kExpectedLength = 512;
constexpr quint32 kReceiveWait = 1000;

// Offsets in a message.
constexpr int kOffsetMessageLength = 2;
constexpr int kOffsetDestination = 3;
constexpr int kOffsetSource = 9;
constexpr int kOffsetTransaction = 15;
constexpr int kOffsetPortOrResponseType = 16;
constexpr int kOffsetMessageCount = 17;
constexpr int kOffsetSubDevice = 18;
constexpr int kOffsetCommandClass = 20;
constexpr int kOffsetPid = 21;
constexpr int kOffsetDataLength = 23;
constexpr int kOffsetData = 24;

// Command classes.
constexpr quint8 kDiscovery = 0x10;
constexpr quint8 kDiscoveryResponse = 0x11;
constexpr quint8 kGet = 0x20;
constexpr quint8 kGetResponse = 0x21;
constexpr quint8 kSet = 0x30;
constexpr quint8 kSetResponse = 0x31;

// Response types.
constexpr quint8 kAck = 0;
constexpr quint8 kAckTimer = 1;
constexpr quint8 kNackReason = 2;
constexpr quint8 kAckOverflow = 3;

// NACK reasons.
constexpr quint16 kNackUnknownPid = 0x0000;
constexpr quint16 kNackFormatError = 0x0001;
constexpr quint16 kNackHardwareFault = 0x0002;
constexpr quint16 kNackWriteProtect = 0x0004;
constexpr quint16 kNackUnsupportedCommandClass = 0x0005;
constexpr quint16 kNackDataOutOfRange = 0x0006;
constexpr quint16 kNackBufferFull = 0x0007;
constexpr quint16 kNackBusy = 0x8112;  // the fixture is busy: wait and ask again

// Broadcast UID.
constexpr quint16 kBroadcastManufacturer = 0xFFFF;
constexpr quint32 kBroadcastDevice = 0xFFFFFFFF;

// Parameter ids.
enum Pid : quint16 {
    DiscUniqueBranch = 0x0001,
    DiscMute = 0x0002,
    DiscUnMute = 0x0003,
    SupportedParameters = 0x0050,
    DeviceInfo = 0x0060,
    DeviceModelDescription = 0x0080,
    ManufacturerLabel = 0x0081,
    DeviceLabel = 0x0082,
    FactoryDefaults = 0x0090,
    SoftwareVersionLabel = 0x00C0,
    BootSoftwareVersionLabel = 0x00C2,
    DmxPersonality = 0x00E0,
    DmxPersonalityDescription = 0x00E1,
    DmxStartAddress = 0x00F0,
    DeviceHours = 0x0400,
    LampHours = 0x0401,
    LampStrikes = 0x0402,
    LampState = 0x0403,
    LampOnMode = 0x0404,
    DevicePowerCycles = 0x0405,
    DisplayInvert = 0x0500,
    DisplayLevel = 0x0501,
    PanInvert = 0x0600,
    TiltInvert = 0x0601,
    PanTiltSwap = 0x0602,
    IdentifyDevice = 0x1000,
    ResetDevice = 0x1001,
    PowerState = 0x1010,
};

}  // namespace Rdm

// The result of an RDM transaction, on which every parameter operation branches.
enum ResponseStatus : int {
    ResponseAck = 0,
    ResponseNack = 2,
    ResponseAckOverflow = 3,
    ResponseBufferTooSmall = -1,
    ResponseInvalid = -2,         // not addressed to this program, or checksum wrong
    ResponseNoReply = -3,         // no reply after the retries (or the resend bound was hit)
    ResponseSendFailed = -4,      // the universe refused to send after the retries
    ResponseNoUniverse = -5,      // no widget; also a NACK or ACK_TIMER of the wrong length
    ResponseRequestTooLong = -6,  // more parameter data than a request can carry: not sent
};
