#include "IcsTestSupport.h"

#include <gtest/gtest.h>

using namespace vdirtest;

namespace {

QStringList weeklyBerlin(const QString& rule) {
    return {QStringLiteral("BEGIN:VEVENT"),
            QStringLiteral("UID:w1"),
            QStringLiteral("SUMMARY:Standup"),
            QStringLiteral("DTSTART;TZID=Europe/Berlin:20240304T100000"),
            QStringLiteral("DTEND;TZID=Europe/Berlin:20240304T103000"),
            rule,
            QStringLiteral("END:VEVENT")};
}

using Starts = std::vector<std::pair<QString, QString>>;
using Windows = std::vector<std::pair<core::Date, core::Date>>;

// Calls `check` with each rule from each start (DTSTART and DTEND lines) in each window, and a label for failures.
template <typename Check>
void forEachSeriesAndWindow(const QStringList& rules, const Starts& starts, const Windows& windows, Check check) {
    for (const QString& rule : rules) {
        for (const auto& [start, end] : starts) {
            QStringList lines = weeklyBerlin(rule);
            lines[3] = start;
            lines[4] = end;
            const ParsedSeries s(ics(lines));
            for (const auto& [from, to] : windows)
                check(s, from, to, rule.toStdString() + " " + start.toStdString() + " " +
                                       core::toIsoString(from).toStdString());
        }
    }
}

// Each rule from each start gives the same starts in each window our way and libical's.
void expectOursAgreesWithLibical(const QStringList& rules, const Starts& starts, const Windows& windows) {
    forEachSeriesAndWindow(rules, starts, windows,
                           [](const ParsedSeries& s, core::Date from, core::Date to, const std::string& label) {
                               const auto ours = s.starts(from, to);
                               platform::vdir::setRuleShortcutsForTesting(false);
                               const auto theirs = s.starts(from, to);
                               platform::vdir::setRuleShortcutsForTesting(true);
                               EXPECT_EQ(ours, theirs) << label;
                           });
}

// Each rule from each start gives in each window, our way and libical's, what a walk from the start finds there.
void expectWalksNearTheWindowAgreeWithAWalkFromTheStart(const QStringList& rules, const Starts& starts,
                                                        const Windows& windows) {
    forEachSeriesAndWindow(
        rules, starts, windows, [](const ParsedSeries& s, core::Date from, core::Date to, const std::string& label) {
            const core::Date start = s.series.master->start->toDate(core::TimeZone::current());
            std::vector<core::Date> fromTheStart;
            for (const IcsOccurrence& o : s.expand(start - 3 * 86400.0, to))
                if (o.end > from)
                    fromTheStart.push_back(o.start);
            ASSERT_FALSE(fromTheStart.empty()) << label;
            EXPECT_EQ(s.starts(from, to), fromTheStart) << label;
            platform::vdir::setRuleShortcutsForTesting(false);
            EXPECT_EQ(s.starts(from, to), fromTheStart) << label << " (libical)";
            platform::vdir::setRuleShortcutsForTesting(true);
        });
}

}  // namespace

