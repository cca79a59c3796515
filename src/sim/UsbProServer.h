#pragma once

#include "hardware/usbpro/UsbProMessage.h"
#include "sim/SimWidget.h"

#include <atomic>
#include <memory>
#include <thread>

namespace Sim {

// Serves a simulated one-port widget as a USB Pro interface on a pseudo-terminal, on a
// thread of its own, until stopped: a symbolic link names the terminal's device, which the
// port layer opens like a USB serial device. Parameters and serial number are answered,
// DMX frames go to the widget's line, RDM requests to its responders; a request that no
// fixture answers is reported with the timeout message. Stopping closes the terminal, as
// an unplug does, and removes the link.
class UsbProServer {
public:
    static constexpr quint32 kDefaultSerialNumber = 0x12345678;  // reads "12345678"

    // Faults of the replies from then on; the last two happen once.
    enum class Fault {
        None,
        SplitReplies,        // every reply byte on its own
        GarbageBetween,      // stray bytes, a torn header among them, before every reply
        Silent,              // requests are read and never answered
        OversizedNextReply,  // the next reply announces more data than the protocol allows
        UnplugOnRequest,     // the next RDM request closes the terminal instead of going out
    };

    UsbProServer(std::shared_ptr<SimWidget> widget, QString linkPath,
                 quint32 serialNumber = kDefaultSerialNumber);
    ~UsbProServer();
    UsbProServer(const UsbProServer&) = delete;
    UsbProServer& operator=(const UsbProServer&) = delete;

    // Opens the terminal and makes the link (replacing a link left behind).
    bool Start(QString* error);
    void Stop();

    void SetFault(Fault fault) { m_fault = fault; }
    const QString& LinkPath() const { return m_linkPath; }
    const std::shared_ptr<SimWidget>& Widget() const { return m_widget; }

private:
    void Serve();
    // The reply to one message, or empty for none.
    QByteArray Answer(const Hardware::UsbPro::Message& message);
    QByteArray Parameters(const QByteArray& data);
    QByteArray SerialNumber(const QByteArray& data);
    QByteArray Dmx(const QByteArray& data);
    // Sends the request on the widget's line and reports what was heard.
    QByteArray Rdm(const QByteArray& request);
    void Send(const QByteArray& reply);
    void CloseTerminal();

    std::shared_ptr<SimWidget> m_widget;
    const QString m_linkPath;
    const quint32 m_serialNumber;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the terminal outlives the clients that close it
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<Fault> m_fault{Fault::None};
};

}  // namespace Sim
