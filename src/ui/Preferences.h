#pragma once

#include <QMap>
#include <QMutex>
#include <QString>

// The last folders used by the file dialogs, by key, and the window's on/off choices, kept in
// "Preferences.xml":
//   <lastPath><Import path="/home/..."/><ThoroughDiscovery value="true"/></lastPath>
// One process-wide object shared through a use count; every access takes its mutex.
class Preferences {
public:
    // The preferences of this folder ("Preferences.xml" in it), loaded at once.
    explicit Preferences(const QString& folder);
    // Saves the file.
    ~Preferences();

    QString GetLastPath(const QString& key) const;
    // Stores the folder and saves the file at once.
    void SetLastPath(const QString& key, const QString& path);
    QString FilePath() const { return m_file; }
    // An on/off choice; off when never stored.
    bool GetFlag(const QString& key) const;
    // Stores the choice and saves the file at once.
    void SetFlag(const QString& key, bool on);

    // Rewrites the file from the map, or deletes it when the map is empty. False when the
    // file could not be written.
    bool Save() const;
    // Reads the file; a missing or broken file gives an empty map.
    void Load();

    // The process-wide preferences of the current directory: created and loaded on first
    // use; released when the last user lets go.
    static Preferences* AcquirePreferences();
    static void ReleasePreferences();

private:
    const QString m_file;
    mutable QMutex m_mutex;
    QMap<QString, QString> m_paths;
    QMap<QString, bool> m_flags;
};
