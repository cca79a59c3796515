#pragma once

#include <QStringList>

// `aurelctl upgrade`: puts new firmware into fixtures found on the line.
//   upgrade UID...|--all --package PACKAGE...   LED fixtures, from the package of their family
//   upgrade UID...|--all --file FIRMWARE        legacy talk-back fixtures
// The upgrade's log goes to standard error; the fixtures' versions before and after are
// printed.
namespace UpgradeVerb {

int Run(const QStringList& arguments);

}  // namespace UpgradeVerb
