#pragma once

#include "hardware/DriverRequests.h"
#include "hardware/UmWidget.h"

#include <array>
#include <mutex>

namespace Hardware {

// One multi-port DMX/RDM widget: port modes, one 512-byte DMX frame per port written
// together when the trigger port is reached, and RDM send/receive on a port.
class DmxWidget : public UmWidget {
public:
    // A received 512-byte DMX frame handed to a reader's listener.
    class DmxRxEvent : public Event {
    public:
        DmxRxEvent(const quint8* data, int size) : m_data(data), m_size(size) {}
        const quint8* Data() const { return m_data; }
        int Size() const { return m_size; }

    private:
        const quint8* m_data;
        int m_size;
    };

    explicit DmxWidget(const WidgetMapData& device);

    ReaderFunction Reader() const override { return &DmxReader; }

    quint16 GetPortCount();
    // Reads the port-mode block, replaces the port's byte and writes it back.
    bool SetPortMode(quint16 port, quint32 mode);
    quint32 PortMode(quint16 port) const;

    // Takes the frame for a port in DMX output mode; writes every port's frame at once
    // when `port` is the trigger port.
    bool SendDmx(quint16 port, const quint8* data, int length);
    bool SetTriggerPort(quint16 port);
    quint16 TriggerPort() const;
    QByteArray Frame(quint16 port) const;

    bool SendRdm(quint16 port, quint32 expectedLength, const quint8* request, quint32 length);
    // The reply length, or -1 when the request failed.
    qint32 ReceiveRdm(quint16 port, quint32 waitValue, quint8* buffer, quint32 capacity);

    // The 8-byte version block (byte 2 major, byte 3 minor).
    QByteArray GetWidgetVersion() { return VersionBlock(); }

    static void DmxReader(Listener* listener, const quint8* buffer, int size);

private:
    mutable std::mutex m_portLock;
    std::array<quint32, DriverRequests::kMaxPorts> m_portModes{};
    std::array<quint8, DriverRequests::kMaxPorts * DriverRequests::kDmxFrameSize> m_frames{};
    quint16 m_triggerPort = 0;
};

}  // namespace Hardware