TEST(IcsRecurrence, WeeklyRuleKeepsWallTimeAcrossDaylightSavingChange) {
    const ParsedSeries s(ics(weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=5"))));
    const auto occurrences = s.expand(utc(2024, 1, 1), utc(2025, 1, 1));
    ASSERT_EQ(occurrences.size(), 5u);
    EXPECT_EQ(occurrences[3].start, utc(2024, 3, 25, 9));  // CET
    EXPECT_EQ(occurrences[4].start, utc(2024, 4, 1, 8));   // CEST: still 10:00 on the wall
    EXPECT_EQ(occurrences[4].end, utc(2024, 4, 1, 8, 30));
    EXPECT_EQ(occurrences[4].occurrenceDate, occurrences[4].start);
    EXPECT_FALSE(occurrences[4].isDetached);
}

TEST(IcsRecurrence, UtcUntilOnTheLastOccurrenceKeepsIt) {
    // The last occurrence starts exactly at UNTIL (10:00 CET = 09:00Z); it belongs to the series.
    const ParsedSeries s(ics(weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;UNTIL=20240318T090000Z"))));
    const auto starts = s.starts(utc(2024, 1, 1), utc(2025, 1, 1));
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts.back(), utc(2024, 3, 18, 9));
}

TEST(IcsRecurrence, ExdatesRdatesAndOverrides) {
    QStringList lines = weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=5"));
    lines.insert(5, QStringLiteral("EXDATE;TZID=Europe/Berlin:20240311T100000"));
    lines.insert(5, QStringLiteral("RDATE:20240313T120000Z"));
    lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:w1") << QStringLiteral("SUMMARY:Moved")
          << QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240318T100000")
          << QStringLiteral("DTSTART;TZID=Europe/Berlin:20240319T140000")
          << QStringLiteral("DTEND;TZID=Europe/Berlin:20240319T150000") << QStringLiteral("END:VEVENT");
    const ParsedSeries s(ics(lines));
    const auto occurrences = s.expand(utc(2024, 1, 1), utc(2025, 1, 1));
    std::vector<core::Date> starts;
    for (const auto& o : occurrences)
        starts.push_back(o.start);
    const std::vector<core::Date> expected{utc(2024, 3, 4, 9), utc(2024, 3, 13, 12), utc(2024, 3, 19, 13),
                                           utc(2024, 3, 25, 9), utc(2024, 4, 1, 8)};
    EXPECT_EQ(starts, expected);
    const IcsOccurrence& moved = occurrences[2];
    EXPECT_TRUE(moved.isDetached);
    EXPECT_EQ(moved.occurrenceDate, utc(2024, 3, 18, 9));
    EXPECT_EQ(*moved.component->summary(), QStringLiteral("Moved"));
    EXPECT_EQ(moved.end, utc(2024, 3, 19, 14));
}

TEST(IcsRecurrence, ListsOfExdatesAndRdatesInOneProperty) {
    QStringList lines = weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=4"));
    lines.insert(5, QStringLiteral("EXDATE;TZID=Europe/Berlin:20240311T100000,20240318T100000"));
    lines.insert(5, QStringLiteral("RDATE;VALUE=DATE-TIME:20240401T120000Z,20240402T120000Z"));
    const auto starts = ParsedSeries(ics(lines)).starts(utc(2024, 1, 1), utc(2025, 1, 1));
    const std::vector<core::Date> expected{utc(2024, 3, 4, 9), utc(2024, 3, 25, 9), utc(2024, 4, 1, 12),
                                           utc(2024, 4, 2, 12)};
    EXPECT_EQ(starts, expected);
}

TEST(IcsRecurrence, OverrideMovedIntoTheWindowAppearsAndItsOriginalSlotStaysEmpty) {
    QStringList lines = weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY"));
    lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:w1")
          << QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240311T100000")
          << QStringLiteral("DTSTART;TZID=Europe/Berlin:20240601T100000")
          << QStringLiteral("DTEND;TZID=Europe/Berlin:20240601T110000") << QStringLiteral("END:VEVENT");
    const ParsedSeries s(ics(lines));
    const auto june = s.expand(utc(2024, 6, 1), utc(2024, 6, 2));
    ASSERT_EQ(june.size(), 1u);
    EXPECT_TRUE(june[0].isDetached);
    EXPECT_EQ(june[0].occurrenceDate, utc(2024, 3, 11, 9));
    EXPECT_TRUE(s.expand(utc(2024, 3, 11), utc(2024, 3, 12)).empty());
}

TEST(IcsRecurrence, CancelledOverrideRemovesItsOccurrence) {
    QStringList lines = weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3"));
    lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:w1") << QStringLiteral("STATUS:CANCELLED")
          << QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240311T100000")
          << QStringLiteral("DTSTART;TZID=Europe/Berlin:20240311T100000") << QStringLiteral("END:VEVENT");
    EXPECT_EQ(ParsedSeries(ics(lines)).starts(utc(2024, 1, 1), utc(2025, 1, 1)).size(), 2u);
}

TEST(IcsRecurrence, AllDayEventsEndAtTheLastSecondOfTheirLastDay) {
    const ParsedSeries s(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a1"), QStringLiteral("DTSTART;VALUE=DATE:20240330"),
             QStringLiteral("DTEND;VALUE=DATE:20240401"), QStringLiteral("RRULE:FREQ=YEARLY;COUNT=2"),
             QStringLiteral("END:VEVENT")}));
    const auto occurrences = s.expand(utc(2024, 1, 1), utc(2026, 1, 1));
    ASSERT_EQ(occurrences.size(), 2u);
    // Two days over the switch to summer time, read in the current zone (Berlin).
    EXPECT_EQ(occurrences[0].start, local("Europe/Berlin", 2024, 3, 30));
    EXPECT_EQ(occurrences[0].end, local("Europe/Berlin", 2024, 3, 31, 23, 59, 59));
    EXPECT_EQ(occurrences[1].start, local("Europe/Berlin", 2025, 3, 30));
}

TEST(IcsRecurrence, AllDayWithoutEndLastsOneDayAndFollowsTheCurrentZone) {
    const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a2"),
                              QStringLiteral("DTSTART;VALUE=DATE:20240704"), QStringLiteral("END:VEVENT")}));
    const auto inNewYork = s.expand(utc(2024, 7, 1), utc(2024, 7, 10), zone("America/New_York"));
    ASSERT_EQ(inNewYork.size(), 1u);
    EXPECT_EQ(inNewYork[0].start, local("America/New_York", 2024, 7, 4));
    EXPECT_EQ(inNewYork[0].end, local("America/New_York", 2024, 7, 4, 23, 59, 59));
}

