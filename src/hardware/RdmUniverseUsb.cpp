#include "hardware/RdmUniverseUsb.h"

#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/WidgetManager.h"

#include <algorithm>
#include <cstring>
#include <map>

using Hardware::WidgetManager;
using Hardware::WidgetMapData;

namespace {

// The process-wide widget objects by device: opening a device that is already known reuses
// its object. An object is forgotten when the universe drops it and nobody else holds it.
class WidgetCache {
public:
    static WidgetCache& Instance() {
        static WidgetCache cache;
        return cache;
    }

    zub::counted_ref<RdmUniverseUsb::Widget> Find(const WidgetMapData& device) {
        std::lock_guard lock(m_lock);
        const auto it = m_widgets.find(KeyOf(device));
        // An object made for an earlier handle of the same path (the device was unplugged
        // and plugged in again while a call still held it) is stale and not reused.
        if (it == m_widgets.end() || it->second->Device().handle != device.handle) {
            return {};
        }
        return it->second;
    }

    zub::counted_ref<RdmUniverseUsb::Widget> Insert(const WidgetMapData& device) {
        zub::counted_ref<RdmUniverseUsb::Widget> widget(new RdmUniverseUsb::Widget(device));
        std::lock_guard lock(m_lock);
        m_widgets[KeyOf(device)] = widget;
        return widget;
    }

    // Forgets the object when only the map and the caller's reference hold it.
    void RemoveIfUnshared(const WidgetMapData& device) {
        std::lock_guard lock(m_lock);
        const auto it = m_widgets.find(KeyOf(device));
        if (it != m_widgets.end() && it->second->RefCount() <= 2) {
            m_widgets.erase(it);
        }
    }

private:
    using Key = std::pair<QString, QString>;
    static Key KeyOf(const WidgetMapData& device) {
        return {device.interfaceClass.toString(), device.path};
    }

    std::mutex m_lock;
    std::map<Key, zub::counted_ref<RdmUniverseUsb::Widget>> m_widgets;
};

}  // namespace

const std::array<QUuid, 2>& RdmUniverseUsb::InterfaceClasses() {
    static const std::array<QUuid, 2> classes = {Hardware::InterfaceClasses::All()[2],
                                                 Hardware::InterfaceClasses::All()[9]};
    return classes;
}

RdmUniverseUsb::RdmUniverseUsb() {
    for (const QUuid& interfaceClass : InterfaceClasses()) {
        WidgetManager::Register(interfaceClass, &RdmUniverseUsb::OnDeviceChange, this);
    }
    OpenFirstWidget();
}

RdmUniverseUsb::~RdmUniverseUsb() {
    CloseWidget();
    for (const QUuid& interfaceClass : InterfaceClasses()) {
        WidgetManager::Unregister(interfaceClass, &RdmUniverseUsb::OnDeviceChange, this);
    }
    std::lock_guard lock(m_lock);
    m_widget.reset();
}

zub::counted_ref<RdmUniverseUsb::Widget> RdmUniverseUsb::CurrentWidget() const {
    std::lock_guard lock(m_lock);
    return m_widget;
}

bool RdmUniverseUsb::HasWidget() const {
    return bool(CurrentWidget());
}

QString RdmUniverseUsb::WidgetPath() const {
    const auto widget = CurrentWidget();
    return widget ? widget->Device().path : QString();
}

quint16 RdmUniverseUsb::GetPortCount() const {
    const auto widget = CurrentWidget();
    return widget ? widget->GetPortCount() : 0;
}

void RdmUniverseUsb::GetWidgetVersion(quint8* major, quint8* minor) const {
    const auto widget = CurrentWidget();
    const QByteArray version = widget ? widget->GetWidgetVersion() : QByteArray(8, '\0');
    if (major) {
        *major = quint8(version.at(2));
    }
    if (minor) {
        *minor = quint8(version.at(3));
    }
}

void RdmUniverseUsb::PreparePortForRdm(quint16 port) {
    const auto widget = CurrentWidget();
    if (widget && port < widget->GetPortCount()) {
        if (!widget->SetPortMode(port, Hardware::DriverRequests::kPortModeRdmDiscovery)) {
            CloseWidget();
        }
    }
}

