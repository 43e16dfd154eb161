#include "ParserTestSupport.h"

using quickadd::NLParser;
using namespace quickadd::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

struct DateCase {
    QString line;
    QString token;  // the words the date used
    int y, m, d;
};

// Each line names a day and nothing else, so the event is all-day from the start of that day.
void expectDates(const NLParser& parser, const std::vector<DateCase>& cases) {
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const auto result = parsed(parser, c.line);
        EXPECT_TRUE(result.hasDate);
        EXPECT_EQ(tokenText(result, NLParser::TokenKind::date), c.token);
        EXPECT_EQ(result.start, local(c.y, c.m, c.d));
    }
}

void expectNoDate(const NLParser& parser, const QStringList& lines) {
    for (const QString& line : lines)
        EXPECT_FALSE(parsed(parser, line).hasDate) << line.toStdString();
}

// The parser's "now" is Wednesday 11 March 2026.
TEST(NLParserDates, RelativeDayWords) {
    expectDates(parserAt(), {
        {u"today"_s, u"today"_s, 2026, 3, 11},
        {u"tod"_s, u"tod"_s, 2026, 3, 11},
        {u"tonight"_s, u"tonight"_s, 2026, 3, 11},
        {u"tmrw"_s, u"tmrw"_s, 2026, 3, 12},
        {u"tomorow"_s, u"tomorow"_s, 2026, 3, 12},
        {u"tommorow"_s, u"tommorow"_s, 2026, 3, 12},
        {u"yesterday"_s, u"yesterday"_s, 2026, 3, 10},
        {u"day after tmr"_s, u"day after tmr"_s, 2026, 3, 13},
        // The misspelling is a date alone, not in the three-word form.
        {u"day after tomorow"_s, u"tomorow"_s, 2026, 3, 12},
        {u"next week"_s, u"next week"_s, 2026, 3, 18},
        {u"in 3 days"_s, u"in 3 days"_s, 2026, 3, 14},
        {u"in a week"_s, u"in a week"_s, 2026, 3, 18},
        {u"in two weeks"_s, u"in two weeks"_s, 2026, 3, 25},
        {u"in 399 days"_s, u"in 399 days"_s, 2027, 4, 14},
    });
    EXPECT_FALSE(parsed(parserAt(), u"tonight"_s).hasTime);
    expectNoDate(parserAt(), {u"next weeks"_s, u"next month"_s, u"next year"_s, u"in 0 days"_s,
                              u"in 400 days"_s, u"in 3 hours"_s, u"in -1 days"_s,
                              u"in 99999999999999999999 days"_s});
}

TEST(NLParserDates, WeekdaysWithNextAndThisFromAWednesday) {
    expectDates(parserAt(), {
        {u"friday"_s, u"friday"_s, 2026, 3, 13},
        {u"fri"_s, u"fri"_s, 2026, 3, 13},
        {u"this friday"_s, u"this friday"_s, 2026, 3, 13},
        {u"next friday"_s, u"next friday"_s, 2026, 3, 13},
        {u"wed"_s, u"wed"_s, 2026, 3, 11},
        {u"this wed"_s, u"this wed"_s, 2026, 3, 11},
        {u"next wed"_s, u"next wed"_s, 2026, 3, 18},
        {u"tues"_s, u"tues"_s, 2026, 3, 17},
        {u"Sunday"_s, u"Sunday"_s, 2026, 3, 15},
    });
    expectNoDate(parserAt(), {u"next"_s, u"fri."_s, u"this"_s});
}

TEST(NLParserDates, DayAndMonthNamesInEitherOrderWithAnOptionalYear) {
    expectDates(parserAt(), {
        {u"12 nov"_s, u"12 nov"_s, 2026, 11, 12},
        {u"nov 12"_s, u"nov 12"_s, 2026, 11, 12},
        {u"12th Nov."_s, u"12th Nov."_s, 2026, 11, 12},
        {u"nov. 12th"_s, u"nov. 12th"_s, 2026, 11, 12},
        {u"1st september"_s, u"1st september"_s, 2026, 9, 1},
        // An explicit year is kept even in the past.
        {u"12 nov 2027"_s, u"12 nov 2027"_s, 2027, 11, 12},
        {u"12 nov 2020"_s, u"12 nov 2020"_s, 2020, 11, 12},
    });
    // 27 is no year: it stays for the title.
    const auto result = parsed(parserAt(), u"12 nov 27"_s);
    EXPECT_EQ(tokenText(result, NLParser::TokenKind::date), u"12 nov"_s);
    EXPECT_EQ(result.title, u"27"_s);
}

