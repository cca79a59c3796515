#include "UiRig.h"
#include "comm/IFeedback.h"
#include "ui/AurelApplication.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Widget tests run with an application object of their own (widgets need one) and with the
// program's folders in a temporary directory, never in the user's home.
int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("AUREL_DOCUMENTS_DIR", (home.path() + "/documents").toLocal8Bit());
    qputenv("AUREL_DATA_DIR", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.path() + "/system");
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.path() + "/system");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // listing the tests needs no display either
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    AurelApplication::SetIdentity();
    IFeedback::RegisterMetaTypes();
    ::testing::AddGlobalTestEnvironment(new UiRig);  // gtest owns it
    return RUN_ALL_TESTS();
}
