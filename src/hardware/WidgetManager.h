#pragma once

#include "hardware/WidgetMapData.h"

#include <QList>
#include <QUuid>

namespace Hardware {

// The process-wide registry of present widget devices. It keeps one entry, with an open
// handle, per present device of the scanned interface classes, re-scans on every device
// change and tells registered listeners about arrivals, removals and I/O failures.
class WidgetManager {
public:
    enum Event { DeviceInserted = 1, DeviceRemoved = 2, DeviceFailed = 4 };

    // Called with the device, the event code and the registration's context.
    using Handler = void (*)(const WidgetMapData& device, int event, void* context);

    // Runs the first device-change pass and starts listening for changes (once).
    static void Init();

    // Registers a handler for a class; it receives every event (registration kind 5).
    static void Register(const QUuid& interfaceClass, Handler handler, void* context);
    static void Unregister(const QUuid& interfaceClass, Handler handler, void* context);

    // Copies of the present devices of a class, in map order.
    static QList<WidgetMapData> ListDevices(const QUuid& interfaceClass);

    // One full re-scan: opens arrivals, closes removals, then tells the listeners,
    // arrivals first, outside the map lock.
    static void EventDeviceChange();

    // A widget's I/O on `device` failed with a system error code.
    static void EventDeviceFail(const WidgetMapData& device, int errorCode);

    // Closes every handle, forgets the devices and stops listening; the next call
    // initialises again. Registrations are kept.
    static void Shutdown();
};

}  // namespace Hardware
