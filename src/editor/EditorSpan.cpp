#include "editor/EditorSpan.h"

#include <cmath>
#include <limits>

namespace editor::span {

namespace {

// The last second of the day of `day`; nothing outside the calendar's range.
std::optional<core::Date> endOfDay(core::Date day, const core::Calendar& calendar) {
    const auto next = calendar.dateByAdding(core::CalendarUnit::Day, 1, calendar.startOfDay(day));
    if (!next)
        return std::nullopt;
    return *next - 1;
}

}  // namespace

core::Date lastMoment(core::Date start, core::Date end) {
    return end > start ? end - 1 : start;
}

bool isMultiDay(const model::EventDraft& draft, const core::Calendar& calendar) {
    return !calendar.isDateInSameDay(draft.start, lastMoment(draft.start, draft.end));
}

core::Date shownEnd(const model::EventDraft& draft) {
    return draft.isAllDay ? lastMoment(draft.start, draft.end) : draft.end;
}

void setAllDay(model::EventDraft& draft, bool allDay, const core::Calendar& calendar) {
    if (allDay == draft.isAllDay)
        return;
    if (allDay) {
        const core::Date last = lastMoment(draft.start, draft.end);
        draft.start = calendar.startOfDay(draft.start);
        // At the edge of the calendar's range the end stays where it was: the draft
        // is still saved, only not widened.
        if (const auto end = endOfDay(last, calendar))
            draft.end = *end;
    } else {
        const core::DateInterval timed = timedIntervalForAllDay(draft.start, draft.end, calendar);
        draft.start = timed.start;
        draft.end = timed.end();
    }
    draft.isAllDay = allDay;
}

core::DateInterval timedIntervalForAllDay(core::Date start, core::Date end, const core::Calendar& calendar) {
    const core::Date from = calendar.dateBySettingTime(9, 0, 0, start).value_or(start);
    const core::Date lastDay = calendar.startOfDay(lastMoment(start, end));
    const core::Date to = calendar.dateBySettingTime(10, 0, 0, lastDay).value_or(from + 3600);
    return core::DateInterval{from, to >= from ? to - from : 0};
}

void moveDay(model::EventDraft& draft, core::Date day, const core::Calendar& calendar) {
    const double diff = calendar.startOfDay(day) - calendar.startOfDay(draft.start);
    if (diff == 0)
        return;
    // Rounding absorbs the 23- and 25-hour days of daylight-saving changes.
    const double days = std::round(diff / 86400);
    if (!(std::abs(days) <= std::numeric_limits<int>::max()))
        return;
    const int count = static_cast<int>(days);
    draft.start = calendar.dateByAdding(core::CalendarUnit::Day, count, draft.start).value_or(draft.start);
    draft.end = calendar.dateByAdding(core::CalendarUnit::Day, count, draft.end).value_or(draft.end);
}

void setStartKeepingDuration(model::EventDraft& draft, core::Date start) {
    const double length = std::max(0.0, draft.end - draft.start);
    draft.start = start;
    draft.end = start + length;
}

void setEnd(model::EventDraft& draft, core::Date end, const core::Calendar& calendar) {
    if (end <= draft.start && !isMultiDay(draft, calendar))
        end = calendar.dateByAdding(core::CalendarUnit::Day, 1, end).value_or(end);
    draft.end = std::max(draft.start, end);
}

void setAllDayEnd(model::EventDraft& draft, core::Date day, const core::Calendar& calendar) {
    if (const auto end = endOfDay(std::max(draft.start, day), calendar))
        draft.end = *end;
}

void setLengthInMinutes(model::EventDraft& draft, int minutes) {
    draft.end = draft.start + minutes * 60.0;
}

int lengthInMinutes(const model::EventDraft& draft) {
    const double minutes = std::trunc((draft.end - draft.start) / 60);
    if (!(std::abs(minutes) <= std::numeric_limits<int>::max()))
        return 0;
    return static_cast<int>(minutes);
}

}  // namespace editor::span
