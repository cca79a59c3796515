#include "content/ContentRegistry.h"

#include "content/ContentModelMutex.h"

#include <QRandomGenerator>

ContentRegistry& ContentRegistry::Instance() {
    static ContentRegistry registry;
    return registry;
}

// References start at a random value in each process, so that a payload from another
// running instance is unlikely to name a live object here by coincidence.
ContentRegistry::ContentRegistry() : m_next(QRandomGenerator::global()->generate()) {}

quint32 ContentRegistry::Register(ContentBase* object) {
    const ContentModelLock lock;
    do {
        ++m_next;
    } while (m_next == 0 || m_objects.count(m_next) != 0);
    m_objects.emplace(m_next, object);
    return m_next;
}

void ContentRegistry::Unregister(quint32 reference) {
    const ContentModelLock lock;
    m_objects.erase(reference);
}

ContentBase* ContentRegistry::Resolve(quint32 reference) const {
    const ContentModelLock lock;
    const auto found = m_objects.find(reference);
    return found == m_objects.end() ? nullptr : found->second;
}
