#pragma once

#include "lumo/commands/LumoContentTransferCommand.h"

// Downloads files of a fixture folder into the given items (one per file, at the item's
// address). When any fails the user is told once, on the thread that shows messages.
class LumoContentDownloadCommand : public LumoContentTransferCommand {
    Q_OBJECT
public:
    static constexpr const char* kErrorMessage = "An error occurred while downloading content!";

    void Setup(Device* device, quint16 folder, ContentList items);
    bool Execute() override;

Q_SIGNALS:
    void FinishedContentDownload(QUuid command, unsigned short file, bool bResult);

protected:
    LumoContentDownloadCommand(const LumoImageKind& kind, const QString& caption, QObject* parent);
};

class MarqaContentDownloadCommand : public LumoContentDownloadCommand {
    Q_OBJECT
public:
    explicit MarqaContentDownloadCommand(QObject* parent = nullptr);
};

class SolviContentDownloadCommand : public LumoContentDownloadCommand {
    Q_OBJECT
public:
    explicit SolviContentDownloadCommand(QObject* parent = nullptr);
};
