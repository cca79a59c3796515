#pragma once

namespace Hardware {

// The device-change notifier: parameterless listeners called whenever the port layer's
// hot-plug source reports a change. The first listener starts the hot-plug source.
class OnDeviceChange {
public:
    using Listener = void (*)();

    static void AddListener(Listener listener);
    static void RemoveListener(Listener listener);

    // Called by the hot-plug source on the window thread: calls every listener.
    static void Notify();

    // Stops the hot-plug source and forgets the listeners.
    static void Reset();
};

}  // namespace Hardware
