#pragma once

#include <QStringList>

// The content stored in an LED fixture, and its Quorel address:
//   aurelctl content ls UID
//   aurelctl content upload UID FOLDER IMAGE... [--file N] [--all]
//   aurelctl content download UID FOLDER FILE OUT
//   aurelctl content rm UID FOLDER [FILE...]
//   aurelctl content mkdir UID FOLDER NAME
//   aurelctl content rename UID FOLDER [FILE] NAME
//   aurelctl quorel-address UID [N]
namespace ContentVerbs {

int Run(const QStringList& arguments);
int QuorelAddress(const QStringList& arguments);

}  // namespace ContentVerbs
