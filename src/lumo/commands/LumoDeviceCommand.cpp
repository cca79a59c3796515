#include "lumo/commands/LumoDeviceCommand.h"

#include "lumo/devices/LumoRDM.h"

LumoRDM* LumoDeviceCommand::TargetDevice() const {
    QMutexLocker lock(&m_mutex);
    return m_device;
}

void LumoDeviceCommand::SetTarget(Device* device) {
    m_use = DeviceUse(device);
    m_device = qobject_cast<LumoRDM*>(device);
}
