#include "FuzzRig.h"

#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "sim/SimulatedPortLayer.h"

FuzzRig& FuzzRig::Instance() {
    static FuzzRig* rig = new FuzzRig;  // kept: the toolkit's objects outlive the inputs
    return *rig;
}

FuzzRig::FuzzRig() : m_app(m_argc, m_argv), m_line(std::make_shared<ScriptedLine>()) {
    Os::Clock::Install(&m_clock);
    auto layer = std::make_unique<Sim::SimulatedPortLayer>();
    // One port (product code 26 has more; the line is on port 0, the others are empty).
    m_widget =
        layer->Plug(Sim::WidgetConfig{"fuzz", Hardware::InterfaceClasses::All()[2], 26, 2, 7});
    Hardware::PortLayer::Install(std::move(layer));
    m_widget->AttachResponder(0, m_line);
    m_comm = std::make_unique<CommManager>();
    CommManager::Install(m_comm.get());
    QCoreApplication::processEvents();
}

ScriptedLine& FuzzRig::Script(const uint8_t* data, size_t size) {
    m_line->Reset(data, size);
    return *m_line;
}
