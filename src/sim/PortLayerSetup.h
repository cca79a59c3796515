#pragma once

#include <QString>

namespace Sim {

// Where the program's widgets come from, as chosen on the command line.
struct PortLayerChoice {
    QString widgetDir;  // socket widgets in this folder
    QString rigFile;    // an in-process rig described by this file
    bool demo = false;  // the built-in demonstration rig, in process
};

// Installs the process-wide port layer for the choice: an in-process rig for --demo or
// --rig, else socket widgets in the chosen (or default) folder. False with a message when
// the rig cannot be read or the choices conflict.
bool InstallPortLayer(const PortLayerChoice& choice, QString* error);

}  // namespace Sim
