#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace Os {

// The one source of time for protocol code: monotonic time and waits.
// The real clock sleeps; the virtual clock (tests, in-process rigs) advances at once,
// so a protocol that waits seconds costs no real time.
class Clock {
public:
    virtual ~Clock() = default;

    virtual qint64 NowMicros() const = 0;
    virtual void WaitMicros(qint64 micros) = 0;

    qint64 NowMs() const { return NowMicros() / 1000; }
    void Wait(qint64 ms) { WaitMicros(ms * 1000); }

    // The installed clock, the real one unless a virtual clock was installed.
    static Clock& Instance();
    // Installs a clock for the whole process; nullptr restores the real clock.
    // The caller keeps ownership and must keep the clock alive while installed.
    // Returns the clock installed before (nullptr for the real clock).
    static Clock* Install(Clock* clock);
};

class RealClock final : public Clock {
public:
    qint64 NowMicros() const override;
    void WaitMicros(qint64 micros) override;
};

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(qint64 startMicros = 0) : m_now(startMicros) {}

    qint64 NowMicros() const override { return m_now.load(); }
    void WaitMicros(qint64 micros) override { Advance(micros); }
    void Advance(qint64 micros);

private:
    std::atomic<qint64> m_now;
};

// Lets another thread cut short the clock waits of one thread: the thread attaches it while it
// runs, and Break() ends the wait it is in and every later one at once. The command worker
// holds one, so stopping it never waits out a fixture's "ask me again in 10 minutes".
class WaitBreaker {
public:
    WaitBreaker() = default;
    WaitBreaker(const WaitBreaker&) = delete;
    WaitBreaker& operator=(const WaitBreaker&) = delete;

    // From any thread.
    void Break();
    bool Broken() const;

    // Attaches the breaker to the calling thread for the scope's lifetime.
    class Attach {
    public:
        explicit Attach(WaitBreaker& breaker);
        ~Attach();
        Attach(const Attach&) = delete;
        Attach& operator=(const Attach&) = delete;

    private:
        WaitBreaker* m_previous;
    };

    // The breaker attached to the calling thread, or null.
    static WaitBreaker* Current();
    // Sleeps until `until` or until broken.
    void WaitUntil(std::chrono::steady_clock::time_point until);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_broken = false;
};

// Installs a virtual clock for the lifetime of the scope.
class ScopedVirtualClock {
public:
    ScopedVirtualClock();
    ~ScopedVirtualClock();
    ScopedVirtualClock(const ScopedVirtualClock&) = delete;
    ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;

    VirtualClock& clock() { return m_clock; }

private:
    VirtualClock m_clock;
    Clock* m_previous;
};

}  // namespace Os
