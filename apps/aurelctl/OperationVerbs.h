#pragma once

#include <QStringList>

// The verbs that change content through the content operations, on any locations (see
// ContentLocation):
//   aurelctl content cp SRC... DEST
//   aurelctl content mv SRC... DEST
//   aurelctl content rm LOCATION...
//   aurelctl content renumber LOCATION N
//   aurelctl content autoset|reset LOCATION...
//   aurelctl content clone SOURCE --to UID...|--all
//   aurelctl content clear --user|--quorel UID...|--all
//   aurelctl content update-stock UID...|--all
//   aurelctl content update-quorel UID...|--all
//   aurelctl content import-collage FILE
// Each shows its progress on standard error, ends with its outcome (or --json), and exits
// 0 on success, 1 on failure and 130 when Ctrl+C cancelled it.
namespace OperationVerbs {

// True when the verb is one of these for those words ("rm" with a fixture number after a
// UID is the older fixture verb).
bool Handles(const QString& verb, const QStringList& words);
int Run(const QString& verb, const QStringList& arguments);
// The lines of the help text.
QString Help();

}  // namespace OperationVerbs
