#pragma once

#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "os/Clock.h"
#include "sim/SimWidget.h"
#include "sim/SimulatedPortLayer.h"

#include <memory>

// One simulated one-port widget installed as the machine's interfaces, on the virtual clock,
// with the hardware log held to warnings: the rig the fixture benchmarks drive.
struct BenchWidget {
    Os::ScopedVirtualClock clock;
    std::shared_ptr<Sim::SimWidget> widget = Plug();

private:
    static std::shared_ptr<Sim::SimWidget> Plug() {
        Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
        auto owned = std::make_unique<Sim::SimulatedPortLayer>();
        Sim::SimulatedPortLayer& layer = *owned;
        Hardware::PortLayer::Install(std::move(owned));
        return layer.Plug({"bench", Hardware::InterfaceClasses::All()[2], 2, 1, 0});
    }
};
