#include "Soak.h"

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/ContentAddressOperation.h"
#include "content/operations/ContentCopyOperation.h"
#include "content/operations/ContentDeleteOperation.h"
#include "content/operations/ContentMoveOperation.h"
#include "content/operations/ContentSteps.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/FixtureTrees.h"
#include "content/operations/OperationThread.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "os/Clock.h"
#include "sim/SimLumoFixture.h"
#include "sim/SimOrxFixture.h"
#include "sim/SimulatedPortLayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

using ContentSteps::Children;

constexpr int kStepBoundMs = 120000;  // wall clock: a step that takes longer hangs
constexpr int kClipCount = 6;
constexpr int kFrames = 8;

const Sim::WidgetConfig kLedWidget{"soak-a", Hardware::InterfaceClasses::All()[2], 17, 1, 0};
const Sim::WidgetConfig kTalkBackWidget{"soak-b", Hardware::InterfaceClasses::All()[2], 2, 1, 0};

// What an operation says, kept for the figures.
class StepFeedback : public IFeedback {
public:
    void AddString(QString, FeedbackStatus) override {}
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override { return false; }
};

// A step made of one rename (the operations have no rename of their own).
class RenameOperation : public ContentOperation {
public:
    RenameOperation(ContentBase* item, const QString& name)
        : m_reference(item->Reference()), m_name(name) {}
    QString Title() const override { return "Renaming to " + m_name; }
    bool CanExecute() const override { return true; }
    int Execute(IFeedback* feedback, int) override {
        ContentBase* item = ContentRegistry::Instance().Resolve(m_reference);
        return item ? ContentSteps::Rename(feedback, item, m_name) : Failed;
    }

private:
    quint32 m_reference;
    QString m_name;
};

template <class Image>
std::unique_ptr<Content> Clip(int index) {
    auto image = std::make_unique<Image>();
    image->SetName(QStringLiteral("Clip %1").arg(index));
    image->SetAddress(index);
    std::vector<typename Image::Frame> frames(kFrames);
    for (int f = 0; f < kFrames; ++f) {
        frames[size_t(f)].delay = quint16(30 + f + index);
        frames[size_t(f)].leds.fill(quint8(index * 17 + f));
    }
    image->SetFrames(frames);
    return image;
}

// A folder's listing, one line a child, sorted; with `keys` the items' data keys too.
QString Listing(const ContentFolder* folder, bool keys, int depth = 0) {
    QStringList lines;
    for (const ContentBase* child : Children(folder)) {
        const auto* sub = qobject_cast<const ContentFolder*>(child);
        const auto* item = qobject_cast<const Content*>(child);
        QString line = QStringLiteral("%1%2 %3")
                           .arg(QString(depth * 2, ' '))
                           .arg(child->Address())
                           .arg(child->Name());
        if (keys && item) {
            line += QStringLiteral(" %1").arg(item->ContentKey(), 8, 16, QChar('0'));
        }
        if (const QString below = sub ? Listing(sub, keys, depth + 1) : QString();
            !below.isEmpty()) {
            line += '\n' + below;
        }
        lines.append(line);
    }
    lines.sort();
    return lines.join('\n');
}

// The writable bits of a directory; as the superuser, whom they do not stop, the immutable
// attribute instead.
void SetWritable(const QString& directory, bool writable) {
    QFile::setPermissions(directory, writable
                                         ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                         : QFile::ReadOwner | QFile::ExeOwner);
    QProcess::execute("chattr", {writable ? "-i" : "+i", directory});
}

}  // namespace

struct Soak::Fixture {
    quint64 uid;
    bool marqa;
    int port;
    std::shared_ptr<Sim::SimLumoFixture> sim;
    std::unique_ptr<LumoRDM> device;

    std::unique_ptr<LumoRDM> NewDevice() const {
        std::unique_ptr<LumoRDM> made;
        if (marqa) {
            made = std::make_unique<MarqaRDM>(uid);
        } else {
            made = std::make_unique<SolviRDM>(uid);
        }
        made->SetPort(quint8(port));
        return made;
    }
    // The store as a listing in the form of Listing(): folders, then files with keys.
    QString StoreListing() const {
        QStringList lines;
        for (const Sim::LumoStoredFolder& folder : sim->Folders()) {
            if (folder.number < 41 || folder.number > 250) {
                continue;
            }
            QStringList files;
            for (const Sim::LumoStoredFile& file : folder.files) {
                files.append(QStringLiteral("  %1 %2 %3")
                                 .arg(file.number)
                                 .arg(file.name)
                                 .arg(file.key, 8, 16, QChar('0')));
            }
            files.sort();
            QString line = QStringLiteral("%1 %2").arg(folder.number).arg(folder.name);
            if (!files.isEmpty()) {
                line += '\n' + files.join('\n');
            }
            lines.append(line);
        }
        lines.sort();
        return lines.join('\n');
    }
};

