#include "rdm/LocateDeviceCommand.h"

#include "comm/CommManager.h"
#include "hardware/RdmUniverseUsb.h"
#include "rdm/RDMProtocol.h"
#include "rdm/devices/RDMDevice.h"

#include <QThread>

LocateDeviceCommand::LocateDeviceCommand(quint64 uid, QObject* parent)
    : Command(parent), m_uid(uid) {
    SetName(QStringLiteral("Locate Device"));
}

LocateDeviceCommand::~LocateDeviceCommand() = default;

bool LocateDeviceCommand::Execute() {
    CommManager* manager = CommManager::Instance();
    if (!manager->IsWidgetPresent()) {
        AddString(QStringLiteral("Dmx widget driver is not installed!"), FeedbackStatusError);
        Finished(FeedbackResultFailure);
        return false;
    }
    RdmUniverseUsb* universe = manager->GetUniverse();
    const QString widget = universe->WidgetPath();
    RDMDevice* found = RDMProtocol::Instance()->LocateDevice(m_uid, universe->GetPortCount(), this);
    if (!found) {
        AddString(QStringLiteral("Error: Device 0x%1 not found on any port")
                      .arg(QString::number(m_uid, 16)),
                  FeedbackStatusError);
        Finished(FeedbackResultFailure);
        return false;
    }
    found->SetWidget(widget);
    if (QThread* home = GetHomeThread()) {
        found->moveToThread(home);
    }
    {
        QMutexLocker lock(&m_mutex);
        m_device.reset(found);
    }
    Finished(FeedbackResultSuccess);
    return true;
}

std::unique_ptr<RDMDevice> LocateDeviceCommand::TakeDevice() {
    QMutexLocker lock(&m_mutex);
    return std::move(m_device);
}
