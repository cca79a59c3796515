#include "ui/LastPathFileDialog.h"

#include "ui/Preferences.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace LastPathFileDialog {

QString LastFolder(const QString& key) {
    Preferences* preferences = Preferences::AcquirePreferences();
    const QString folder = preferences->GetLastPath(key);
    Preferences::ReleasePreferences();
    return folder;
}

void Remember(const QString& key, const QString& file) {
    if (file.isEmpty()) {
        return;
    }
    Preferences* preferences = Preferences::AcquirePreferences();
    preferences->SetLastPath(key, QFileInfo(file).absolutePath());
    Preferences::ReleasePreferences();
}

QString Open(QWidget* parent, const QString& title, const QString& key, const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(parent, title, LastFolder(key), filter);
    Remember(key, file);
    return file;
}

QString Save(QWidget* parent, const QString& title, const QString& key, const QString& name,
             const QString& filter) {
    const QString file =
        QFileDialog::getSaveFileName(parent, title, QDir(LastFolder(key)).filePath(name), filter);
    Remember(key, file);
    return file;
}

}  // namespace LastPathFileDialog
