#pragma once

#include <QString>

namespace Os::Thread {

// Registers a name for the calling thread; log lines and trap reports show it.
// A thread without a name shows its numeric id.
void SetCurrentName(const QString& name);
QString CurrentName();
qint64 CurrentId();

// The executable's base name.
QString ProcessName();

}  // namespace Os::Thread
