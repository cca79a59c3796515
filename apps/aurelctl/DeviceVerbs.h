#pragma once

#include <QStringList>

// Verbs that act on one fixture named by its UID; the fixture is located by asking each
// port for it, without a discovery.
//   aurelctl identify UID [on|off]
//   aurelctl address UID N
namespace DeviceVerbs {

int Identify(const QStringList& arguments);
int Address(const QStringList& arguments);

// "0x4a4100000101", "4a4100000101" or "4a41:00000101".
bool ParseUid(const QString& text, quint64* uid);

}  // namespace DeviceVerbs
