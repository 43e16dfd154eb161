#pragma once

#include "core/Calendar.h"
#include "core/Date.h"

#include <QStringList>

#include <vector>

namespace design {

// The days a month calendar shows: six weeks from the calendar's first
// weekday on or before the 1st, and the weekday letters over its columns.
class CalendarGrid {
public:
    static constexpr int kWeeks = 6;
    static constexpr int kDays = 7 * kWeeks;

    CalendarGrid() = delete;

    // The kDays days shown for the month containing `month`, as starts of days.
    static std::vector<core::Date> days(core::Date month, const core::Calendar& calendar);
    // One letter a weekday, in the order of the columns.
    static QStringList weekdaySymbols(const core::Calendar& calendar);
};

}  // namespace design
