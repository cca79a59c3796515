#pragma once

#include "comm/Command.h"

#include <memory>

class RDMDevice;

// "Locate Device": finds one RDM fixture by its UID without a discovery, by asking each
// port of the widget for the fixture's information, and reads what a device command needs.
class LocateDeviceCommand : public Command {
    Q_OBJECT
public:
    explicit LocateDeviceCommand(quint64 uid, QObject* parent = nullptr);
    ~LocateDeviceCommand() override;

    bool Execute() override;
    // The device found (null when no port has it); the caller takes it.
    std::unique_ptr<RDMDevice> TakeDevice();

private:
    const quint64 m_uid;
    std::unique_ptr<RDMDevice> m_device;
};