struct Soak::Action {
    const char* name;
    std::unique_ptr<ContentOperation> (Soak::*make)();
    bool library;  // it changes only the library, so a failure must leave the library alone
};

struct Soak::Fault {
    const char* name;
    std::function<void(Soak&, Fixture&)> apply;
};

Soak::Soak(quint32 seed) : m_random(seed) {
    Hardware::Log::Hardware().SetLevel(Os::Log::Level::Error);
    qputenv("AUREL_DATA_DIR", m_dir.filePath("data").toUtf8());
    NamedPolicies::Register();
    BuildRig();
    BuildLibrary();
}

Soak::~Soak() {
    SetWritable(m_dir.filePath("lib/MarqaShow/Back"), true);
    SetWritable(m_dir.filePath("lib/SolviShow/Back"), true);
    m_fixtures.clear();
    CommManager::Install(m_previousComm);
    m_comm.reset();
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}

int Soak::Random(int below) {
    return below <= 1 ? 0 : int(m_random() % quint32(below));
}

void Soak::BuildRig() {
    m_clock = std::make_unique<Os::ScopedVirtualClock>();
    auto layer = std::make_unique<Sim::SimulatedPortLayer>();
    m_layer = layer.get();
    Hardware::PortLayer::Install(std::move(layer));
    m_widget = m_layer->Plug(kLedWidget);
    const struct {
        quint64 uid;
        bool marqa;
        int port;
    } kFixtures[] = {{0x43560000D001ULL, true, 0},
                     {0x43560000D002ULL, true, 0},
                     {0x43560000D003ULL, false, 1},
                     {0x43560000D004ULL, false, 1},
                     {0x43560000D005ULL, true, 2}};
    for (const auto& row : kFixtures) {
        Sim::RdmResponderConfig rdm;
        rdm.uid = row.uid;
        rdm.modelDescription = row.marqa ? "MARQA" : "Solvi";
        auto fixture = std::make_unique<Fixture>(
            Fixture{row.uid, row.marqa, row.port,
                    std::make_shared<Sim::SimLumoFixture>(rdm, Sim::LumoFixtureConfig{}), nullptr});
        m_widget->AttachResponder(row.port, fixture->sim);
        m_fixtures.push_back(std::move(fixture));
    }
    Sim::OrxFixtureConfig talkBack;
    talkBack.id = 0xA1B2C3;
    m_layer->Plug(kTalkBackWidget)
        ->AttachResponder(0, std::make_shared<Sim::SimOrxFixture>(talkBack));
    m_comm = std::make_unique<CommManager>();
    m_previousComm = CommManager::Install(m_comm.get());
    for (const auto& fixture : m_fixtures) {
        fixture->device = fixture->NewDevice();
        StepFeedback quiet;
        ReadFixtureTree(fixture->device.get(), &quiet);
    }
}

void Soak::BuildLibrary() {
    m_library = std::make_unique<ContentLibraryRoot>(m_dir.filePath("lib"));
    for (const bool marqa : {true, false}) {
        const QString name = marqa ? "MarqaShow" : "SolviShow";
        m_library->AddFolder(name, 0, nullptr);
        auto* package =
            qobject_cast<ContentLibraryPackage*>(m_library->Child(m_library->ChildCount() - 1));
        package->HandDownPolicy(marqa ? &NamedPolicies::MarqaContentPackage()
                                      : &NamedPolicies::SolviContentPackage());
        package->AddFolder("Clips", 41, nullptr);
        package->AddFolder("Work", 42, nullptr);
        package->AddFolder("Back", 43, nullptr);
        ContentFolder* clips = LibraryFolder(marqa, "Clips");
        for (int i = 1; i <= kClipCount; ++i) {
            ContentList items;
            items.push_back(marqa ? Clip<MarqaImage>(i) : Clip<SolviImage>(i));
            clips->AddContent(std::move(items), nullptr);
        }
    }
}

