#pragma once

#include <QString>

// The program's named folders, registered as search-path prefixes ("ContentLibraryRoot:."):
//   ContentLibraryRoot        documents / "Aurel Content Library"
//   QuorelContentLibraryRoot  documents / "Aurel Quorel Content Library"
//   StockContent, ContentCache, Firmware   application base / "Content", "Cache", "Firmware"
// The documents folder is $AUREL_DOCUMENTS_DIR, else the system's documents folder; the
// application base is $AUREL_DATA_DIR, else the generic data folder, joined with
// "Corvane/Aurel". The home directory stands in for a folder the system does not give.
namespace Os::NamedFolders {

QString DocumentsFolder();
// Ends with "/".
QString ApplicationBase();
// Creates the folders that are missing (moving an old "Marqa Content Library" to its new
// name first) and registers the prefixes. Later calls register again (the environment may
// have changed).
void Register();
// The absolute directory of a prefix; registers the prefixes when they are not yet.
QString Path(const QString& prefix);

}  // namespace Os::NamedFolders
