#include "core/Calendar.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using core::Calendar;
using core::CalendarUnit;
using core::Date;
using core::DateComponents;
using core::Locale;
using core::TimeZone;

using namespace Qt::Literals::StringLiterals;

namespace {

Calendar calendarIn(const char* zone, const char* locale = "en_US") {
    return Calendar(*TimeZone::withIdentifier(QString::fromLatin1(zone)), Locale(QString::fromLatin1(locale)));
}

Date at(const Calendar& cal, int y, int mo, int d, int h = 0, int mi = 0) {
    return *cal.date({.year = y, .month = mo, .day = d, .hour = h, .minute = mi});
}

Date utc(int y, int mo, int d, int h = 0, int mi = 0) {
    return Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC));
}

struct WeekCase {
    int y, mo, d;
    int week, yearForWeek;
};

TEST(Calendar, IsoWeeksWithMondayFirstAndFourMinimalDaysAcrossYearEnds) {
    Calendar cal = calendarIn("Europe/Berlin", "en_US");
    cal.setFirstWeekday(2);
    cal.setMinimumDaysInFirstWeek(4);
    for (const WeekCase& c : {WeekCase{2020, 12, 31, 53, 2020}, WeekCase{2021, 1, 3, 53, 2020},
                              WeekCase{2021, 1, 4, 1, 2021}, WeekCase{2024, 12, 30, 1, 2025},
                              WeekCase{2026, 12, 31, 53, 2026}, WeekCase{2027, 1, 3, 53, 2026},
                              WeekCase{2027, 1, 4, 1, 2027}}) {
        const Date date = at(cal, c.y, c.mo, c.d, 12);
        EXPECT_EQ(cal.component(CalendarUnit::WeekOfYear, date), c.week) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_EQ(cal.component(CalendarUnit::YearForWeekOfYear, date), c.yearForWeek) << c.y << "-" << c.mo << "-" << c.d;
    }
}

TEST(Calendar, SundayFirstWeeksFollowTheLocale) {
    const Calendar us = calendarIn("America/New_York", "en_US");
    EXPECT_EQ(us.firstWeekday(), 1);
    EXPECT_EQ(us.minimumDaysInFirstWeek(), 1);
    // The week of Sunday 27 December 2026 holds 1 January 2027: week 1 of 2027.
    EXPECT_EQ(us.component(CalendarUnit::WeekOfYear, at(us, 2026, 12, 31, 12)), 1);
    EXPECT_EQ(us.component(CalendarUnit::YearForWeekOfYear, at(us, 2026, 12, 31, 12)), 2027);
    EXPECT_EQ(us.component(CalendarUnit::WeekOfYear, at(us, 2026, 12, 26, 12)), 52);
    EXPECT_EQ(us.component(CalendarUnit::Weekday, at(us, 2026, 12, 27, 12)), 1);

    const Calendar gb = calendarIn("Europe/London", "en_GB");
    EXPECT_EQ(gb.firstWeekday(), 2);
    EXPECT_EQ(gb.minimumDaysInFirstWeek(), 4);
}

TEST(Calendar, DayArithmeticKeepsTheWallTimeAcrossDaylightSaving) {
    const Calendar cal = calendarIn("Europe/Berlin");
    const Date before = at(cal, 2025, 3, 29, 10, 15);
    const Date after = *cal.dateByAdding(CalendarUnit::Day, 1, before);
    EXPECT_EQ(after - before, 23 * 3600);
    EXPECT_EQ(cal.component(CalendarUnit::Hour, after), 10);
    EXPECT_EQ(cal.component(CalendarUnit::Minute, after), 15);
    // Hours are elapsed time, not wall time.
    EXPECT_EQ(*cal.dateByAdding(CalendarUnit::Hour, 24, before) - before, 24 * 3600);
    // Months clamp to the end of a shorter month.
    const Date jan31 = at(cal, 2025, 1, 31, 9);
    EXPECT_EQ(cal.components(*cal.dateByAdding(CalendarUnit::Month, 1, jan31)).day, 28);
    EXPECT_EQ(cal.daysBetween(at(cal, 2025, 3, 29, 23, 59), at(cal, 2025, 3, 31, 0, 1)), 2);
    EXPECT_EQ(cal.daysBetween(at(cal, 2025, 3, 31), at(cal, 2025, 3, 29)), -2);
}