ContentFolder* Soak::LibraryFolder(bool marqa, const QString& name) const {
    for (ContentBase* package : Children(m_library.get())) {
        if (package->Name() != (marqa ? "MarqaShow" : "SolviShow")) {
            continue;
        }
        for (ContentBase* folder : Children(qobject_cast<ContentFolder*>(package))) {
            if (folder->Name() == name) {
                return qobject_cast<ContentFolder*>(folder);
            }
        }
    }
    return nullptr;
}

Soak::Fixture& Soak::AnyFixture() {
    return *m_fixtures[size_t(Random(int(m_fixtures.size())))];
}

namespace {

template <class T>
T* Pick(const QList<T*>& list, std::function<int(int)> random) {
    return list.isEmpty() ? nullptr : list[random(int(list.size()))];
}

QList<ContentBase*> ItemsOf(const ContentFolder* group) {
    QList<ContentBase*> items;
    for (ContentBase* folder : Children(group)) {
        items += Children(qobject_cast<ContentFolder*>(folder));
    }
    return items;
}

}  // namespace

std::unique_ptr<ContentOperation> Soak::CopyToFixture() {
    Fixture& fixture = AnyFixture();
    ContentFolder* user = fixture.device->GetContentRoot()->UserGroup();
    ContentFolder* clips = LibraryFolder(fixture.marqa, "Clips");
    const auto random = [this](int n) { return Random(n); };
    QList<ContentFolder*> folders;
    for (ContentBase* folder : Children(user)) {
        folders.append(qobject_cast<ContentFolder*>(folder));
    }
    if (folders.isEmpty() || Random(3) == 0) {
        return std::make_unique<ContentCopyOperation>(QList<ContentBase*>{clips}, user);
    }
    QList<ContentBase*> items;
    for (int n = 1 + Random(3); n > 0; --n) {
        items.append(Pick(Children(clips), random));
    }
    return std::make_unique<ContentCopyOperation>(items, Pick(folders, random));
}

std::unique_ptr<ContentOperation> Soak::CopyFromFixture() {
    Fixture& fixture = AnyFixture();
    ContentBase* item = Pick(ItemsOf(fixture.device->GetContentRoot()->UserGroup()),
                             std::function<int(int)>([this](int n) { return Random(n); }));
    if (!item) {
        return nullptr;
    }
    return std::make_unique<ContentCopyOperation>(QList<ContentBase*>{item},
                                                  LibraryFolder(fixture.marqa, "Back"));
}

std::unique_ptr<ContentOperation> Soak::RenameOnFixture() {
    Fixture& fixture = AnyFixture();
    const QList<ContentBase*> items = ItemsOf(fixture.device->GetContentRoot()->UserGroup());
    ContentBase* item = Pick(items, std::function<int(int)>([this](int n) { return Random(n); }));
    if (!item) {
        return nullptr;
    }
    if (Random(2) == 0) {
        return std::make_unique<ContentAddressOperation>(
            QList<ContentBase*>{item}, ContentAddressOperation::Set, 1 + Random(12));
    }
    return std::make_unique<RenameOperation>(item, QStringLiteral("Name %1").arg(Random(20)));
}

std::unique_ptr<ContentOperation> Soak::MoveOnFixture() {
    Fixture& fixture = AnyFixture();
    ContentFolder* user = fixture.device->GetContentRoot()->UserGroup();
    const auto random = std::function<int(int)>([this](int n) { return Random(n); });
    ContentBase* item = Pick(ItemsOf(user), random);
    auto* target = qobject_cast<ContentFolder*>(Pick(Children(user), random));
    if (!item || !target || item->Parent() == target) {
        return nullptr;
    }
    return std::make_unique<ContentMoveOperation>(QList<ContentBase*>{item}, target);
}

std::unique_ptr<ContentOperation> Soak::DeleteOnFixture() {
    Fixture& fixture = AnyFixture();
    ContentFolder* user = fixture.device->GetContentRoot()->UserGroup();
    const auto random = std::function<int(int)>([this](int n) { return Random(n); });
    ContentBase* target =
        Random(4) == 0 ? Pick(Children(user), random) : Pick(ItemsOf(user), random);
    if (!target) {
        return nullptr;
    }
    return std::make_unique<ContentDeleteOperation>(QList<ContentBase*>{target});
}