TEST(NLParserDates, DaysWithoutAYearRollOverToNextYearOnceTheyHavePassed) {
    expectDates(parserAt(), {
        {u"10 mar"_s, u"10 mar"_s, 2027, 3, 10},
        {u"11 mar"_s, u"11 mar"_s, 2026, 3, 11},
        {u"1/1"_s, u"1/1"_s, 2027, 1, 1},
        {u"dec 31"_s, u"dec 31"_s, 2026, 12, 31},
    });
    // 29 February is never moved on to a later leap year.
    expectDates(parserAt(local(2028, 1, 10, 12)), {{u"29 feb"_s, u"29 feb"_s, 2028, 2, 29}});
    expectNoDate(parserAt(local(2028, 3, 1, 12)), {u"29 feb"_s});
    expectNoDate(parserAt(), {u"29 feb"_s, u"2/29"_s});
}

TEST(NLParserDates, DaysAMonthDoesNotHaveAreNotDates) {
    expectNoDate(parserAt(), {u"31 apr"_s, u"feb 30"_s, u"4/31"_s, u"2027-02-29"_s, u"0 jan"_s, u"32 jan"_s});
    const auto result = parsed(parserAt(), u"Party 31 apr"_s);
    EXPECT_EQ(result.title, u"Party 31 apr"_s);
}

TEST(NLParserDates, IsoDates) {
    expectDates(parserAt(), {
        {u"2026-03-14"_s, u"2026-03-14"_s, 2026, 3, 14},
        {u"2026-3-4"_s, u"2026-3-4"_s, 2026, 3, 4},
        {u"2020-01-02"_s, u"2020-01-02"_s, 2020, 1, 2},
        {u"2200-12-31"_s, u"2200-12-31"_s, 2200, 12, 31},
    });
    expectNoDate(parserAt(), {u"26-03-14"_s, u"1899-12-31"_s, u"2201-01-01"_s, u"9999-12-31"_s, u"2026-13-01"_s,
                              u"2026-03-14-01"_s, u"+999-01-01"_s, u"2026-99999999999999999999-01"_s});
}

TEST(NLParserDates, NumericDatesFollowTheLocalesOrderUnlessOnlyOneReadingIsPossible) {
    const NLParser monthFirst = parserAt(local(2026, 3, 11, 10, 15), true);
    const NLParser dayFirst = parserAt(local(2026, 3, 11, 10, 15), false);
    expectDates(monthFirst, {
        {u"4/5"_s, u"4/5"_s, 2026, 4, 5},
        {u"3/14"_s, u"3/14"_s, 2026, 3, 14},
        {u"14/3"_s, u"14/3"_s, 2026, 3, 14},
        {u"3/14/26"_s, u"3/14/26"_s, 2026, 3, 14},
        {u"3/14/2026"_s, u"3/14/2026"_s, 2026, 3, 14},
        {u"3/14/99"_s, u"3/14/99"_s, 2099, 3, 14},
        {u"03/24"_s, u"03/24"_s, 2026, 3, 24},
    });
    expectDates(dayFirst, {
        {u"4/5"_s, u"4/5"_s, 2026, 5, 4},
        {u"3/14"_s, u"3/14"_s, 2026, 3, 14},
    });
    expectNoDate(monthFirst, {u"13/13"_s, u"003/4"_s, u"1/2/"_s, u"/5"_s, u"5/"_s, u"3/14."_s, u"1/2/3/4"_s,
                              u"3/14/2201"_s, u"3/14/1899"_s, u"3/14/-5"_s, u"3/14/+26"_s,
                              u"3/14/99999999999999999999"_s, u"\u0663/\u0664"_s});
}

TEST(NLParserDates, OnlyTheFirstDateCountsAndLaterOnesStayInTheTitle) {
    const auto result = parsed(parserAt(), u"Call mon tue"_s);
    EXPECT_EQ(tokenText(result, NLParser::TokenKind::date), u"mon"_s);
    EXPECT_EQ(result.start, local(2026, 3, 16));
    EXPECT_EQ(result.title, u"Call tue"_s);
}

}  // namespace
