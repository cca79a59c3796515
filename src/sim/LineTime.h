#pragma once

#include "hardware/RdmRequestBytes.h"

#include <QByteArray>
#include <QtGlobal>

namespace Sim::LineTime {

// DMX512 line figures (250 kbit/s, 11 bits a byte), in microseconds.
constexpr qint64 kByte = 44;
constexpr qint64 kBreak = 176;
constexpr qint64 kMarkAfterBreak = 12;
constexpr qint64 kTurnaround = 176;
constexpr qint64 kLostReplyWait = 2800;
constexpr qint64 kGapAfterLostReply = 3000;
constexpr qint64 kGapAfterDiscovery = 5800;
constexpr qint64 kGapAfterBroadcast = 176;
constexpr qint64 kDmxBreakToBreakMin = 1204;

using Hardware::RdmRequestBytes::IsBroadcast;
using Hardware::RdmRequestBytes::IsDiscoveryBranch;

// Line time of a request alone: break, mark after break and its bytes.
qint64 Request(const QByteArray& request);
// Line time of one RDM request and its reply (empty when none came).
qint64 RdmExchange(const QByteArray& request, const QByteArray& reply);
// Line time of one DMX frame of 512 slots (ports send in parallel).
qint64 DmxFrame();

}  // namespace Sim::LineTime
