#include "sim/LineTime.h"

#include <algorithm>

namespace Sim::LineTime {

qint64 Request(const QByteArray& request) {
    return kBreak + kMarkAfterBreak + request.size() * kByte;
}

qint64 RdmExchange(const QByteArray& request, const QByteArray& reply) {
    qint64 micros = Request(request);
    if (IsDiscoveryBranch(request)) {
        // The reply (if any) comes without a break, then the line rests before the next request.
        return micros + (reply.isEmpty() ? kLostReplyWait : kTurnaround + reply.size() * kByte) +
               kGapAfterDiscovery;
    }
    if (!reply.isEmpty()) {
        return micros + kTurnaround + kBreak + kMarkAfterBreak + reply.size() * kByte;
    }
    if (IsBroadcast(request)) {
        return micros + kGapAfterBroadcast;
    }
    return micros + kLostReplyWait + kGapAfterLostReply;
}

qint64 DmxFrame() {
    // Start code and 512 slots; a frame never takes less than the break-to-break minimum.
    return std::max<qint64>(kBreak + kMarkAfterBreak + 513 * kByte, kDmxBreakToBreakMin);
}

}  // namespace Sim::LineTime
