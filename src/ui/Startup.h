#pragma once

#include <QStringList>

class SingleInstanceWrapper;

namespace Startup {

// The program after its application object exists: refuses to run beside another instance,
// chooses the port layer from the arguments (--widget-dir DIR, --rig FILE, --demo, --usbpro
// [DEVICE]), builds and shows the main window, runs the event loop and shuts down in order.
// Returns the exit code.
int Run(const SingleInstanceWrapper& instance, const QStringList& arguments);

}  // namespace Startup
