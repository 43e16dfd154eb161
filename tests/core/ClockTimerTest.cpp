#include "core/Clock.h"
#include "core/ClockTimer.h"

#include "EventLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using core::ClockTimer;
using core::Date;

const Date kStart(1'700'000'000);

TEST(ClockTimerOnTestClock, FiresInOrderOfMomentsWithNowAtEachMoment) {
    core::ScopedTestClock clock(kStart);
    ClockTimer late;
    ClockTimer early;
    ClockTimer tied;
    std::vector<std::pair<int, double>> fired;
    QObject::connect(&late, &ClockTimer::timeout, [&] { fired.push_back({3, Date::now() - kStart}); });
    QObject::connect(&early, &ClockTimer::timeout, [&] { fired.push_back({1, Date::now() - kStart}); });
    QObject::connect(&tied, &ClockTimer::timeout, [&] { fired.push_back({2, Date::now() - kStart}); });
    late.startAt(kStart + 30);
    early.startAt(kStart + 10);
    tied.startAt(kStart + 10);

    clock.advance(9.5);
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(early.isActive());
    clock.advance(15);
    ASSERT_EQ(fired.size(), 2U);
    EXPECT_EQ(fired[0], std::make_pair(1, 10.0));
    EXPECT_EQ(fired[1], std::make_pair(2, 10.0));  // same moment: the one started first fires first
    EXPECT_FALSE(early.isActive());
    EXPECT_EQ(Date::now(), kStart + 24.5);
    clock.advance(100);
    ASSERT_EQ(fired.size(), 3U);
    EXPECT_EQ(fired[2], std::make_pair(3, 30.0));
    EXPECT_EQ(clock.clock().pendingTimers(), 0);
}

TEST(ClockTimerOnTestClock, ATimerThatStartsItselfAgainFiresAtEveryMomentPassed) {
    core::ScopedTestClock clock(kStart + 5);
    ClockTimer minute;
    std::vector<double> ticks;
    QObject::connect(&minute, &ClockTimer::timeout, [&] {
        ticks.push_back(Date::now() - kStart);
        minute.startAt(Date::now() + 60);
    });
    minute.startAt(kStart + 60);
    clock.advance(200);
    EXPECT_EQ(ticks, (std::vector<double>{60, 120, 180}));
    EXPECT_EQ(minute.moment(), kStart + 240);
}

TEST(ClockTimerOnTestClock, AJumpFiresWhatFellDueOnceWithNowAlreadyThere) {
    core::ScopedTestClock clock(kStart);
    ClockTimer minute;
    std::vector<double> ticks;
    QObject::connect(&minute, &ClockTimer::timeout, [&] {
        ticks.push_back(Date::now() - kStart);
        minute.startAt(Date::now() + 60);
    });
    minute.startAt(kStart + 60);
    clock.set(kStart - 3600);  // backwards: nothing is due
    EXPECT_TRUE(ticks.empty());
    clock.set(kStart + 8 * 3600);  // a night asleep
    EXPECT_EQ(ticks, (std::vector<double>{8 * 3600}));
    EXPECT_EQ(minute.moment(), kStart + 8 * 3600 + 60);
}

TEST(ClockTimerOnTestClock, StoppedOrDestroyedTimersAndGoneContextsNeverFire) {
    core::ScopedTestClock clock(kStart);
    int calls = 0;
    ClockTimer stopped;
    QObject::connect(&stopped, &ClockTimer::timeout, [&] { ++calls; });
    stopped.startAt(kStart + 1);
    stopped.stop();
    {
        ClockTimer destroyed;
        QObject::connect(&destroyed, &ClockTimer::timeout, [&] { ++calls; });
        destroyed.startAt(kStart + 1);
    }
    auto context = std::make_unique<QObject>();
    ClockTimer::singleShotAt(kStart + 1, context.get(), [&] { ++calls; });
    context.reset();
    auto cancelledContext = std::make_unique<QObject>();
    delete ClockTimer::singleShotAt(kStart + 1, cancelledContext.get(), [&] { ++calls; });

    clock.advance(10);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(clock.clock().pendingTimers(), 0);
}

TEST(ClockTimerOnTestClock, SingleShotFiresOnceAndAMomentAlreadyPastFiresAtTheNextMove) {
    core::ScopedTestClock clock(kStart);
    QObject context;
    int calls = 0;
    ClockTimer::singleShotAt(kStart - 5, &context, [&] { ++calls; });
    EXPECT_EQ(calls, 0);
    clock.advance(0);
    EXPECT_EQ(calls, 1);
    clock.advance(100);
    EXPECT_EQ(calls, 1);
}

TEST(ClockTimerOnTestClock, TimersOutliveTheirClockWithoutFiring) {
    ClockTimer timer;
    {
        core::ScopedTestClock clock(kStart);
        timer.startAt(kStart + 1);
        EXPECT_TRUE(timer.isActive());
    }
    EXPECT_FALSE(timer.isActive());
    timer.stop();
}

TEST(ClockTimerOnSystemClock, FiresOnceTheWallClockHasReachedTheMoment) {
    ClockTimer timer;
    Date firedAt;
    int calls = 0;
    QObject::connect(&timer, &ClockTimer::timeout, [&] {
        firedAt = Date::now();
        ++calls;
    });
    const Date moment = Date::now() + 0.05;
    timer.startAt(moment);
    ASSERT_TRUE(testsupport::waitUntil([&] { return calls > 0; }, 5000));
    EXPECT_GE(firedAt - moment, -0.002);
    testsupport::spinEventLoop(30);
    EXPECT_EQ(calls, 1);

    timer.startAt(Date::now() - 10);  // already past: the next turn of the loop
    ASSERT_TRUE(testsupport::waitUntil([&] { return calls == 2; }, 5000));
}

}  // namespace
