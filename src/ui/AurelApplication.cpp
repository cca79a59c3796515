#include "ui/AurelApplication.h"

#include "os/NamedFolders.h"
#include "ui/Resources.h"

#include <QClipboard>
#include <QIcon>

AurelApplication::AurelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetIdentity();
    InitAurelResources();
    QIcon icon;
    icon.addFile(":/Resources/icon16.png");
    icon.addFile(":/Resources/icon32.png");
    setWindowIcon(icon);
    Os::NamedFolders::Register();
}

AurelApplication::~AurelApplication() {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard && clipboard->ownsClipboard()) {
        clipboard->clear();
    }
}

void AurelApplication::SetIdentity() {
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setOrganizationDomain("corvane.com");
    QCoreApplication::setApplicationName("Aurel");
    QCoreApplication::setApplicationVersion(QStringLiteral(AUREL_VERSION));
}
