#pragma once

#include <QString>

// A number in lower-case hexadecimal without a prefix, as the protocol logs write them.
inline QString Hex(quint64 value) {
    return QString::number(value, 16);
}
