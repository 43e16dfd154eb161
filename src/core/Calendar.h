#pragma once

#include <unicode/uversion.h>

#include "core/Date.h"
#include "core/Locale.h"
#include "core/TimeZone.h"

#include <QStringList>

#include <optional>

U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace core {

enum class CalendarUnit { Era, Year, Month, Day, Hour, Minute, Second, Weekday, WeekOfYear, YearForWeekOfYear, WeekOfMonth };

// Any subset of the calendar fields; unset fields are nullopt.
struct DateComponents {
    std::optional<int> year;
    std::optional<int> month;  // 1...12
    std::optional<int> day;
    std::optional<int> hour;
    std::optional<int> minute;
    std::optional<int> second;
    std::optional<int> weekday;     // 1 = Sunday ... 7 = Saturday
    std::optional<int> weekOfYear;  // by the calendar's firstWeekday and minimumDaysInFirstWeek
    std::optional<int> yearForWeekOfYear;

    bool operator==(const DateComponents&) const = default;
};

struct DateInterval {
    Date start;
    double duration = 0;
    Date end() const { return start + duration; }
    // Half-open: the end belongs to the next interval.
    bool contains(Date date) const { return date >= start && date < end(); }
    bool operator==(const DateInterval&) const = default;
};

// A Gregorian calendar in a time zone and locale. Always Gregorian, whatever
// the locale prefers, so a Thai or Persian locale never changes the year.
// A value type that is cheap to build and copy: it holds only its settings, and
// each thread keeps the ICU calendars it works with, one per set of settings
// (an ICU calendar copies its zone's rules whole, ~0.1 ms for a tz-database
// zone). So one instance may be used from several threads at once.
class Calendar {
public:
    // Current time zone and locale.
    Calendar();
    Calendar(TimeZone zone, Locale locale);
    static Calendar current() { return Calendar(); }

    TimeZone timeZone() const { return m_zone; }
    void setTimeZone(const TimeZone& zone);
    Locale locale() const { return m_locale; }

    // 1 = Sunday ... 7 = Saturday.
    int firstWeekday() const;
    void setFirstWeekday(int weekday);
    int minimumDaysInFirstWeek() const;
    void setMinimumDaysInFirstWeek(int days);

    // The first moment of the day; 01:00 (or whenever the day begins) on a day without midnight.
    Date startOfDay(Date date) const;
    std::optional<Date> dateByAdding(CalendarUnit unit, int value, Date date) const;
    // Adds each set field, largest unit first.
    std::optional<Date> dateByAdding(const DateComponents& components, Date date) const;

    int component(CalendarUnit unit, Date date) const;
    // All of year, month, day, hour, minute, second, weekday, weekOfYear, yearForWeekOfYear.
    DateComponents components(Date date) const;
    // A date from year/month/day/hour/minute/second (missing fields take their
    // smallest value); or from yearForWeekOfYear/weekOfYear/weekday. Skipped wall
    // times move forward to the next valid time, repeated ones take the first.
    std::optional<Date> date(const DateComponents& components) const;

    bool isDateInSameDay(Date a, Date b) const;
    bool isDate(Date a, Date b, CalendarUnit granularity) const;
    bool isDateInToday(Date date) const;

    // The month, day, or week (WeekOfYear) containing the date.
    std::optional<DateInterval> dateInterval(CalendarUnit unit, Date date) const;

    // The given wall time on the day of `date`. A time skipped by a DST change
    // gives the next valid time (02:30 → 03:00); a repeated one gives the first.
    std::optional<Date> dateBySettingTime(int hour, int minute, int second, Date date) const;

    // Whole calendar days from the day of `from` to the day of `to` (negative when earlier).
    int daysBetween(Date from, Date to) const;

    // Seven entries, Sunday first.
    QStringList veryShortStandaloneWeekdaySymbols() const;
    QStringList shortStandaloneWeekdaySymbols() const;
    QStringList standaloneWeekdaySymbols() const;
    // Twelve entries, January first.
    QStringList standaloneMonthSymbols() const;
    QStringList shortStandaloneMonthSymbols() const;

private:
    // This thread's ICU calendar with these settings, its time left where the last use set it.
    icu::Calendar& engine() const;
    icu::Calendar& at(Date date) const;
    // From the start of the day `first` names to the start of the day `next` names.
    std::optional<DateInterval> betweenDaysStarting(const DateComponents& first, const DateComponents& next) const;
    TimeZone m_zone;
    Locale m_locale;
    int m_firstWeekday = 0;  // 0: the locale's
    int m_minimumDays = 0;   // 0: the locale's
};

}  // namespace core
