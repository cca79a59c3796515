// One 255-frame image of each LED family broadcast to 1, 8 and 32 fixtures on the one port
// of a one-port widget, on the virtual clock: the DMX line time the whole upload takes (the
// ready checks, the blocks, the state polls between blocks, the settling wait and the final
// checks) against the time the blocks alone occupy the line.

#include "BenchWidget.h"
#include "comm/CommManager.h"
#include "content/ledimage/MarqaRDMImage.h"
#include "content/ledimage/SolviRDMImage.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/LumoDefs.h"
#include "lumo/MarqaProtocol.h"
#include "lumo/SolviProtocol.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "os/Clock.h"
#include "sim/LineTime.h"
#include "sim/SimLumoFixture.h"
#include "sim/SimulatedPortLayer.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr quint8 kFolder = 41;
constexpr quint64 kFirstUid = 0x43560000A001ULL;
constexpr int kFrames = 255;

// Sees every request on the line and adds up what the upload blocks cost: each is charged
// as the widget charges a request that gets no reply (broadcasts are never answered).
class BlockMeter : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& request) override {
        if (request.size() > 22 &&
            (quint8(request[21]) << 8 | quint8(request[22])) == Lumo::BroadcastFileBlock) {
            micros += Sim::LineTime::RdmExchange(request, {});
        }
        return {};
    }
    qint64 micros = 0;
};

// A full-size image: every frame a different colour index, with its own delay.
template <class Image>
Image FullImage() {
    Image image;
    image.header.contentKey = 0x1234ABCD;
    image.SetNameText(QStringLiteral("Bench"));
    for (int f = 0; f < kFrames; ++f) {
        LumoRDMImage::Entry entry;
        entry.delay = quint16(40 + f);
        entry.leds = QByteArray(image.LedCount(), char(f * 7 + 1));
        image.entries.push_back(entry);
    }
    return image;
}

template <class Device, class Image, class Protocol>
void Upload(benchmark::State& state) {
    const int count = int(state.range(0));
    BenchWidget rig;
    Os::ScopedVirtualClock& clock = rig.clock;
    const auto& widget = rig.widget;
    std::vector<std::shared_ptr<Sim::SimLumoFixture>> fixtures;
    std::vector<std::unique_ptr<Device>> devices;
    for (int i = 0; i < count; ++i) {
        Sim::RdmResponderConfig rdm;
        rdm.uid = kFirstUid + quint64(i);
        rdm.modelDescription = QString::fromLatin1(Device::kModelName);
        Sim::LumoFixtureConfig lumo;
        lumo.folders = {{kFolder, QStringLiteral("Folder"), {}}};
        fixtures.push_back(std::make_shared<Sim::SimLumoFixture>(rdm, lumo));
        widget->AttachResponder(0, fixtures.back());
        devices.push_back(std::make_unique<Device>(rdm.uid));
        devices.back()->SetPort(0);
    }
    auto meter = std::make_shared<BlockMeter>();
    widget->AttachResponder(0, meter);

    LumoProtocol& protocol = *Protocol::Instance();
    const Image image = FullImage<Image>();
    QByteArray bytes;
    const int size = protocol.SerializeImage(image, &bytes);
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        qint64 lineMicros = 0;
        quint8 file = 0;
        bool stored = true;
        for (auto _ : state) {
            ++file;  // each run stores a new file, so a leftover one cannot pass for it
            QList<LumoRDM*> targets;
            for (const auto& device : devices) {
                targets.append(device.get());
            }
            const qint64 start = clock.clock().NowMicros();
            const bool sent = protocol.UploadFileToDevices(targets, kFolder, file, image, nullptr);
            lineMicros += clock.clock().NowMicros() - start;
            for (const auto& fixture : fixtures) {
                const auto kept = fixture->File(kFolder, file);
                stored = stored && sent && kept && kept->bytes == bytes;
            }
        }
        CommManager::Install(previous);
        const double runs = double(state.iterations());
        const double line = double(lineMicros) / runs / 1e6;
        const double limit = double(meter->micros) / runs / 1e6;
        state.counters["ports"] = widget->PortCount();
        state.counters["bytes"] = size;
        state.counters["line_s"] = line;
        state.counters["Bps_line"] = size / line;
        state.counters["limit_s"] = limit;
        state.counters["ratio"] = line / limit;
        state.counters["ok"] = stored;
        if (!stored) {
            state.SkipWithError("a fixture did not store the file");
        }
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

void Cases(benchmark::internal::Benchmark* bench) {
    bench->ArgName("fixtures")->Arg(1)->Arg(8)->Arg(32)->Iterations(2);
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(Upload<MarqaRDM, MarqaRDMImage, MarqaProtocol>)->Name("Upload/MARQA")->Apply(Cases);
BENCHMARK(Upload<SolviRDM, SolviRDMImage, SolviProtocol>)->Name("Upload/Solvi")->Apply(Cases);

}  // namespace

BENCHMARK_MAIN();
