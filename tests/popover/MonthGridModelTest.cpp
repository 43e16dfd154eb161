#include "PopoverTestSupport.h"
#include "TestEnvironment.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "popover/MonthGridModel.h"
#include "popover/MonthNavigation.h"
#include "state/AppSettings.h"
#include "state/AppState.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::FirstWeekday;
using popover::DayMarks;
using popover::MonthGridModel;
using popover::MonthNavigation;
using popovertest::event;
using popovertest::kBlue;
using popovertest::kGreen;
using popovertest::kRed;
using popovertest::local;

namespace {

class MonthGrid : public ::testing::Test {
protected:
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;

    core::Calendar gridCalendar(FirstWeekday first) {
        settings.setFirstWeekday(first);
        return MonthGridModel::gridCalendar(settings);
    }
    std::array<int, 6> weekNumbers(FirstWeekday first, core::Date month) {
        return MonthGridModel::build(month, month, {}, gridCalendar(first), month).weekNumbers;
    }
};

TEST_F(MonthGrid, AlwaysShowsSixWeeksFromTheFirstWeekday) {
    // February 2026 begins on a Sunday and has 28 days: with Sunday first there
    // are no leading days and the last two rows are March.
    auto days = MonthGridModel::gridDays(local(2026, 2, 14, 15), gridCalendar(FirstWeekday::sunday));
    ASSERT_EQ(days.size(), 42u);
    EXPECT_EQ(days.front(), local(2026, 2, 1));
    EXPECT_EQ(days[28], local(2026, 3, 1));
    EXPECT_EQ(days.back(), local(2026, 3, 14));

    // March 2026 also begins on a Sunday: Monday first puts six days of February in front.
    days = MonthGridModel::gridDays(local(2026, 3, 31, 23, 59), gridCalendar(FirstWeekday::monday));
    EXPECT_EQ(days.front(), local(2026, 2, 23));
    EXPECT_EQ(days[6], local(2026, 3, 1));
    // Every entry is the start of the next calendar day, across the change to summer time.
    const core::Calendar calendar;
    for (size_t i = 1; i < days.size(); ++i) {
        EXPECT_EQ(days[i], calendar.startOfDay(days[i]));
        EXPECT_EQ(calendar.daysBetween(days[i - 1], days[i]), 1) << i;
    }
    EXPECT_EQ(MonthGridModel::gridDays(local(2026, 3, 10), gridCalendar(FirstWeekday::sunday)).front(),
              local(2026, 3, 1));
    EXPECT_EQ(MonthGridModel::gridDays(local(2026, 3, 10), gridCalendar(FirstWeekday::saturday)).front(),
              local(2026, 2, 28));
}

TEST_F(MonthGrid, TheHeaderStartsWithTheFirstWeekday) {
    auto header = [this](FirstWeekday first) {
        return MonthGridModel::build(local(2026, 3, 1), local(2026, 3, 1), {}, gridCalendar(first), local(2026, 3, 1))
            .weekdaySymbols;
    };
    EXPECT_EQ(header(FirstWeekday::sunday), (QStringList{u"S"_s, u"M"_s, u"T"_s, u"W"_s, u"T"_s, u"F"_s, u"S"_s}));
    EXPECT_EQ(header(FirstWeekday::monday), (QStringList{u"M"_s, u"T"_s, u"W"_s, u"T"_s, u"F"_s, u"S"_s, u"S"_s}));
}

TEST_F(MonthGrid, WeekNumbersAreIsoWeeksWithMondayFirst) {
    // 2026 has 53 ISO weeks; 1 January 2027, a Friday, still belongs to week 53.
    EXPECT_EQ(weekNumbers(FirstWeekday::monday, local(2026, 12, 15)), (std::array{49, 50, 51, 52, 53, 1}));
    EXPECT_EQ(weekNumbers(FirstWeekday::monday, local(2027, 1, 15)), (std::array{53, 1, 2, 3, 4, 5}));
    // With Sunday first the region's own rule holds: in the US the week of 1 January is week 1.
    EXPECT_EQ(weekNumbers(FirstWeekday::sunday, local(2027, 1, 15)), (std::array{1, 2, 3, 4, 5, 6}));
    // Going back to Sunday first does not keep the ISO rule of a Monday-first grid.
    EXPECT_EQ(gridCalendar(FirstWeekday::sunday).minimumDaysInFirstWeek(), 1);
}

TEST_F(MonthGrid, AnEventMarksEveryShownDayItOverlapsAndNoOther) {
    const core::Calendar calendar = gridCalendar(FirstWeekday::monday);
    const auto days = MonthGridModel::gridDays(local(2026, 3, 10), calendar);  // 23 Feb ... 5 April
    const auto colors = MonthGridModel::dotColors(
        {event(u"To midnight"_s, local(2026, 3, 2, 22), local(2026, 3, 3), kRed),
         event(u"Three days"_s, local(2026, 3, 10, 10), local(2026, 3, 12, 10), kGreen),
         event(u"Instant"_s, local(2026, 3, 20, 15), local(2026, 3, 20, 15), kBlue),
         event(u"From before"_s, local(2026, 2, 20), local(2026, 2, 24, 12), kRed),
         event(u"Past the end"_s, local(2026, 4, 5, 20), local(2026, 4, 9), kBlue),
         event(u"Long gone"_s, local(2026, 1, 5), local(2026, 1, 6), kRed),
         event(u"Instant after"_s, local(2026, 4, 6), local(2026, 4, 6), kRed),
         popovertest::allDay(u"Holiday"_s, local(2026, 3, 10), kBlue)},
        days, calendar);
    auto on = [&](int month, int day) { return colors.value(local(2026, month, day)); };
    using Colors = std::vector<core::Color>;
    EXPECT_EQ(on(3, 2), Colors{kRed});
    EXPECT_EQ(on(3, 3), Colors{});  // ends exactly at midnight
    EXPECT_EQ(on(3, 10), (Colors{kGreen, kBlue}));
    EXPECT_EQ(on(3, 11), Colors{kGreen});
    EXPECT_EQ(on(3, 12), Colors{kGreen});
    EXPECT_EQ(on(3, 20), Colors{kBlue});
    EXPECT_EQ(on(2, 23), Colors{kRed});
    EXPECT_EQ(on(2, 24), Colors{kRed});
    EXPECT_EQ(on(4, 5), Colors{kBlue});
    // Nothing outside the shown days.
    int marked = 0;
    for (auto it = colors.begin(); it != colors.end(); ++it)
        marked += static_cast<int>(it.value().size());
    EXPECT_EQ(marked, 9);
    EXPECT_TRUE(MonthGridModel::dotColors({}, {}, calendar).isEmpty());
}

TEST_F(MonthGrid, AnEventIsMarkedOnEveryDayAlsoAcrossADayWithoutMidnight) {
    // In São Paulo 4 November 2018 began at 01:00: a day added to it lands at 01:00
    // on the 5th, which is not where that day starts.
    testsupport::ScopedTimeZone saoPaulo("America/Sao_Paulo");
    const core::Calendar calendar = gridCalendar(FirstWeekday::sunday);
    const auto days = MonthGridModel::gridDays(local(2018, 11, 15), calendar);
    const auto colors = MonthGridModel::dotColors(
        {event(u"Weekend away"_s, local(2018, 11, 3, 20), local(2018, 11, 5, 2), kGreen)}, days, calendar);
    for (int day : {3, 4, 5})
        EXPECT_EQ(colors.value(calendar.startOfDay(local(2018, 11, day, 12))), std::vector{kGreen}) << day;
    EXPECT_EQ(colors.size(), 3);
}

TEST_F(MonthGrid, MarksShowThreeColoursAtMostAndCountTheRest) {
    auto marks = [](size_t n) { return DayMarks::of(std::vector<core::Color>(n, kRed)); };
    EXPECT_EQ(marks(0).shown.size(), 0u);
    EXPECT_EQ(marks(1).shown.size(), 1u);
    EXPECT_EQ(marks(3).shown.size(), 3u);
    EXPECT_EQ(marks(3).overflow, 0);
    EXPECT_EQ(marks(4).shown.size(), 3u);
    EXPECT_EQ(marks(4).overflow, 1);
    EXPECT_EQ(marks(9).overflow, 6);
    // One calendar's colour is repeated, not merged, and the order is kept.
    EXPECT_EQ(DayMarks::of({kRed, kRed, kBlue, kGreen}).shown, (std::vector{kRed, kRed, kBlue}));
}

TEST_F(MonthGrid, CellsKnowTodayTheSelectionThePastAndTheirMonth) {
    const core::Date now = local(2026, 3, 10, 12);
    const auto model = MonthGridModel::build(
        local(2026, 3, 31), local(2026, 3, 12, 18),
        {event(u"One"_s, local(2026, 3, 10, 9), local(2026, 3, 10, 10)),
         event(u"A"_s, local(2026, 3, 12, 9), local(2026, 3, 12, 10)),
         event(u"B"_s, local(2026, 3, 12, 11), local(2026, 3, 12, 12)),
         event(u"C"_s, local(2026, 3, 12, 13), local(2026, 3, 12, 14))},
        gridCalendar(FirstWeekday::monday), now);
    ASSERT_EQ(model.cells.size(), 42u);
    const auto& leading = model.cells[5];  // Saturday 28 February
    const auto& yesterday = model.cells[14];
    const auto& today = model.cells[15];
    const auto& selected = model.cells[17];
    EXPECT_EQ(leading.day, 28);
    EXPECT_FALSE(leading.isCurrentMonth);
    EXPECT_TRUE(leading.isPast);
    EXPECT_TRUE(yesterday.isPast);
    EXPECT_FALSE(yesterday.isToday);
    EXPECT_TRUE(today.isToday);
    EXPECT_FALSE(today.isPast);
    EXPECT_FALSE(today.isSelected);
    EXPECT_TRUE(selected.isSelected);
    EXPECT_EQ(selected.day, 12);

    EXPECT_EQ(today.accessibilityText(), u"Tuesday, March 10, today, 1 event"_s);
    EXPECT_EQ(selected.accessibilityText(), u"Thursday, March 12, 3 events"_s);
    EXPECT_EQ(yesterday.accessibilityText(), u"Monday, March 9, no events"_s);
}

TEST_F(MonthGrid, TheStoreIsAskedForTheShownDaysUpToTheDayAfterTheLast) {
    const auto days = MonthGridModel::gridDays(local(2026, 3, 10), gridCalendar(FirstWeekday::monday));
    const auto interval = MonthGridModel::loadInterval(days);
    ASSERT_TRUE(interval);
    EXPECT_EQ(interval->start, local(2026, 2, 23));
    EXPECT_EQ(interval->end(), local(2026, 4, 6));
    EXPECT_EQ(MonthGridModel::loadInterval({}), std::nullopt);
}

TEST_F(MonthGrid, ShiftingTheMonthCrossesYearsAndKeepsTheSelection) {
    appState.setSelectedDate(local(2026, 3, 10));
    appState.setDisplayedMonth(local(2026, 1, 31, 15));
    MonthNavigation::shiftMonth(1, appState, settings);
    EXPECT_EQ(appState.displayedMonth(), local(2026, 2, 28, 15));  // the last day February has
    appState.setDisplayedMonth(local(2026, 1, 5));
    MonthNavigation::shiftMonth(-1, appState, settings);
    EXPECT_EQ(appState.displayedMonth(), local(2025, 12, 5));
    MonthNavigation::shiftMonth(1, appState, settings);
    MonthNavigation::shiftMonth(12, appState, settings);
    EXPECT_EQ(appState.displayedMonth(), local(2027, 1, 5));
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 10));
}

TEST_F(MonthGrid, TodayHasNothingToDoOnlyInTheCurrentMonthWithTodaySelected) {
    const core::Date now = local(2026, 3, 10, 12);
    appState.setSelectedDate(local(2026, 3, 10));
    appState.setDisplayedMonth(local(2026, 3, 25));
    EXPECT_TRUE(MonthNavigation::isShowingToday(appState, settings, now));
    appState.setSelectedDate(local(2026, 3, 11));
    EXPECT_FALSE(MonthNavigation::isShowingToday(appState, settings, now));
    appState.setSelectedDate(local(2026, 3, 10));
    appState.setDisplayedMonth(local(2025, 3, 10));  // the same month a year earlier
    EXPECT_FALSE(MonthNavigation::isShowingToday(appState, settings, now));
    EXPECT_EQ(MonthNavigation::monthTitle(local(2026, 3, 1)), u"March"_s);
    EXPECT_EQ(MonthNavigation::yearTitle(local(2026, 3, 1)), u"2026"_s);
}

}  // namespace
