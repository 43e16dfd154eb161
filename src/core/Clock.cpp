#include "core/Clock.h"

#include <chrono>

namespace core {
namespace {
const SystemClock systemClock;
std::atomic<const Clock*> installed{nullptr};
}  // namespace

const Clock& Clock::current() {
    const Clock* clock = installed.load(std::memory_order_acquire);
    return clock ? *clock : systemClock;
}

void Clock::setCurrent(const Clock* clock) { installed.store(clock, std::memory_order_release); }

Date SystemClock::now() const {
    using namespace std::chrono;
    const auto micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return Date(static_cast<double>(micros) / 1e6);
}

void TestClock::advance(double seconds) {
    double current = m_seconds.load();
    while (!m_seconds.compare_exchange_weak(current, current + seconds)) {
    }
}

ScopedTestClock::ScopedTestClock(Date start) : m_clock(start), m_previous(installed.load()) {
    Clock::setCurrent(&m_clock);
}

ScopedTestClock::~ScopedTestClock() { Clock::setCurrent(m_previous); }

}  // namespace core
