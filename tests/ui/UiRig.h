#pragma once

#include "comm/CommManager.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/devices/LumoFamily.h"
#include "os/Clock.h"
#include "rdm/devices/DeviceManager.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"

#include <gtest/gtest.h>

#include <memory>

// How many fixtures the demo rig holds on all its widgets.
inline int DemoFixtureCount() {
    int count = 0;
    for (const Sim::RigWidget& widget : Sim::Rig::Demo().widgets) {
        count += int(widget.fixtures.size());
    }
    return count;
}

// The whole test process runs on the demo rig in process, on the virtual clock, with one
// command manager installed before the device manager is first used.
class UiRig : public ::testing::Environment {
public:
    void SetUp() override {
        LumoFamily::RegisterAll();
        m_clock = std::make_unique<Os::ScopedVirtualClock>();
        auto layer = std::make_unique<Sim::SimulatedPortLayer>();
        Sim::Rig::Demo().PlugInto(*layer);
        Hardware::PortLayer::Install(std::move(layer));
        m_comm = std::make_unique<CommManager>();
        m_previous = CommManager::Install(m_comm.get());
        DeviceManager::Instance();
    }

    void TearDown() override {
        DeviceManager::Instance()->MergeDiscovery({});
        CommManager::Install(m_previous);
        m_comm.reset();
        Hardware::WidgetManager::Shutdown();
        Hardware::PortLayer::Install(nullptr);
        m_clock.reset();
    }

private:
    std::unique_ptr<Os::ScopedVirtualClock> m_clock;
    std::unique_ptr<CommManager> m_comm;
    CommManager* m_previous = nullptr;
};
