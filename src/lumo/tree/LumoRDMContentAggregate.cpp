#include "lumo/tree/LumoRDMContentAggregate.h"

#include "content/ContentModelMutex.h"
#include "lumo/LumoImageKind.h"
#include "lumo/commands/LumoContentMultiUploadCommand.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoContentIndex.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "os/Trap.h"

#include <QThread>

LumoRDMContentAggregate::LumoRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders)
    : m_commands(this) {
    for (LumoRDMContentFolder* folder : folders) {
        m_folders.append(folder);
    }
    if (!folders.isEmpty()) {
        SetName(folders.first()->Name());
        SetAddress(folders.first()->Number());
    }
    m_commands.ConnectCompletion(this, &LumoRDMContentAggregate::OnCommandFinished);
}

QList<LumoRDMContentFolder*> LumoRDMContentAggregate::Folders() const {
    const ContentModelLock lock;
    QList<LumoRDMContentFolder*> folders;
    for (const QPointer<LumoRDMContentFolder>& folder : m_folders) {
        if (folder) {
            folders.append(folder);
        }
    }
    return folders;
}

quint8 LumoRDMContentAggregate::Number() const {
    return quint8(Address());
}

int LumoRDMContentAggregate::ChildCount() const {
    return 0;
}

ContentBase* LumoRDMContentAggregate::Child(int /*index*/) {
    Os::Trap("index out of range", __FILE__, __DATE__ " " __TIME__);
}

const ContentBase* LumoRDMContentAggregate::Child(int /*index*/) const {
    Os::Trap("index out of range", __FILE__, __DATE__ " " __TIME__);
}

int LumoRDMContentAggregate::MinAddress() const {
    return LumoRDMContentFolder::kMinFile;
}

int LumoRDMContentAggregate::MaxAddress() const {
    return LumoRDMContentFolder::kMaxFile;
}

bool LumoRDMContentAggregate::AcceptsContent(const Content* content) const {
    return ImageKind().Accepts(content);
}

bool LumoRDMContentAggregate::AddContent(ContentList items, IFeedback* feedback) {
    const ContentModelLock lock;
    const QList<LumoRDMContentFolder*> folders = Folders();
    QList<Device*> devices;
    for (const LumoRDMContentFolder* folder : folders) {
        if (!folder->CheckNewContent(items, feedback)) {
            return false;
        }
        devices.append(folder->Device());
    }
    if (devices.isEmpty()) {
        return false;
    }
    for (const std::unique_ptr<Content>& item : items) {
        if (item->thread() == QThread::currentThread() && item->thread() != thread()) {
            item->moveToThread(thread());
        }
    }
    std::unique_ptr<LumoContentMultiUploadCommand> command = NewUploadCommand();
    command->Setup(devices, Number(), std::move(items));
    m_commands.Queue(std::move(command), feedback,
                     &LumoContentMultiUploadCommand::FinishedContentUpload, this,
                     &LumoRDMContentAggregate::OnFinishedContentUpload);
    return true;
}

void LumoRDMContentAggregate::OnCommandFinished(QUuid commandId) {
    m_commands.Finish(commandId);
}

void LumoRDMContentAggregate::OnFinishedContentUpload(QUuid command, unsigned short file,
                                                      bool bResult) {
    const ContentModelLock lock;
    const auto* upload = m_commands.Find<LumoContentMultiUploadCommand>(command);
    Content* item = upload && bResult ? upload->Item(file) : nullptr;
    if (!item) {
        return;
    }
    LumoContentIndex::Remember(*item);
    const QList<LumoRDM*> took = upload->DevicesThatTook(file);
    for (LumoRDMContentFolder* folder : Folders()) {
        if (took.contains(folder->Device())) {
            folder->PutContent(item->Clone());
        }
    }
}

MarqaRDMContentAggregate::MarqaRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders)
    : LumoRDMContentAggregate(folders) {}

const LumoImageKind& MarqaRDMContentAggregate::ImageKind() const {
    return LumoImageKind::Marqa();
}

std::unique_ptr<LumoContentMultiUploadCommand> MarqaRDMContentAggregate::NewUploadCommand() const {
    return std::make_unique<MarqaContentMultiUploadCommand>();
}

SolviRDMContentAggregate::SolviRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders)
    : LumoRDMContentAggregate(folders) {}

const LumoImageKind& SolviRDMContentAggregate::ImageKind() const {
    return LumoImageKind::Solvi();
}

std::unique_ptr<LumoContentMultiUploadCommand> SolviRDMContentAggregate::NewUploadCommand() const {
    return std::make_unique<SolviContentMultiUploadCommand>();
}
