#pragma once

#include "core/Date.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace core {

class Clock;

// Waits for a moment of the current clock's time (core::Clock), not for a
// length of time. Everything that happens at a moment (the minute tick of the
// tray title, highlights that move with the hour, grace periods, toasts,
// alerts) waits through this, so that a test drives it with a TestClock
// instead of sleeping:
//
//     core::ClockTimer tick;
//     connect(&tick, &core::ClockTimer::timeout, this, &Thing::refresh);
//     tick.startAt(nextMinute);                       // once; start again for the next
//
//     core::ClockTimer::singleShotAt(deadline, this, [this] { hide(); });
//
//     core::ScopedTestClock clock(start);             // in a test
//     ...; clock.advance(60);                         // fires what fell due, in order
//
// With the system clock a precise QTimer waits; should it fire before the wall
// clock reaches the moment (the clock was set back), it waits again for the
// rest. Monotonic timers stop counting during a suspend, so a moment slept
// through fires late: whoever cares also listens to platform::SystemEvents.
// The clock is the one current when the timer is started. A timer lives on one
// thread, which is also the thread that moves a test clock.
class ClockTimer : public QObject {
    Q_OBJECT

public:
    explicit ClockTimer(QObject* parent = nullptr);
    ~ClockTimer() override;

    // Replaces any earlier start. A moment already past fires on the next turn
    // of the event loop (with a test clock, at its next advance or set).
    void startAt(Date moment);
    void stop();
    bool isActive() const { return m_active; }
    Date moment() const { return m_moment; }

    // Calls `callback` once at `moment`, unless `context` is destroyed first.
    // The returned timer belongs to `context` and deletes itself after firing;
    // deleting it earlier cancels the call.
    static ClockTimer* singleShotAt(Date moment, QObject* context, std::function<void()> callback);

signals:
    void timeout();

private:
    friend class TestClock;
    void armSystemTimer();
    void onSystemTimer();
    // Called by the clock when the moment has come.
    void fire();

    QTimer m_systemTimer;
    Date m_moment;
    bool m_active = false;
    const Clock* m_adoptedBy = nullptr;
};

}  // namespace core
