// aurel: the desktop program.
//   aurel [--widget-dir DIR | --rig FILE | --demo | --usbpro [DEVICE]]
#include "ui/AurelApplication.h"
#include "ui/SingleInstanceWrapper.h"
#include "ui/Startup.h"

int main(int argc, char** argv) {
    SingleInstanceWrapper instance;
    AurelApplication app(argc, argv);
    return Startup::Run(instance, app.arguments());
}
