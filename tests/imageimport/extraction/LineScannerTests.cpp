#include "imageimport/extraction/LineScanner.h"

#include "platform/datadetector/FakeDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using extractiontest::at;
using extractiontest::day;

namespace {

LineHits scan(const QString& line) { return LineScanner(extractiontest::context(), nullptr).scan(line, 3); }

TEST(LineScanning, TheParserReadsWhatThePatternsLeft) {
    const LineHits hits = scan(u"Opening night tomorrow 19:30"_s);
    ASSERT_EQ(hits.dates.size(), 1u);
    EXPECT_EQ(hits.dates[0], (DateHit{{14, 8}, day(2025, 6, 11), 3, true, false}));
    ASSERT_EQ(hits.times.size(), 1u);
    EXPECT_EQ(hits.times[0].range, (core::TextRange{23, 5}));
    EXPECT_EQ(hits.times[0].hour, 19);
    EXPECT_EQ(hits.times[0].minute, 30);

    const LineHits parserTime = scan(u"Doors open at 7 tonight for 2 hours"_s);
    ASSERT_EQ(parserTime.times.size(), 1u);
    const TimeHit& time = parserTime.times[0];
    EXPECT_EQ(time.hour, 7);
    EXPECT_EQ(time.endHour, 9);
    EXPECT_EQ(time.endMinute, 0);
    EXPECT_EQ(time.label, u"Doors"_s);
    EXPECT_EQ(time.line, 3);
}

TEST(LineScanning, PatternHitsKeepTheParserOut) {
    // The written date stands; "tomorrow" adds no second day. The pattern time stands;
    // the parser's "at 8" adds no second time.
    const LineHits hits = scan(u"14 June, not tomorrow · 19:30 or at 8"_s);
    ASSERT_EQ(hits.dates.size(), 1u);
    EXPECT_FALSE(hits.dates[0].isRelative);
    ASSERT_EQ(hits.times.size(), 1u);
    EXPECT_EQ(hits.times[0].hour, 19);
    // A time without a duration has no end.
    EXPECT_EQ(scan(u"Lunch tomorrow at 1pm"_s).times.at(0).endHour, std::nullopt);
}

TEST(LineScanning, AWordedTimeInANameIsNoTime) {
    EXPECT_TRUE(scan(u"The Midnight Echoes"_s).times.empty());
    EXPECT_TRUE(scan(u"Friday · Noon Market on the square"_s).times.empty());
    EXPECT_TRUE(scan(u"MIDNIGHT MASS"_s).times.empty());
    // Written as a time, it is one.
    for (const QString& line : {u"Doors at midnight"_s, u"Lunch at Noon"_s, u"Midnight"_s}) {
        const LineHits hits = scan(line);
        ASSERT_EQ(hits.times.size(), 1u) << line.toStdString();
        EXPECT_EQ(hits.times[0].hour, line.contains(u"oon"_s) ? 12 : 0) << line.toStdString();
    }
}

TEST(LineScanning, DatesOfDigitsAloneAndEmptyLinesAddNothing) {
    EXPECT_TRUE(scan(u"Room 4.12 · 3 + 4"_s).dates.empty());
    const LineHits empty = scan(QString());
    EXPECT_TRUE(empty.dates.empty());
    EXPECT_TRUE(empty.times.empty());
}

TEST(DetectorDates, OnlyWordsOrSlashesThatMakeARealDay) {
    platform::FakeDataDetector detector;
    detector.addDate(u"Midsummer"_s, at(2025, 6, 21, 12));
    detector.addDate(u"5/6"_s, at(2025, 6, 5, 12));
    detector.addDate(u"2025"_s, at(2025, 1, 1, 12));
    detector.addDate(u"12.30"_s, at(2025, 6, 12, 12));
    // Year 25 of the detector's calendar is 2025 here.
    detector.addDate(u"Year-end"_s, *core::Calendar().date({.year = 25, .month = 12, .day = 31, .hour = 12}));
    const LineScanner scanner(extractiontest::context(), &detector);

    const std::vector<DateHit> hits = scanner.detectorDates({u"2025 · 12.30"_s, u"Midsummer or 5/6"_s, u"Year-end"_s});
    EXPECT_EQ(hits, (std::vector<DateHit>{{{0, 9}, day(2025, 6, 21), 1, true, false},
                                          {{13, 3}, day(2025, 6, 5), 1, true, false},
                                          {{0, 8}, day(2025, 12, 31), 2, true, false}}));
    EXPECT_TRUE(LineScanner(extractiontest::context(), nullptr).detectorDates({u"Midsummer"_s}).empty());
}

TEST(DetectorDates, ADayIsReadInTheZoneTheTextNamed) {
    platform::FakeDataDetector detector;
    // 23:00 on 20 June in New York is already 21 June in Berlin, the current zone.
    const core::Date evening = *core::Calendar(*core::TimeZone::withIdentifier(u"America/New_York"_s),
                                               core::Locale::current())
                                    .date({.year = 2025, .month = 6, .day = 20, .hour = 23});
    detector.addDate(u"Fri 11pm ET"_s, evening, core::TimeZone::withIdentifier(u"America/New_York"_s));
    detector.addDate(u"Friday late"_s, evening);
    const auto hits = LineScanner(extractiontest::context(), &detector).detectorDates({u"Fri 11pm ET"_s, u"Friday late"_s});
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].day, day(2025, 6, 20));
    EXPECT_EQ(hits[1].day, day(2025, 6, 21));
}

}  // namespace
