// aurel-soak: a long random run of content operations against a misbehaving simulated rig.
//   aurel-soak [--seed N] [--steps N]

#include "Soak.h"

#include "comm/UserNotice.h"
#include "lumo/devices/LumoFamily.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The boxes the program would show, counted instead.
class CountedNotice : public UserNotice {
public:
    void Show(const QString&) override { ++shown; }
    int shown = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Runs random content operations (uploads, downloads, renames, moves, deletes, clones,\n"
        "library edits) against a simulated rig while it injects faults, and checks after each\n"
        "step that nothing was lost: the library on disk equals its tree, and each fixture's\n"
        "store equals what a new reading of it shows.");
    parser.addHelpOption();
    parser.addOptions({{"seed", "The seed of the random choices.", "N", "1"},
                       {"steps", "The number of steps.", "N", "200"}});
    parser.process(app);
    bool seedOk = false;
    bool stepsOk = false;
    const quint32 seed = parser.value("seed").toUInt(&seedOk);
    const int steps = parser.value("steps").toInt(&stepsOk);
    if (!seedOk || !stepsOk || steps < 1) {
        std::fprintf(stderr, "aurel-soak: --seed and --steps take whole numbers\n");
        return 2;
    }
    LumoFamily::RegisterAll();
    CountedNotice notices;
    UserNotice::Install(&notices, &app);
    auto soak = std::make_unique<Soak>(seed);
    const Soak::Figures figures = soak->Run(steps);
    std::printf("seed %u, %d steps\n", seed, steps);
    std::printf("operations run:       %d (%d reported a failure)\n", figures.operations,
                figures.failed);
    std::printf("faults injected:      %d\n", figures.faults);
    std::printf("invariant violations: %d\n", figures.violations);
    std::printf("messages to the user: %d\n", notices.shown);
    std::printf("longest step:         %.1f s of line time (%s)\n", figures.longestStepSeconds,
                qPrintable(figures.longestStep));
    std::fflush(stdout);
    if (figures.hung) {
        std::_Exit(1);  // the step that hangs still runs: nothing can be taken down safely
    }
    soak.reset();
    return figures.violations == 0 ? 0 : 1;
}
