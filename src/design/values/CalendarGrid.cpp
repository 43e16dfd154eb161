#include "design/values/CalendarGrid.h"

namespace design {

std::vector<core::Date> CalendarGrid::days(core::Date month, const core::Calendar& calendar) {
    const auto interval = calendar.dateInterval(core::CalendarUnit::Month, month);
    const core::Date monthStart = interval ? interval->start : calendar.startOfDay(month);
    const int weekday = calendar.component(core::CalendarUnit::Weekday, monthStart);
    const int offset = (weekday - calendar.firstWeekday() + 7) % 7;
    const core::Date gridStart =
        calendar.dateByAdding(core::CalendarUnit::Day, -offset, monthStart).value_or(monthStart);
    std::vector<core::Date> days;
    days.reserve(kDays);
    for (int i = 0; i < kDays; ++i) {
        const auto day = calendar.dateByAdding(core::CalendarUnit::Day, i, gridStart);
        days.push_back(day ? calendar.startOfDay(*day) : gridStart);
    }
    return days;
}

QStringList CalendarGrid::weekdaySymbols(const core::Calendar& calendar) {
    const QStringList symbols = calendar.veryShortStandaloneWeekdaySymbols();
    if (symbols.size() != 7)
        return symbols;
    QStringList ordered;
    for (int i = 0; i < 7; ++i)
        ordered << symbols[(calendar.firstWeekday() - 1 + i) % 7];
    return ordered;
}

}  // namespace design
