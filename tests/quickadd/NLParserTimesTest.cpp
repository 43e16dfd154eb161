#include "ParserTestSupport.h"

using quickadd::NLParser;
using HM = quickadd::NLParser::HM;
using namespace quickadd::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

// A date word in front keeps "already passed today" out of the way: Friday 13 March 2026.
const QString kOnFriday = u"fri "_s;

struct TimeCase {
    QString line;
    QString token;
    HM time;
};

void expectTimes(const std::vector<TimeCase>& cases) {
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const auto result = parsed(parserAt(), kOnFriday + c.line);
        EXPECT_TRUE(result.hasTime);
        EXPECT_FALSE(result.hasDuration);
        EXPECT_EQ(tokenText(result, NLParser::TokenKind::time), c.token);
        EXPECT_EQ(result.start, local(2026, 3, 13, c.time.hour, c.time.minute));
        EXPECT_EQ(result.end - result.start, 3600);
    }
}

void expectNoTime(const QStringList& lines) {
    for (const QString& line : lines)
        EXPECT_FALSE(parsed(parserAt(), kOnFriday + line).hasTime) << line.toStdString();
}

TEST(NLParserTimes, ClockTimesWithAndWithoutMeridiem) {
    expectTimes({
        {u"noon"_s, u"noon"_s, {12, 0}},
        {u"midday"_s, u"midday"_s, {12, 0}},
        {u"midnight"_s, u"midnight"_s, {0, 0}},
        {u"12am"_s, u"12am"_s, {0, 0}},
        {u"12pm"_s, u"12pm"_s, {12, 0}},
        {u"9pm"_s, u"9pm"_s, {21, 0}},
        {u"9 pm"_s, u"9 pm"_s, {21, 0}},
        {u"9p"_s, u"9p"_s, {21, 0}},
        {u"9 p.m."_s, u"9 p.m."_s, {21, 0}},
        {u"9p.m."_s, u"9p.m."_s, {21, 0}},
        {u"9:30"_s, u"9:30"_s, {9, 30}},
        {u"5:30"_s, u"5:30"_s, {17, 30}},
        {u"05:30"_s, u"05:30"_s, {5, 30}},
        {u"9.30pm"_s, u"9.30pm"_s, {21, 30}},
        {u"14:00"_s, u"14:00"_s, {14, 0}},
        {u"0:15"_s, u"0:15"_s, {0, 15}},
        {u"11:45AM"_s, u"11:45AM"_s, {11, 45}},
    });
}

TEST(NLParserTimes, BareHoursNeedAConnectorAndSmallHoursMeanTheAfternoon) {
    expectTimes({
        {u"at 9"_s, u"9"_s, {9, 0}},
        {u"at 6"_s, u"6"_s, {18, 0}},
        {u"at 06"_s, u"06"_s, {6, 0}},
        {u"by 3"_s, u"3"_s, {15, 0}},
        {u"@ 7"_s, u"7"_s, {7, 0}},
        {u"at 12"_s, u"12"_s, {12, 0}},
    });
    expectNoTime({u"9"_s, u"on 3"_s, u"for 5"_s});
}

TEST(NLParserTimes, ImpossibleOrAmbiguousClockTextIsNoTime) {
    expectNoTime({u"13 pm"_s, u"13pm"_s, u"0am"_s, u"24:00"_s, u"9:60"_s, u"930"_s, u"9:5"_s, u"9:300"_s,
                  u"123"_s, u"9.30"_s, u"\u0669:\u0663\u0660"_s, u"\uFF19am"_s, u"99999999999999999999pm"_s});
}

struct RangeCase {
    QString line;
    QString token;
    HM start;
    HM end;
    bool endsNextDay = false;
};

