// A full RDM discovery on one port with 1, 10 and 50 fixtures, on the virtual clock:
// how many DISC_UNIQUE_BRANCH requests it sends and how much DMX line time it takes
// (the search, the mutes and the information queries of every fixture found).

#include "comm/CommManager.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "os/Clock.h"
#include "rdm/RDMProtocol.h"
#include "rdm/devices/Device.h"
#include "sim/SimRdmResponder.h"
#include "sim/SimulatedPortLayer.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Sees every request on the line and counts the unique-branch ones.
class BranchCounter : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& request) override {
        if (request.size() > 22 && quint8(request[20]) == 0x10 && quint8(request[22]) == 0x01) {
            ++branches;
        }
        return {};
    }
    qint64 branches = 0;
};

void FullDiscovery(benchmark::State& state) {
    Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    const int fixtures = int(state.range(0));
    Os::ScopedVirtualClock clock;
    auto owned = std::make_unique<Sim::SimulatedPortLayer>();
    Sim::SimulatedPortLayer& layer = *owned;
    Hardware::PortLayer::Install(std::move(owned));
    const auto widget = layer.Plug({"bench", Hardware::InterfaceClasses::All()[2], 2, 1, 0});
    std::mt19937_64 random(7);
    for (int i = 0; i < fixtures; ++i) {
        Sim::RdmResponderConfig config;
        config.uid = (random() % 0x7FF0ULL + 1) << 32 | (random() & 0xFFFFFFF0ULL);
        widget->AttachResponder(0, std::make_shared<Sim::SimRdmResponder>(config));
    }
    auto counter = std::make_shared<BranchCounter>();
    widget->AttachResponder(0, counter);
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        qint64 found = 0;
        qint64 lineMicros = 0;
        for (auto _ : state) {
            RDMProtocol protocol;
            QList<Device*> devices;
            const qint64 start = clock.clock().NowMicros();
            protocol.Discover(0, devices, nullptr);
            lineMicros += clock.clock().NowMicros() - start;
            found += devices.size();
            qDeleteAll(devices);
        }
        const double runs = double(state.iterations());
        state.counters["fixtures_found"] = double(found) / runs;
        state.counters["unique_branch_requests"] = double(counter->branches) / runs;
        state.counters["line_seconds"] = double(lineMicros) / runs / 1e6;
        CommManager::Install(previous);
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

BENCHMARK(FullDiscovery)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
