#include "platform/eventstore/vdir/IcsRuleWalk.h"

#include <libical/ical.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <tuple>

namespace platform::vdir {

namespace {

int mondayIndex(qint64 day) {
    return static_cast<int>(((day % 7) + 7 + 3) % 7);
}

bool isLeapYear(qint64 year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(qint64 year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

qint64 floorDiv(qint64 a, qint64 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool before(const WallTime& a, const WallTime& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

template <size_t N>
bool given(const short (&values)[N]) {
    return values[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

template <size_t N>
std::vector<int> valuesIn(const short (&values)[N], int low, int high) {
    std::vector<int> result;
    for (size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        if (values[i] >= low && values[i] <= high)
            result.push_back(values[i]);
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

// Years far beyond any calendar stop a walk rather than overflow it.
constexpr qint64 kLastYear = 100000;

}  // namespace

std::optional<IcsRuleWalk> IcsRuleWalk::from(const icalrecurrencetype& rule, const WallTime& start, bool isDate) {
    IcsRuleWalk walk;
    switch (rule.freq) {
        case ICAL_DAILY_RECURRENCE:
            walk.m_frequency = Frequency::Daily;
            break;
        case ICAL_WEEKLY_RECURRENCE:
            walk.m_frequency = Frequency::Weekly;
            break;
        case ICAL_MONTHLY_RECURRENCE:
            walk.m_frequency = Frequency::Monthly;
            break;
        case ICAL_YEARLY_RECURRENCE:
            walk.m_frequency = Frequency::Yearly;
            break;
        default:
            return std::nullopt;
    }
    // A start that is no date of the calendar (libical lets a day 57 through) is left to libical as well.
    if (rule.rscale || given(rule.by_week_no) || start.month < 1 || start.month > 12 || start.day < 1 ||
        start.day > daysInMonth(start.year, start.month))
        return std::nullopt;
    walk.m_interval = rule.interval > 0 ? rule.interval : 1;
    walk.m_weekStart =
        rule.week_start == ICAL_NO_WEEKDAY ? 0 : (static_cast<int>(rule.week_start) + 5) % 7;
    walk.m_start = start;
    walk.m_isDate = isDate;
    if (isDate)
        walk.m_start.hour = walk.m_start.minute = walk.m_start.second = 0;
    walk.m_startDay = daysFromCivil(start.year, start.month, start.day);
    walk.m_count = std::max(0, rule.count);
    if (!icaltime_is_null_time(rule.until)) {
        const icaltimetype& u = rule.until;
        walk.m_until = WallTime{u.year, u.month, u.day, u.is_date ? 0 : u.hour, u.is_date ? 0 : u.minute,
                                u.is_date ? 0 : u.second};
        if (isDate)
            walk.m_until->hour = walk.m_until->minute = walk.m_until->second = 0;
    }

    bool impossible = false;
    const auto check = [&impossible](bool wasGiven, bool anyValid) { impossible = impossible || (wasGiven && !anyValid); };

    for (int month : valuesIn(rule.by_month, 1, 12))
        walk.m_months |= static_cast<quint16>(1u << month);
    check(given(rule.by_month), walk.m_months != 0);
    for (int day : valuesIn(rule.by_month_day, -31, 31)) {
        if (day > 0)
            walk.m_monthDays |= 1u << day;
        else if (day < 0)
            walk.m_monthDaysFromEnd |= 1u << -day;
    }
    check(given(rule.by_month_day), walk.m_monthDays != 0 || walk.m_monthDaysFromEnd != 0);
    for (int day : valuesIn(rule.by_year_day, -366, 366)) {
        if (day > 0)
            walk.m_yearDays.set(static_cast<size_t>(day));
        else if (day < 0)
            walk.m_yearDaysFromEnd.set(static_cast<size_t>(-day));
    }
    walk.m_byYearDay = given(rule.by_year_day);
    check(walk.m_byYearDay, walk.m_yearDays.any() || walk.m_yearDaysFromEnd.any());
    for (size_t i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[i]));
        const int position = icalrecurrencetype_day_position(rule.by_day[i]);
        if (weekday < 1 || weekday > 7 || position < -53 || position > 53)
            continue;
        const int mondayBased = (weekday + 5) % 7;
        if (position == 0)
            walk.m_weekdays |= static_cast<quint8>(1u << mondayBased);
        else
            walk.m_ordinals.emplace_back(position, mondayBased);
    }
    walk.m_byDay = given(rule.by_day);
    check(walk.m_byDay, walk.m_weekdays != 0 || !walk.m_ordinals.empty());

    // Without any day filter, the start says which day of the period recurs.
    if (!given(rule.by_year_day) && !given(rule.by_month_day) && !given(rule.by_day)) {
        if (walk.m_frequency == Frequency::Yearly) {
            if (walk.m_months == 0)
                walk.m_months = static_cast<quint16>(1u << start.month);
            walk.m_monthDays = 1u << start.day;
        } else if (walk.m_frequency == Frequency::Monthly) {
            walk.m_monthDays = 1u << start.day;
        } else if (walk.m_frequency == Frequency::Weekly) {
            walk.m_weekdays = static_cast<quint8>(1u << mondayIndex(walk.m_startDay));
            walk.m_byDay = true;
        }
    }

    // A date has no time, yet each listed time still counts as an occurrence (of that same date) towards COUNT.
    const auto times = [&](const auto& values, int high, int fallback) {
        if (!given(values))
            return std::vector<int>{fallback};
        std::vector<int> valid = valuesIn(values, 0, high);
        check(true, !valid.empty());
        return valid;
    };
    walk.m_hours = times(rule.by_hour, 23, start.hour);
    walk.m_minutes = times(rule.by_minute, 59, start.minute);
    walk.m_seconds = times(rule.by_second, 59, start.second);
    // More than one a minute is a sub-daily rule in disguise; libical walks those one occurrence at a time.
    if (walk.m_hours.size() * walk.m_minutes.size() * walk.m_seconds.size() > 24 * 60)
        return std::nullopt;
    for (int position : valuesIn(rule.by_set_pos, -366, 366))
        if (position != 0)
            walk.m_setPositions.push_back(position);
    check(given(rule.by_set_pos), !walk.m_setPositions.empty());

    walk.m_canMatch = !impossible && walk.findCanMatch();
    return walk;
}

bool IcsRuleWalk::findCanMatch() const {
    // Whether a date passes depends on the weekday only through BYDAY, and every date falls on every weekday in
    // some year: a common and a leap year cover the rest.
    for (const int year : {2001, 2000}) {
        for (int month = 1; month <= 12; ++month) {
            if (m_months != 0 && !(m_months & (1u << month)))
                continue;
            const qint64 first = daysFromCivil(year, month, 1);
            for (int day = 1; day <= daysInMonth(year, month); ++day) {
                if (datePasses(first + day - 1, WallTime{year, month, day, 0, 0, 0}))
                    return true;
            }
        }
    }
    return false;
}

IcsRuleWalk::Period IcsRuleWalk::period(qint64 index) const {
    switch (m_frequency) {
        case Frequency::Daily: {
            const qint64 day = m_startDay + index * m_interval;
            return {day, day};
        }
        case Frequency::Weekly: {
            const qint64 first = m_startDay - (mondayIndex(m_startDay) - m_weekStart + 7) % 7 + index * 7 * m_interval;
            return {first, first + 6};
        }
        case Frequency::Monthly: {
            const qint64 monthIndex = static_cast<qint64>(m_start.year) * 12 + m_start.month - 1 + index * m_interval;
            const qint64 year = floorDiv(monthIndex, 12);
            if (year > kLastYear)
                return {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
            const int month = static_cast<int>(monthIndex - year * 12 + 1);
            const qint64 first = daysFromCivil(static_cast<int>(year), month, 1);
            return {first, first + daysInMonth(year, month) - 1};
        }
        case Frequency::Yearly: {
            const qint64 year = m_start.year + index * m_interval;
            if (year > kLastYear)
                return {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
            const qint64 first = daysFromCivil(static_cast<int>(year), 1, 1);
            return {first, first + (isLeapYear(year) ? 365 : 364)};
        }
    }
    return {};
}

qint64 IcsRuleWalk::periodHolding(const WallTime& wall) const {
    const qint64 day = daysFromCivil(wall.year, wall.month, wall.day);
    qint64 index = 0;
    switch (m_frequency) {
        case Frequency::Daily:
            index = floorDiv(day - m_startDay, m_interval);
            break;
        case Frequency::Weekly:
            index = floorDiv(day - period(0).firstDay, 7 * m_interval);
            break;
        case Frequency::Monthly:
            index = floorDiv((static_cast<qint64>(wall.year) - m_start.year) * 12 + wall.month - m_start.month,
                             m_interval);
            break;
        case Frequency::Yearly:
            index = floorDiv(static_cast<qint64>(wall.year) - m_start.year, m_interval);
            break;
    }
    return std::max<qint64>(0, index);
}

bool IcsRuleWalk::dayPasses(qint64 day, const WallTime& date) const {
    return datePasses(day, date) && (!m_byDay || weekdayPasses(day, date));
}

bool IcsRuleWalk::datePasses(qint64 day, const WallTime& date) const {
    if (m_months != 0 && !(m_months & (1u << date.month)))
        return false;
    if (m_monthDays != 0 || m_monthDaysFromEnd != 0) {
        const int fromEnd = daysInMonth(date.year, date.month) - date.day + 1;
        if (!(m_monthDays & (1u << date.day)) && !(m_monthDaysFromEnd & (1u << fromEnd)))
            return false;
    }
    if (m_byYearDay) {
        const qint64 yearDay = day - daysFromCivil(date.year, 1, 1) + 1;
        const qint64 fromEnd = (isLeapYear(date.year) ? 366 : 365) - yearDay + 1;
        if (!m_yearDays.test(static_cast<size_t>(yearDay)) && !m_yearDaysFromEnd.test(static_cast<size_t>(fromEnd)))
            return false;
    }
    return true;
}

bool IcsRuleWalk::weekdayPasses(qint64 day, const WallTime& date) const {
    const int weekday = mondayIndex(day);
    if (m_weekdays & (1u << weekday))
        return true;
    if (m_ordinals.empty())
        return false;
    // "The second Monday" counts within the month for monthly rules and yearly ones limited to months, within
    // the year for other yearly rules; daily and weekly rules have no such count.
    qint64 first = day;
    qint64 last = day;
    if (m_frequency == Frequency::Monthly || (m_frequency == Frequency::Yearly && m_months != 0)) {
        first = day - date.day + 1;
        last = first + daysInMonth(date.year, date.month) - 1;
    } else if (m_frequency == Frequency::Yearly) {
        first = daysFromCivil(date.year, 1, 1);
        last = first + (isLeapYear(date.year) ? 365 : 364);
    }
    const bool counted = m_frequency == Frequency::Monthly || m_frequency == Frequency::Yearly;
    const qint64 nth = (day - first) / 7 + 1;
    const qint64 nthFromEnd = -((last - day) / 7 + 1);
    for (const auto& [position, entryWeekday] : m_ordinals) {
        if (entryWeekday == weekday && (!counted || position == nth || position == nthFromEnd))
            return true;
    }
    return false;
}

qint64 IcsRuleWalk::mostPerPeriod() const {
    qint64 days = 1;
    switch (m_frequency) {
        case Frequency::Daily:
            break;
        case Frequency::Weekly:
            days = 7;
            break;
        case Frequency::Monthly:
        case Frequency::Yearly: {
            const int monthDays = std::popcount(m_monthDays) + std::popcount(m_monthDaysFromEnd);
            const int months = m_months != 0 ? std::popcount(m_months) : 12;
            days = monthDays == 0 || m_byYearDay || !m_ordinals.empty() || m_weekdays != 0 ? 31 : monthDays;
            if (m_frequency == Frequency::Yearly)
                days *= months;
            break;
        }
    }
    const auto times = static_cast<qint64>(m_hours.size() * m_minutes.size() * m_seconds.size());
    const qint64 most = days * times;
    return m_setPositions.empty() ? most : std::min<qint64>(most, static_cast<qint64>(m_setPositions.size()));
}

qint64 IcsRuleWalk::instantsOf(const Period& p, std::vector<WallTime>& out) const {
    out.clear();
    qint64 looked = 0;
    const auto addDay = [&](qint64 number, const WallTime& date) {
        ++looked;
        if (!dayPasses(number, date))
            return;
        for (int hour : m_hours)
            for (int minute : m_minutes)
                for (int second : m_seconds)
                    out.push_back(m_isDate ? date : WallTime{date.year, date.month, date.day, hour, minute, second});
    };
    if (m_frequency == Frequency::Daily || m_frequency == Frequency::Weekly) {
        for (qint64 number = p.firstDay; number <= p.lastDay; ++number)
            addDay(number, civilFromDays(number));
    } else {
        const WallTime first = civilFromDays(p.firstDay);
        const int lastMonth = m_frequency == Frequency::Monthly ? first.month : 12;
        // Days of the month named outright need no search through the month.
        const bool namedDays = (m_monthDays != 0 || m_monthDaysFromEnd != 0) && !m_byDay && !m_byYearDay;
        for (int month = first.month; month <= lastMonth; ++month) {
            if (m_months != 0 && !(m_months & (1u << month)))
                continue;
            const qint64 monthStart = daysFromCivil(first.year, month, 1);
            const int length = daysInMonth(first.year, month);
            quint32 days = namedDays ? 0 : ~0u;
            if (namedDays) {
                for (int day = 1; day <= length; ++day)
                    if ((m_monthDays & (1u << day)) || (m_monthDaysFromEnd & (1u << (length - day + 1))))
                        days |= 1u << day;
            }
            for (int day = 1; day <= length; ++day)
                if (days & (1u << day))
                    addDay(monthStart + day - 1, WallTime{first.year, month, day, 0, 0, 0});
        }
    }
    if (m_setPositions.empty() || out.empty())
        return looked;
    std::vector<WallTime> chosen;
    const auto size = static_cast<qint64>(out.size());
    for (int position : m_setPositions) {
        const qint64 index = position > 0 ? position - 1 : size + position;
        if (index >= 0 && index < size)
            chosen.push_back(out[static_cast<size_t>(index)]);
    }
    std::sort(chosen.begin(), chosen.end(), before);
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    out = std::move(chosen);
    return looked;
}

void IcsRuleWalk::walk(const WallTime& from, const WallTime& end, qint64& work,
                       const std::function<bool(const WallTime&)>& visit, Progress* progress) const {
    if (!m_canMatch)
        return;
    const qint64 endDay = daysFromCivil(end.year, end.month, end.day);
    const qint64 untilDay = m_until ? daysFromCivil(m_until->year, m_until->month, m_until->day) : endDay;
    const qint64 wanted = periodHolding(from);
    // A COUNT larger than all the periods up to `end` could ever hold cannot end the rule before it: nothing needs
    // counting, and the walk starts where it was asked to.
    const bool counting = m_count > 0 && m_count < (periodHolding(end) + 1) * mostPerPeriod();
    Progress at;
    if (!counting)
        at.period = wanted;
    else if (progress && progress->period <= wanted)
        at = *progress;
    std::vector<WallTime> instants;
    for (; work > 0; ++at.period) {
        if (counting && progress && at.period <= wanted && at.period > progress->period)
            *progress = at;
        const Period p = period(at.period);
        if (p.firstDay > endDay || p.firstDay > untilDay)
            return;
        work -= instantsOf(p, instants) + static_cast<qint64>(instants.size());
        for (const WallTime& wall : instants) {
            if (before(wall, m_start))
                continue;
            if (m_until && before(*m_until, wall))
                return;
            if (counting && ++at.counted > m_count)
                return;
            if (!visit(wall))
                return;
        }
    }
}

}  // namespace platform::vdir
