#pragma once

#include "comm/Command.h"
#include "rdm/devices/Device.h"

class RDMDevice;

// "RDM Request": one GET or SET of any parameter id with the data given, keeping the
// fixture's reply data; or, with no parameter id, a read of every standard parameter the
// fixture lists, as discovery reads them.
class RDMRequestCommand : public Command {
    Q_OBJECT
public:
    explicit RDMRequestCommand(QObject* parent = nullptr);

    void SetRequest(Device* device, quint8 commandClass, quint16 pid, const QByteArray& data);
    void SetReadAll(Device* device);
    bool Execute() override;
    // The reply's parameter data, after a successful request.
    QByteArray GetReply() const;

private:
    DeviceUse m_device;
    RDMDevice* m_rdmDevice = nullptr;
    bool m_readAll = false;
    quint8 m_commandClass = 0;
    quint16 m_pid = 0;
    QByteArray m_data;
    QByteArray m_reply;
};
