#pragma once

#include <QStringList>

// `aurelctl firmware`: LED fixture firmware packages.
//   firmware info PACKAGE        the entries, their sizes and the package's version text
//   firmware pack OUT.crvpkg --motion F --graphics F [--fpga F] --versions M G P
//                                a package of the family OUT's name starts with
namespace FirmwareCommand {

// Returns the exit status (2 for a wrong invocation, 1 when a package cannot be read or
// written).
int Run(const QStringList& arguments);

}  // namespace FirmwareCommand
