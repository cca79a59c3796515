#include "ui/SingleInstanceWrapper.h"

#include <QDir>
#include <QStandardPaths>

SingleInstanceWrapper::SingleInstanceWrapper() : SingleInstanceWrapper(DefaultFolder()) {}

SingleInstanceWrapper::SingleInstanceWrapper(const QString& folder)
    : m_lock((QDir().mkpath(folder), folder + "/AurelApplication.lock")) {
    m_lock.setStaleLockTime(0);  // only a lock whose owner has gone is stale
    m_alreadyExists = !m_lock.tryLock(0);
}

QString SingleInstanceWrapper::DefaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}
