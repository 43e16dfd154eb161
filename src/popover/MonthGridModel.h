#pragma once

#include "core/Calendar.h"
#include "core/Color.h"
#include "core/Date.h"
#include "model/ODEvent.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace app {
class AppSettings;
}

namespace popover {

// The marks under a day's number: up to three colours, and how many events
// did not get one.
struct DayMarks {
    static constexpr int kMaxShown = 3;

    std::vector<core::Color> shown;
    int overflow = 0;

    static DayMarks of(const std::vector<core::Color>& colors);
};

// What one day of the month grid shows.
struct DayCellState {
    // The start of the day in the grid calendar.
    core::Date date;
    int day = 0;
    bool isCurrentMonth = false;
    bool isToday = false;
    bool isSelected = false;
    bool isPast = false;
    // One per event overlapping the day, in the store's order.
    std::vector<core::Color> colors;

    DayMarks marks() const { return DayMarks::of(colors); }
    // "Tuesday, March 10, today, 2 events".
    QString accessibilityText() const;

    bool operator==(const DayCellState&) const = default;
};

// Everything the month grid draws for one month: six weeks of seven days, the
// weekday header and the week numbers, computed together in one calendar.
struct MonthGridModel {
    static constexpr int kWeeks = 6;
    static constexpr int kDays = 7 * kWeeks;

    // In the order of the columns, starting with the first weekday.
    QStringList weekdaySymbols;
    // The week of the year of each row's first day.
    std::array<int, kWeeks> weekNumbers{};
    // Row by row.
    std::vector<DayCellState> cells;

    static MonthGridModel build(core::Date displayedMonth, core::Date selectedDate,
                                const std::vector<model::ODEvent>& events, const core::Calendar& gridCalendar,
                                core::Date now);

    // The settings' calendar; with Monday first, weeks need four days in the new
    // year, so week numbers are ISO weeks.
    static core::Calendar gridCalendar(const app::AppSettings& settings);
    static core::Calendar gridCalendar(core::Calendar calendar);
    // The 42 days shown for the month containing `month`: from the first weekday
    // on or before the 1st, as starts of days.
    static std::vector<core::Date> gridDays(core::Date month, const core::Calendar& calendar);
    // Per shown day, one colour for each event overlapping it, in the events' order.
    static QHash<core::Date, std::vector<core::Color>> dotColors(const std::vector<model::ODEvent>& events,
                                                                  const std::vector<core::Date>& days,
                                                                  const core::Calendar& calendar);
    static QStringList headerSymbols(const core::Calendar& calendar);
    // The shown days as one interval for the store to load (its days counted in
    // the current calendar); nullopt for no days.
    static std::optional<core::DateInterval> loadInterval(const std::vector<core::Date>& days);
};

}  // namespace popover
