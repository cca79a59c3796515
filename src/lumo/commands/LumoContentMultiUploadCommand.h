#pragma once

#include "lumo/commands/LumoContentTransferCommand.h"

#include <QHash>

class LumoRDM;

// Uploads image items to the same folder of several fixtures at once by broadcast. A
// fixture that fails one file is not sent the following ones.
class LumoContentMultiUploadCommand : public LumoContentTransferCommand {
    Q_OBJECT
public:
    void Setup(const QList<Device*>& devices, quint16 folder, ContentList items);
    bool Execute() override;
    // The fixtures still in the transfer (after Execute: those that took every file).
    QList<LumoRDM*> Devices() const;
    // The fixtures that took the file, known before its result is signalled.
    QList<LumoRDM*> DevicesThatTook(quint16 file) const;

Q_SIGNALS:
    void FinishedContentUpload(QUuid command, unsigned short file, bool bResult);

protected:
    LumoContentMultiUploadCommand(const LumoImageKind& kind, const QString& caption,
                                  QObject* parent);

private:
    QList<DeviceUse> m_uses;
    QList<LumoRDM*> m_devices;
    QHash<quint16, QList<LumoRDM*>> m_takers;
};

class MarqaContentMultiUploadCommand : public LumoContentMultiUploadCommand {
    Q_OBJECT
public:
    explicit MarqaContentMultiUploadCommand(QObject* parent = nullptr);
};

class SolviContentMultiUploadCommand : public LumoContentMultiUploadCommand {
    Q_OBJECT
public:
    explicit SolviContentMultiUploadCommand(QObject* parent = nullptr);
};
