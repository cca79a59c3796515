#include "hardware/WidgetManager.h"

#include "hardware/DeviceChange.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "os/Trap.h"

#include <map>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <vector>

namespace Hardware {

namespace {

constexpr int kKindAllEvents = 5;
constexpr int kKindFailures = 4;

struct Registration {
    WidgetManager::Handler handler;
    void* context;
    int kind;
};

struct Notification {
    Registration registration;
    WidgetMapData device;
    int event;
};

struct State {
    std::recursive_mutex initLock;
    bool initialised = false;

    std::shared_mutex mapLock;
    std::set<WidgetMapData> map;

    std::shared_mutex registryLock;
    std::multimap<QUuid, Registration> registry;
};

State& TheState() {
    static State state;
    return state;
}

void OnDeviceChangeListener() {
    WidgetManager::EventDeviceChange();
}

// Registrations of a class whose kind takes the event; the caller delivers them.
std::vector<Registration> ListenersFor(const QUuid& interfaceClass, int event) {
    State& state = TheState();
    std::shared_lock lock(state.registryLock);
    std::vector<Registration> listeners;
    const auto [first, last] = state.registry.equal_range(interfaceClass);
    for (auto it = first; it != last; ++it) {
        const int kind = it->second.kind;
        if (kind == kKindAllEvents ||
            (event == WidgetManager::DeviceFailed && kind == kKindFailures)) {
            listeners.push_back(it->second);
        }
    }
    return listeners;
}

void Queue(std::vector<Notification>& queue, const WidgetMapData& device, int event) {
    for (const Registration& registration : ListenersFor(device.interfaceClass, event)) {
        queue.push_back({registration, device, event});
    }
}

void Deliver(const std::vector<Notification>& queue) {
    for (const Notification& n : queue) {
        n.registration.handler(n.device, n.event, n.registration.context);
    }
}

std::set<WidgetMapData> EnumeratePresent() {
    std::set<WidgetMapData> present;
    PortLayer& layer = PortLayer::Instance();
    for (const QUuid& interfaceClass : InterfaceClasses::All()) {
        for (const QString& path : layer.Enumerate(interfaceClass)) {
            present.insert(WidgetMapData{path, PortLayer::kInvalidHandle, interfaceClass});
        }
    }
    return present;
}

}  // namespace

void WidgetManager::Init() {
    State& state = TheState();
    std::lock_guard lock(state.initLock);
    if (state.initialised) {
        return;
    }
    state.initialised = true;
    OS_LOG_INFO(Log::WidgetManager(), "Initializing Widget Manager");
    EventDeviceChange();
    OnDeviceChange::AddListener(&OnDeviceChangeListener);
}

void WidgetManager::Register(const QUuid& interfaceClass, Handler handler, void* context) {
    Init();
    State& state = TheState();
    std::unique_lock lock(state.registryLock);
    state.registry.insert({interfaceClass, Registration{handler, context, kKindAllEvents}});
}

void WidgetManager::Unregister(const QUuid& interfaceClass, Handler handler, void* context) {
    State& state = TheState();
    std::unique_lock lock(state.registryLock);
    const auto [first, last] = state.registry.equal_range(interfaceClass);
    for (auto it = first; it != last; ++it) {
        if (it->second.handler == handler && it->second.context == context) {
            state.registry.erase(it);
            return;
        }
    }
}

QList<WidgetMapData> WidgetManager::ListDevices(const QUuid& interfaceClass) {
    Init();
    State& state = TheState();
    std::shared_lock lock(state.mapLock);
    QList<WidgetMapData> devices;
    for (const WidgetMapData& entry : state.map) {
        if (entry.interfaceClass == interfaceClass) {
            devices.append(entry);
        }
    }
    return devices;
}

void WidgetManager::EventDeviceChange() {
    State& state = TheState();
    PortLayer& layer = PortLayer::Instance();
    std::vector<Notification> arrivals;
    std::vector<Notification> removals;
    size_t exitSize = 0;
    {
        std::unique_lock lock(state.mapLock);
        OS_LOG_INFO(Log::WidgetManager(),
                    QStringLiteral("Enter widget map size: %1").arg(state.map.size()));
        const std::set<WidgetMapData> present = EnumeratePresent();

        for (const WidgetMapData& device : present) {
            if (state.map.count(device) != 0) {
                continue;
            }
            auto inserted = state.map.insert(device);
            OS_TRAP_IF(!inserted.second);
            int error = 0;
            const PortLayer::Handle handle = layer.Open(device.path, &error);
            if (handle == PortLayer::kInvalidHandle) {
                OS_LOG_WARNING(Log::WidgetManager(), "Cannot open widget: path " + device.path);
                state.map.erase(inserted.first);
                continue;
            }
            // The handle does not take part in the ordering, so the entry may be updated.
            WidgetMapData opened = device;
            opened.handle = handle;
            state.map.erase(inserted.first);
            state.map.insert(opened);
            Queue(arrivals, opened, DeviceInserted);
            OS_LOG_INFO(Log::WidgetManager(), "Inserting widget: path " + device.path);
        }

        for (auto it = state.map.begin(); it != state.map.end();) {
            if (present.count(*it) != 0) {
                ++it;
                continue;
            }
            const WidgetMapData gone = *it;
            Queue(removals, gone, DeviceRemoved);
            gone.StopReader();
            layer.CancelIo(gone.handle);
            layer.Close(gone.handle);
            it = state.map.erase(it);
            OS_LOG_INFO(Log::WidgetManager(), "Removing widget: path " + gone.path);
        }
        exitSize = state.map.size();
    }
    Deliver(arrivals);
    Deliver(removals);
    OS_LOG_INFO(Log::WidgetManager(), QStringLiteral("Exit widget map size: %1").arg(exitSize));
}

void WidgetManager::EventDeviceFail(const WidgetMapData& device, int errorCode) {
    // Only an initialised manager hands out devices, so there is nothing to initialise here
    // (and the hot-plug source must not be started from the I/O thread).
    OS_LOG_WARNING(
        Log::WidgetManager(),
        QStringLiteral("Device Fail : path %1 error : %2").arg(device.path).arg(errorCode));
    std::vector<Notification> failures;
    Queue(failures, device, DeviceFailed);
    Deliver(failures);
}

void WidgetManager::Shutdown() {
    State& state = TheState();
    std::lock_guard initLock(state.initLock);
    if (!state.initialised) {
        return;
    }
    OnDeviceChange::RemoveListener(&OnDeviceChangeListener);
    OnDeviceChange::Reset();
    std::unique_lock lock(state.mapLock);
    PortLayer& layer = PortLayer::Instance();
    for (const WidgetMapData& entry : state.map) {
        layer.CancelIo(entry.handle);
        layer.Close(entry.handle);
    }
    state.map.clear();
    state.initialised = false;
}

}  // namespace Hardware