TEST(IcsRecurrence, WindowEdges) {
    const ParsedSeries s(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:e1"), QStringLiteral("DTSTART:20240501T080000Z"),
             QStringLiteral("DTEND:20240501T090000Z"), QStringLiteral("END:VEVENT")}));
    EXPECT_TRUE(s.expand(utc(2024, 5, 1, 9), utc(2024, 5, 2)).empty()) << "ends exactly at the window start";
    EXPECT_TRUE(s.expand(utc(2024, 4, 30), utc(2024, 5, 1, 8)).empty()) << "starts exactly at the window end";
    EXPECT_EQ(s.expand(utc(2024, 5, 1, 8, 59), utc(2024, 5, 2)).size(), 1u);

    const ParsedSeries instant(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:e2"),
                                    QStringLiteral("DTSTART:20240501T080000Z"), QStringLiteral("END:VEVENT")}));
    EXPECT_EQ(instant.expand(utc(2024, 5, 1, 8), utc(2024, 5, 2)).size(), 1u) << "no length, starts inside";
}

// Rules are walked from just before the window; that must find exactly what a walk from DTSTART finds.
TEST(IcsRecurrence, WalkingFromNearTheWindowMatchesAWalkFromTheStart) {
    const QStringList rules{
        QStringLiteral("RRULE:FREQ=DAILY"),
        QStringLiteral("RRULE:FREQ=DAILY;INTERVAL=3"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR"),
        QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTHDAY=31"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=-1FR"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=1;BYMONTHDAY=15"),
        QStringLiteral("RRULE:FREQ=WEEKLY;UNTIL=20300101T000000Z"),
    };
    for (const QString& rule : rules) {
        const ParsedSeries s(ics(weeklyBerlin(rule)));
        const core::Date from = utc(2026, 11, 3, 7);
        const core::Date to = utc(2027, 2, 2);
        std::vector<core::Date> full;
        for (const core::Date d : s.starts(utc(2024, 1, 1), to))
            if (d + 1800 > from)
                full.push_back(d);
        EXPECT_EQ(s.starts(from, to), full) << rule.toStdString();
        EXPECT_FALSE(full.empty()) << rule.toStdString();
    }
}

TEST(IcsRecurrence, RunawayRulesStop) {
    const ParsedSeries s(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:r1"), QStringLiteral("DTSTART:20240101T000000Z"),
             QStringLiteral("RRULE:FREQ=SECONDLY;COUNT=0"), QStringLiteral("END:VEVENT")}));
    const auto occurrences = s.expand(utc(2024, 1, 1), utc(2030, 1, 1));
    EXPECT_LE(occurrences.size(), 200001u);
}

