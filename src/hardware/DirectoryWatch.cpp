#include "hardware/DirectoryWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace Hardware {

DirectoryWatch::DirectoryWatch(std::function<QStringList()> folders, std::function<void()> onChange,
                               int settleMs)
    : m_folders(std::move(folders)),
      m_watcher(new QFileSystemWatcher(this)),
      m_settle(new QTimer(this)) {
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMs);
    connect(m_settle, &QTimer::timeout, this, std::move(onChange));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &DirectoryWatch::Poke);
    WatchFolders();
}

bool DirectoryWatch::Watches(const QString& folder) const {
    return m_watcher->directories().contains(folder);
}

void DirectoryWatch::Poke() {
    WatchFolders();
    m_settle->start();
}

void DirectoryWatch::WatchFolders() {
    const QStringList folders = m_folders();
    for (const QString& watched : m_watcher->directories()) {
        if (!folders.contains(watched)) {
            m_watcher->removePath(watched);
        }
    }
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir() && !Watches(folder)) {
            m_watcher->addPath(folder);
        }
    }
}

}  // namespace Hardware
