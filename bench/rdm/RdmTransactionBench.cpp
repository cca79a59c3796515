// GET DEVICE_INFO through the whole stack: protocol, universe, widget, port layer, simulated
// widget and responder, on the virtual clock (line time costs nothing here).
// Reports the program's own CPU time per transaction, the responder's share taken out.

#include "comm/CommManager.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "os/Clock.h"
#include "rdm/RDMProtocol.h"
#include "sim/SimRdmResponder.h"
#include "sim/SimulatedPortLayer.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

qint64 ThreadCpuNanos() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Counts the CPU time the fixture spends answering.
class TimedResponder : public Sim::SimRdmResponder {
public:
    using Sim::SimRdmResponder::SimRdmResponder;
    QByteArray HandleRdm(const QByteArray& request) override {
        const qint64 start = ThreadCpuNanos();
        QByteArray reply = Sim::SimRdmResponder::HandleRdm(request);
        spentNanos += ThreadCpuNanos() - start;
        return reply;
    }
    qint64 spentNanos = 0;
};

void GetDeviceInfo(benchmark::State& state) {
    Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    Os::ScopedVirtualClock clock;
    auto owned = std::make_unique<Sim::SimulatedPortLayer>();
    Sim::SimulatedPortLayer& layer = *owned;
    Hardware::PortLayer::Install(std::move(owned));
    const auto widget = layer.Plug({"bench", Hardware::InterfaceClasses::All()[2], 26, 1, 0});
    Sim::RdmResponderConfig config;
    config.uid = 0x4A4100000101ULL;
    auto responder = std::make_shared<TimedResponder>(config);
    widget->AttachResponder(0, responder);
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        RDMProtocol protocol;
        quint8 reply[60];
        qint64 failures = 0;
        const qint64 lineStart = clock.clock().NowMicros();
        const qint64 cpuStart = ThreadCpuNanos();
        for (auto _ : state) {
            quint32 length = sizeof reply;
            failures += protocol.RdmTransaction(0, 0x00000101, 0x4A41, Rdm::kGet, Rdm::DeviceInfo,
                                                nullptr, 0, reply, length, nullptr) != ResponseAck;
            benchmark::DoNotOptimize(reply);
        }
        const double cpuNanos = double(ThreadCpuNanos() - cpuStart);
        const double n = double(state.iterations());
        state.counters["failures"] = double(failures);
        state.counters["own_us_per_transaction"] =
            (cpuNanos - double(responder->spentNanos)) / n / 1000;
        state.counters["responder_us_per_transaction"] = double(responder->spentNanos) / n / 1000;
        state.counters["line_ms_per_transaction"] =
            double(clock.clock().NowMicros() - lineStart) / n / 1000;
        state.counters["transactions_per_cpu_second"] = n * 1e9 / cpuNanos;
        CommManager::Install(previous);
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

BENCHMARK(GetDeviceInfo)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
