#pragma once

#include "hardware/PortLayer.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace Hardware {

class DirectoryWatch;

namespace UsbPro {
class Interface;
}

// USB DMX interfaces that speak the USB Pro serial protocol, found among the serial devices
// (or the one device given). Each interface is a widget with one port, listed under the DMX
// widget class and opened while it is present; its driver requests become protocol
// messages. A serial device that does not answer the parameters request is left alone.
// Devices appearing or vanishing, and an interface that goes away, are device changes.
class UsbProPortLayer final : public PortLayer {
public:
    struct Locations {
        QString devDir = "/dev";
        QString byIdDir = "/dev/serial/by-id";
    };
    // Several changes within this time are one device-change pass: a new serial device is
    // made in steps (node, access rights, stable names).
    static constexpr int kSettleMs = 250;

    // Every interface among the serial devices of the system, or of `locations`.
    UsbProPortLayer();
    explicit UsbProPortLayer(Locations locations);
    // Only the interface at `device`, a device node or a link to one.
    explicit UsbProPortLayer(QString device);
    ~UsbProPortLayer() override;

    // The interface class the interfaces are listed under.
    static QUuid InterfaceClass();

    QStringList Enumerate(const QUuid& interfaceClass) override;
    Handle Open(const QString& path, int* error) override;
    IoResult IoControl(Handle handle, quint32 code, const QByteArray& input,
                       quint32 outputCapacity) override;
    IoResult Write(Handle handle, const QByteArray& data) override;
    void CancelIo(Handle handle) override;
    void Close(Handle handle) override;
    bool StartHotPlug(std::function<void()> onChange) override;
    void StopHotPlug() override;

private:
    using InterfacePtr = std::shared_ptr<UsbPro::Interface>;

    // The serial devices that may be interfaces, one name each, in byte order.
    QStringList Candidates() const;
    QStringList WatchedFolders() const;
    // Probes the new candidates and forgets the interfaces that went away.
    void Refresh();
    void Follow(const InterfacePtr& found);
    InterfacePtr InterfaceOf(Handle handle);

    const Locations m_locations;
    const QString m_device;

    std::mutex m_lock;
    std::map<QString, InterfacePtr> m_present;  // by path
    std::set<QString> m_rejected;               // no answer to the parameters request
    std::map<Handle, InterfacePtr> m_open;
    Handle m_nextHandle = 1;
    std::unique_ptr<DirectoryWatch> m_watch;
};

}  // namespace Hardware
