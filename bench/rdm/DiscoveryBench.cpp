// A whole "Fixture Discovery" on the virtual clock, fast search against thorough: 1, 10 and 50
// fixtures on a one-port widget and 50 spread over a four-port widget. It reports the
// DISC_UNIQUE_BRANCH requests per fixture and the DMX line time: in all (wake-up, un-mute,
// search, mutes and the information queries of every fixture found) and up to the first
// information query of each port (wake-up, un-mute, search and mutes).

#include "comm/CommManager.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "os/Clock.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMProtocol.h"
#include "rdm/devices/Device.h"
#include "sim/SimRdmResponder.h"
#include "sim/SimulatedPortLayer.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Sees every request on its port: counts the unique-branch ones and the line time from each
// broadcast un-mute (a search starts) to the first GET after it (the search is over).
class LineWatch : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& request) override {
        if (request.size() < 23) {
            return {};
        }
        const quint8 commandClass = quint8(request[20]);
        const quint8 pid = quint8(request[22]);
        const qint64 now = Os::Clock::Instance().NowMicros();
        if (commandClass == 0x10 && pid == 0x01) {
            ++branches;
        } else if (commandClass == 0x10 && pid == 0x03 && quint8(request[8]) == 0xFF) {
            m_searchStart = now;
        } else if (commandClass == 0x20 && m_searchStart >= 0) {
            searchMicros += now - m_searchStart;
            m_searchStart = -1;
        }
        return {};
    }
    // A port where nothing was found ends its search without a GET.
    void EndSearch(qint64 now) {
        if (m_searchStart >= 0) {
            searchMicros += now - m_searchStart;
            m_searchStart = -1;
        }
    }

    qint64 branches = 0;
    qint64 searchMicros = 0;

private:
    qint64 m_searchStart = -1;
};

// Arguments: fixtures, product code (2: one port, 17: four ports), 1 for the thorough search.
void FixtureDiscovery(benchmark::State& state) {
    Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    const int fixtures = int(state.range(0));
    const auto product = quint16(state.range(1));
    const auto search = state.range(2) ? DiscoverySearch::Thorough : DiscoverySearch::Fast;
    Os::ScopedVirtualClock clock;
    auto owned = std::make_unique<Sim::SimulatedPortLayer>();
    Sim::SimulatedPortLayer& layer = *owned;
    Hardware::PortLayer::Install(std::move(owned));
    const auto widget = layer.Plug({"bench", Hardware::InterfaceClasses::All()[2], product, 1, 0});
    const int ports = widget->PortCount();
    std::mt19937_64 random(7);
    for (int i = 0; i < fixtures; ++i) {
        Sim::RdmResponderConfig config;
        config.uid = (random() % 0x7FF0ULL + 1) << 32 | (random() & 0xFFFFFFF0ULL);
        widget->AttachResponder(i % ports, std::make_shared<Sim::SimRdmResponder>(config));
    }
    std::vector<std::shared_ptr<LineWatch>> watches;
    for (int port = 0; port < ports; ++port) {
        watches.push_back(std::make_shared<LineWatch>());
        widget->AttachResponder(port, watches.back());
    }
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        RDMProtocol protocol;
        qint64 found = 0;
        qint64 lineMicros = 0;
        for (auto _ : state) {
            DiscoveryCommand command;
            command.SetLists({&protocol}, {});
            command.SetSearch(search);
            qint64 end = 0;
            // The command's result comes after a pause for its watchers: the line is done here.
            QObject::connect(
                &command, &DiscoveryCommand::FinishedDiscovery, &command,
                [&] { end = clock.clock().NowMicros(); }, Qt::DirectConnection);
            const qint64 start = clock.clock().NowMicros();
            command.Execute();
            lineMicros += end - start;
            for (const auto& watch : watches) {
                watch->EndSearch(end);
            }
            const QList<Device*> devices = command.GetDevices();
            found += devices.size();
            qDeleteAll(devices);
        }
        const double runs = double(state.iterations());
        qint64 branches = 0;
        qint64 searchMicros = 0;
        for (const auto& watch : watches) {
            branches += watch->branches;
            searchMicros += watch->searchMicros;
        }
        state.counters["fixtures_found"] = double(found) / runs;
        state.counters["branches_per_fixture"] = double(branches) / runs / fixtures;
        state.counters["line_s"] = double(lineMicros) / runs / 1e6;
        // Wake-up and searches, without the information queries.
        state.counters["search_line_s"] =
            double(DiscoveryCommand::kWakeUpMs) / 1e3 + double(searchMicros) / runs / 1e6;
        CommManager::Install(previous);
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

void Rigs(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"fixtures", "product", "thorough"});
    for (const int thorough : {0, 1}) {
        for (const int fixtures : {1, 10, 50}) {
            bench->Args({fixtures, 2, thorough});
        }
        bench->Args({50, 17, thorough});
    }
}

BENCHMARK(FixtureDiscovery)->Apply(Rigs)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
