#pragma once

#include <QByteArray>

// What the bytes of an RDM request on the line (start code first) say about how it is carried.
namespace Hardware::RdmRequestBytes {

// True for DISC_UNIQUE_BRANCH (command class 0x10, PID 0x0001).
bool IsDiscoveryBranch(const QByteArray& request);
// True when the destination UID's device part is all ones.
bool IsBroadcast(const QByteArray& request);

}  // namespace Hardware::RdmRequestBytes
