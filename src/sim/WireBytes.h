#pragma once

#include <QByteArray>
#include <QtEndian>

// Big-endian fields of the RDM messages the simulated fixtures read and write.
namespace Sim::WireBytes {

inline QByteArray Be16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray Be32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

}  // namespace Sim::WireBytes
