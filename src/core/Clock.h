#pragma once

#include "core/Date.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace core {

class ClockTimer;

// Where "now" comes from. The application uses the system clock; tests install
// a TestClock so that time-dependent logic is deterministic. Waiting for a
// moment of this time goes through ClockTimer (core/ClockTimer.h), which the
// test clock fires as a test moves it on.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;

    static const Clock& current();
    // Installs a clock; nullptr restores the system clock. The caller keeps ownership.
    static void setCurrent(const Clock* clock);

private:
    friend class ClockTimer;
    // The test clock keeps the timers that wait on it; every other clock leaves
    // them to a system timer (false).
    virtual bool adopt(ClockTimer& /*timer*/) const { return false; }
    virtual void release(ClockTimer& /*timer*/) const {}
};

class SystemClock final : public Clock {
public:
    Date now() const override;
};

// A clock that stands still until the test moves it. Timers waiting on it fire
// from inside advance() and set(), on the calling thread, in the order of
// their moments (the earlier started first among equal moments).
class TestClock final : public Clock {
public:
    explicit TestClock(Date start = Date(0)) : m_seconds(start.secondsSince1970()) {}
    ~TestClock() override;
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    Date now() const override { return Date(m_seconds.load()); }
    // Time passes: each timer due on the way fires with now() at its own moment,
    // so a timer that starts itself again for a later moment fires again too.
    // advance(0) fires what is due now; going back fires nothing.
    void advance(double seconds);
    // The clock jumps, as a wall clock does after a suspend or when it is set:
    // every timer due by then fires with now() already at `date`. Backwards fires nothing.
    void set(Date date);

    // Timers waiting on this clock now.
    int pendingTimers() const { return static_cast<int>(m_timers.size()); }

private:
    struct Waiting {
        ClockTimer* timer;
        std::uint64_t order;
    };

    bool adopt(ClockTimer& timer) const override;
    void release(ClockTimer& timer) const override;
    // Fires what is due at or before `until`; `step` moves now() to each moment first.
    void fireDue(Date until, bool step);

    std::atomic<double> m_seconds;
    // Main thread only, like the timers.
    mutable std::vector<Waiting> m_timers;
    mutable std::uint64_t m_nextOrder = 0;
};

// Installs a TestClock for the lifetime of the guard.
class ScopedTestClock {
public:
    explicit ScopedTestClock(Date start);
    ~ScopedTestClock();
    ScopedTestClock(const ScopedTestClock&) = delete;
    ScopedTestClock& operator=(const ScopedTestClock&) = delete;

    TestClock& clock() { return m_clock; }
    void set(Date date) { m_clock.set(date); }
    void advance(double seconds) { m_clock.advance(seconds); }

private:
    TestClock m_clock;
    const Clock* m_previous;
};

}  // namespace core
