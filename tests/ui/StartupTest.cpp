#include "os/NamedFolders.h"
#include "ui/AurelMainWindow.h"
#include "ui/SingleInstanceWrapper.h"
#include "ui/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

TEST(StartupTest, ASecondInstanceShowsTheWarningAndEnds) {
    QTemporaryDir runtime;
    SingleInstanceWrapper first(runtime.path());
    ASSERT_FALSE(first.AlreadyExists());
    SingleInstanceWrapper second(runtime.path());
    ASSERT_TRUE(second.AlreadyExists());

    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    EXPECT_EQ(Startup::Run(second, {"aurel", "--demo"}), 1);
    EXPECT_EQ(title, "Aurel Application");
    EXPECT_EQ(text, "Only one instance of Aurel can be run at one time. ");
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<AurelMainWindow*>(widget));  // no window was made
    }
}

TEST(StartupTest, TheLockIsFreeAgainOnceTheFirstInstanceEnds) {
    QTemporaryDir runtime;
    { SingleInstanceWrapper first(runtime.path()); }
    SingleInstanceWrapper next(runtime.path());
    EXPECT_FALSE(next.AlreadyExists());
}

TEST(StartupTest, NamedFoldersAreCreatedAndTheOldLibraryMovedFirst) {
    QTemporaryDir root;
    const QString documents = root.path() + "/documents";
    const QByteArray oldDocuments = qgetenv("AUREL_DOCUMENTS_DIR");
    const QByteArray oldData = qgetenv("AUREL_DATA_DIR");
    qputenv("AUREL_DOCUMENTS_DIR", documents.toLocal8Bit());
    qputenv("AUREL_DATA_DIR", (root.path() + "/shared").toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(documents + "/Marqa Content Library/Show"));

    Os::NamedFolders::Register();  // as the application does on construction
    EXPECT_FALSE(QDir(documents + "/Marqa Content Library").exists());
    EXPECT_TRUE(QDir(documents + "/Aurel Content Library/Show").exists());
    EXPECT_TRUE(QFile::exists("ContentLibraryRoot:Show"));
    const std::pair<const char*, QString> folders[] = {
        {"QuorelContentLibraryRoot", documents + "/Aurel Quorel Content Library"},
        {"Firmware", root.path() + "/shared/Corvane/Aurel/Firmware"},
        {"StockContent", root.path() + "/shared/Corvane/Aurel/Content"},
        {"ContentCache", root.path() + "/shared/Corvane/Aurel/Cache"},
    };
    for (const auto& [prefix, folder] : folders) {
        EXPECT_EQ(QDir::searchPaths(prefix), QStringList({folder})) << prefix;
        EXPECT_TRUE(QDir(folder).exists()) << prefix;
    }
    qputenv("AUREL_DOCUMENTS_DIR", oldDocuments);
    qputenv("AUREL_DATA_DIR", oldData);
}
