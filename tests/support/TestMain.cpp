#include <QCoreApplication>
#include "support/TestEnvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test process runs with an application object and with the program's folders in a
// temporary directory, never in the user's home.
int main(int argc, char** argv) {
    QTemporaryDir home;
    UseTemporaryHome(home.path());
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
