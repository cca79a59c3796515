// Cloning a library package of 20 images (in one folder) to 1, 8 and 32 LED fixtures on the
// one port of a widget, on the virtual clock: the DMX line time of reading the fixtures'
// content and cloning onto them, the first time (every image to every fixture; an image that
// several fixtures need goes by one broadcast) and again when nothing has changed (the
// listings only).

#include "BenchWidget.h"
#include "comm/CommManager.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FixtureTrees.h"
#include "content/operations/OperationThread.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "os/Clock.h"
#include "sim/SimLumoFixture.h"
#include "sim/SimulatedPortLayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kItems = 20;
constexpr int kFrames = 60;
constexpr quint8 kFolder = 41;
constexpr quint64 kFirstUid = 0x43560000C001ULL;

// Discards what it is told; only cancels never.
class SilentFeedback : public IFeedback {
public:
    void AddString(QString, FeedbackStatus status) override { failed = failed || status >= 2; }
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override { return false; }
    std::atomic<bool> failed{false};
};

// A package "Show" with folder "Clips" (41) of kItems images, each of its own colours.
ContentFolder* MakePackage(ContentLibraryRoot& library) {
    library.AddFolder("Show", 0, nullptr);
    auto* package = qobject_cast<ContentLibraryPackage*>(library.Child(0));
    package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    package->AddFolder("Clips", kFolder, nullptr);
    auto* folder = qobject_cast<ContentFolder*>(package->Child(0));
    for (int i = 0; i < kItems; ++i) {
        auto image = std::make_unique<MarqaImage>();
        image->SetName(QStringLiteral("Clip %1").arg(i + 1));
        image->SetAddress(i + 1);
        std::vector<MarqaImage::Frame> frames(kFrames);
        for (int f = 0; f < kFrames; ++f) {
            frames[size_t(f)].delay = quint16(40 + f);
            frames[size_t(f)].leds.fill(quint8(i * 11 + f));
        }
        image->SetFrames(frames);
        ContentList items;
        items.push_back(std::move(image));
        folder->AddContent(std::move(items), nullptr);
    }
    return package;
}

// Runs the clone on a thread of its own while this thread serves the trees.
void Clone(ContentSyncOperation& sync, SilentFeedback& feedback) {
    int result = 1;
    RunOnOwnThread([&] { result = sync.Execute(&feedback, ContentOperation::kStopOnFailure); });
    feedback.failed = feedback.failed || result != 0;
}

QList<quint64> UidsOf(int count) {
    QList<quint64> uids;
    for (int i = 0; i < count; ++i) {
        uids.append(kFirstUid + quint64(i));
    }
    return uids;
}

// Reads the fixtures' content as a new session would and clones the package onto them; the
// line time of both, in seconds.
double Run(ContentFolder* package, const QList<quint64>& uids, Os::VirtualClock& clock,
           SilentFeedback& feedback) {
    const qint64 start = clock.NowMicros();
    std::vector<std::unique_ptr<MarqaRDM>> devices;
    QList<ContentFolder*> groups;
    for (const quint64 uid : uids) {
        devices.push_back(std::make_unique<MarqaRDM>(uid));
        devices.back()->SetPort(0);
        LumoRDMContentRoot* root = ReadFixtureTree(devices.back().get(), &feedback);
        if (!root) {
            return 0;
        }
        groups.append(root->UserGroup());
    }
    ContentSyncOperation sync(package, groups);
    sync.SetAggregators(LumoRDMContentFolderAggregator::Families());
    Clone(sync, feedback);
    return double(clock.NowMicros() - start) / 1e6;
}

void BM_Clone(benchmark::State& state) {
    const int count = int(state.range(0));
    BenchWidget rig;
    Os::ScopedVirtualClock& clock = rig.clock;
    const auto& widget = rig.widget;
    std::vector<std::shared_ptr<Sim::SimLumoFixture>> fixtures;
    for (int i = 0; i < count; ++i) {
        Sim::RdmResponderConfig rdm;
        rdm.uid = kFirstUid + quint64(i);
        rdm.modelDescription = QString::fromLatin1(MarqaRDM::kModelName);
        fixtures.push_back(std::make_shared<Sim::SimLumoFixture>(rdm, Sim::LumoFixtureConfig{}));
        widget->AttachResponder(0, fixtures.back());
    }
    {
        CommManager comm;
        CommManager* previous = CommManager::Install(&comm);
        QTemporaryDir dir;
        ContentLibraryRoot library(dir.path());
        ContentFolder* package = MakePackage(library);
        SilentFeedback feedback;
        double first = 0;
        double second = 0;
        for (auto _ : state) {
            first += Run(package, UidsOf(count), clock.clock(), feedback);
            second += Run(package, UidsOf(count), clock.clock(), feedback);
        }
        bool stored = !feedback.failed;
        for (const auto& fixture : fixtures) {
            const auto kept = fixture->Folders();
            stored = stored && !kept.isEmpty() && kept.last().files.size() == kItems;
        }
        CommManager::Install(previous);
        const double runs = double(state.iterations());
        state.counters["items"] = kItems;
        state.counters["line_s"] = first / runs;
        state.counters["line_s_per_fixture"] = first / runs / count;
        state.counters["again_s"] = second / runs;
        state.counters["ok"] = stored;
        if (!stored) {
            state.SkipWithError("a fixture does not hold the package");
        }
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

BENCHMARK(BM_Clone)
    ->Name("Clone")
    ->ArgName("fixtures")
    ->Arg(1)
    ->Arg(8)
    ->Arg(32)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir data;
    qputenv("AUREL_DATA_DIR", data.path().toUtf8());
    QCoreApplication app(argc, argv);
    NamedPolicies::Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
