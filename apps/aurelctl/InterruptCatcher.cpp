#include "InterruptCatcher.h"

#include <csignal>

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted = true;
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
    g_interrupted = false;
    m_previous = std::signal(SIGINT, &OnInterrupt);
}

InterruptCatcher::~InterruptCatcher() {
    std::signal(SIGINT, m_previous);
}

bool InterruptCatcher::Interrupted() {
    return g_interrupted.load();
}
