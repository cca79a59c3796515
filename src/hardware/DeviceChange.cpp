#include "hardware/DeviceChange.h"

#include "hardware/HardwareLog.h"
#include "hardware/PortLayer.h"
#include "os/Trap.h"

#include <mutex>
#include <set>
#include <shared_mutex>
#include <vector>

namespace Hardware {

namespace {

struct Notifier {
    std::shared_mutex lock;
    std::set<OnDeviceChange::Listener> listeners;
    bool sourceStarted = false;
};

Notifier& TheNotifier() {
    static Notifier notifier;
    return notifier;
}

}  // namespace

void OnDeviceChange::AddListener(Listener listener) {
    Notifier& notifier = TheNotifier();
    std::unique_lock lock(notifier.lock);
    const bool inserted = notifier.listeners.insert(listener).second;
    OS_TRAP_IF(!inserted);
    if (!notifier.sourceStarted) {
        // A source that cannot start now is tried again at the next listener.
        notifier.sourceStarted = PortLayer::Instance().StartHotPlug(&OnDeviceChange::Notify);
    }
}

void OnDeviceChange::RemoveListener(Listener listener) {
    Notifier& notifier = TheNotifier();
    std::unique_lock lock(notifier.lock);
    notifier.listeners.erase(listener);
}

void OnDeviceChange::Notify() {
    OS_LOG_INFO(Log::DeviceChange(), "OnDeviceChange( )");
    std::vector<Listener> listeners;
    {
        Notifier& notifier = TheNotifier();
        std::shared_lock lock(notifier.lock);
        listeners.assign(notifier.listeners.begin(), notifier.listeners.end());
    }
    for (Listener listener : listeners) {
        listener();
    }
}

void OnDeviceChange::Reset() {
    Notifier& notifier = TheNotifier();
    std::unique_lock lock(notifier.lock);
    if (notifier.sourceStarted) {
        PortLayer::Instance().StopHotPlug();
        notifier.sourceStarted = false;
    }
    notifier.listeners.clear();
}

}  // namespace Hardware
