#include "ui/actions/ContentFolderImportAction.h"

#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/library/ContentLibraryPackageFile.h"
#include "content/library/PackagePolicies.h"
#include "content/operations/ContentCopyOperation.h"
#include "ui/LastPathFileDialog.h"
#include "ui/actions/RunContentOperation.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {}  // namespace

ContentFolderImportAction::ContentFolderImportAction(ContentFolder* folder, QWidget* parent)
    : ContentFolderAction("Import", folder, parent) {}

bool ContentFolderImportAction::Import(ContentFolder* folder, const QString& file,
                                       QWidget* parent) {
    bool collage = false;
    const PolicyBase* policy = PackagePolicies::For(folder, &collage);
    ContentLibraryPackageFile package(
        file, policy && !collage ? policy : &NamedPolicies::MarqaContentPackage());
    package.Scan();
    QList<ContentBase*> objects;
    {
        const ContentModelLock lock;
        for (int i = 0; i < package.ChildCount(); ++i) {
            objects.append(package.Child(i));
        }
    }
    if (objects.isEmpty()) {
        QMessageBox::warning(parent, "Import",
                             QStringLiteral("%1 holds no content that can be imported")
                                 .arg(QFileInfo(file).fileName()));
        return false;
    }
    return RunContentOperation(parent, std::make_unique<ContentCopyOperation>(objects, folder));
}

void ContentFolderImportAction::execute() {
    ContentFolder* folder = Folder();
    if (!folder) {
        return;
    }
    const QString file =
        LastPathFileDialog::Open(ParentWidget(), "Select package to Import", "ContentFolderImport",
                                 "Packages (*.lumopkg *.crvpkg *.marqacollage *.solvicollage)");
    if (!file.isEmpty()) {
        Import(folder, file, ParentWidget());
    }
}
