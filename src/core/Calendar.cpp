#include "core/Calendar.h"

#include "core/IcuString.h"

#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace core {
namespace {

// A pure Gregorian calendar: no switch to Julian rules in 1582.
constexpr UDate kProlepticGregorian = -8.64e15;

std::unique_ptr<icu::Calendar> makeCalendar(const TimeZone& zone, const Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    auto cal = std::make_unique<icu::GregorianCalendar>(zone.icu(), locale.icu(), status);
    if (U_FAILURE(status))
        cal = std::make_unique<icu::GregorianCalendar>(zone.icu(), icu::Locale::getRoot(), status = U_ZERO_ERROR);
    cal->setGregorianChange(kProlepticGregorian, status);
    cal->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    cal->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    return cal;
}

std::optional<UCalendarDateFields> addField(CalendarUnit unit) {
    switch (unit) {
        case CalendarUnit::Era: return UCAL_ERA;
        case CalendarUnit::Year: return UCAL_EXTENDED_YEAR;
        case CalendarUnit::YearForWeekOfYear: return UCAL_YEAR_WOY;
        case CalendarUnit::Month: return UCAL_MONTH;
        case CalendarUnit::Day: return UCAL_DATE;
        case CalendarUnit::Weekday: return UCAL_DATE;
        case CalendarUnit::WeekOfYear: return UCAL_WEEK_OF_YEAR;
        case CalendarUnit::WeekOfMonth: return UCAL_WEEK_OF_MONTH;
        case CalendarUnit::Hour: return UCAL_HOUR_OF_DAY;
        case CalendarUnit::Minute: return UCAL_MINUTE;
        case CalendarUnit::Second: return UCAL_SECOND;
    }
    return std::nullopt;
}

// The field a unit is read from: the one it is added to, but for weekdays, which
// are added as whole days and read as the day of the week.
UCalendarDateFields readField(CalendarUnit unit) {
    if (unit == CalendarUnit::Weekday)
        return UCAL_DAY_OF_WEEK;
    return addField(unit).value_or(UCAL_DATE);
}

// ICU's arithmetic on dates beyond the calendar range is not meaningful.
bool inRange(Date date) { return date.isInCalendarRange(); }

QStringList symbols(const Locale& locale, bool months, icu::DateFormatSymbols::DtWidthType width) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DateFormatSymbols dfs(locale.icu(), "gregorian", status);
    if (U_FAILURE(status))
        return {};
    int32_t count = 0;
    const icu::UnicodeString* names = months
                                          ? dfs.getMonths(count, icu::DateFormatSymbols::STANDALONE, width)
                                          : dfs.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, width);
    QStringList list;
    // Weekday arrays start at index 1 (UCAL_SUNDAY); index 0 is empty.
    for (int32_t i = months ? 0 : 1; i < count; ++i)
        list << icu_string::toQString(names[i]);
    return list;
}

// The ICU calendars this thread has built, the one used last first. A handful covers
// every calendar the app keeps (the current one, the settings' week start, a foreign
// event's zone); the entry's own zone keeps the zone its key points to alive.
class EngineCache {
public:
    icu::Calendar& get(const TimeZone& zone, const Locale& locale, int firstWeekday, int minimumDays) {
        const icu::TimeZone* key = &zone.icu();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (&it->zone.icu() == key && it->firstWeekday == firstWeekday && it->minimumDays == minimumDays &&
                it->locale == locale) {
                if (it != m_entries.begin())
                    std::rotate(m_entries.begin(), it, it + 1);
                return *m_entries.front().calendar;
            }
        }
        std::unique_ptr<icu::Calendar> calendar = makeCalendar(zone, locale);
        if (firstWeekday != 0)
            calendar->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(firstWeekday));
        if (minimumDays != 0)
            calendar->setMinimalDaysInFirstWeek(static_cast<uint8_t>(minimumDays));
        if (m_entries.size() == kCapacity)
            m_entries.pop_back();
        m_entries.insert(m_entries.begin(), Entry{zone, locale, firstWeekday, minimumDays, std::move(calendar)});
        return *m_entries.front().calendar;
    }

