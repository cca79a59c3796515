#include "lumo/commands/LumoContentDownloadCommand.h"

#include "comm/UserNotice.h"
#include "content/ledimage/LumoRDMImage.h"
#include "lumo/LumoImageKind.h"
#include "lumo/LumoProtocol.h"

LumoContentDownloadCommand::LumoContentDownloadCommand(const LumoImageKind& kind,
                                                       const QString& caption, QObject* parent)
    : LumoContentTransferCommand(kind, parent) {
    SetName(caption);
}

void LumoContentDownloadCommand::Setup(Device* device, quint16 folder, ContentList items) {
    Store(device, [&] { SetItems(folder, std::move(items)); });
    Describe(QStringLiteral("Download content to folder %1").arg(folder));
}

bool LumoContentDownloadCommand::Execute() {
    quint16 folder = 0;
    const QList<Content*> items = Accepted(ItemsSnapshot(&folder));
    LumoRDM* device = TargetDevice();
    bool success = device != nullptr;
    for (qsizetype index = 0; index < items.size() && device; ++index) {
        Content* item = items[index];
        const quint16 file = quint16(item->Address());
        const std::unique_ptr<LumoRDMImage> image = Kind().NewRecord();
        ProgressShare progress = FileProgress(int(index), int(items.size()));
        const bool ok = LumoProtocol::ProtocolFor(device)->DownloadFile(
                            device, quint8(folder), quint8(file), *image, &progress) &&
                        Kind().FromRecord(*image, item);
        success = success && ok;
        Q_EMIT FinishedContentDownload(GetId(), file, ok);
    }
    if (!success) {
        UserNotice::Post(QString::fromLatin1(kErrorMessage));
    }
    Finished(ResultOf(success));
    return success;
}

MarqaContentDownloadCommand::MarqaContentDownloadCommand(QObject* parent)
    : LumoContentDownloadCommand(LumoImageKind::Marqa(), QStringLiteral("MARQA Content Download"),
                                 parent) {}

SolviContentDownloadCommand::SolviContentDownloadCommand(QObject* parent)
    : LumoContentDownloadCommand(LumoImageKind::Solvi(), QStringLiteral("Solvi Content Download"),
                                 parent) {}
