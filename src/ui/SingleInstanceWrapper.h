#pragma once

#include <QLockFile>
#include <QString>

// Holds the lock "AurelApplication" for as long as it lives; a second program started while
// the first holds it sees AlreadyExists(). A lock left behind by a program that ended without
// releasing it is taken over.
class SingleInstanceWrapper {
public:
    // The lock file "AurelApplication.lock" in the runtime folder.
    SingleInstanceWrapper();
    explicit SingleInstanceWrapper(const QString& folder);

    bool AlreadyExists() const { return m_alreadyExists; }
    static QString DefaultFolder();

private:
    QLockFile m_lock;
    bool m_alreadyExists = false;
};
