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
    // Call with m_mutex held.
    void SetTarget(Device* device);
    LumoRDM* Target() const { return m_device; }

private:
    DeviceUse m_use;
    LumoRDM* m_device = nullptr;
};
