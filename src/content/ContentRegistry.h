#pragma once

#include <QtGlobal>

#include <unordered_map>

class ContentBase;

// The live content objects of this process, each under a 32-bit reference that comes from a
// counter and is not handed out again before the counter wraps. Drag payloads carry these
// references instead of pointers, so a payload that outlived its objects, or came from another
// process, resolves to nothing rather than to freed memory.
class ContentRegistry {
public:
    static ContentRegistry& Instance();

    quint32 Register(ContentBase* object);
    void Unregister(quint32 reference);
    // The live object of that reference, or null. Call with ContentModelMutex held when
    // the object is to be used afterwards.
    ContentBase* Resolve(quint32 reference) const;

private:
    ContentRegistry();

    quint32 m_next;
    std::unordered_map<quint32, ContentBase*> m_objects;
};
