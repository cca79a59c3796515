// A MARQA firmware upgrade of 1, 8 and 32 fixtures on the one port of a one-port widget, on
// the virtual clock: the line time of the whole upgrade, and apart from it the fixed waits
// (the graphics engine's restart and the fixtures' reset) and the time the fixtures take to
// erase their flash for the two talk-back images.

#include "BenchWidget.h"
#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "firmware/FirmwarePackage.h"
#include "firmware/LumoUpgradeCommand.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/devices/MarqaRDM.h"
#include "os/Clock.h"
#include "sim/FirmwareCatalogue.h"
#include "sim/SimLumoFixture.h"
#include "sim/SimulatedPortLayer.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr quint64 kFirstUid = 0x43560000C001ULL;

// Adds up, on the clock, the time from each erase command to the first data packet.
class EraseMeter : public IFeedback {
public:
    explicit EraseMeter(const Os::Clock& clock) : m_clock(clock) {}
    void AddString(QString text, FeedbackStatus) override {
        if (text.contains(QStringLiteral("erase flashrom")) && m_start < 0) {
            m_start = m_clock.NowMicros();
        } else if (text.contains(QStringLiteral("data packets to fixtures")) && m_start >= 0) {
            micros += m_clock.NowMicros() - m_start;
            m_start = -1;
        }
        completed = text == QStringLiteral("Upgrade Completed!");
    }
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override { return false; }

    qint64 micros = 0;
    bool completed = false;

private:
    const Os::Clock& m_clock;
    qint64 m_start = -1;
};

// Bytes that no two images share, without runs of erased flash.
QByteArray Image(int size, int seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = char((i * 13 + seed) % 251);
    }
    return bytes;
}

void Upgrade(benchmark::State& state) {
    const int count = int(state.range(0));
    BenchWidget rig;
    Os::ScopedVirtualClock& clock = rig.clock;
    const auto& widget = rig.widget;

    QTemporaryDir dir;
    const QString package = dir.filePath(QStringLiteral("marqa-bench.crvpkg"));
    FirmwarePackage::Contents contents;
    contents.motion = Image(256 * 1024, 1);
    contents.graphics = Image(512 * 1024, 2);
    contents.fpga = Image(64 * 1024, 3);
    contents.versions = {{5, 0, 0, 1}, {3, 1, 0, 2}, 9};
    QString error;
    if (!FirmwarePackage::Write(package, FirmwarePackage::kMarqa, contents, &error) ||
        !Sim::FirmwareCatalogue::Instance().LearnPackage(package, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }

    std::vector<std::shared_ptr<Sim::SimLumoFixture>> fixtures;
    std::vector<std::unique_ptr<MarqaRDM>> devices;
    QList<Device*> targets;
    for (int i = 0; i < count; ++i) {
        Sim::RdmResponderConfig rdm;
        rdm.uid = kFirstUid + quint64(i);
        rdm.modelDescription = QString::fromLatin1(MarqaRDM::kModelName);
        Sim::LumoFixtureConfig lumo;
        lumo.fpgaVersion = 8;
        fixtures.push_back(std::make_shared<Sim::SimLumoFixture>(rdm, lumo));
        widget->AttachResponder(0, fixtures.back());
        devices.push_back(std::make_unique<MarqaRDM>(rdm.uid));
        devices.back()->SetPort(0);
        devices.back()->SetFpgaVersion(8);
        targets.append(devices.back().get());
    }
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        MarqaUpgradeCommand command;
        qint64 lineMicros = 0;
        qint64 eraseMicros = 0;
        bool ok = true;
        for (auto _ : state) {
            EraseMeter meter(clock.clock());
            command.SetFeedback(&meter);
            command.Setup(targets, package);
            const qint64 start = clock.clock().NowMicros();
            ok = command.Execute() && meter.completed && ok;
            lineMicros += clock.clock().NowMicros() - start;
            eraseMicros += meter.micros;
        }
        CommManager::Install(previous);
        const double runs = double(state.iterations());
        const double waits =
            double(LumoUpgradeCommand::kGraphicsRestartMs + LumoUpgradeCommand::kResetWaitMs) / 1e3;
        const double line = double(lineMicros) / runs / 1e6;
        const double erase = double(eraseMicros) / runs / 1e6;
        state.counters["line_s"] = line;
        state.counters["waits_s"] = waits;
        state.counters["erase_s"] = erase;
        state.counters["rest_s"] = line - waits - erase;
        if (!ok) {
            state.SkipWithError("a fixture did not run the package afterwards");
        }
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

}  // namespace

BENCHMARK(Upgrade)
    ->ArgName("fixtures")
    ->Arg(1)
    ->Arg(8)
    ->Arg(32)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