TEST(Calendar, StartOfDayOnADayWithoutMidnight) {
    const Calendar cal = calendarIn("America/Sao_Paulo");
    const Date noon = at(cal, 2018, 11, 4, 12);
    const Date start = cal.startOfDay(noon);
    EXPECT_EQ(cal.component(CalendarUnit::Hour, start), 1);
    EXPECT_EQ(cal.component(CalendarUnit::Day, start), 4);
    EXPECT_EQ(start, utc(2018, 11, 4, 3));
    const auto day = cal.dateInterval(CalendarUnit::Day, noon);
    ASSERT_TRUE(day);
    EXPECT_EQ(day->start, start);
    EXPECT_EQ(day->duration, 23 * 3600);
}

TEST(Calendar, SettingATimeSkippedOrRepeatedByDaylightSaving) {
    const Calendar cal = calendarIn("Europe/Berlin");
    // Spring forward: 02:00–03:00 does not exist; the next valid time is 03:00.
    const auto spring = cal.dateBySettingTime(2, 30, 0, at(cal, 2025, 3, 30, 12));
    ASSERT_TRUE(spring);
    EXPECT_EQ(*spring, utc(2025, 3, 30, 1));
    EXPECT_EQ(cal.component(CalendarUnit::Hour, *spring), 3);
    EXPECT_EQ(cal.component(CalendarUnit::Minute, *spring), 0);
    // Fall back: 02:30 happens twice; the first one is still summer time.
    const auto fall = cal.dateBySettingTime(2, 30, 0, at(cal, 2025, 10, 26, 12));
    ASSERT_TRUE(fall);
    EXPECT_EQ(*fall, utc(2025, 10, 26, 0, 30));
    EXPECT_FALSE(cal.dateBySettingTime(24, 0, 0, at(cal, 2025, 10, 26, 12)));
    // A date built from components takes the same rules.
    EXPECT_EQ(at(cal, 2025, 3, 30, 2, 30), utc(2025, 3, 30, 1));
}

TEST(Calendar, IntervalsAndComparisons) {
    Calendar cal = calendarIn("Europe/Berlin", "de_DE");
    const Date mid = at(cal, 2025, 10, 15, 13, 45);
    const auto month = cal.dateInterval(CalendarUnit::Month, mid);
    ASSERT_TRUE(month);
    EXPECT_EQ(month->start, at(cal, 2025, 10, 1));
    EXPECT_EQ(month->end(), at(cal, 2025, 11, 1));
    EXPECT_EQ(month->duration, 31 * 86400 + 3600);  // October holds the fall-back hour

    const auto week = cal.dateInterval(CalendarUnit::WeekOfYear, mid);
    ASSERT_TRUE(week);
    EXPECT_EQ(week->start, at(cal, 2025, 10, 13));  // a Monday in Germany
    cal.setFirstWeekday(1);
    EXPECT_EQ(cal.dateInterval(CalendarUnit::WeekOfYear, mid)->start, at(cal, 2025, 10, 12));

    const auto hour = cal.dateInterval(CalendarUnit::Hour, mid + 0.25);
    EXPECT_EQ(hour->start, at(cal, 2025, 10, 15, 13));

    EXPECT_TRUE(cal.isDateInSameDay(at(cal, 2025, 10, 15, 0, 0), at(cal, 2025, 10, 15, 23, 59)));
    EXPECT_FALSE(cal.isDateInSameDay(at(cal, 2025, 10, 15, 23, 59), at(cal, 2025, 10, 16, 0, 0)));
    EXPECT_TRUE(cal.isDate(at(cal, 2025, 10, 1), at(cal, 2025, 10, 31, 23), CalendarUnit::Month));
    EXPECT_FALSE(cal.isDate(at(cal, 2024, 10, 1), at(cal, 2025, 10, 1), CalendarUnit::Month));
    // The two 02:30s of the fall-back night are different hours.
    const Date first = utc(2025, 10, 26, 0, 30);
    EXPECT_FALSE(cal.isDate(first, first + 3600, CalendarUnit::Hour));
    EXPECT_TRUE(cal.isDate(first, first + 1200, CalendarUnit::Hour));

    const DateComponents c = cal.components(mid);
    EXPECT_EQ(c.year, 2025);
    EXPECT_EQ(c.month, 10);
    EXPECT_EQ(c.weekday, 4);
}

