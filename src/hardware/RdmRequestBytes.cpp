#include "hardware/RdmRequestBytes.h"

#include <algorithm>

namespace Hardware::RdmRequestBytes {

namespace {
constexpr int kDestinationOffset = 3;
constexpr int kCommandClassOffset = 20;
constexpr int kPidOffset = 21;
}  // namespace

bool IsDiscoveryBranch(const QByteArray& request) {
    if (request.size() < kPidOffset + 2) {
        return false;
    }
    return quint8(request[kCommandClassOffset]) == 0x10 && quint8(request[kPidOffset]) == 0x00 &&
           quint8(request[kPidOffset + 1]) == 0x01;
}

bool IsBroadcast(const QByteArray& request) {
    if (request.size() < kDestinationOffset + 6) {
        return false;
    }
    const QByteArray device = request.mid(kDestinationOffset + 2, 4);
    return std::all_of(device.begin(), device.end(), [](char b) { return quint8(b) == 0xFF; });
}

}  // namespace Hardware::RdmRequestBytes
