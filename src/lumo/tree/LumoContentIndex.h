#pragma once

#include "content/Content.h"

#include <memory>
#include <unordered_map>

class LumoImageKind;
struct LumoFileRecord;

// The image data the program has seen for each content key, for the life of the process:
// what was uploaded to or downloaded from a fixture. A file that a fixture reports under a
// known key shows that data without a new download.
class LumoContentIndex {
public:
    static LumoContentIndex& Instance();

    // Keeps a copy of the item under its content key; items without a key are not kept.
    void Register(const Content& item);
    // A copy of the data known for `key`, when it is an item of that kind; else null.
    std::unique_ptr<Content> Find(quint32 key, const LumoImageKind& kind) const;
    void Clear();

    // The item that stands for a file a fixture reported: the data known for its key (in
    // memory, else in the content cache on disk), else an empty item of the kind; named and
    // numbered after the record, with the record's key.
    static std::unique_ptr<Content> ItemFor(const LumoFileRecord& record,
                                            const LumoImageKind& kind);

    // Registers the item and writes it to the content cache.
    static void Remember(Content& item);

private:
    std::unordered_map<quint32, std::unique_ptr<Content>> m_items;
};