std::unique_ptr<ContentOperation> Soak::Clone() {
    Fixture& source = AnyFixture();
    QList<ContentFolder*> locations;
    for (const auto& fixture : m_fixtures) {
        if (fixture.get() != &source && fixture->marqa == source.marqa) {
            locations.append(fixture->device->GetContentRoot()->UserGroup());
        }
    }
    ContentFolder* from = Random(2) == 0 ? source.device->GetContentRoot()->UserGroup()
                                         : LibraryFolder(source.marqa, "Clips")->Parent();
    auto sync = std::make_unique<ContentSyncOperation>(from, locations);
    sync->SetAggregators(LumoRDMContentFolderAggregator::Families());
    return sync;
}

std::unique_ptr<ContentOperation> Soak::LibraryEdit() {
    const bool marqa = Random(2) == 0;
    ContentFolder* work = LibraryFolder(marqa, "Work");
    ContentFolder* back = LibraryFolder(marqa, "Back");
    const auto random = std::function<int(int)>([this](int n) { return Random(n); });
    switch (Random(4)) {
        case 0:
            return std::make_unique<ContentCopyOperation>(
                QList<ContentBase*>{Pick(Children(LibraryFolder(marqa, "Clips")), random)}, work);
        case 1:
            if (ContentBase* item = Pick(Children(work), random)) {
                return std::make_unique<RenameOperation>(item,
                                                         QStringLiteral("Work %1").arg(Random(9)));
            }
            return nullptr;
        case 2:
            if (ContentBase* item = Pick(Children(Random(2) ? work : back), random)) {
                return std::make_unique<ContentMoveOperation>(QList<ContentBase*>{item},
                                                              item->Parent() == work ? back : work);
            }
            return nullptr;
        default:
            if (ContentBase* item = Pick(Children(Random(2) ? work : back), random)) {
                return std::make_unique<ContentDeleteOperation>(QList<ContentBase*>{item});
            }
            return nullptr;
    }
}

void Soak::ReplugWidget() {
    m_layer->Unplug(kLedWidget.name);
    QTimer::singleShot(2, [this] {
        m_widget = m_layer->Plug(kLedWidget);
        for (const auto& fixture : m_fixtures) {
            m_widget->AttachResponder(fixture->port, fixture->sim);
        }
        m_replugging = false;
    });
}

bool Soak::Execute(ContentOperation& operation, int* result, double* lineSeconds) {
    const qint64 start = m_clock->clock().NowMicros();
    StepFeedback feedback;
    if (m_replugPending) {
        m_replugging = true;
        QTimer::singleShot(1 + Random(4), [this] { ReplugWidget(); });
    }
    const bool ended = RunOnOwnThread(
        [&] { *result = operation.Execute(&feedback, ContentOperation::kStopOnFailure); },
        kStepBoundMs);
    // A replug still under way ends before anything is checked.
    while (m_replugging) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    *lineSeconds = double(m_clock->clock().NowMicros() - start) / 1e6;
    return ended;
}

QString Soak::LibrarySnapshot(ContentFolder* folder) const {
    return Listing(folder, false);
}

int Soak::CheckUnchanged(const QString& before, const QString& after, const QString& what) {
    if (before == after) {
        return 0;
    }
    std::printf("violation at %s: the failed step changed %s\n", qPrintable(m_step),
                qPrintable(what));
    return 1;
}

int Soak::CheckLibrary() {
    const ContentLibraryRoot onDisk(m_dir.filePath("lib"));
    const QString tree = Listing(m_library.get(), false);
    const QString disk = Listing(&onDisk, false);
    if (tree == disk) {
        return 0;
    }
    std::printf(
        "violation at %s: the library on disk differs from its tree\n--- tree\n%s\n--- disk\n%s\n",
        qPrintable(m_step), qPrintable(tree), qPrintable(disk));
    return 1;
}

int Soak::CheckFixtures() {
    int violations = 0;
    StepFeedback quiet;
    for (const auto& fixture : m_fixtures) {
        // A rediscovery: new device objects read the fixture's content again.
        std::unique_ptr<LumoRDM> fresh = fixture->NewDevice();
        LumoRDMContentRoot* root = ReadFixtureTree(fresh.get(), &quiet);
        const QString tree = root ? Listing(root->UserGroup(), true) : QStringLiteral("(unread)");
        const QString store = fixture->StoreListing();
        if (tree != store) {
            std::printf("violation at %s: %s holds\n%s\nbut reads as\n%s\n", qPrintable(m_step),
                        qPrintable(fresh->UidText()), qPrintable(store), qPrintable(tree));
            ++violations;
        }
        fixture->device = std::move(fresh);
    }
    return violations;
}

