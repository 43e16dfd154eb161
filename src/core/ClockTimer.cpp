#include "core/ClockTimer.h"

#include "core/Clock.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {
// QTimer takes an int of milliseconds; a moment further away is waited for in
// steps of a day.
constexpr double kLongestWaitMs = 24.0 * 3600.0 * 1000.0;
// A precise timer may wake a hair before the wall clock shows the moment.
constexpr double kEarlyToleranceSeconds = 0.002;
}  // namespace

ClockTimer::ClockTimer(QObject* parent) : QObject(parent) {
    m_systemTimer.setSingleShot(true);
    m_systemTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_systemTimer, &QTimer::timeout, this, &ClockTimer::onSystemTimer);
}

ClockTimer::~ClockTimer() { stop(); }

void ClockTimer::startAt(Date moment) {
    stop();
    m_moment = moment;
    m_active = true;
    const Clock& clock = Clock::current();
    if (clock.adopt(*this))
        m_adoptedBy = &clock;
    else
        armSystemTimer();
}

void ClockTimer::stop() {
    m_active = false;
    m_systemTimer.stop();
    if (m_adoptedBy) {
        m_adoptedBy->release(*this);
        m_adoptedBy = nullptr;
    }
}

void ClockTimer::armSystemTimer() {
    const double remainingMs = (m_moment - Clock::current().now()) * 1000.0;
    const double wait = std::isfinite(remainingMs) ? std::clamp(std::ceil(remainingMs), 0.0, kLongestWaitMs)
                                                   : (remainingMs > 0 ? kLongestWaitMs : 0.0);
    m_systemTimer.start(static_cast<int>(wait));
}

void ClockTimer::onSystemTimer() {
    if (m_moment - Clock::current().now() > kEarlyToleranceSeconds)
        armSystemTimer();
    else
        fire();
}

void ClockTimer::fire() {
    // Adopted timers were already let go by their clock.
    m_adoptedBy = nullptr;
    m_active = false;
    emit timeout();
}

ClockTimer* ClockTimer::singleShotAt(Date moment, QObject* context, std::function<void()> callback) {
    auto* timer = new ClockTimer(context);
    connect(timer, &ClockTimer::timeout, context, [timer, callback = std::move(callback)] {
        timer->deleteLater();
        callback();
    });
    timer->startAt(moment);
    return timer;
}

}  // namespace core
