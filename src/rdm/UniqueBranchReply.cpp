#include "rdm/UniqueBranchReply.h"

namespace {

constexpr quint8 kPreambleByte = 0xFE;
constexpr quint8 kSeparator = 0xAA;

// One byte sent as two: each half of the pair carries the bits the other masks.
bool IsPair(quint8 high, quint8 low) {
    return (high & 0xAA) == 0xAA && (low & 0x55) == 0x55;
}

}  // namespace

std::optional<quint64> UniqueBranchReply::Decode(const quint8* bytes, int size) {
    if (!bytes) {
        return std::nullopt;
    }
    int at = 0;
    while (at < size && at < kMaxPreamble && bytes[at] == kPreambleByte) {
        ++at;
    }
    if (at >= size || bytes[at] != kSeparator || size - at - 1 < kEncodedSize) {
        return std::nullopt;
    }
    const quint8* encoded = bytes + at + 1;
    quint64 uid = 0;
    quint16 sum = 0;
    for (int i = 0; i < 12; i += 2) {
        if (!IsPair(encoded[i], encoded[i + 1])) {
            return std::nullopt;
        }
        uid = uid << 8 | quint8(encoded[i] & encoded[i + 1]);
        sum = quint16(sum + encoded[i] + encoded[i + 1]);
    }
    for (int i = 12; i < kEncodedSize; i += 2) {
        if (!IsPair(encoded[i], encoded[i + 1])) {
            return std::nullopt;
        }
    }
    const quint16 sent = quint16((encoded[12] & encoded[13]) << 8 | (encoded[14] & encoded[15]));
    if (sent != sum) {
        return std::nullopt;
    }
    return uid;
}
