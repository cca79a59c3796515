#pragma once

#include <QStringList>

// `aurelctl library ls [--quorel]`: the packages, folders and items of the content library
// (or of the Quorel content library) with their addresses and policies.
namespace LibraryCommand {

int Run(const QStringList& arguments);

}  // namespace LibraryCommand