void expectRanges(const std::vector<RangeCase>& cases) {
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const auto result = parsed(parserAt(), kOnFriday + c.line);
        EXPECT_TRUE(result.hasTime);
        EXPECT_TRUE(result.hasDuration);
        EXPECT_EQ(tokenText(result, NLParser::TokenKind::time), c.token);
        EXPECT_EQ(result.start, local(2026, 3, 13, c.start.hour, c.start.minute));
        EXPECT_EQ(result.end, local(2026, 3, c.endsNextDay ? 14 : 13, c.end.hour, c.end.minute));
    }
}

TEST(NLParserTimes, RangesInferMorningAndAfternoonFromWhicheverEndHasAMeridiem) {
    expectRanges({
        {u"2-3pm"_s, u"2-3pm"_s, {14, 0}, {15, 0}},
        {u"11-1pm"_s, u"11-1pm"_s, {11, 0}, {13, 0}},
        {u"11-1am"_s, u"11-1am"_s, {23, 0}, {1, 0}, true},
        {u"10am-2"_s, u"10am-2"_s, {10, 0}, {14, 0}},
        {u"9pm-1"_s, u"9pm-1"_s, {21, 0}, {1, 0}, true},
        {u"10pm-1am"_s, u"10pm-1am"_s, {22, 0}, {1, 0}, true},
        {u"9am\u20135pm"_s, u"9am\u20135pm"_s, {9, 0}, {17, 0}},
        {u"9:30am-11:00"_s, u"9:30am-11:00"_s, {9, 30}, {11, 0}},
        {u"8pm-22:30"_s, u"8pm-22:30"_s, {20, 0}, {22, 30}},
        {u"08:00-4pm"_s, u"08:00-4pm"_s, {8, 0}, {16, 0}},
        {u"noon-2pm"_s, u"noon-2pm"_s, {12, 0}, {14, 0}},
        // The afternoon start would not come before the end: the start is the morning's.
        {u"1:00-1pm"_s, u"1:00-1pm"_s, {1, 0}, {13, 0}},
        {u"1-1pm"_s, u"1-1pm"_s, {1, 0}, {13, 0}},
    });
}

TEST(NLParserTimes, RangesWithoutMeridiemNeedAColonOrFromOrAt) {
    expectRanges({
        {u"from 9 to 5"_s, u"9 to 5"_s, {9, 0}, {17, 0}},
        {u"9:00-5"_s, u"9:00-5"_s, {9, 0}, {17, 0}},
        {u"2:00-3:00"_s, u"2:00-3:00"_s, {14, 0}, {15, 0}},
        {u"07:00-09:00"_s, u"07:00-09:00"_s, {7, 0}, {9, 0}},
        {u"9:00-17:00"_s, u"9:00-17:00"_s, {9, 0}, {17, 0}},
        {u"from 1-12"_s, u"1-12"_s, {13, 0}, {12, 0}, true},
        {u"from 2-3"_s, u"2-3"_s, {14, 0}, {15, 0}},
        {u"at 9-11"_s, u"9-11"_s, {9, 0}, {11, 0}},
    });
    expectNoTime({u"2-3"_s, u"by 2-3"_s});
}

TEST(NLParserTimes, RangesSpreadOverSeveralWords) {
    expectRanges({
        {u"2 - 3pm"_s, u"2 - 3pm"_s, {14, 0}, {15, 0}},
        {u"2 to 3pm"_s, u"2 to 3pm"_s, {14, 0}, {15, 0}},
        {u"2pm -3pm"_s, u"2pm -3pm"_s, {14, 0}, {15, 0}},
        {u"9am- 5pm"_s, u"9am- 5pm"_s, {9, 0}, {17, 0}},
        {u"9 am to 5 pm"_s, u"9 am to 5 pm"_s, {9, 0}, {17, 0}},
        {u"9am until 11am"_s, u"9am until 11am"_s, {9, 0}, {11, 0}},
        {u"9 am \u2013 5 pm"_s, u"9 am \u2013 5 pm"_s, {9, 0}, {17, 0}},
    });
}