private:
    static constexpr size_t kCapacity = 8;
    struct Entry {
        TimeZone zone;
        Locale locale;
        int firstWeekday;
        int minimumDays;
        std::unique_ptr<icu::Calendar> calendar;
    };
    std::vector<Entry> m_entries;
};

}  // namespace

Calendar::Calendar() : Calendar(TimeZone::current(), Locale::current()) {}

Calendar::Calendar(TimeZone zone, Locale locale) : m_zone(std::move(zone)), m_locale(std::move(locale)) {}

void Calendar::setTimeZone(const TimeZone& zone) { m_zone = zone; }

icu::Calendar& Calendar::engine() const {
    thread_local EngineCache cache;
    return cache.get(m_zone, m_locale, m_firstWeekday, m_minimumDays);
}

int Calendar::firstWeekday() const { return m_firstWeekday != 0 ? m_firstWeekday : engine().getFirstDayOfWeek(); }

void Calendar::setFirstWeekday(int weekday) {
    if (weekday >= 1 && weekday <= 7)
        m_firstWeekday = weekday;
}

int Calendar::minimumDaysInFirstWeek() const {
    return m_minimumDays != 0 ? m_minimumDays : engine().getMinimalDaysInFirstWeek();
}

void Calendar::setMinimumDaysInFirstWeek(int days) {
    if (days >= 1 && days <= 7)
        m_minimumDays = days;
}

icu::Calendar& Calendar::at(Date date) const {
    icu::Calendar& cal = engine();
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(date.toUDate(), status);
    return cal;
}

Date Calendar::startOfDay(Date date) const {
    if (!inRange(date))
        return date;
    icu::Calendar& cal = at(date);
    UErrorCode status = U_ZERO_ERROR;
    cal.set(UCAL_HOUR_OF_DAY, 0);
    cal.set(UCAL_MINUTE, 0);
    cal.set(UCAL_SECOND, 0);
    cal.set(UCAL_MILLISECOND, 0);
    const UDate start = cal.getTime(status);
    return U_SUCCESS(status) ? Date::fromUDate(start) : date;
}

std::optional<Date> Calendar::dateByAdding(CalendarUnit unit, int value, Date date) const {
    if (!inRange(date))
        return std::nullopt;
    const auto field = addField(unit);
    if (!field)
        return std::nullopt;
    icu::Calendar& cal = at(date);
    UErrorCode status = U_ZERO_ERROR;
    cal.add(*field, value, status);
    const UDate result = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return Date::fromUDate(result);
}

std::optional<Date> Calendar::dateByAdding(const DateComponents& c, Date date) const {
    if (!inRange(date))
        return std::nullopt;
    icu::Calendar& cal = at(date);
    UErrorCode status = U_ZERO_ERROR;
    // Largest unit first, so that "one month and one day" after 31 January is 1 March.
    const std::pair<const std::optional<int>&, UCalendarDateFields> steps[] = {
        {c.year, UCAL_EXTENDED_YEAR}, {c.yearForWeekOfYear, UCAL_YEAR_WOY}, {c.month, UCAL_MONTH},
        {c.weekOfYear, UCAL_WEEK_OF_YEAR}, {c.day, UCAL_DATE}, {c.weekday, UCAL_DATE},
        {c.hour, UCAL_HOUR_OF_DAY}, {c.minute, UCAL_MINUTE}, {c.second, UCAL_SECOND}};
    for (const auto& [value, field] : steps)
        if (value)
            cal.add(field, *value, status);
    const UDate result = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return Date::fromUDate(result);
}

int Calendar::component(CalendarUnit unit, Date date) const {
    if (!inRange(date))
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    const int value = at(date).get(readField(unit), status);
    return unit == CalendarUnit::Month ? value + 1 : value;
}

