#pragma once

#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "os/Clock.h"
#include "sim/SimulatedPortLayer.h"

#include <gtest/gtest.h>

// A test fixture with an in-process port layer and the virtual clock; the widget manager
// starts afresh in every test.
class SimulatedRigTest : public ::testing::Test {
protected:
    SimulatedRigTest() {
        auto layer = std::make_unique<Sim::SimulatedPortLayer>();
        m_layer = layer.get();
        Hardware::PortLayer::Install(std::move(layer));
    }

    ~SimulatedRigTest() override {
        Hardware::WidgetManager::Shutdown();
        Hardware::PortLayer::Install(nullptr);
    }

    static QUuid UniverseClass() { return Hardware::InterfaceClasses::All()[2]; }
    static QUuid SecondUniverseClass() { return Hardware::InterfaceClasses::All()[9]; }

    static Sim::WidgetConfig Config(const QString& name, quint16 productCode = 26,
                                    QUuid interfaceClass = UniverseClass()) {
        return Sim::WidgetConfig{name, interfaceClass, productCode, 2, 7};
    }

    Sim::SimulatedPortLayer& layer() { return *m_layer; }
    Os::VirtualClock& clock() { return m_clock.clock(); }

private:
    Os::ScopedVirtualClock m_clock;
    Sim::SimulatedPortLayer* m_layer;
};
