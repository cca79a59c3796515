#include "lumo/tree/LumoContentIndex.h"

#include "content/ContentModelMutex.h"
#include "content/library/ContentCache.h"
#include "lumo/LumoImageKind.h"
#include "lumo/LumoRecords.h"

LumoContentIndex& LumoContentIndex::Instance() {
    static LumoContentIndex index;
    return index;
}

void LumoContentIndex::Register(const Content& item) {
    const ContentModelLock lock;
    const quint32 key = item.ContentKey();
    if (key != 0) {
        m_items[key] = item.Clone();
    }
}

std::unique_ptr<Content> LumoContentIndex::Find(quint32 key, const LumoImageKind& kind) const {
    const ContentModelLock lock;
    const auto found = m_items.find(key);
    if (found == m_items.end() || !kind.Accepts(found->second.get())) {
        return nullptr;
    }
    return found->second->Clone();
}

void LumoContentIndex::Clear() {
    const ContentModelLock lock;
    m_items.clear();
}

std::unique_ptr<Content> LumoContentIndex::ItemFor(const LumoFileRecord& record,
                                                   const LumoImageKind& kind) {
    std::unique_ptr<Content> item = Instance().Find(record.key, kind);
    if (!item) {
        item = kind.NewItem();
        ContentCache::Instance().Fetch(record.key, *item);  // a failed load changes nothing
    }
    item->SetContentKey(record.key);
    item->SetName(record.name);
    item->SetAddress(record.file);
    return item;
}

void LumoContentIndex::Remember(Content& item) {
    Instance().Register(item);
    ContentCache::Instance().Store(item);
}