DateComponents Calendar::components(Date date) const {
    DateComponents c;
    if (!inRange(date))
        return c;
    icu::Calendar& cal = at(date);
    UErrorCode status = U_ZERO_ERROR;
    c.year = cal.get(UCAL_EXTENDED_YEAR, status);
    c.month = cal.get(UCAL_MONTH, status) + 1;
    c.day = cal.get(UCAL_DATE, status);
    c.hour = cal.get(UCAL_HOUR_OF_DAY, status);
    c.minute = cal.get(UCAL_MINUTE, status);
    c.second = cal.get(UCAL_SECOND, status);
    c.weekday = cal.get(UCAL_DAY_OF_WEEK, status);
    c.weekOfYear = cal.get(UCAL_WEEK_OF_YEAR, status);
    c.yearForWeekOfYear = cal.get(UCAL_YEAR_WOY, status);
    return c;
}

std::optional<Date> Calendar::date(const DateComponents& c) const {
    // The lowest int has no zero-based month; no calendar date lies that far out anyway.
    if (c.month == std::numeric_limits<int>::min())
        return std::nullopt;
    icu::Calendar& cal = engine();
    cal.clear();
    if (c.yearForWeekOfYear && c.weekOfYear) {
        cal.set(UCAL_YEAR_WOY, *c.yearForWeekOfYear);
        cal.set(UCAL_WEEK_OF_YEAR, *c.weekOfYear);
        cal.set(UCAL_DAY_OF_WEEK, c.weekday.value_or(firstWeekday()));
    } else {
        cal.set(UCAL_EXTENDED_YEAR, c.year.value_or(1));
        cal.set(UCAL_MONTH, c.month.value_or(1) - 1);
        cal.set(UCAL_DATE, c.day.value_or(1));
    }
    cal.set(UCAL_HOUR_OF_DAY, c.hour.value_or(0));
    cal.set(UCAL_MINUTE, c.minute.value_or(0));
    cal.set(UCAL_SECOND, c.second.value_or(0));
    cal.set(UCAL_MILLISECOND, 0);
    UErrorCode status = U_ZERO_ERROR;
    const UDate result = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return Date::fromUDate(result);
}

bool Calendar::isDateInSameDay(Date a, Date b) const { return isDate(a, b, CalendarUnit::Day); }

bool Calendar::isDate(Date a, Date b, CalendarUnit granularity) const {
    if (!inRange(a) || !inRange(b))
        return a == b;
    const DateComponents x = components(a);
    const DateComponents y = components(b);
    switch (granularity) {
        case CalendarUnit::Era:
            return component(CalendarUnit::Era, a) == component(CalendarUnit::Era, b);
        case CalendarUnit::Year: return x.year == y.year;
        case CalendarUnit::YearForWeekOfYear: return x.yearForWeekOfYear == y.yearForWeekOfYear;
        case CalendarUnit::Month: return x.year == y.year && x.month == y.month;
        case CalendarUnit::WeekOfYear:
        case CalendarUnit::WeekOfMonth:
            return x.yearForWeekOfYear == y.yearForWeekOfYear && x.weekOfYear == y.weekOfYear;
        case CalendarUnit::Day:
        case CalendarUnit::Weekday: return x.year == y.year && x.month == y.month && x.day == y.day;
        case CalendarUnit::Hour: {
            // The repeated hour of a fall-back day shows one wall-clock hour twice, and
            // two moments minutes apart may lie in different ones: the real hour decides.
            // Both hours are compared, as after a half-hour shift they overlap.
            const auto hourOfA = dateInterval(CalendarUnit::Hour, a);
            const auto hourOfB = dateInterval(CalendarUnit::Hour, b);
            return hourOfA && hourOfB && hourOfA->start == hourOfB->start;
        }
        case CalendarUnit::Minute: return std::floor(a.secondsSince1970() / 60) == std::floor(b.secondsSince1970() / 60);
        case CalendarUnit::Second: return std::floor(a.secondsSince1970()) == std::floor(b.secondsSince1970());
    }
    return false;
}

bool Calendar::isDateInToday(Date date) const { return isDateInSameDay(date, Date::now()); }

std::optional<DateInterval> Calendar::betweenDaysStarting(const DateComponents& first,
                                                          const DateComponents& next) const {
    const auto from = this->date(first);
    const auto to = this->date(next);
    if (!from || !to)
        return std::nullopt;
    const Date start = startOfDay(*from);
    return DateInterval{start, startOfDay(*to) - start};
}

