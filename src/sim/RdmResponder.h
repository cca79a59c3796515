#pragma once

#include <QByteArray>

namespace Sim {

// Something on a simulated DMX line: it sees every RDM request and DMX frame sent on its
// port and may answer an RDM request.
class RdmResponder {
public:
    virtual ~RdmResponder() = default;

    // The reply bytes to a request (without the driver's header), or empty for no reply.
    virtual QByteArray HandleRdm(const QByteArray& request) = 0;
    // How much later than the usual turnaround the reply last given by HandleRdm starts, in
    // microseconds; a controller that stops listening before then never hears it.
    virtual qint64 ReplyDelayMicros() const { return 0; }
    // A DMX frame (start code first is not included: the 512 slots) sent on the port.
    virtual void HandleDmx(const QByteArray& frame) { Q_UNUSED(frame); }
};

}  // namespace Sim
