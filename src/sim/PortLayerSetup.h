#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace Sim {

// Where the program's widgets come from, as chosen on the command line.
struct PortLayerChoice {
    QString widgetDir;     // socket widgets in this folder
    QString rigFile;       // an in-process rig described by this file
    bool demo = false;     // the built-in demonstration rig, in process
    bool usbPro = false;   // USB Pro interfaces among the serial devices...
    QString usbProDevice;  // ...or only the one at this path

    // The choice the options of AddPortLayerOptions() make.
    static PortLayerChoice FromParser(const QCommandLineParser& parser);

    // Where the choice looks for widgets and what chose that, for messages: "socket widgets
    // in DIR (--widget-dir)".
    QString Searched() const;
};

// --widget-dir DIR, --rig FILE, --demo and --usbpro [DEVICE].
void AddPortLayerOptions(QCommandLineParser& parser);

// The command-line parser knows no option whose value may be left out: "--usbpro DEVICE" and
// "--usbpro=DEVICE" are rewritten as "--usbpro --usbpro-device DEVICE". The argument after
// "--usbpro" is its device when it is a path (it has a '/').
QStringList SplitUsbProDevice(const QStringList& arguments);

// Installs the process-wide port layer for the choice: an in-process rig for --demo or
// --rig, USB Pro interfaces for --usbpro, else socket widgets in the chosen (or default)
// folder. False with a message when the rig cannot be read or the choices conflict.
bool InstallPortLayer(const PortLayerChoice& choice, QString* error);

}  // namespace Sim
