#include "imageimport/extraction/DateScanner.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::DateHit;
using imageimport::DateScanner;
using namespace extractiontest;

namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kSaturday = 7;

TEST(DateResolution, AYearlessDateIsTheNearestOneNotInThePast) {
    const DateScanner scanner(context());
    EXPECT_EQ(scanner.resolve(14, 6, std::nullopt, std::nullopt), day(2025, 6, 14));
    EXPECT_EQ(scanner.resolve(10, 6, std::nullopt, std::nullopt), day(2025, 6, 10));  // today is not past
    EXPECT_EQ(scanner.resolve(3, 6, std::nullopt, std::nullopt), day(2026, 6, 3));
}

TEST(DateResolution, AWrittenWeekdayChoosesBetweenThisYearAndTheNext) {
    const DateScanner scanner(context());
    EXPECT_EQ(scanner.resolve(14, 6, std::nullopt, kSaturday), day(2025, 6, 14));
    EXPECT_EQ(scanner.resolve(14, 6, std::nullopt, kSunday), day(2026, 6, 14));
    // Neither year's 14 June is a Monday: the date wins over the weekday.
    EXPECT_EQ(scanner.resolve(14, 6, std::nullopt, kMonday), day(2025, 6, 14));
}

TEST(DateResolution, ImpossibleDaysGiveNothingRatherThanRollingOver) {
    const DateScanner scanner(context());
    EXPECT_EQ(scanner.resolve(31, 4, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(scanner.resolve(0, 6, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(scanner.resolve(32, 6, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(scanner.resolve(1, 13, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(scanner.resolve(29, 2, 2025, std::nullopt), std::nullopt);
}

TEST(DateResolution, AWrittenYearIsTakenAsItStandsEvenInThePast) {
    const DateScanner scanner(context());
    EXPECT_EQ(scanner.resolve(14, 6, 25, std::nullopt), day(2025, 6, 14));
    EXPECT_EQ(scanner.resolve(29, 2, 2024, kMonday), day(2024, 2, 29));
    EXPECT_EQ(scanner.resolve(1, 1, 99, std::nullopt), day(2099, 1, 1));
}

TEST(DateResolution, TwentyNinthOfFebruaryWithoutAYear) {
    // This year's is past and next year has none: the past one is still a day.
    EXPECT_EQ(DateScanner(context(at(2024, 3, 1, 12))).resolve(29, 2, std::nullopt, std::nullopt), day(2024, 2, 29));
    EXPECT_EQ(DateScanner(context(at(2027, 6, 1, 12))).resolve(29, 2, std::nullopt, std::nullopt), day(2028, 2, 29));
}

std::vector<DateHit> scan(const QString& text, bool monthFirst = false) {
    return DateScanner(context(tuesday10June2025(), monthFirst)).scanDates(text, 3);
}

std::vector<core::Date> days(const std::vector<DateHit>& hits) {
    std::vector<core::Date> result;
    for (const DateHit& hit : hits)
        result.push_back(hit.day);
    return result;
}

TEST(DatePatterns, IsoDateIsTakenOnceWithItsYear) {
    const auto hits = scan(u"Date: 2025-06-14"_s);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (DateHit{{6, 10}, day(2025, 6, 14), 3, false, true}));
}

TEST(DatePatterns, NumericDatesFollowTheLocaleOnlyWithSlashes) {
    EXPECT_EQ(days(scan(u"12/03/2025"_s)), std::vector{day(2025, 3, 12)});
    EXPECT_EQ(days(scan(u"12/03/2025"_s, true)), std::vector{day(2025, 12, 3)});
    EXPECT_EQ(days(scan(u"12.03.2025"_s, true)), std::vector{day(2025, 3, 12)});
    EXPECT_EQ(days(scan(u"12-03-2025"_s, true)), std::vector{day(2025, 3, 12)});
    // A "month" of 25 was written day first.
    EXPECT_EQ(days(scan(u"25/12/2025"_s, true)), std::vector{day(2025, 12, 25)});
    EXPECT_TRUE(scan(u"13/14/2025"_s).empty());
    // The separators must agree: here only the bare day and month are a date.
    EXPECT_EQ(days(scan(u"12/03-2025"_s)), std::vector{day(2026, 3, 12)});
    EXPECT_EQ(days(scan(u"Sat 14.6.25"_s)), std::vector{day(2025, 6, 14)});
}

TEST(DatePatterns, ABareDayAndMonthHasNoYear) {
    const auto hits = scan(u"Sale ends 14/6"_s);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].day, day(2025, 6, 14));
    EXPECT_FALSE(hits[0].explicitYear);
    EXPECT_EQ(days(scan(u"3/4"_s)), std::vector{day(2026, 4, 3)});
    EXPECT_EQ(days(scan(u"3/4"_s, true)), std::vector{day(2026, 3, 4)});

    const auto withYear = scan(u"14/6/25"_s);
    ASSERT_EQ(withYear.size(), 1u);
    EXPECT_TRUE(withYear[0].explicitYear);
    EXPECT_TRUE(scan(u"£10/12"_s).empty());
    EXPECT_TRUE(scan(u"1.5/2"_s).empty());
    EXPECT_TRUE(scan(u"10/12:30"_s).empty());
}

TEST(DatePatterns, MonthNamesEitherSideOfTheDay) {
    const auto sat = scan(u"Sat 14 June"_s);
    const auto saturday = scan(u"Saturday, June 14th"_s);
    ASSERT_EQ(sat.size(), 1u);
    ASSERT_EQ(saturday.size(), 1u);
    EXPECT_EQ(sat[0].day, day(2025, 6, 14));
    EXPECT_EQ(saturday[0].day, day(2025, 6, 14));
    EXPECT_EQ(saturday[0].range, (core::TextRange{0, 19}));
    EXPECT_FALSE(sat[0].explicitYear);

    // A written weekday that only next year's date matches moves the date.
    EXPECT_EQ(days(scan(u"Sunday 14 June"_s)), std::vector{day(2026, 6, 14)});

    const auto written = scan(u"14 June 2025 and June 14, 2025"_s);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_TRUE(written[0].explicitYear);
    EXPECT_TRUE(written[1].explicitYear);

    EXPECT_EQ(days(scan(u"14th of JUNE"_s)), std::vector{day(2025, 6, 14)});
    EXPECT_EQ(days(scan(u"May 3"_s)), std::vector{day(2026, 5, 3)});
    EXPECT_EQ(days(scan(u"Sept. 5"_s)), std::vector{day(2025, 9, 5)});
}

TEST(DatePatterns, EarlierPatternsWinOverlapsAndHitsKeepPatternOrder) {
    const auto two = scan(u"Fri 13/06/2025 - Sat 14/06/2025"_s);
    EXPECT_EQ(days(two), (std::vector{day(2025, 6, 13), day(2025, 6, 14)}));

    // "3 July" is read first; "June 3" shares the 3 and is dropped.
    const auto overlap = scan(u"June 3 July"_s);
    ASSERT_EQ(overlap.size(), 1u);
    EXPECT_EQ(overlap[0].day, day(2025, 7, 3));

    // Hits come pattern by pattern, not by position.
    EXPECT_EQ(days(scan(u"14/7 or 2025-08-01"_s)), (std::vector{day(2025, 8, 1), day(2025, 7, 14)}));
}

TEST(DatePatterns, TextWithoutDatesAndDigitsOfOtherScripts) {
    EXPECT_TRUE(scan(u"Jazz night at the Blue Room"_s).empty());
    EXPECT_TRUE(scan(QString()).empty());
    // Arabic-Indic and full-width digits match the patterns but are no numbers here.
    EXPECT_TRUE(scan(u"١٤/٠٦/٢٠٢٥"_s).empty());
    EXPECT_TRUE(scan(u"１４ June"_s).empty());
}

}  // namespace
