#include "lumo/commands/LumoContentTransferCommand.h"

#include "content/ContentModelMutex.h"
#include "content/ledimage/LumoRDMImage.h"
#include "lumo/LumoImageKind.h"

LumoContentTransferCommand::LumoContentTransferCommand(const LumoImageKind& kind, QObject* parent)
    : LumoDeviceCommand(parent), m_kind(kind) {}

quint16 LumoContentTransferCommand::Folder() const {
    QMutexLocker lock(&m_mutex);
    return m_folder;
}

Content* LumoContentTransferCommand::Item(quint16 file) const {
    QMutexLocker lock(&m_mutex);
    for (const auto& item : m_items) {
        if (item && item->Address() == file) {
            return item.get();
        }
    }
    return nullptr;
}

std::unique_ptr<Content> LumoContentTransferCommand::TakeItem(quint16 file) {
    QMutexLocker lock(&m_mutex);
    for (auto& item : m_items) {
        if (item && item->Address() == file) {
            return std::move(item);
        }
    }
    return nullptr;
}

int LumoContentTransferCommand::ItemCount() const {
    QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const auto& item) { return item != nullptr; }));
}

void LumoContentTransferCommand::SetItems(quint16 folder, ContentList items) {
    m_folder = folder;
    m_items = std::move(items);
}

QList<Content*> LumoContentTransferCommand::ItemsSnapshot(quint16* folder) const {
    QMutexLocker lock(&m_mutex);
    *folder = m_folder;
    QList<Content*> items;
    for (const auto& item : m_items) {
        items.append(item.get());
    }
    return items;
}

QList<Content*> LumoContentTransferCommand::Accepted(const QList<Content*>& items) const {
    QList<Content*> accepted;
    for (Content* item : items) {
        if (item && m_kind.Accepts(item)) {
            accepted.append(item);
        }
    }
    return accepted;
}

ProgressShare LumoContentTransferCommand::FileProgress(int index, int count) {
    constexpr int kFileSteps = 1000;
    if (index == 0) {
        SetTotal(count * kFileSteps);
        SetCurrent(0);
    }
    return ProgressShare(
        this, index * kFileSteps, (index + 1) * kFileSteps,
        count > 1 ? QStringLiteral("File %1 of %2: ").arg(index + 1).arg(count) : QString());
}

bool LumoContentTransferCommand::ToUploadRecord(Content* item, LumoRDMImage* record) {
    if (!item || !m_kind.Accepts(item)) {
        return false;
    }
    if (const QString problem = item->StoreProblem(); !problem.isEmpty()) {
        AddString(" Error: " + problem + ", not uploaded", FeedbackStatusError);
        return false;
    }
    if (!m_kind.ToRecord(*item, record)) {
        return false;
    }
    if (record->header.contentKey == 0) {
        record->header.contentKey = LumoRDMImage::KeyOf(record->ToBytes());
        item->SetContentKey(record->header.contentKey);
    }
    return true;
}
