#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QTimer;

namespace Hardware {

// Watches folders for entries that appear or vanish and reports the changes, several in a
// row as one, on the thread that made the watch. The folders are asked for again after
// every change, so that folders made later are watched too and folders no longer asked for
// are let go.
class DirectoryWatch : public QObject {
public:
    DirectoryWatch(std::function<QStringList()> folders, std::function<void()> onChange,
                   int settleMs = 0);

    bool Watches(const QString& folder) const;
    // Reports a change as if a folder had changed; from the watch's thread.
    void Poke();

private:
    void WatchFolders();

    std::function<QStringList()> m_folders;
    QFileSystemWatcher* m_watcher;
    QTimer* m_settle;
};

}  // namespace Hardware
