#pragma once

#include "comm/Command.h"
#include "lumo/devices/LumoRDM.h"

// A command that works on one LED fixture: it holds a use of the device from Setup on, so
// the device outlives the command even when a new discovery replaces it.
class LumoDeviceCommand : public Command {
    Q_OBJECT
public:
    using Command::Command;

    // The target device, or null when none (or a device of another kind) was given.
    LumoRDM* TargetDevice() const;

protected:
    // Takes the target and the arguments (`assign` stores them) under the command's mutex.
    template <class Assign>
    void Store(Device* device, Assign assign) {
        QMutexLocker lock(&m_mutex);
        SetTarget(device);
        assign();
    }
    // A copy of a stored value, taken under the command's mutex.
    template <class T>
    T Locked(const T& field) const {
        QMutexLocker lock(&m_mutex);
        return field;
    }

    // Call with m_mutex held.
    void SetTarget(Device* device);

private:
    DeviceUse m_use;
    LumoRDM* m_device = nullptr;
};
