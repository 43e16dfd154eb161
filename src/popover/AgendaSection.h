#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/ODEvent.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace store {
class CalendarStore;
}

namespace popover {

// One day of the agenda as the popover draws it: the all-day events, the
// events already over (today only), the timed events still to come, the event
// to highlight and which timed events overlap. A snapshot: built anew for each
// drawing with the `now` of that drawing, never changed afterwards.
struct AgendaSection {
    enum class Kind { today, tomorrow, other };

    // The start of the day.
    core::Date date;
    Kind kind = Kind::other;
    // In the store's order.
    std::vector<model::ODEvent> allDay;
    // Today only: timed events that ended at or before now, by start.
    std::vector<model::ODEvent> earlier;
    // Today: the timed events still running or to come; other days: all of them. By start.
    std::vector<model::ODEvent> timed;
    // Today only: the first event of `timed` the user has not declined.
    std::optional<QString> highlightID;
    // Event id → the title of the earliest-listed event that overlaps it.
    QHash<QString, QString> overlaps;
    // Events that overlap a later one without being overlapped by an earlier one:
    // the first of each chain of overlapping events.
    QSet<QString> overlapped;

    // The day's events from the store (which lists an event on every day it overlaps).
    static AgendaSection build(core::Date day, const store::CalendarStore& store, core::Date now,
                               const core::Calendar& calendar);
    // The same from the events of that day, in the store's order.
    static AgendaSection build(core::Date day, const std::vector<model::ODEvent>& dayEvents, core::Date now,
                               const core::Calendar& calendar);

    core::Date id() const { return date; }
    bool isEmpty() const { return allDay.empty() && earlier.empty() && timed.empty(); }
    std::optional<model::ODEvent> highlighted() const;
    // What one keyboard action on the day refers to: the highlight, else the first
    // timed event not declined, the first timed event, the first all-day event, the
    // most recently ended event; nullopt for an empty day.
    std::optional<model::ODEvent> primaryEvent() const;
};

}  // namespace popover