void RdmUniverseUsb::SendDmx(const quint8* data, int length) {
    QByteArray frame;
    {
        std::lock_guard lock(m_frameLock);
        const int n = data ? std::clamp(length, 0, int(m_frame.size())) : 0;
        if (n > 0) {
            std::memcpy(m_frame.data(), data, size_t(n));
        }
        frame = QByteArray(reinterpret_cast<const char*>(m_frame.data()), int(m_frame.size()));
    }
    const auto widget = CurrentWidget();
    if (!widget) {
        return;
    }
    const quint16 ports = widget->GetPortCount();
    for (quint16 port = 0; port < ports; ++port) {
        if (!widget->SendDmx(port, reinterpret_cast<const quint8*>(frame.constData()),
                             frame.size())) {
            CloseWidget();
            return;
        }
    }
}

QByteArray RdmUniverseUsb::DmxFrame() const {
    std::lock_guard lock(m_frameLock);
    return QByteArray(reinterpret_cast<const char*>(m_frame.data()), int(m_frame.size()));
}

bool RdmUniverseUsb::SendRdm(quint16 port, quint32 expectedLength, const quint8* request,
                             quint32 length) {
    const auto widget = CurrentWidget();
    if (!widget || port >= widget->GetPortCount()) {
        return false;
    }
    if (!widget->SendRdm(port, expectedLength, request, length)) {
        CloseWidget();
        return false;
    }
    return true;
}

quint32 RdmUniverseUsb::ReceiveRdm(quint16 port, quint32 waitValue, quint8* buffer,
                                   quint32 capacity) {
    const auto widget = CurrentWidget();
    if (!widget || port >= widget->GetPortCount()) {
        return 0;
    }
    const qint32 received = widget->ReceiveRdm(port, waitValue, buffer, capacity);
    if (received < 0) {
        CloseWidget();
        return 0;
    }
    return quint32(received);
}

bool RdmUniverseUsb::OpenWidget(const WidgetMapData& device) {
    std::lock_guard lock(m_lock);
    if (m_widget) {
        return true;  // a second widget is ignored
    }
    zub::counted_ref<Widget> widget = WidgetCache::Instance().Find(device);
    if (!widget) {
        widget = WidgetCache::Instance().Insert(device);
    }
    const quint16 ports = widget->GetPortCount();
    if (ports == 0) {
        // An unknown product (or one whose device info cannot be read) has no usable port.
        OS_LOG_WARNING(Hardware::Log::DmxWidget(),
                       "Widget without ports ignored: path " + device.path);
        WidgetCache::Instance().RemoveIfUnshared(device);
        return false;
    }
    m_widget = widget;
    for (quint16 port = 0; port < ports; ++port) {
        if (!widget->SetPortMode(port, Hardware::DriverRequests::kPortModeDmxOutput)) {
            CloseWidget();
            return false;
        }
    }
    widget->SetTriggerPort(quint16(ports - 1));
    return true;
}

void RdmUniverseUsb::CloseWidget() {
    std::lock_guard lock(m_lock);
    if (m_widget) {
        ReleaseWidgetIfPath(m_widget->Device());
    }
}

void RdmUniverseUsb::ReleaseWidgetIfPath(const WidgetMapData& device) {
    std::lock_guard lock(m_lock);
    if (!m_widget || !m_widget->Device().SameDevice(device)) {
        return;
    }
    WidgetCache::Instance().RemoveIfUnshared(m_widget->Device());
    m_widget.reset();
}

bool RdmUniverseUsb::OpenFirstWidget() {
    std::lock_guard lock(m_lock);
    if (m_widget) {
        return true;
    }
    for (const QUuid& interfaceClass : InterfaceClasses()) {
        for (const WidgetMapData& device : WidgetManager::ListDevices(interfaceClass)) {
            if (OpenWidget(device)) {
                return true;
            }
        }
    }
    return false;
}

void RdmUniverseUsb::OnDeviceChange(const WidgetMapData& device, int event, void* context) {
    auto* universe = static_cast<RdmUniverseUsb*>(context);
    if (event == WidgetManager::DeviceInserted) {
        universe->OpenWidget(device);
    } else if (event == WidgetManager::DeviceRemoved) {
        universe->ReleaseWidgetIfPath(device);
    }
}
