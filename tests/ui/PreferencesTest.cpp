#include "ui/Preferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PreferencesTest, KeepsFoldersAcrossRunsAndDeletesTheFileWhenEmpty) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/Preferences.xml";
    {
        Preferences preferences(dir.path());
        EXPECT_EQ(preferences.GetLastPath("Import"), QString());
        preferences.SetLastPath("Import", "/data/clips & stills");
        preferences.SetLastPath("Export", "/tmp/out");
        EXPECT_TRUE(QFile::exists(file));  // saved at once
    }
    {
        Preferences preferences(dir.path());
        EXPECT_EQ(preferences.GetLastPath("Import"), "/data/clips & stills");
        EXPECT_EQ(preferences.GetLastPath("Export"), "/tmp/out");
        preferences.SetLastPath("Import", QString());
        preferences.SetLastPath("Export", QString());
        EXPECT_FALSE(QFile::exists(file));
    }
    EXPECT_FALSE(QFile::exists(file));
}

TEST(PreferencesTest, ReadsTheStoredFormatAndIgnoresBrokenFiles) {
    const std::pair<const char*, QString> cases[] = {
        {R"(<?xml version="1.0"?><lastPath><Upgrade path="/fw"/></lastPath>)", "/fw"},
        {R"(<lastPath><Upgrade path="/fw"/>)", QString()},  // cut short
        {"not xml at all", QString()},
    };
    for (const auto& [text, expected] : cases) {
        QTemporaryDir dir;
        QFile file(dir.path() + "/Preferences.xml");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        Preferences preferences(dir.path());
        EXPECT_EQ(preferences.GetLastPath("Upgrade"), expected) << text;
    }
}

TEST(PreferencesTest, KeysThatCannotBeElementNamesAreNotWritten) {
    QTemporaryDir dir;
    {
        Preferences preferences(dir.path());
        preferences.SetLastPath("Good", "/a");
        preferences.SetLastPath("bad key<", "/b");
    }
    Preferences again(dir.path());
    EXPECT_EQ(again.GetLastPath("Good"), "/a");  // the file stayed readable
}

TEST(PreferencesTest, SharedPreferencesLiveWhileUsed) {
    Preferences* first = Preferences::AcquirePreferences();
    Preferences* second = Preferences::AcquirePreferences();
    EXPECT_EQ(first, second);
    Preferences::ReleasePreferences();
    Preferences::ReleasePreferences();
    Preferences::ReleasePreferences();  // never below zero
    Preferences* third = Preferences::AcquirePreferences();
    EXPECT_TRUE(third);
    Preferences::ReleasePreferences();
}
