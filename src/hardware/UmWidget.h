#pragma once

#include "hardware/WidgetMapData.h"

#include <QByteArray>

#include <mutex>

namespace Hardware {

// Base of the widget handles: the device's map entry, the driver requests with their
// failure reporting, and the cached device-info and version blocks.
class UmWidget {
public:
    // An event handed to a reader's listener.
    class Event {
    public:
        virtual ~Event() = default;
    };

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void OnWidgetEvent(const Event& event) = 0;
    };

    using ReaderFunction = void (*)(Listener* listener, const quint8* buffer, int size);

    static constexpr quint16 kVendorCode = 0x0C7A;

    explicit UmWidget(const WidgetMapData& device);
    virtual ~UmWidget();
    UmWidget(const UmWidget&) = delete;
    UmWidget& operator=(const UmWidget&) = delete;

    virtual quint16 VendorCode() const { return kVendorCode; }
    virtual quint16 ProductCode();
    virtual ReaderFunction Reader() const { return nullptr; }

    const WidgetMapData& Device() const { return m_device; }

    // The 16-byte device-info and 8-byte version blocks, fetched on first use and kept from
    // the first successful request on; zeros while no request has succeeded.
    QByteArray DeviceInfoBlock();
    QByteArray VersionBlock();

protected:
    // Issues one driver request. Fails at once on an invalid handle; any other failure is
    // reported to the widget manager with the system error code.
    bool IoControl(quint32 code, const QByteArray& input, quint32 outputCapacity,
                   QByteArray* output = nullptr);
    bool WriteFrames(const QByteArray& frames);

private:
    QByteArray CachedBlock(quint32 code, int size, bool& cached, QByteArray& block);

    WidgetMapData m_device;
    std::mutex m_cacheLock;
    bool m_hasDeviceInfo = false;
    QByteArray m_deviceInfo;
    bool m_hasVersion = false;
    QByteArray m_version;
};

}  // namespace Hardware
