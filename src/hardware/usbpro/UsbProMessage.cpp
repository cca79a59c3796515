#include "hardware/usbpro/UsbProMessage.h"

namespace Hardware::UsbPro {

QByteArray Encode(quint8 label, const QByteArray& data) {
    const QByteArray carried = data.left(kMaxData);
    QByteArray bytes;
    bytes.reserve(kHeaderSize + carried.size() + 1);
    bytes.append(char(kStartByte));
    bytes.append(char(label));
    bytes.append(char(carried.size() & 0xFF));
    bytes.append(char(carried.size() >> 8));
    bytes.append(carried);
    bytes.append(char(kEndByte));
    return bytes;
}

}  // namespace Hardware::UsbPro
