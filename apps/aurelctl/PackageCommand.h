#pragma once

#include <QStringList>

// `aurelctl package`: package archives from the command line.
//   package ls PATH                        the folders and files one level below PATH (a
//                                          package file or a folder inside one)
//   package cat PATH                       an entry's bytes on standard output ("decode#"
//                                          paths give the plain bytes of enciphered entries)
//   package pack DIR OUT.lumopkg [--encipher]   a package from a library package directory
namespace PackageCommand {

// Returns the exit status (2 for a wrong invocation, 1 when a package cannot be read or
// written).
int Run(const QStringList& arguments);

}  // namespace PackageCommand