void expectDuration(const QString& line, const QString& token, double seconds) {
    SCOPED_TRACE(line.toStdString());
    const auto result = parsed(parserAt(), line);
    EXPECT_TRUE(result.hasDuration);
    EXPECT_FALSE(result.hasTime);
    EXPECT_EQ(tokenText(result, NLParser::TokenKind::duration), token);
    EXPECT_EQ(result.end - result.start, seconds);
}

TEST(NLParserTimes, DurationsInOneOrTwoWords) {
    expectDuration(u"15m"_s, u"15m"_s, 900);
    expectDuration(u"15 min"_s, u"15 min"_s, 900);
    expectDuration(u"15 minutes"_s, u"15 minutes"_s, 900);
    expectDuration(u"for 15 mins"_s, u"15 mins"_s, 900);
    expectDuration(u"1h30"_s, u"1h30"_s, 5400);
    expectDuration(u"1h30m"_s, u"1h30m"_s, 5400);
    expectDuration(u"1h75"_s, u"1h75"_s, 8100);
    expectDuration(u"90min"_s, u"90min"_s, 5400);
    expectDuration(u"1.5h"_s, u"1.5h"_s, 5400);
    expectDuration(u"1.5 hours"_s, u"1.5 hours"_s, 5400);
    expectDuration(u"2hrs"_s, u"2hrs"_s, 7200);
    expectDuration(u"for an hour"_s, u"an hour"_s, 3600);
    expectDuration(u"for two hours"_s, u"two hours"_s, 7200);
    expectDuration(u"for half an hour"_s, u"half an hour"_s, 1800);
}

TEST(NLParserTimes, AMinuteIsTheShortestDuration) {
    expectDuration(u"1m"_s, u"1m"_s, 60);
    expectDuration(u"0.5 hours"_s, u"0.5 hours"_s, 1800);
    expectDuration(u"0h1m"_s, u"0h1m"_s, 60);
    const auto lunch = parsed(parserAt(), u"Lunch 0.00000000002h"_s);
    EXPECT_FALSE(lunch.hasDuration);
    EXPECT_EQ(lunch.end - lunch.start, 3600);
}

TEST(NLParserTimes, AdjacentDurationsAddUp) {
    expectDuration(u"1h 30m"_s, u"1h 30m"_s, 5400);
    expectDuration(u"for 1 hour 30 min"_s, u"1 hour 30 min"_s, 5400);
    expectDuration(u"2h 15 min"_s, u"2h 15 min"_s, 8100);
}

TEST(NLParserTimes, NonsenseAmountsAreNoDuration) {
    for (const QString& line : {u"an hour"_s, u"for half hour"_s, u"half an hour"_s, u"0m"_s, u"0 min"_s,
                                u"for 0 min"_s, u"for -2 hours"_s, u"1e5 hours"_s, u"for 1e5 hours"_s,
                                u"inf hours"_s, u"for nan min"_s, u"0x10 min"_s, u"9000 hours"_s, u"9000h"_s,
                                u"99999999999999999999m"_s, u"99999999999999999999h30"_s,
                                u"for 99999999999999999999 hours"_s,
                                QString(u"1" + QString(400, u'0') + u" min"_s), u"\u0661\u0665m"_s, u"15 d"_s,
                                // Under a minute an event has no length to show.
                                u"0.00000000002h"_s, u"0.0001h"_s, u"0.5m"_s, u"0.99 min"_s, u"0h0m"_s, u"0h0"_s})
        EXPECT_FALSE(parsed(parserAt(), line).hasDuration) << line.toStdString();
    // Two halves of a year each pass, their sum does not: only the first counts.
    const auto result = parsed(parserAt(), u"5000h 5000h"_s);
    EXPECT_EQ(tokenText(result, NLParser::TokenKind::duration), u"5000h"_s);
    EXPECT_EQ(result.end - result.start, 5000 * 3600.0);
}

}  // namespace
