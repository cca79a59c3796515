#include "sim/PortLayerSetup.h"

#include "hardware/SocketPortLayer.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"

namespace Sim {

bool InstallPortLayer(const PortLayerChoice& choice, QString* error) {
    const int chosen =
        int(!choice.widgetDir.isEmpty()) + int(!choice.rigFile.isEmpty()) + int(choice.demo);
    if (chosen > 1) {
        *error = "choose one of --widget-dir, --rig and --demo";
        return false;
    }
    if (choice.demo || !choice.rigFile.isEmpty()) {
        std::optional<Rig> rig = choice.demo ? Rig::Demo() : Rig::Load(choice.rigFile, error);
        if (!rig) {
            return false;
        }
        auto layer = std::make_unique<SimulatedPortLayer>();
        rig->PlugInto(*layer);
        Hardware::PortLayer::Install(std::move(layer));
        return true;
    }
    Hardware::PortLayer::Install(std::make_unique<Hardware::SocketPortLayer>(
        Hardware::SocketPortLayer::ResolveWidgetDir(choice.widgetDir)));
    return true;
}

}  // namespace Sim
