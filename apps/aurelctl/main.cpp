// aurelctl: the command-line front end.
//   aurelctl widgets [--widget-dir DIR | --rig FILE | --demo | --usbpro [DEVICE]] [--json]
//   aurelctl discover [--rdm | --orx | --all] [--thorough] [--json] [--log]
//   aurelctl identify UID [on|off]
//   aurelctl address UID N
//   aurelctl get UID [PARAM] | set UID PARAM VALUE | rdm get|set UID PID [HEXDATA]
//   aurelctl image info|gif|convert|render|import ...
//   aurelctl package ls|cat|pack ...
//   aurelctl firmware info|pack ...
//   aurelctl upgrade UID...|--all --package PACKAGE... | --file FIRMWARE
//   aurelctl library ls [--quorel]
//   aurelctl content ls|upload|download|rm|mkdir|rename UID ...
//   aurelctl quorel-address UID [N]
//   aurelctl quorel template ls|show|add|rm ... | render TEMPLATE MEDIA NAME

#include "CommandLine.h"
#include "ContentVerbs.h"
#include "DeviceVerbs.h"
#include "DiscoverVerb.h"
#include "FirmwareCommand.h"
#include "ImageCommand.h"
#include "LibraryCommand.h"
#include "PackageCommand.h"
#include "ParameterVerbs.h"
#include "QuorelCommand.h"
#include "UpgradeVerb.h"
#include "WidgetsCommand.h"

#include "comm/UserNotice.h"
#include "lumo/devices/LumoFamily.h"
#include "os/Thread.h"
#include "sim/PortLayerSetup.h"

#include <QCoreApplication>

namespace {

class PrintedNotice : public UserNotice {
public:
    void Show(const QString& text) override { CommandLine::Fail(text, 1); }
};

struct Verb {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

const Verb kVerbs[] = {
    {"widgets", "list the present DMX widgets", &WidgetsCommand::Run},
    {"discover", "find the fixtures on every port", &DiscoverVerb::Run},
    {"identify", "turn a fixture's identify on or off", &DeviceVerbs::Identify},
    {"address", "set a fixture's DMX start address", &DeviceVerbs::Address},
    {"get", "read a fixture's standard parameters", &ParameterVerbs::Get},
    {"set", "set a fixture's label, personality, display, lamp or power", &ParameterVerbs::Set},
    {"rdm", "send any RDM GET or SET to a fixture and print the reply", &ParameterVerbs::Rdm},
    {"image", "show, convert, render and import LED image files", &ImageCommand::Run},
    {"package", "list, read and build package archives", &PackageCommand::Run},
    {"firmware", "show and build LED fixture firmware packages", &FirmwareCommand::Run},
    {"upgrade", "upgrade the firmware of fixtures", &UpgradeVerb::Run},
    {"library", "list the content library", &LibraryCommand::Run},
    {"content", "list and change the content stored in LED fixtures", &ContentVerbs::Run},
    {"quorel-address", "show or set an LED fixture's Quorel address", &ContentVerbs::QuorelAddress},
    {"quorel", "Quorel templates, rendering them into collages, and the collages",
     &QuorelCommand::Run},
};

QString Help() {
    QString text = QStringLiteral(
        "Usage: aurelctl COMMAND [options]\nAurel command-line tool.\n\n"
        "Commands:\n");
    for (const Verb& verb : kVerbs) {
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(verb.name), -15).arg(verb.summary);
    }
    return text +
           "\nRun aurelctl COMMAND --help for the options of a command; aurelctl --version "
           "prints the version.\n";
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setApplicationName("aurelctl");
    Os::Thread::SetCurrentName("main");
    LumoFamily::RegisterAll();
    // What the program shows in a message box, the tool prints.
    PrintedNotice notice;
    UserNotice::Install(&notice, &app);

    // The command is the first argument that names one, so options may come before it.
    const QStringList arguments = QCoreApplication::arguments();
    for (const QString& argument : arguments.mid(1)) {
        for (const Verb& verb : kVerbs) {
            if (argument == QLatin1String(verb.name)) {
                return verb.run(Sim::SplitUsbProDevice(arguments));
            }
        }
    }
    for (const QString& argument : arguments.mid(1)) {
        if (argument == "--help" || argument == "-h") {
            CommandLine::Print(Help());
            return 0;
        }
        if (argument == "--version") {
            CommandLine::Print(QStringLiteral("aurelctl %1\n").arg(QStringLiteral(AUREL_VERSION)));
            return 0;
        }
        if (!argument.startsWith('-')) {
            return CommandLine::Fail("unknown command: " + argument, 2);
        }
    }
    return CommandLine::Fail("no command given (try --help)", 2);
}
