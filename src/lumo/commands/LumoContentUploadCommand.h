#pragma once

#include "lumo/commands/LumoContentTransferCommand.h"

// Uploads image items to a folder of one fixture, one file per item at the item's address.
// Items of another family are skipped without a result.
class LumoContentUploadCommand : public LumoContentTransferCommand {
    Q_OBJECT
public:
    void Setup(Device* device, quint16 folder, ContentList items);
    bool Execute() override;

Q_SIGNALS:
    void FinishedContentUpload(QUuid command, unsigned short file, bool bResult);

protected:
    LumoContentUploadCommand(const LumoImageKind& kind, const QString& caption, QObject* parent);
};

class MarqaContentUploadCommand : public LumoContentUploadCommand {
    Q_OBJECT
public:
    explicit MarqaContentUploadCommand(QObject* parent = nullptr);
};

class SolviContentUploadCommand : public LumoContentUploadCommand {
    Q_OBJECT
public:
    explicit SolviContentUploadCommand(QObject* parent = nullptr);
};