// A series may not flood a window with copies of itself: one whose every occurrence lasts for a century overlaps any
// window with all of them (200,000 were walked from 1900 and none of the window's own was reached), and one that
// repeats every second has millions in three weeks. Real series, long occurrences included, keep all of theirs.
TEST(IcsRecurrence, NoSeriesFloodsAWindowWithItsOccurrences) {
    const auto series = [](const QString& start, const QString& end, const QString& rule) {
        return ParsedSeries(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:s"), start, end, rule,
                                 QStringLiteral("END:VEVENT")}));
    };
    const core::Date from = utc(2024, 6, 3);
    const core::Date to = utc(2024, 6, 24);
    const auto startsInWindow = [&](const std::vector<core::Date>& starts) {
        return std::count_if(starts.begin(), starts.end(), [&](core::Date d) { return d >= from && d < to; });
    };

    const auto lastingACentury = series(QStringLiteral("DTSTART:19000101T000000Z"),
                                        QStringLiteral("DTEND:20300101T000000Z"), QStringLiteral("RRULE:FREQ=HOURLY"));
    const auto centuryStarts = lastingACentury.starts(from, to);
    EXPECT_LE(centuryStarts.size(), 10000u);
    EXPECT_EQ(startsInWindow(centuryStarts), 21 * 24);
    // Of those still running when the window begins, the latest.
    ASSERT_EQ(centuryStarts.size(), 1000u + 21 * 24);
    EXPECT_EQ(centuryStarts.front(), from - 1000 * 3600.0);

    const auto everySecond = series(QStringLiteral("DTSTART:20240101T000000Z"),
                                    QStringLiteral("DTEND:20240101T000001Z"), QStringLiteral("RRULE:FREQ=SECONDLY"));
    const auto secondStarts = everySecond.starts(from, to);
    ASSERT_FALSE(secondStarts.empty());
    EXPECT_LE(secondStarts.size(), 10000u);
    EXPECT_EQ(secondStarts.front(), from);

    const auto hourly = series(QStringLiteral("DTSTART:20200101T000000Z"), QStringLiteral("DTEND:20200101T003000Z"),
                               QStringLiteral("RRULE:FREQ=HOURLY"));
    EXPECT_EQ(hourly.starts(utc(2024, 1, 1), utc(2024, 4, 1)).size(), 91u * 24);
    // The app's window only grows: after a user has looked two years ahead it holds all of them.
    EXPECT_EQ(hourly.starts(utc(2024, 1, 1), utc(2026, 1, 1)).size(), 731u * 24);

    // Each lasts a year and a fortnight: in early January the one of last year still runs.
    const auto yearly = series(QStringLiteral("DTSTART;VALUE=DATE:20200101"), QStringLiteral("DTEND;VALUE=DATE:20210116"),
                               QStringLiteral("RRULE:FREQ=YEARLY"));
    EXPECT_EQ(yearly.expand(utc(2024, 1, 10), utc(2024, 1, 11), zone("UTC")).size(), 2u);
}

