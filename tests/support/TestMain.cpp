#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test process runs with an application object and with the program's folders in a
// temporary directory, never in the user's home.
int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("AUREL_DOCUMENTS_DIR", (home.path() + "/documents").toLocal8Bit());
    qputenv("AUREL_DATA_DIR", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    // System-scope settings (the factory key, production mode) live in the temporary folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.path() + "/system");
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.path() + "/system");
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
