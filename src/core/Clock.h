#pragma once

#include "core/Date.h"

#include <atomic>

namespace core {

// Where "now" comes from. The application uses the system clock; tests install
// a TestClock so that time-dependent logic is deterministic.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;

    static const Clock& current();
    // Installs a clock; nullptr restores the system clock. The caller keeps ownership.
    static void setCurrent(const Clock* clock);
};

class SystemClock final : public Clock {
public:
    Date now() const override;
};

class TestClock final : public Clock {
public:
    explicit TestClock(Date start = Date(0)) : m_seconds(start.secondsSince1970()) {}
    Date now() const override { return Date(m_seconds.load()); }
    void set(Date date) { m_seconds.store(date.secondsSince1970()); }
    void advance(double seconds);

private:
    std::atomic<double> m_seconds;
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
