#include "popover/MonthGridModel.h"

#include "core/DateFormat.h"
#include "design/values/CalendarGrid.h"
#include "state/AppSettings.h"

#include <algorithm>

namespace popover {

using namespace Qt::Literals::StringLiterals;

DayMarks DayMarks::of(const std::vector<core::Color>& colors) {
    DayMarks marks;
    const size_t shown = std::min(colors.size(), size_t(kMaxShown));
    marks.shown.assign(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(shown));
    marks.overflow = static_cast<int>(colors.size() - shown);
    return marks;
}

QString DayCellState::accessibilityText() const {
    QString text = core::DateFormat::formatTemplate(date, u"EEEEdMMMM"_s);
    if (isToday)
        text += u", today"_s;
    const size_t count = colors.size();
    if (count == 0)
        return text + u", no events"_s;
    return text + u", "_s + QString::number(count) + (count == 1 ? u" event"_s : u" events"_s);
}

core::Calendar MonthGridModel::gridCalendar(const app::AppSettings& settings) {
    return gridCalendar(settings.calendar());
}

core::Calendar MonthGridModel::gridCalendar(core::Calendar calendar) {
    if (calendar.firstWeekday() == 2)
        calendar.setMinimumDaysInFirstWeek(4);
    return calendar;
}

std::vector<core::Date> MonthGridModel::gridDays(core::Date month, const core::Calendar& calendar) {
    return design::CalendarGrid::days(month, calendar);
}

QHash<core::Date, std::vector<core::Color>> MonthGridModel::dotColors(const std::vector<model::ODEvent>& events,
                                                                       const std::vector<core::Date>& days,
                                                                       const core::Calendar& calendar) {
    QHash<core::Date, std::vector<core::Color>> map;
    if (days.empty())
        return map;
    const auto afterLast = calendar.dateByAdding(core::CalendarUnit::Day, 1, days.back());
    if (!afterLast)
        return map;
    // The boundaries of the shown days: an event finds its first day by a search
    // instead of calendar arithmetic, which keeps thousands of events cheap.
    std::vector<core::Date> bounds = days;
    bounds.push_back(calendar.startOfDay(*afterLast));
    const core::Date first = bounds.front();
    const core::Date end = bounds.back();
    for (const model::ODEvent& event : events) {
        const bool zeroLength = event.start == event.end;
        const bool counts =
            (event.start < end && event.end > first) || (zeroLength && first <= event.start && event.start < end);
        if (!counts)
            continue;
        const core::Date effectiveEnd = event.end > event.start ? event.end : event.start + 1;
        const core::Date clippedEnd = std::min(effectiveEnd, end);
        const core::Date clippedStart = std::max(event.start, first);
        // The day holding clippedStart, then every following day the event still reaches into.
        size_t index = static_cast<size_t>(std::upper_bound(bounds.begin(), bounds.end(), clippedStart) - bounds.begin());
        index = index == 0 ? 0 : index - 1;
        for (; index + 1 < bounds.size() && bounds[index] < clippedEnd; ++index)
            map[bounds[index]].push_back(event.color);
    }
    return map;
}

QStringList MonthGridModel::headerSymbols(const core::Calendar& calendar) {
    return design::CalendarGrid::weekdaySymbols(calendar);
}

std::optional<core::DateInterval> MonthGridModel::loadInterval(const std::vector<core::Date>& days) {
    if (days.empty())
        return std::nullopt;
    const core::Date start = days.front();
    const core::Date end = core::Calendar::current().dateByAdding(core::CalendarUnit::Day, 1, days.back()).value_or(days.back());
    return core::DateInterval{start, std::max(0.0, end - start)};
}

MonthGridModel MonthGridModel::build(core::Date displayedMonth, core::Date selectedDate,
                                     const std::vector<model::ODEvent>& events, const core::Calendar& gridCalendar,
                                     core::Date now) {
    const core::Calendar& calendar = gridCalendar;
    MonthGridModel model;
    model.weekdaySymbols = headerSymbols(calendar);
    const std::vector<core::Date> days = gridDays(displayedMonth, calendar);
    const QHash<core::Date, std::vector<core::Color>> colors = dotColors(events, days, calendar);
    const core::Date today = calendar.startOfDay(now);
    for (int row = 0; row < kWeeks; ++row)
        model.weekNumbers[static_cast<size_t>(row)] =
            calendar.component(core::CalendarUnit::WeekOfYear, days[static_cast<size_t>(7 * row)]);
    model.cells.reserve(days.size());
    for (const core::Date date : days) {
        DayCellState cell;
        cell.date = date;
        cell.day = calendar.component(core::CalendarUnit::Day, date);
        cell.isCurrentMonth = calendar.isDate(date, displayedMonth, core::CalendarUnit::Month);
        cell.isToday = date == today;
        cell.isSelected = calendar.isDateInSameDay(date, selectedDate);
        cell.isPast = date < today;
        cell.colors = colors.value(date);
        model.cells.push_back(std::move(cell));
    }
    return model;
}

}  // namespace popover
