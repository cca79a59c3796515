#include "rdm/DiscoveryCommand.h"

#include "comm/CommManager.h"
#include "comm/ProgressMeter.h"
#include "comm/ProgressShare.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"
#include "rdm/IDiscoveryProtocol.h"
#include "rdm/devices/Device.h"

#include <QThread>

DiscoveryCommand::DiscoveryCommand(QObject* parent) : Command(parent) {
    SetName(QStringLiteral("Fixture Discovery"));
}

void DiscoveryCommand::SetLists(const QList<IDiscoveryProtocol*>& protocols,
                                const QList<Device*>& devices) {
    QMutexLocker lock(&m_mutex);
    m_protocols = protocols;
    m_devices = devices;
    m_uses.clear();
    for (Device* device : devices) {
        m_uses.emplace_back(device);
    }
}

QList<Device*> DiscoveryCommand::GetDevices() const {
    QMutexLocker lock(&m_mutex);
    return m_devices;
}

void DiscoveryCommand::SetSearch(DiscoverySearch search) {
    QMutexLocker lock(&m_mutex);
    m_search = search;
}

DiscoverySearch DiscoveryCommand::GetSearch() const {
    QMutexLocker lock(&m_mutex);
    return m_search;
}

bool DiscoveryCommand::IsCancelled() {
    if (CancelRequested()) {
        return true;
    }
    IFeedback* watcher = GetFeedback();
    return watcher && watcher->IsCancelled();
}

bool DiscoveryCommand::Execute() {
    QList<IDiscoveryProtocol*> protocols;
    QList<Device*> devices;
    DiscoverySearch search;
    {
        QMutexLocker lock(&m_mutex);
        protocols = m_protocols;
        devices = m_devices;
        search = m_search;
    }
    CommManager* manager = CommManager::Instance();
    if (!manager->IsWidgetPresent()) {
        AddString(QStringLiteral("Dmx widget driver is not installed!"), FeedbackStatusError);
        Finished(FeedbackResultFailure);
        return false;
    }
    RdmUniverseUsb* universe = manager->GetUniverse();
    quint8 major = 0;
    quint8 minor = 0;
    universe->GetWidgetVersion(&major, &minor);
    AddString(QStringLiteral("Found dmx widget version %1.%2.").arg(major).arg(minor),
              FeedbackStatusNormal);

    const quint16 ports = universe->GetPortCount();
    // The wake-up and each protocol on each port take an equal share of the progress.
    ProgressMeter progress(this, (1 + ports * int(protocols.size())) * kShareSteps);
    AddString(QStringLiteral("Transmitting 10 seconds of DMX to wake up devices"),
              FeedbackStatusNormal);
    const QByteArray zeros(512, '\0');
    universe->SendDmx(reinterpret_cast<const quint8*>(zeros.constData()), zeros.size());
    for (qint64 waited = 0; waited < kWakeUpMs && !IsCancelled(); waited += kWakeUpSliceMs) {
        progress.Step(int(waited * kShareSteps / kWakeUpMs), QStringLiteral("Waking up fixtures"));
        Os::Clock::Instance().Wait(qMin(kWakeUpSliceMs, kWakeUpMs - waited));
    }

    const qsizetype known = devices.size();
    const auto foundText = [&] {
        return QStringLiteral("Found %1 fixture(s)").arg(devices.size() - known);
    };
    const QString widget = universe->WidgetPath();
    int share = 1;
    for (quint16 port = 0; port < ports && !IsCancelled(); ++port) {
        universe->PreparePortForRdm(port);
        for (IDiscoveryProtocol* protocol : protocols) {
            if (IsCancelled()) {
                break;
            }
            progress.Step(share * kShareSteps, foundText());
            ProgressShare part(this, share * kShareSteps, (share + 1) * kShareSteps,
                               QStringLiteral("Port %1: ").arg(port));
            protocol->Discover(port, devices, &part, search);
            ++share;
        }
    }
    if (IsCancelled()) {
        // A part of the rig is no discovery: nothing found is handed on, nothing is merged.
        qDeleteAll(devices.begin() + known, devices.end());
        AddString(QStringLiteral("Fixture discovery cancelled"), FeedbackStatusWarning);
        Finished(FeedbackResultFailure);
        return false;
    }
    // The devices found were made on this thread; they live on with the command's creator.
    QThread* home = GetHomeThread();
    for (qsizetype i = known; i < devices.size(); ++i) {
        devices[i]->SetWidget(widget);
        if (home) {
            devices[i]->moveToThread(home);
        }
    }
    {
        QMutexLocker lock(&m_mutex);
        m_devices = devices;
    }
    progress.Finish(foundText());
    Q_EMIT FinishedDiscovery(GetId());
    Finished(FeedbackResultSuccess);
    return true;
}
