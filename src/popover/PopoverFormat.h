#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/ODEvent.h"

#include <QString>

namespace popover {

// The words and times the popover's screens share. Dates are shown in the
// user's locale and zone; the words themselves are English.
class PopoverFormat {
public:
    PopoverFormat() = delete;

    // A count of whole minutes, compact: "5m", "2h", "1h 30m", "25h"; below zero "0m".
    static QString minutes(int minutes);
    // "start – end" in short times; an end on another day carries its weekday
    // ("Mon 1:30 AM"). For timed events.
    static QString timeRange(const model::ODEvent& event, const core::Calendar& calendar);
    // "Today", "Tomorrow", "Yesterday", "in 3 days", "4 days ago": calendar days
    // from the reference's day, not 24-hour spans.
    static QString relativeDay(core::Date date, core::Date reference, const core::Calendar& calendar);
    // One of three lines for a day without events; the same day always gets the
    // same line, and consecutive days take turns.
    static QString emptyDayCopy(core::Date date);

    // The local short time, 12- or 24-hour as the region has it.
    static QString time(core::Date date);
    // Weekday, day and month ("Tue, Mar 10").
    static QString day(core::Date date);
    // Weekday and day of the month ("Tue 10").
    static QString weekdayDay(core::Date date);
    // Weekday and the time ("Tue 1:30 AM").
    static QString weekdayTime(core::Date date);
};

}  // namespace popover
