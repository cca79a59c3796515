#pragma once

#include "hardware/DmxWidget.h"
#include "zub/CountedRef.h"

#include <QUuid>

#include <array>
#include <mutex>

// The one way protocol code reaches the DMX widget. It holds at most one open widget,
// follows hot-plug (opens on arrival, drops on removal or on any failed I/O) and keeps the
// DMX frame sent on every port. Every operation is safe without a widget: it does nothing
// and reports failure.
class RdmUniverseUsb {
public:
    // A widget that can be shared by counted references, so that an unplug during a
    // transfer cannot destroy it under a running call.
    class Widget : public Hardware::DmxWidget, public zub::counter {
    public:
        using Hardware::DmxWidget::DmxWidget;
    };

    // The interface classes the universe opens widgets of, in the order they are tried.
    static const std::array<QUuid, 2>& InterfaceClasses();

    RdmUniverseUsb();
    ~RdmUniverseUsb();
    RdmUniverseUsb(const RdmUniverseUsb&) = delete;
    RdmUniverseUsb& operator=(const RdmUniverseUsb&) = delete;

    bool HasWidget() const;
    // The device path of the open widget, or empty.
    QString WidgetPath() const;
    quint16 GetPortCount() const;
    void GetWidgetVersion(quint8* major, quint8* minor) const;
    void PreparePortForRdm(quint16 port);

    // Copies `length` bytes into the frame (the rest keeps its values) and sends the whole
    // frame to every port.
    void SendDmx(const quint8* data, int length);
    QByteArray DmxFrame() const;

    bool SendRdm(quint16 port, quint32 expectedLength, const quint8* request, quint32 length);
    quint32 ReceiveRdm(quint16 port, quint32 waitValue, quint8* buffer, quint32 capacity);

    bool OpenWidget(const Hardware::WidgetMapData& device);
    void CloseWidget();
    void ReleaseWidgetIfPath(const Hardware::WidgetMapData& device);
    bool OpenFirstWidget();

    // The open widget (a counted reference), or empty.
    zub::counted_ref<Widget> CurrentWidget() const;

private:
    static void OnDeviceChange(const Hardware::WidgetMapData& device, int event, void* context);

    mutable std::recursive_mutex m_lock;  // guards m_widget
    zub::counted_ref<Widget> m_widget;
    mutable std::mutex m_frameLock;
    std::array<quint8, Hardware::DriverRequests::kDmxFrameSize> m_frame{};
};
