#pragma once

#include <QSettings>
#include <QString>

// Points the program's folders and settings at a temporary directory, so that no test
// touches the user's home.
inline void UseTemporaryHome(const QString& home) {
    qputenv("AUREL_DOCUMENTS_DIR", (home + "/documents").toLocal8Bit());
    qputenv("AUREL_DATA_DIR", (home + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home + "/runtime").toLocal8Bit());
    // System-scope settings (the factory key, production mode) live there too.
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home + "/system");
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home + "/system");
}
