#include "lumo/commands/LumoContentUploadCommand.h"

#include "content/ledimage/LumoRDMImage.h"
#include "lumo/LumoImageKind.h"
#include "lumo/LumoProtocol.h"

LumoContentUploadCommand::LumoContentUploadCommand(const LumoImageKind& kind,
                                                   const QString& caption, QObject* parent)
    : LumoContentTransferCommand(kind, parent) {
    SetName(caption);
}

void LumoContentUploadCommand::Setup(Device* device, quint16 folder, ContentList items) {
    Store(device, [&] { SetItems(folder, std::move(items)); });
    Describe(QStringLiteral("Upload to folder %1").arg(folder));
}

bool LumoContentUploadCommand::Execute() {
    quint16 folder = 0;
    const QList<Content*> items = Accepted(ItemsSnapshot(&folder));
    LumoRDM* device = TargetDevice();
    bool success = device != nullptr;
    const std::unique_ptr<LumoRDMImage> image = Kind().NewRecord();
    for (qsizetype index = 0; index < items.size() && device; ++index) {
        Content* item = items[index];
        const quint16 file = quint16(item->Address());
        ProgressShare progress = FileProgress(int(index), int(items.size()));
        const bool ok = ToUploadRecord(item, image.get()) &&
                        LumoProtocol::ProtocolFor(device)->UploadFile(
                            device, quint8(folder), quint8(file), *image, &progress);
        success = success && ok;
        Q_EMIT FinishedContentUpload(GetId(), file, ok);
    }
    Finished(ResultOf(success));
    return success;
}

MarqaContentUploadCommand::MarqaContentUploadCommand(QObject* parent)
    : LumoContentUploadCommand(LumoImageKind::Marqa(), QStringLiteral("MARQA Content Upload"),
                               parent) {}

SolviContentUploadCommand::SolviContentUploadCommand(QObject* parent)
    : LumoContentUploadCommand(LumoImageKind::Solvi(), QStringLiteral("Solvi Content Upload"),
                               parent) {}