TEST(Calendar, AlwaysGregorianWhateverTheLocalePrefers) {
    for (const char* locale : {"th_TH", "fa_IR", "ja_JP@calendar=japanese", "ar_SA"}) {
        const Calendar cal = calendarIn("UTC", locale);
        EXPECT_EQ(cal.component(CalendarUnit::Year, utc(2025, 6, 1)), 2025) << locale;
        EXPECT_EQ(cal.component(CalendarUnit::Month, utc(2025, 6, 1)), 6) << locale;
    }
    // No switch to Julian rules in 1582.
    const Calendar cal = calendarIn("UTC");
    EXPECT_EQ(cal.daysBetween(utc(1582, 10, 4), utc(1582, 10, 15)), 11);
}

TEST(Calendar, WeekdaySymbolsStartOnSunday) {
    EXPECT_EQ(calendarIn("UTC", "en_US").veryShortStandaloneWeekdaySymbols(),
              (QStringList{u"S"_s, u"M"_s, u"T"_s, u"W"_s, u"T"_s, u"F"_s, u"S"_s}));
    EXPECT_EQ(calendarIn("UTC", "de_DE").veryShortStandaloneWeekdaySymbols().first(), u"S"_s);
    EXPECT_EQ(calendarIn("UTC", "de_DE").shortStandaloneWeekdaySymbols().at(1), u"Mo"_s);
    EXPECT_EQ(calendarIn("UTC", "en_GB").standaloneMonthSymbols().size(), 12);
    EXPECT_EQ(calendarIn("UTC", "en_GB").standaloneMonthSymbols().first(), u"January"_s);
}

TEST(Calendar, TheRepeatedHourOfAFallBackDayIsTwoHours) {
    const Calendar cal = calendarIn("Europe/Berlin");
    const Date lateFirst = utc(2025, 10, 26, 0, 59);   // 02:59 summer time
    const Date earlySecond = utc(2025, 10, 26, 1, 1);  // 02:01 winter time, two minutes later
    EXPECT_FALSE(cal.isDate(lateFirst, earlySecond, CalendarUnit::Hour));
    EXPECT_TRUE(cal.isDate(earlySecond, utc(2025, 10, 26, 1, 59), CalendarUnit::Hour));
    EXPECT_TRUE(cal.isDate(utc(2025, 10, 26, 0, 0), lateFirst, CalendarUnit::Hour));
}

TEST(Calendar, SameHourReadsTheSameBothWaysOnAHalfHourShift) {
    const Calendar cal = calendarIn("Australia/Lord_Howe");
    // Lord Howe falls back half an hour at 15:00 UTC on 5 April 2025: 01:45 in summer
    // time, then 01:40 in standard time 25 minutes later.
    const Date a(1743864300);
    const Date b(1743865800);
    EXPECT_EQ(cal.isDate(a, b, CalendarUnit::Hour), cal.isDate(b, a, CalendarUnit::Hour));
    for (Date x = utc(2025, 4, 5, 13); x < utc(2025, 4, 5, 17); x += 300)
        for (Date y = x; y < x + 7200; y += 300)
            ASSERT_EQ(cal.isDate(x, y, CalendarUnit::Hour), cal.isDate(y, x, CalendarUnit::Hour))
                << core::toIsoString(x).toStdString() << " " << core::toIsoString(y).toStdString();
    EXPECT_TRUE(cal.isDate(utc(2025, 4, 5, 15, 5), utc(2025, 4, 5, 15, 25), CalendarUnit::Hour));
}

