#include "platform/eventstore/vdir/IcsRuleMapping.h"

#include "platform/eventstore/vdir/IcsRuleText.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace platform::vdir {

namespace {

template <size_t N>
std::optional<std::vector<int>> numbers(const short (&values)[N]) {
    std::vector<int> result;
    for (size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        result.push_back(values[i]);
    if (result.empty())
        return std::nullopt;
    return result;
}

}  // namespace

std::optional<PlatformRecurrenceRule> platformRule(const QByteArray& rrule, const IcsTime& start,
                                                   const core::TimeZone& floatingZone) {
    const icalrecurrencetype rule = parseRecurrenceRule(rrule);
    // libical leaves the RSCALE name it allocates to the caller.
    const std::unique_ptr<char, decltype(&std::free)> rscale(rule.rscale, &std::free);
    PlatformRecurrenceRule result;
    switch (rule.freq) {
        case ICAL_DAILY_RECURRENCE:
            result.frequency = PlatformRecurrenceRule::Frequency::Daily;
            break;
        case ICAL_WEEKLY_RECURRENCE:
            result.frequency = PlatformRecurrenceRule::Frequency::Weekly;
            break;
        case ICAL_MONTHLY_RECURRENCE:
            result.frequency = PlatformRecurrenceRule::Frequency::Monthly;
            break;
        case ICAL_YEARLY_RECURRENCE:
            result.frequency = PlatformRecurrenceRule::Frequency::Yearly;
            break;
        default:
            return std::nullopt;
    }
    result.interval = rule.interval > 0 ? rule.interval : 1;
    result.firstDayOfTheWeek = rule.week_start == ICAL_NO_WEEKDAY ? 0 : static_cast<int>(rule.week_start);

    std::vector<PlatformRecurrenceDayOfWeek> days;
    for (size_t i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        PlatformRecurrenceDayOfWeek day;
        day.dayOfWeek = static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[i]));
        day.weekNumber = icalrecurrencetype_day_position(rule.by_day[i]);
        days.push_back(day);
    }
    if (!days.empty())
        result.daysOfTheWeek = std::move(days);
    result.daysOfTheMonth = numbers(rule.by_month_day);
    result.monthsOfTheYear = numbers(rule.by_month);
    result.weeksOfTheYear = numbers(rule.by_week_no);
    result.daysOfTheYear = numbers(rule.by_year_day);
    result.setPositions = numbers(rule.by_set_pos);

    if (!icaltime_is_null_time(rule.until)) {
        const icaltimetype& u = rule.until;
        PlatformRecurrenceEnd end;
        if (icaltime_is_utc(u) && !u.is_date) {
            end.endDate = core::Date(static_cast<double>(daysFromCivil(u.year, u.month, u.day)) * 86400.0 +
                                     u.hour * 3600.0 + u.minute * 60.0 + u.second);
        } else {
            const WallTime wall{
                u.year, u.month, u.day, u.is_date ? 0 : u.hour, u.is_date ? 0 : u.minute, u.is_date ? 0 : u.second};
            end.endDate = wallToDate(wall, start.isDate ? floatingZone : start.zoneOr(floatingZone));
        }
        // A rule with both ends (which RFC 5545 forbids) keeps its count too, so that it compares equal to itself.
        end.occurrenceCount = std::max(0, rule.count);
        result.end = end;
    } else if (rule.count > 0) {
        result.end = PlatformRecurrenceEnd{std::nullopt, rule.count};
    }
    return result;
}

}  // namespace platform::vdir
