#pragma once

#include "hardware/PortLayer.h"
#include "hardware/usbpro/UsbProLink.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace Hardware::UsbPro {

// What an interface says of itself when it is asked for its parameters and serial number.
struct Identity {
    quint8 firmwareMajor = 0;  // the firmware variety (2: the RDM firmware)
    quint8 firmwareMinor = 0;
    quint8 breakTime = 0;  // in units of 10.67 µs
    quint8 markTime = 0;   // in units of 10.67 µs
    quint8 refreshRate = 0;
    quint32 serialNumber = 0;  // binary-coded decimal, as the interface sends it
};

// One interface: a widget with one port whose driver requests become messages on its link.
// Requests are served one at a time; Cancel() makes a waiting one fail at once.
class Interface {
public:
    // How long an interface may take to answer the parameters request before the device is
    // taken for something else.
    static constexpr int kProbeTimeoutMs = 500;
    // How long the layer listens for the outcome of an RDM request: the line's reply window,
    // the longest reply and the USB latency of the serial converters.
    static constexpr int kReplyWindowMs = 60;
    // How long an interface that sent nothing in the reply window may take to show it is
    // still there.
    static constexpr int kAliveTimeoutMs = 250;

    // Opens the device and asks it who it is; nullptr when it cannot be opened (*error set)
    // or does not answer like an interface (*error 0).
    static std::unique_ptr<Interface> Probe(const QString& path, int* error,
                                            int timeoutMs = kProbeTimeoutMs);

    const QString& Path() const { return m_link->Path(); }
    const Identity& Id() const { return m_identity; }
    Link& Connection() { return *m_link; }
    // False once the device went away or its requests were cancelled.
    bool IsUsable() const { return !m_link->IsGone() && !m_link->IsCancelled(); }

    PortLayer::IoResult IoControl(quint32 code, const QByteArray& input, quint32 capacity);
    PortLayer::IoResult Write(const QByteArray& data);
    void Cancel() { m_link->Cancel(); }

private:
    using Handler = PortLayer::IoResult (Interface::*)(const QByteArray& input);
    struct Request {
        quint32 code;
        Handler handler;
    };
    static const Request kRequests[];

    Interface(std::unique_ptr<Link> link, Identity identity);

    PortLayer::IoResult GetPortModes(const QByteArray& input);
    PortLayer::IoResult SetPortModes(const QByteArray& input);
    PortLayer::IoResult RdmSend(const QByteArray& input);
    PortLayer::IoResult RdmReceive(const QByteArray& input);
    PortLayer::IoResult DeviceInfo(const QByteArray& input);
    PortLayer::IoResult FirmwareVersion(const QByteArray& input);

    // Waits for what the interface made of the last RDM request: the bytes heard, or empty
    // when nothing was heard. Fails when the interface does not show it is still there.
    PortLayer::IoResult TakeOutcome();
    // ENODEV once the device went away, ECANCELED once requests were cancelled, else 0.
    int LinkError() const;
    // The errno value for a wait that ended without a message.
    static int ErrorOf(Link::Outcome outcome);

    std::unique_ptr<Link> m_link;
    const Identity m_identity;
    std::mutex m_requestLock;
    QByteArray m_portModes;
    bool m_outcomePending = false;
};

}  // namespace Hardware::UsbPro
