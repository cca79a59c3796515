#pragma once

#include <atomic>

// Ctrl+C asks the running work to stop between its steps while a catcher is alive; the
// previous handler comes back when it goes.
class InterruptCatcher {
public:
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    // True once Ctrl+C was pressed while a catcher was alive.
    static bool Interrupted();

private:
    void (*m_previous)(int) = nullptr;
};
