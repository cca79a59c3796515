#pragma once

#include <QByteArray>

namespace Hardware::UsbPro {

// The serial protocol's framing: start byte, label, data length (low byte first), data, end
// byte. The data of one message never exceeds kMaxData bytes.
constexpr quint8 kStartByte = 0x7E;
constexpr quint8 kEndByte = 0xE7;
constexpr int kHeaderSize = 4;
constexpr int kMaxData = 600;

// The message labels this program sends and reads.
enum Label : quint8 {
    kParameters = 3,      // request: 2 bytes user-data size; reply: firmware, break, mark, rate
    kReceived = 5,        // from the interface: status byte, then the bytes heard, start code first
    kSendDmx = 6,         // start code and up to 512 slots
    kSendRdm = 7,         // an RDM request, start code first; the reply comes back as kReceived
    kSerialNumber = 10,   // request: no data; reply: 4 bytes, low byte first
    kSendDiscovery = 11,  // a DISC_UNIQUE_BRANCH request; the bytes heard come back as kReceived
    kRdmTimeout = 12,     // from the interface: nothing was heard after an RDM request
};

struct Message {
    quint8 label = 0;
    QByteArray data;

    bool operator==(const Message&) const = default;
};

// The bytes of one message; data longer than kMaxData is cut to kMaxData.
QByteArray Encode(quint8 label, const QByteArray& data = {});

}  // namespace Hardware::UsbPro
