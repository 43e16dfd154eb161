#include "core/Clock.h"

#include "core/ClockTimer.h"
#include "core/Log.h"

#include <algorithm>
#include <chrono>

namespace core {
namespace {
const SystemClock systemClock;
std::atomic<const Clock*> installed{nullptr};

// A timer that starts itself again for a moment already reached would keep
// advance() busy for ever; past this many firings in one call it stops.
constexpr int kMaxFiringsPerMove = 100000;
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

TestClock::~TestClock() {
    for (const Waiting& waiting : m_timers) {
        waiting.timer->m_adoptedBy = nullptr;
        waiting.timer->m_active = false;
    }
}

bool TestClock::adopt(ClockTimer& timer) const {
    m_timers.push_back({&timer, m_nextOrder++});
    return true;
}

void TestClock::release(ClockTimer& timer) const {
    std::erase_if(m_timers, [&](const Waiting& waiting) { return waiting.timer == &timer; });
}

void TestClock::advance(double seconds) {
    const Date target = now() + seconds;
    if (seconds >= 0)
        fireDue(target, true);
    m_seconds.store(target.secondsSince1970());
}

void TestClock::set(Date date) {
    const bool forward = date > now();
    m_seconds.store(date.secondsSince1970());
    if (forward)
        fireDue(date, false);
}

void TestClock::fireDue(Date until, bool step) {
    for (int firings = 0; firings < kMaxFiringsPerMove; ++firings) {
        const auto next = std::min_element(m_timers.begin(), m_timers.end(), [](const Waiting& a, const Waiting& b) {
            const Date ma = a.timer->moment();
            const Date mb = b.timer->moment();
            return ma < mb || (ma == mb && a.order < b.order);
        });
        if (next == m_timers.end() || next->timer->moment() > until)
            return;
        ClockTimer* timer = next->timer;
        m_timers.erase(next);
        if (step && timer->moment() > now())
            m_seconds.store(timer->moment().secondsSince1970());
        timer->fire();
    }
    log(QStringLiteral("test clock: a timer keeps starting itself for moments already reached; stopped firing"));
}

ScopedTestClock::ScopedTestClock(Date start) : m_clock(start), m_previous(installed.load()) {
    Clock::setCurrent(&m_clock);
}

ScopedTestClock::~ScopedTestClock() { Clock::setCurrent(m_previous); }

}  // namespace core
