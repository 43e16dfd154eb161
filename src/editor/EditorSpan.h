#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/Drafts.h"

// How the editor's time controls change a draft's start, end and all-day state.
// Every function works in the calendar it is given: the editor passes one set to
// the zone whose wall clock it shows, so days begin and end where the user sees them.
//
// An all-day draft runs from 00:00:00 of its first day to 23:59:59 of its last day.
namespace editor::span {

// The moment that decides a span's last day: an end at exactly midnight belongs
// to the day before.
core::Date lastMoment(core::Date start, core::Date end);
bool isMultiDay(const model::EventDraft& draft, const core::Calendar& calendar);
// The end as the end button shows it: for an all-day draft its last moment, so the
// inclusive last day (never a day before the first, even for no length at all).
core::Date shownEnd(const model::EventDraft& draft);

// Whole days when switched on; 09:00 on the first day to 10:00 on the last when
// switched off. The same state again changes nothing.
void setAllDay(model::EventDraft& draft, bool allDay, const core::Calendar& calendar);
// 09:00 on the first day to 10:00 on the last day of an all-day span (the next
// valid time on a day that skips one), never ending before it starts.
core::DateInterval timedIntervalForAllDay(core::Date start, core::Date end, const core::Calendar& calendar);

// Moves the draft to the day of `day` by whole calendar days, keeping the wall-clock
// times across a daylight-saving change.
void moveDay(model::EventDraft& draft, core::Date day, const core::Calendar& calendar);
// A new start; the end follows so that the length stays (a negative length counts as none).
void setStartKeepingDuration(model::EventDraft& draft, core::Date start);
// A new end of a timed draft. On a one-day draft a time at or before the start
// means the next day; the end never lands before the start.
void setEnd(model::EventDraft& draft, core::Date end, const core::Calendar& calendar);
// The end picked for an all-day draft: 23:59:59 of the picked day, never of a day
// before the start day.
void setAllDayEnd(model::EventDraft& draft, core::Date day, const core::Calendar& calendar);
// A timed draft's end picked as a length from the start.
void setLengthInMinutes(model::EventDraft& draft, int minutes);
// The length in whole minutes, truncated.
int lengthInMinutes(const model::EventDraft& draft);

}  // namespace editor::span