// Daily and weekly rules take a shortcut past libical's iterator; both ways must give the same occurrences.
TEST(IcsRecurrence, RuleShortcutAgreesWithLibical) {
    const QStringList rules{
        QStringLiteral("RRULE:FREQ=DAILY"),
        QStringLiteral("RRULE:FREQ=DAILY;INTERVAL=4;COUNT=30"),
        QStringLiteral("RRULE:FREQ=WEEKLY"),
        QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=20"),
        QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=3"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,TH;COUNT=25"),
        QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,MO;WKST=SU"),
        QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,MO;WKST=MO"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR;UNTIL=20240610T080000Z"),
        QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240320"),
    };
    const std::vector<std::pair<core::Date, core::Date>> windows{
        {utc(2024, 1, 1), utc(2024, 12, 31)}, {utc(2024, 5, 20), utc(2024, 8, 19)}, {utc(2025, 3, 1), utc(2025, 6, 1)}};
    for (const QString& rule : rules) {
        for (const int variant : {0, 1, 2}) {
            QStringList lines = weeklyBerlin(rule);
            if (variant == 1) {
                lines[3] = QStringLiteral("DTSTART;VALUE=DATE:20240304");
                lines[4] = QStringLiteral("DTEND;VALUE=DATE:20240305");
            } else if (variant == 2) {  // a Thursday
                lines[3] = QStringLiteral("DTSTART;TZID=Europe/Berlin:20240307T180000");
                lines[4] = QStringLiteral("DTEND;TZID=Europe/Berlin:20240307T183000");
            }
            const ParsedSeries s(ics(lines));
            for (const auto& [from, to] : windows) {
                const auto quick = s.starts(from, to);
                platform::vdir::setRuleShortcutsForTesting(false);
                const auto slow = s.starts(from, to);
                platform::vdir::setRuleShortcutsForTesting(true);
                EXPECT_EQ(quick, slow) << rule.toStdString() << " variant " << variant << " "
                                       << core::toIsoString(from).toStdString();
            }
        }
    }
}

// Sub-daily rules that nothing filters are stepped on the wall clock by arithmetic; libical steps through ICU. Both
// must agree across daylight-saving changes (a skipped and a repeated hour), with COUNT and UNTIL, and for series
// whose occurrences run for years, of which only the latest that still run are kept.
TEST(IcsRecurrence, SubDailyCadenceAgreesWithLibical) {
    const QStringList rules{
        QStringLiteral("RRULE:FREQ=HOURLY"),
        QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=5;COUNT=400"),
        QStringLiteral("RRULE:FREQ=HOURLY;UNTIL=20241027T013000Z"),
        QStringLiteral("RRULE:FREQ=MINUTELY"),
        QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=90;COUNT=3000"),
        QStringLiteral("RRULE:FREQ=SECONDLY;INTERVAL=1800;COUNT=900;UNTIL=20240331"),
    };
    const std::vector<std::pair<QString, QString>> starts{
        {QStringLiteral("DTSTART;TZID=Europe/Berlin:20240301T023000"),
         QStringLiteral("DTEND;TZID=Europe/Berlin:20240301T033000")},
        {QStringLiteral("DTSTART:20240310T001500Z"), QStringLiteral("DTEND:20240310T002000Z")},
        {QStringLiteral("DTSTART:20240302T101010"), QStringLiteral("DTEND:20240302T111010")},
        {QStringLiteral("DTSTART;TZID=Europe/Berlin:20230101T000000"),
         QStringLiteral("DTEND;TZID=Europe/Berlin:20330101T000000")},
    };
    const std::vector<std::pair<core::Date, core::Date>> windows{{utc(2024, 3, 25), utc(2024, 4, 5)},
                                                                 {utc(2024, 10, 20), utc(2024, 11, 3)},
                                                                 {utc(2024, 3, 1), utc(2024, 3, 3)},
                                                                 {utc(2026, 6, 1), utc(2026, 6, 8)}};
    expectOursAgreesWithLibical(rules, starts, windows);
}

