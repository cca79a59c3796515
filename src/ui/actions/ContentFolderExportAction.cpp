#include "ui/actions/ContentFolderExportAction.h"

#include "archive/CustomFileSystemEngineHandler.h"
#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/library/ContentLibraryPackageFile.h"
#include "content/library/PackagePolicies.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/operations/ContentCopyOperation.h"
#include "ui/LastPathFileDialog.h"
#include "ui/actions/RunContentOperation.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const char* const kFolderKey = "ContentFolderExport";

// A package holds folders: a folder of folders gives its children, any other the folder.
QList<ContentBase*> ExportedObjects(ContentFolder* folder) {
    const ContentModelLock lock;
    QList<ContentBase*> objects;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        if (!qobject_cast<ContentFolder*>(folder->Child(i))) {
            return {folder};
        }
        objects.append(folder->Child(i));
    }
    return objects;
}

// The package being written to `file`: a collage package by its suffix, else a package of
// the folder's family.
std::unique_ptr<ContentFolder> NewDestination(ContentFolder* folder, const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == "marqacollage" || suffix == "solvicollage") {
        const PolicyBase& policy = suffix == "marqacollage"
                                       ? NamedPolicies::MarqaQuorelContentPackage()
                                       : NamedPolicies::SolviQuorelContentPackage();
        return std::make_unique<QuorelContentLibraryPackageDestinationFile>(file, &policy);
    }
    bool collage = false;
    const PolicyBase* policy = PackagePolicies::For(folder, &collage);
    if (!policy) {
        ContentModelLock lock;
        for (int i = 0; !policy && i < folder->ChildCount(); ++i) {
            policy = PackagePolicies::For(folder->Child(i), &collage);
        }
    }
    if (!policy || collage) {
        return nullptr;
    }
    return std::make_unique<ContentLibraryPackageDestinationFile>(file, policy);
}

}  // namespace

ContentFolderExportAction::ContentFolderExportAction(ContentFolder* folder, QWidget* parent)
    : ContentFolderAction("Export", folder, parent) {}

bool ContentFolderExportAction::Export(ContentFolder* folder, const QString& file,
                                       QWidget* parent) {
    const ArchiveWriterEnabler writing;
    std::unique_ptr<ContentFolder> destination = NewDestination(folder, file);
    if (!destination) {
        QMessageBox::warning(parent, "Export",
                             "The content of this folder cannot be written into that package");
        return false;
    }
    const bool copied = RunContentOperation(
        parent, std::make_unique<ContentCopyOperation>(ExportedObjects(folder), destination.get()));
    destination.reset();  // the archive is written as the destination goes
    return copied;
}

void ContentFolderExportAction::execute() {
    ContentFolder* folder = Folder();
    if (!folder) {
        return;
    }
    QFileDialog dialog(ParentWidget(), "Select a location to save",
                       QDir(LastPathFileDialog::LastFolder(kFolderKey)).filePath("content_export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({"Packages (*.lumopkg)", "MARQA Collage Package (*.marqacollage)",
                           "Solvi Collage Package (*.solvicollage)"});
    dialog.setDefaultSuffix("lumopkg");
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString file = dialog.selectedFiles().first();
        // The suffix of the chosen filter, when the name has none of its own.
        const QString filter = dialog.selectedNameFilter();
        const QString suffix = filter.mid(filter.indexOf("*.") + 2).chopped(1);
        if (QFileInfo(file).suffix().isEmpty()) {
            file += "." + suffix;
        }
        LastPathFileDialog::Remember(kFolderKey, file);
        Export(folder, file, ParentWidget());
    }
}
