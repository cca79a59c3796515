#include "os/Clock.h"

#include <chrono>
#include <thread>
#include <utility>

namespace Os {

namespace {

RealClock& TheRealClock() {
    static RealClock clock;
    return clock;
}

std::atomic<Clock*> g_installed{nullptr};
thread_local WaitBreaker* t_breaker = nullptr;

}  // namespace

Clock& Clock::Instance() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock ? *clock : TheRealClock();
}

Clock* Clock::Install(Clock* clock) {
    return g_installed.exchange(clock, std::memory_order_acq_rel);
}

qint64 RealClock::NowMicros() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::WaitMicros(qint64 micros) {
    if (micros <= 0) {
        return;
    }
    // sleep_until on the steady clock does not drift when the sleep is cut short.
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(micros);
    if (WaitBreaker* breaker = WaitBreaker::Current()) {
        breaker->WaitUntil(until);
        return;
    }
    std::this_thread::sleep_until(until);
}

void WaitBreaker::Break() {
    const std::lock_guard lock(m_mutex);
    m_broken = true;
    m_wake.notify_all();
}

bool WaitBreaker::Broken() const {
    const std::lock_guard lock(m_mutex);
    return m_broken;
}

WaitBreaker::Attach::Attach(WaitBreaker& breaker)
    : m_previous(std::exchange(t_breaker, &breaker)) {}

WaitBreaker::Attach::~Attach() {
    t_breaker = m_previous;
}

WaitBreaker* WaitBreaker::Current() {
    return t_breaker;
}

void WaitBreaker::WaitUntil(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_until(lock, until, [this] { return m_broken; });
}

void VirtualClock::Advance(qint64 micros) {
    if (micros > 0) {
        m_now.fetch_add(micros);
    }
}

ScopedVirtualClock::ScopedVirtualClock() : m_previous(Clock::Install(&m_clock)) {}

ScopedVirtualClock::~ScopedVirtualClock() {
    Clock::Install(m_previous);
}

}  // namespace Os