// Every seven hours from 1 March at 02:30 (Berlin, an hour before UTC until the end of March): three weeks later the
// occurrences are still a multiple of seven hours from the start, and the one begun just before the window is there.
TEST(IcsRecurrence, SubDailyIntervalKeepsTheStartsCadenceFarFromTheStart) {
    QStringList lines = weeklyBerlin(QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=7"));
    lines[3] = QStringLiteral("DTSTART;TZID=Europe/Berlin:20240301T023000");
    lines[4] = QStringLiteral("DTEND;TZID=Europe/Berlin:20240301T033000");
    EXPECT_EQ(ParsedSeries(ics(lines)).starts(utc(2024, 3, 25), utc(2024, 3, 26)),
              (std::vector<core::Date>{utc(2024, 3, 24, 23, 30), utc(2024, 3, 25, 6, 30), utc(2024, 3, 25, 13, 30),
                                       utc(2024, 3, 25, 20, 30)}));
}

// Sub-daily rules with BY parts are walked by libical from a day near the window; it counts their INTERVAL from
// there, so that day has to be a whole number of steps from the start's. Seven minutes, or five hours, from 02:30
// on 1 March fall at other times of day each day: weeks later, over either daylight-saving change, the occurrences
// must still be where a walk from the start puts them, for zoned, UTC and floating starts.
TEST(IcsRecurrence, FilteredSubDailyRulesKeepTheStartsCadenceFarFromTheStart) {
    const QStringList rules{
        QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=5;BYMINUTE=0,30"),
        QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=5;BYMINUTE=10;BYSECOND=5,35"),
        QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=7;BYHOUR=1,2,3,9,20"),
        QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=7;BYHOUR=1,2,3,9"),
        QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=7;BYMINUTE=5,40;BYHOUR=2"),
        QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=50;BYSECOND=0,30;UNTIL=20241030T000000Z"),
        QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=7"),
    };
    const Starts starts{
        {QStringLiteral("DTSTART;TZID=Europe/Berlin:20240301T023000"),
         QStringLiteral("DTEND;TZID=Europe/Berlin:20240301T030000")},
        {QStringLiteral("DTSTART:20240310T001500Z"), QStringLiteral("DTEND:20240310T002000Z")},
        {QStringLiteral("DTSTART:20240302T101010"), QStringLiteral("DTEND:20240302T111010")},
    };
    const Windows windows{{utc(2024, 3, 28), utc(2024, 4, 3)}, {utc(2024, 10, 25), utc(2024, 10, 29)}};
    expectWalksNearTheWindowAgreeWithAWalkFromTheStart(rules, starts, windows);

    // Every seven seconds in the first minute of each hour: a week of steps passes before the same time of day.
    const QStringList everySevenSeconds{QStringLiteral("RRULE:FREQ=SECONDLY;INTERVAL=7;BYMINUTE=0")};
    const Starts lateMarch{{QStringLiteral("DTSTART;TZID=Europe/Berlin:20240320T090003"),
                            QStringLiteral("DTEND;TZID=Europe/Berlin:20240320T090004")}};
    expectWalksNearTheWindowAgreeWithAWalkFromTheStart(everySevenSeconds, lateMarch,
                                                       {{utc(2024, 3, 30, 12), utc(2024, 4, 1)}});
}

// Rules beyond the simple daily and weekly ones are walked by our own period walk; it must give what libical's
// iterator gives, for starts that fall on awkward days and windows near and far from the start.
TEST(IcsRecurrence, RuleWalkAgreesWithLibical) {
    const QStringList rules{
        QStringLiteral("RRULE:FREQ=MONTHLY"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTHDAY=31"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTHDAY=1,15,-1;COUNT=20"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=2TU"),
        QStringLiteral("RRULE:FREQ=MONTHLY;INTERVAL=2;BYDAY=-1FR"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=13"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTH=1,6;BYDAY=1MO"),
        QStringLiteral("RRULE:FREQ=MONTHLY;INTERVAL=3;COUNT=10"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2,3"),
        QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTH=2"),
        QStringLiteral("RRULE:FREQ=YEARLY"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH;COUNT=8"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYYEARDAY=1,100,-1"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYDAY=20MO"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29"),
        QStringLiteral("RRULE:FREQ=YEARLY;INTERVAL=2;BYMONTH=1,7;BYDAY=SU;BYHOUR=8,9"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTHDAY=1;BYMONTH=1,4,7,10;COUNT=12"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=-3;UNTIL=20300101T000000Z"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=3,9"),
        QStringLiteral("RRULE:FREQ=DAILY;BYMONTH=1,2"),
        QStringLiteral("RRULE:FREQ=DAILY;BYDAY=MO,WE,FR;COUNT=30"),
        QStringLiteral("RRULE:FREQ=DAILY;BYMONTHDAY=1,15;INTERVAL=2"),
        QStringLiteral("RRULE:FREQ=DAILY;BYHOUR=9,17;COUNT=20"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYMONTH=3;BYDAY=TU,TH"),
        QStringLiteral("RRULE:FREQ=WEEKLY;BYHOUR=8,12;BYMINUTE=0,30;COUNT=12"),
        QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=2;UNTIL=20250101"),
    };
    const std::vector<std::pair<QString, QString>> starts{
        {QStringLiteral("DTSTART;TZID=Europe/Berlin:20240131T100000"),
         QStringLiteral("DTEND;TZID=Europe/Berlin:20240131T110000")},
        {QStringLiteral("DTSTART;VALUE=DATE:20240229"), QStringLiteral("DTEND;VALUE=DATE:20240301")},
        {QStringLiteral("DTSTART;TZID=Europe/Berlin:20240307T180000"),
         QStringLiteral("DTEND;TZID=Europe/Berlin:20240307T183000")},
        {QStringLiteral("DTSTART:20190515T235000Z"), QStringLiteral("DTEND:20190516T001000Z")},
    };
    const std::vector<std::pair<core::Date, core::Date>> windows{{utc(2024, 1, 1), utc(2024, 12, 31)},
                                                                 {utc(2024, 5, 20), utc(2024, 8, 19)},
                                                                 {utc(2025, 3, 1), utc(2025, 6, 1)},
                                                                 {utc(2027, 1, 1), utc(2029, 1, 1)},
                                                                 // back again: where a count stood is kept
                                                                 {utc(2024, 2, 1), utc(2024, 4, 1)}};
    expectOursAgreesWithLibical(rules, starts, windows);
}

// libical leaves BYSETPOS out of weekly rules; it picks from each week's occurrences like from any other period.
TEST(IcsRecurrence, WeeklyRulesPickTheirSetPositions) {
    const ParsedSeries s(ics(weeklyBerlin(QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=1,-1"))));
    EXPECT_EQ(s.starts(utc(2024, 3, 4), utc(2024, 3, 18)),
              (std::vector<core::Date>{local("Europe/Berlin", 2024, 3, 4, 10), local("Europe/Berlin", 2024, 3, 8, 10),
                                       local("Europe/Berlin", 2024, 3, 11, 10),
                                       local("Europe/Berlin", 2024, 3, 15, 10)}));
}

// An added date given as a period carries its own length, by its end or by a duration.
TEST(IcsRecurrence, AddedPeriodsKeepTheirOwnLength) {
    const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:p"),
                              QStringLiteral("DTSTART:20240603T100000Z"), QStringLiteral("DTEND:20240603T110000Z"),
                              QStringLiteral("RDATE;VALUE=PERIOD:20240605T140000Z/20240605T160000Z"),
                              QStringLiteral("RDATE;VALUE=PERIOD:20240606T140000Z/PT30M"),
                              QStringLiteral("RDATE:20240607T140000Z"), QStringLiteral("END:VEVENT")}));
    const auto occurrences = s.expand(utc(2024, 6, 1), utc(2024, 7, 1));
    ASSERT_EQ(occurrences.size(), 4u);
    EXPECT_EQ(occurrences[0].end, utc(2024, 6, 3, 11));
    EXPECT_EQ(occurrences[1].start, utc(2024, 6, 5, 14));
    EXPECT_EQ(occurrences[1].end, utc(2024, 6, 5, 16));
    EXPECT_EQ(occurrences[2].end, utc(2024, 6, 6, 14, 30));
    EXPECT_EQ(occurrences[3].end, utc(2024, 6, 7, 15)) << "a plain date lasts as long as the event";
}