std::optional<DateInterval> Calendar::dateInterval(CalendarUnit unit, Date date) const {
    if (!inRange(date))
        return std::nullopt;
    Date start;
    std::optional<Date> next;
    switch (unit) {
        case CalendarUnit::Day:
        case CalendarUnit::Weekday:
            start = startOfDay(date);
            next = dateByAdding(CalendarUnit::Day, 1, start);
            if (next)
                next = startOfDay(*next + 1);
            break;
        case CalendarUnit::Month: {
            const DateComponents c = components(date);
            return betweenDaysStarting({.year = c.year, .month = c.month, .day = 1},
                                       {.year = c.year, .month = *c.month + 1, .day = 1});
        }
        case CalendarUnit::Year: {
            const int year = component(CalendarUnit::Year, date);
            return betweenDaysStarting({.year = year, .month = 1, .day = 1}, {.year = year + 1, .month = 1, .day = 1});
        }
        case CalendarUnit::WeekOfYear:
        case CalendarUnit::WeekOfMonth:
        case CalendarUnit::YearForWeekOfYear: {
            const int back = (component(CalendarUnit::Weekday, date) - firstWeekday() + 7) % 7;
            auto weekStart = dateByAdding(CalendarUnit::Day, -back, startOfDay(date));
            if (!weekStart)
                return std::nullopt;
            start = startOfDay(*weekStart);
            next = dateByAdding(CalendarUnit::Day, 7, start);
            if (next)
                next = startOfDay(*next);
            break;
        }
        case CalendarUnit::Hour:
        case CalendarUnit::Minute:
        case CalendarUnit::Second: {
            // Offsets are whole minutes in practice, so hour and minute boundaries
            // fall at fixed distances from the wall clock's minute and second.
            const DateComponents c = components(date);
            const double millis = std::fmod(date.toUDate(), 1000.0);
            const double intoSecond = (millis < 0 ? millis + 1000.0 : millis) / 1000.0;
            const double length = unit == CalendarUnit::Hour ? 3600 : unit == CalendarUnit::Minute ? 60 : 1;
            double into = intoSecond;
            if (unit != CalendarUnit::Second)
                into += *c.second;
            if (unit == CalendarUnit::Hour)
                into += *c.minute * 60.0;
            return DateInterval{date - into, length};
        }
        case CalendarUnit::Era: return std::nullopt;
    }
    if (!next)
        return std::nullopt;
    return DateInterval{start, *next - start};
}

std::optional<Date> Calendar::dateBySettingTime(int hour, int minute, int second, Date date) const {
    if (!inRange(date) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    icu::Calendar& cal = at(date);
    cal.set(UCAL_HOUR_OF_DAY, hour);
    cal.set(UCAL_MINUTE, minute);
    cal.set(UCAL_SECOND, second);
    cal.set(UCAL_MILLISECOND, 0);
    UErrorCode status = U_ZERO_ERROR;
    const UDate result = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return Date::fromUDate(result);
}

int Calendar::daysBetween(Date from, Date to) const {
    if (!inRange(from) || !inRange(to))
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    const int a = at(from).get(UCAL_JULIAN_DAY, status);
    const int b = at(to).get(UCAL_JULIAN_DAY, status);
    return b - a;
}

QStringList Calendar::veryShortStandaloneWeekdaySymbols() const {
    return symbols(m_locale, false, icu::DateFormatSymbols::NARROW);
}

QStringList Calendar::shortStandaloneWeekdaySymbols() const {
    return symbols(m_locale, false, icu::DateFormatSymbols::ABBREVIATED);
}

QStringList Calendar::standaloneWeekdaySymbols() const { return symbols(m_locale, false, icu::DateFormatSymbols::WIDE); }

QStringList Calendar::standaloneMonthSymbols() const { return symbols(m_locale, true, icu::DateFormatSymbols::WIDE); }

QStringList Calendar::shortStandaloneMonthSymbols() const {
    return symbols(m_locale, true, icu::DateFormatSymbols::ABBREVIATED);
}

}  // namespace core