TEST(Calendar, OutOfRangeDatesFailInsteadOfMisbehaving) {
    const Calendar cal = calendarIn("UTC");
    const Date nan(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(cal.dateByAdding(CalendarUnit::Day, 1, nan));
    EXPECT_FALSE(cal.dateInterval(CalendarUnit::Month, Date(1e300)));
    EXPECT_FALSE(cal.dateBySettingTime(9, 0, 0, Date(std::numeric_limits<double>::infinity())));
    EXPECT_FALSE(cal.date({.year = 2025, .month = std::numeric_limits<int>::min(), .day = 1}));
}

// Copies share nothing a change could reach: each keeps its own zone and week settings,
// however they are used in turn.
TEST(Calendar, CopiesKeepTheirOwnZoneAndWeekSettings) {
    Calendar iso = calendarIn("Europe/Berlin", "en_US");
    iso.setFirstWeekday(2);
    iso.setMinimumDaysInFirstWeek(4);
    Calendar copy = iso;
    copy.setTimeZone(*TimeZone::withIdentifier(u"America/New_York"_s));
    copy.setFirstWeekday(1);
    copy.setMinimumDaysInFirstWeek(1);
    const Calendar plainBerlin = calendarIn("Europe/Berlin", "en_US");

    const Date moment = utc(2027, 1, 3, 3);  // Sunday 3 January in Berlin, still the 2nd in New York
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(iso.firstWeekday(), 2);
        EXPECT_EQ(iso.component(CalendarUnit::WeekOfYear, moment), 53);
        EXPECT_EQ(iso.component(CalendarUnit::Day, moment), 3);
        EXPECT_EQ(copy.firstWeekday(), 1);
        EXPECT_EQ(copy.component(CalendarUnit::WeekOfYear, moment), 1);
        EXPECT_EQ(copy.component(CalendarUnit::Day, moment), 2);
        EXPECT_EQ(plainBerlin.firstWeekday(), 1);
        EXPECT_EQ(plainBerlin.component(CalendarUnit::WeekOfYear, moment), 2);
    }
    // Out-of-range settings are ignored, as before.
    copy.setFirstWeekday(0);
    copy.setMinimumDaysInFirstWeek(9);
    EXPECT_EQ(copy.firstWeekday(), 1);
    EXPECT_EQ(copy.minimumDaysInFirstWeek(), 1);
}

TEST(Calendar, ManyZonesUsedInTurnEachKeepTheirOwnRules) {
    const char* zones[] = {"Europe/Berlin", "America/New_York", "Asia/Kolkata", "Australia/Lord_Howe",
                           "Pacific/Chatham", "America/Sao_Paulo", "Asia/Tokyo", "Africa/Lagos",
                           "Europe/London", "America/St_Johns", "Asia/Kathmandu", "UTC"};
    std::vector<Calendar> calendars;
    std::vector<int> expected;
    const Date moment = utc(2026, 7, 1, 12);
    for (const char* zone : zones) {
        calendars.push_back(calendarIn(zone));
        const QTimeZone qt{QByteArray(zone)};
        expected.push_back(qt.offsetFromUtc(moment.toQDateTime()) / 60);
    }
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < calendars.size(); ++i) {
            const DateComponents c = calendars[i].components(moment);
            EXPECT_EQ((*c.hour - 12) * 60 + *c.minute + (*c.day - 1) * 24 * 60, expected[i]) << zones[i];
        }
    }
}

// The suite's name puts it in the thread-sanitizer run.
TEST(CalendarThreads, OneCalendarUsedFromSeveralThreadsAtOnceAgrees) {
    Calendar shared = calendarIn("Europe/Berlin", "en_GB");
    shared.setFirstWeekday(2);
    const Date start = utc(2026, 1, 1);
    std::vector<DateComponents> expected;
    for (int day = 0; day < 400; ++day)
        expected.push_back(shared.components(*shared.dateByAdding(CalendarUnit::Day, day, start)));

    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int day = 0; day < 400; ++day) {
                const auto date = shared.dateByAdding(CalendarUnit::Day, day, start);
                if (!date || shared.components(*date) != expected[static_cast<size_t>(day)] ||
                    shared.startOfDay(*date) > *date)
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
