#pragma once

#include <QApplication>
#include <QString>

// The application object: identity, window icon and the named folders that other parts open
// files through ("ContentLibraryRoot:...", "Firmware:..." and so on, see Os::NamedFolders).
class AurelApplication : public QApplication {
    Q_OBJECT
public:
    AurelApplication(int& argc, char** argv);
    ~AurelApplication() override;

    // Sets organisation, domain and application name.
    static void SetIdentity();
};