Soak::Figures Soak::Run(int steps) {
    static const Action kActions[] = {
        {"copy to a fixture", &Soak::CopyToFixture, false},
        {"copy from a fixture", &Soak::CopyFromFixture, true},
        {"rename on a fixture", &Soak::RenameOnFixture, false},
        {"move on a fixture", &Soak::MoveOnFixture, false},
        {"delete on a fixture", &Soak::DeleteOnFixture, false},
        {"clone", &Soak::Clone, false},
        {"library edit", &Soak::LibraryEdit, true},
    };
    static const Fault kFaults[] = {
        {"dropped replies", [](Soak&, Fixture& f) { f.sim->SetFaults({.dropEvery = 3}); }},
        {"corrupt replies", [](Soak&, Fixture& f) { f.sim->SetFaults({.corruptChecksum = true}); }},
        {"busy replies", [](Soak&, Fixture& f) { f.sim->SetFaults({.busyCount = 3}); }},
        {"ACK_TIMER replies",
         [](Soak&, Fixture& f) { f.sim->SetFaults({.ackTimerCount = 2, .ackTimerEstimate = 3}); }},
        {"aborted transfer", [](Soak&, Fixture& f) { f.sim->SetLumoFaults({.abortAtBlock = 0}); }},
        {"stalled transfer",
         [](Soak&, Fixture& f) { f.sim->SetLumoFaults({.silentAfterBlock = 0}); }},
        {"refused download packets",
         [](Soak&, Fixture& f) { f.sim->SetLumoFaults({.nackDownloadCount = 3}); }},
        {"widget unplugged and replugged", [](Soak& s, Fixture&) { s.m_replugPending = true; }},
        {"disk write fails",
         [](Soak& s, Fixture&) {
             SetWritable(s.m_dir.filePath("lib/MarqaShow/Back"), false);
             SetWritable(s.m_dir.filePath("lib/SolviShow/Back"), false);
             s.m_diskLocked = true;
         }},
    };
    Figures figures;
    for (int step = 1; step <= steps; ++step) {
        const Action& action = kActions[Random(int(std::size(kActions)))];
        const Fault* fault = Random(3) == 0 ? &kFaults[Random(int(std::size(kFaults)))] : nullptr;
        std::unique_ptr<ContentOperation> operation = (this->*action.make)();
        m_step = QStringLiteral("step %1 (%2%3)")
                     .arg(step)
                     .arg(QLatin1String(action.name))
                     .arg(fault ? QStringLiteral(", ") + QLatin1String(fault->name) : QString());
        if (!operation) {
            continue;
        }
        Fixture& faulty = AnyFixture();
        if (fault) {
            fault->apply(*this, faulty);
            ++figures.faults;
        }
        const QString before = LibrarySnapshot(m_library.get());
        int result = ContentOperation::Failed;
        double seconds = 0;
        const bool ended = Execute(*operation, &result, &seconds);
        ++figures.operations;
        // The faults end with the step.
        m_replugPending = false;
        faulty.sim->SetFaults({});
        faulty.sim->SetLumoFaults({});
        if (m_diskLocked) {
            SetWritable(m_dir.filePath("lib/MarqaShow/Back"), true);
            SetWritable(m_dir.filePath("lib/SolviShow/Back"), true);
            m_diskLocked = false;
        }
        if (!ended) {
            std::printf("violation at %s: it did not end within %d s\n", qPrintable(m_step),
                        kStepBoundMs / 1000);
            ++figures.violations;
            figures.hung = true;
            break;
        }
        if (seconds > figures.longestStepSeconds) {
            figures.longestStepSeconds = seconds;
            figures.longestStep = m_step;
        }
        if (result != ContentOperation::Succeeded) {
            ++figures.failed;
            if (action.library) {
                figures.violations +=
                    CheckUnchanged(before, LibrarySnapshot(m_library.get()), "the library");
            }
        }
        figures.violations += CheckLibrary() + CheckFixtures();
    }
    return figures;
}
