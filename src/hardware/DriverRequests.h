#pragma once

#include <QByteArray>

namespace Hardware::DriverRequests {

// The widget driver's I/O control codes.
constexpr quint32 kGetPortModes = 0x88B46C10;
constexpr quint32 kSetPortModes = 0x88B4AC14;
constexpr quint32 kRdmSend = 0x88B4EC1C;
constexpr quint32 kRdmReceive = 0x88B4EC20;
constexpr quint32 kDeviceInfo = 0x88B56BC0;
constexpr quint32 kFirmwareVersion = 0x88B56BC8;

constexpr int kPortModeBlockSize = 9;  // byte 0, then one mode byte per port 0..7
constexpr int kMaxPorts = 8;
constexpr int kDeviceInfoSize = 16;  // bytes 2..3: product code, little-endian
constexpr int kVersionSize = 8;      // byte 2: major, byte 3: minor
constexpr int kRdmHeaderSize = 16;
constexpr int kRdmMaxRequest = 496;  // request bytes that fit behind the send header
constexpr quint32 kRdmSendConstant = 25;
constexpr int kDmxFrameSize = 512;

constexpr quint32 kPortModeDmxOutput = 1;
constexpr quint32 kPortModeRdmDiscovery = 3;

// The product code of the USB DMX interfaces that speak the USB Pro serial protocol: one port.
constexpr quint16 kUsbProProductCode = 1000;

// Ports of a widget by its product code; 0 for an unknown product.
quint16 PortCountForProduct(quint16 productCode);

// The 16-byte headers of the RDM send and RDM receive requests.
QByteArray RdmSendHeader(quint16 port, quint32 length, quint32 expectedLength);
QByteArray RdmReceiveHeader(quint16 port, quint32 capacity, quint32 waitValue);

}  // namespace Hardware::DriverRequests
