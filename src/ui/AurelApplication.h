#pragma once

#include <QApplication>
#include <QString>

// The application object: identity, window icon and the named folders that other parts open
// files through ("ContentLibraryRoot:...", "Firmware:..." and so on).
class AurelApplication : public QApplication {
    Q_OBJECT
public:
    AurelApplication(int& argc, char** argv);
    ~AurelApplication() override;

    // Sets organisation, domain and application name.
    static void SetIdentity();
    // Creates the named folders (after moving an old content library to its new name) and
    // registers their search-path prefixes. Folders that cannot be created are registered
    // all the same.
    static void RegisterNamedFolders();

    // The user's documents folder ($AUREL_DOCUMENTS_DIR overrides it; the home folder when
    // there is none) and the shared data folder ending in "Corvane/Aurel/".
    static QString DocumentsFolder();
    static QString SharedDataFolder();
};
