#include "UiRig.h"
#include "comm/IFeedback.h"
#include "support/TestEnvironment.h"
#include "ui/AurelApplication.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Widget tests run with an application object of their own (widgets need one) and with the
// program's folders in a temporary directory, never in the user's home.
int main(int argc, char** argv) {
    QTemporaryDir home;
    UseTemporaryHome(home.path());
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
