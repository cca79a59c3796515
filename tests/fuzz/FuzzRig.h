#pragma once

#include "ScriptedLine.h"

#include "comm/CommManager.h"
#include "os/Clock.h"
#include "sim/SimWidget.h"

#include <QCoreApplication>

#include <memory>

// The rig a fuzz target talks to: a one-port simulated widget whose line answers from the
// input (ScriptedLine), a command manager of its own and the virtual clock, so protocol waits
// cost nothing. Made on first use and kept for the process.
class FuzzRig {
public:
    static FuzzRig& Instance();

    // Starts a new input: the line answers from it.
    ScriptedLine& Script(const uint8_t* data, size_t size);

private:
    FuzzRig();

    int m_argc = 1;
    char m_name[8] = "fuzz";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app;
    Os::VirtualClock m_clock;
    std::shared_ptr<Sim::SimWidget> m_widget;
    std::shared_ptr<ScriptedLine> m_line;
    std::unique_ptr<CommManager> m_comm;
};
