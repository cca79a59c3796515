#pragma once

#include <QtGlobal>

#include <optional>

// Reads the bytes that came back for a DISC_UNIQUE_BRANCH: up to seven 0xFE, the 0xAA
// separator, the six UID bytes each sent as the pair (b | 0xAA, b | 0x55), then the 16-bit sum
// of those twelve bytes sent the same way. Replies of several fixtures overlap on the line and
// no longer add up; such a collision, like any other damage, decodes to nothing.
class UniqueBranchReply {
public:
    static constexpr int kMaxPreamble = 7;
    static constexpr int kEncodedSize = 16;  // UID and checksum pairs after the separator

    // The UID of the one fixture that answered, or nothing for a collision or noise.
    static std::optional<quint64> Decode(const quint8* bytes, int size);
};
