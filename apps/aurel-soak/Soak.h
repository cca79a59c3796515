#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <random>
#include <vector>

class CommManager;
class ContentFolder;
class ContentLibraryRoot;
class ContentOperation;
class LumoRDM;

namespace Os {
class ScopedVirtualClock;
}
namespace Sim {
class SimLumoFixture;
class SimulatedPortLayer;
class SimWidget;
}  // namespace Sim

// A long random run of content operations against a simulated rig of LED fixtures of both
// families (and a talk-back fixture on a second widget) while the rig misbehaves, checking
// after every step that nothing was lost or left inconsistent. The same seed makes the same
// choices.
class Soak {
public:
    struct Figures {
        int operations = 0;
        int failed = 0;  // operations that reported a failure (faults make many)
        int faults = 0;  // faults injected
        int violations = 0;
        double longestStepSeconds = 0;  // the longest step, in line time
        QString longestStep;
        bool hung = false;  // a step did not end: the run stopped there
    };

    explicit Soak(quint32 seed);
    ~Soak();
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    // Runs the steps; every violation is printed as it is found.
    Figures Run(int steps);

private:
    struct Fixture;
    struct Action;
    struct Fault;

    void BuildRig();
    void BuildLibrary();
    void ReplugWidget();

    // Content operations, one of each kind, on random targets (null when none fits now).
    std::unique_ptr<ContentOperation> CopyToFixture();
    std::unique_ptr<ContentOperation> CopyFromFixture();
    std::unique_ptr<ContentOperation> RenameOnFixture();
    std::unique_ptr<ContentOperation> MoveOnFixture();
    std::unique_ptr<ContentOperation> DeleteOnFixture();
    std::unique_ptr<ContentOperation> Clone();
    std::unique_ptr<ContentOperation> LibraryEdit();

    // Runs one operation as the operation dialog does; false when it did not end in time.
    bool Execute(ContentOperation& operation, int* result, double* lineSeconds);

    // Invariants; each returns the violations it printed.
    int CheckLibrary();
    int CheckFixtures();
    int CheckUnchanged(const QString& before, const QString& after, const QString& what);

    QString LibrarySnapshot(ContentFolder* folder) const;
    Fixture& AnyFixture();
    ContentFolder* LibraryFolder(bool marqa, const QString& name) const;
    int Random(int below);

    std::mt19937 m_random;
    QTemporaryDir m_dir;
    std::unique_ptr<Os::ScopedVirtualClock> m_clock;
    Sim::SimulatedPortLayer* m_layer = nullptr;  // owned by the port layer slot
    std::shared_ptr<Sim::SimWidget> m_widget;
    std::unique_ptr<CommManager> m_comm;
    CommManager* m_previousComm = nullptr;
    std::vector<std::unique_ptr<Fixture>> m_fixtures;
    std::unique_ptr<ContentLibraryRoot> m_library;
    bool m_replugPending = false;
    bool m_replugging = false;
    bool m_diskLocked = false;  // the library's Back folders refuse writes
    QString m_step;
};
