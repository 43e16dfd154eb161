#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/ODEvent.h"
#include "popover/AgendaSection.h"

#include <QString>

#include <optional>
#include <vector>

namespace app {
class AppSettings;
}
namespace store {
class CalendarStore;
}

namespace popover {

// What the day agenda shows at a given minute: which sections, their headings
// and closing notes, what an empty day offers next, and the texts of the
// all-day pills and the earlier group. UpNextView only lays these out.
class DayAgenda {
public:
    DayAgenda() = delete;

    // The agenda's clock reads whole minutes: the start of the instant's minute.
    static core::Date minuteOf(core::Date instant);
    // The start of the minute after the instant's.
    static core::Date nextMinute(core::Date instant);

    // The selected day's section and, when that day is today, tomorrow's, as
    // long as tomorrow has something on.
    static std::vector<AgendaSection> sections(core::Date selectedDay, const store::CalendarStore& store,
                                               core::Date now, const core::Calendar& calendar);

    // Calendars can be read, yet none of them is switched on: the agenda asks the
    // user to choose some instead of claiming the day is free.
    static bool noCalendarsEnabled(const store::CalendarStore& store, const app::AppSettings& settings);

    // "Today", "Tomorrow", or the day relative to `now` ("in 3 days").
    static QString headerTitle(const AgendaSection& section, core::Date now, const core::Calendar& calendar);
    // The heading of a section without events.
    static QString emptyTitle(AgendaSection::Kind kind);
    // The line under a section's events, when it has one.
    static std::optional<QString> trailingNote(const AgendaSection& section);

    // The event an empty section offers as "Next:": for today the next event
    // after now while tomorrow is free (a busy tomorrow has its own section);
    // for tomorrow or a later day the first event from the day after it; never
    // for a past day.
    static std::optional<model::ODEvent> nextEvent(const AgendaSection& section, core::Date now,
                                                   const store::CalendarStore& store, const core::Calendar& calendar);
    // When the "Next:" event starts, weekday, day, month and time ("Wed, Mar 11, 9:00 AM").
    static QString nextEventTime(const model::ODEvent& event);

    // "3 earlier".
    static QString earlierCount(int count);
    // The titles of the earlier events, in order, joined by middle dots.
    static QString earlierTitles(const std::vector<model::ODEvent>& events);
    // What the earlier button does, said aloud.
    static QString earlierAccessibleLabel(int count, bool expanded);

    // The glyph of an all-day event, guessed from its title: travel, birthday,
    // or a plain calendar.
    static QString allDaySymbol(const QString& title);
    // "All day", or for an event over several days "27 Fri → 29 Sun · day 2 of 3"
    // as shown on `day`.
    static QString allDayRange(const model::ODEvent& event, core::Date day, const core::Calendar& calendar);
};

}  // namespace popover
