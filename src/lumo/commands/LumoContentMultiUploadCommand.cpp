#include "lumo/commands/LumoContentMultiUploadCommand.h"

#include "content/ledimage/LumoRDMImage.h"
#include "lumo/LumoImageKind.h"
#include "lumo/LumoProtocol.h"
#include "lumo/devices/LumoRDM.h"

LumoContentMultiUploadCommand::LumoContentMultiUploadCommand(const LumoImageKind& kind,
                                                             const QString& caption,
                                                             QObject* parent)
    : LumoContentTransferCommand(kind, parent) {
    SetName(caption);
}

void LumoContentMultiUploadCommand::Setup(const QList<Device*>& devices, quint16 folder,
                                          ContentList items) {
    {
        QMutexLocker lock(&m_mutex);
        m_uses.clear();
        m_devices.clear();
        for (Device* device : devices) {
            if (auto* fixture = qobject_cast<LumoRDM*>(device)) {
                m_uses.append(DeviceUse(device));
                m_devices.append(fixture);
            }
        }
        SetTarget(m_devices.isEmpty() ? nullptr : m_devices.first());
        SetItems(folder, std::move(items));
    }
    Describe(QStringLiteral("Upload to folder %1").arg(folder));
}

bool LumoContentMultiUploadCommand::Execute() {
    quint16 folder = 0;
    const QList<Content*> items = Accepted(ItemsSnapshot(&folder));
    QList<LumoRDM*> devices = Devices();
    bool success = !devices.isEmpty();
    const std::unique_ptr<LumoRDMImage> image = Kind().NewRecord();
    for (qsizetype index = 0; index < items.size(); ++index) {
        Content* item = items[index];
        const quint16 file = quint16(item->Address());
        bool ok = false;
        ProgressShare progress = FileProgress(int(index), int(items.size()));
        if (!devices.isEmpty() && ToUploadRecord(item, image.get())) {
            // Fixtures that did not complete this file are left out of the next ones.
            ok =
                LumoProtocol::ProtocolFor(devices.first())
                    ->UploadFileToDevices(devices, quint8(folder), quint8(file), *image, &progress);
        }
        success = success && ok;
        {
            // The result is read on another thread while the next files go out.
            QMutexLocker lock(&m_mutex);
            m_devices = devices;
            m_takers.insert(file, ok ? devices : QList<LumoRDM*>());
        }
        Q_EMIT FinishedContentUpload(GetId(), file, ok);
    }
    Finished(ResultOf(success));
    return success;
}

QList<LumoRDM*> LumoContentMultiUploadCommand::Devices() const {
    QMutexLocker lock(&m_mutex);
    return m_devices;
}

QList<LumoRDM*> LumoContentMultiUploadCommand::DevicesThatTook(quint16 file) const {
    QMutexLocker lock(&m_mutex);
    return m_takers.value(file);
}

MarqaContentMultiUploadCommand::MarqaContentMultiUploadCommand(QObject* parent)
    : LumoContentMultiUploadCommand(LumoImageKind::Marqa(),
                                    QStringLiteral("MARQA Multicast Content Upload"), parent) {}

SolviContentMultiUploadCommand::SolviContentMultiUploadCommand(QObject* parent)
    : LumoContentMultiUploadCommand(LumoImageKind::Solvi(),
                                    QStringLiteral("Solvi Multicast Content Upload"), parent) {}
