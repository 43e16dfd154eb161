#pragma once

#include "core/Calendar.h"
#include "model/ODCalendar.h"
#include "model/ODEvent.h"
#include "model/ODReminder.h"

#include <vector>

namespace store {

// The orders and the duplicate rule the store publishes its lists in. Every
// sort is stable.
namespace ordering {

// By source title, then title: plain code-point comparison after canonical
// normalisation, not a localized one.
void sortCalendars(std::vector<model::ODCalendar>& calendars);

// Editable first; all-day duplicates (same lower-cased title, same day) of a
// read-only calendar dropped; then by start, all-day before timed at one start.
std::vector<model::ODEvent> arrangeFetchedEvents(std::vector<model::ODEvent> events, const core::Calendar& calendar);

// Two arranged lists as one arranged list (where both hold events of one start and kind, the first's come first).
std::vector<model::ODEvent> mergeArranged(std::vector<model::ODEvent> first, std::vector<model::ODEvent> second);
// The same, copying the first list's events and leaving that list as it is.
std::vector<model::ODEvent> mergeArrangedCopying(const std::vector<model::ODEvent>& first,
                                                 std::vector<model::ODEvent> second);

// All-day first, then by start.
void sortDayEvents(std::vector<model::ODEvent>& events);

// By due date; no due date counts as the most distant future.
void sortReminders(std::vector<model::ODReminder>& reminders);

}  // namespace ordering
}  // namespace store
