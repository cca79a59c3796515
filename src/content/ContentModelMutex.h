#pragma once

#include <QMutexLocker>
#include <QRecursiveMutex>

// The one lock of every content tree: each operation of a content object holds it for its
// whole run, so compound operations may nest calls freely.
class ContentModelMutex {
public:
    static QRecursiveMutex& Instance();
};

// Holds ContentModelMutex for the lifetime of the object.
class ContentModelLock {
public:
    ContentModelLock() : m_locker(&ContentModelMutex::Instance()) {}
    ContentModelLock(const ContentModelLock&) = delete;
    ContentModelLock& operator=(const ContentModelLock&) = delete;

private:
    QMutexLocker<QRecursiveMutex> m_locker;
};
