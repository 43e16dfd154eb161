#include "imageimport/extraction/CandidateBuilder.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::CandidateBuilder;
using imageimport::DateCandidate;
using imageimport::DateHit;
using imageimport::TimeHit;
using namespace extractiontest;

namespace {

DateHit date(int line, int column, core::Date onDay, bool relative = false) {
    return {{column, 5}, onDay, line, relative, false};
}

TimeHit time(int line, int column, int hour, int minute = 0, std::optional<QString> label = {}) {
    return {{column, 5}, hour, minute, std::nullopt, std::nullopt, std::move(label), line};
}

QStringList blankLines(int count) { return QStringList(count, u"text"_s); }

std::vector<DateCandidate> build(const std::vector<DateHit>& dates, const std::vector<TimeHit>& times,
                                 const QStringList& lines = blankLines(10)) {
    return CandidateBuilder(context()).buildCandidates(dates, times, lines);
}

TEST(CandidatePairing, ATimePairsWithTheNearestDateLeftOfItOnItsLine) {
    const std::vector<DateHit> dates{date(1, 0, day(2025, 6, 14)), date(1, 20, day(2025, 6, 15))};
    EXPECT_EQ(CandidateBuilder::dateFor(time(1, 10, 19), dates), 0u);
    EXPECT_EQ(CandidateBuilder::dateFor(time(1, 30, 19), dates), 1u);
    // With every date to its right, the leftmost.
    const std::vector<DateHit> right{date(1, 20, day(2025, 6, 14)), date(1, 40, day(2025, 6, 15))};
    EXPECT_EQ(CandidateBuilder::dateFor(time(1, 5, 19), right), 0u);
}

TEST(CandidatePairing, WithoutADateOnItsLineTheNearestLineWinsAboveBeforeBelow) {
    const std::vector<DateHit> aroundIt{date(4, 0, day(2025, 6, 15)), date(2, 0, day(2025, 6, 14))};
    EXPECT_EQ(CandidateBuilder::dateFor(time(3, 0, 19), aroundIt), 1u);
    // One below beats two above.
    const std::vector<DateHit> farAbove{date(1, 0, day(2025, 6, 14)), date(4, 0, day(2025, 6, 15))};
    EXPECT_EQ(CandidateBuilder::dateFor(time(3, 0, 19), farAbove), 1u);
    // Five lines away is too far.
    EXPECT_EQ(CandidateBuilder::dateFor(time(0, 0, 19), {date(5, 0, day(2025, 6, 14))}), std::nullopt);
    EXPECT_EQ(CandidateBuilder::dateFor(time(9, 0, 19), {date(5, 0, day(2025, 6, 14))}), 0u);  // four lines up
    EXPECT_EQ(CandidateBuilder::dateFor(time(0, 0, 19), {}), std::nullopt);
}

TEST(CandidateScore, SignalsAddUp) {
    DateCandidate c;
    c.day = day(2025, 6, 14);
    c.hour = 19;
    c.label = u"Show"_s;
    EXPECT_EQ(CandidateBuilder::score(c, false, false), 8.0);
    c.label = u"Doors"_s;
    EXPECT_EQ(CandidateBuilder::score(c, false, false), 4.0);
    c.label.reset();
    EXPECT_EQ(CandidateBuilder::score(c, false, false), 7.0);
    c.isRelative = true;
    EXPECT_EQ(CandidateBuilder::score(c, true, true), 6.0);
}

TEST(CandidateBuilding, NoHitsGiveNoCandidates) { EXPECT_TRUE(build({}, {}).empty()); }

TEST(CandidateBuilding, ATimeFarFromAnyDateHasNoDay) {
    const auto candidates = build({date(8, 0, day(2025, 6, 14))}, {time(1, 0, 9, 30, u"Starts"_s)});
    ASSERT_EQ(candidates.size(), 2u);
    // The all-day date outscores the dayless time (4 + 1 against 2 + 1 + 1).
    EXPECT_EQ(candidates[0].day, day(2025, 6, 14));
    EXPECT_EQ(candidates[1].day, std::nullopt);
    EXPECT_EQ(candidates[1].hour, 9);
    EXPECT_EQ(candidates[1].label, u"Starts"_s);
}

TEST(CandidateBuilding, ClaimedDatesGiveNoAllDayCandidateAndTimedDaysDropTheirAllDayOne) {
    const auto candidates = build(
        {date(0, 0, day(2025, 6, 14)), date(6, 0, day(2025, 6, 14)), date(9, 0, day(2025, 6, 20))},
        {time(0, 10, 19, 30)});
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].day, day(2025, 6, 14));
    EXPECT_EQ(candidates[0].hour, 19);
    EXPECT_EQ(candidates[1].day, day(2025, 6, 20));
    EXPECT_EQ(candidates[1].hour, std::nullopt);
}

TEST(CandidateBuilding, DuplicateTimesOnOneDayKeepTheFirstRead) {
    const auto candidates = build({date(0, 0, day(2025, 6, 14))},
                                  {time(0, 10, 9, 30, u"Starts"_s), time(1, 0, 9, 30), time(2, 0, 9, 30)});
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].label, u"Starts"_s);

    const auto dayless = build({}, {time(0, 0, 9, 30), time(7, 0, 9, 30), time(7, 10, 9, 31)});
    EXPECT_EQ(dayless.size(), 2u);
}

TEST(CandidateBuilding, AnEndTimeBecomesTheEndOfTheBestCandidateOnly) {
    const auto candidates =
        build({date(0, 0, day(2025, 6, 14)), date(9, 0, day(2025, 6, 21))},
              {time(0, 10, 19, 0, u"Show"_s), time(1, 0, 23, 0, u"Ends"_s), time(9, 10, 20, 0)});
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].hour, 19);
    EXPECT_EQ(candidates[0].endHour, 23);
    EXPECT_EQ(candidates[0].endMinute, 0);
    EXPECT_EQ(candidates[1].hour, 20);
    EXPECT_EQ(candidates[1].endHour, std::nullopt);
}

TEST(CandidateBuilding, AnEndTimeOnAnotherDayIsNotTaken) {
    const auto candidates = build({date(0, 0, day(2025, 6, 14)), date(6, 0, day(2025, 6, 15))},
                                  {time(0, 10, 19), time(6, 10, 1, 0, u"Arrives"_s)});
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].hour, 19);
    EXPECT_EQ(candidates[0].endHour, std::nullopt);
    // The arrival claims no date, so 15 June stays as an all-day candidate.
    EXPECT_EQ(candidates[1].day, day(2025, 6, 15));
}

TEST(CandidateBuilding, PastDatesLoseAndDeadlineLinesGain) {
    const auto past = build({date(0, 0, day(2025, 6, 9)), date(1, 0, day(2025, 6, 10))}, {});
    ASSERT_EQ(past.size(), 2u);
    EXPECT_EQ(past[0].day, day(2025, 6, 10));  // today is not past

    QStringList lines = blankLines(3);
    lines[2] = u"Payment due by 20 June"_s;
    const auto deadline = build({date(0, 0, day(2025, 6, 14)), date(2, 15, day(2025, 6, 20))}, {}, lines);
    ASSERT_EQ(deadline.size(), 2u);
    EXPECT_EQ(deadline[0].day, day(2025, 6, 20));
    EXPECT_EQ(deadline[0].line, 2);
}

TEST(CandidateBuilding, TheBestComesFirstAndTheRestInReadingOrderWithFreshIds) {
    const auto candidates = build({date(0, 0, day(2025, 6, 14), true), date(3, 0, day(2025, 6, 16)),
                                   date(5, 0, day(2025, 6, 15), true)},
                                  {time(3, 10, 20, 0, u"Doors"_s), time(5, 10, 18), time(7, 0, 9)});
    ASSERT_EQ(candidates.size(), 4u);
    // 16 June 20:00 "Doors" scores 4 + 2 + 1 - 3 = 4; 15 June 18:00 (relative) scores 6.
    EXPECT_EQ(candidates[0].day, day(2025, 6, 15));
    EXPECT_EQ(candidates[0].hour, 18);
    EXPECT_EQ(candidates[1].day, day(2025, 6, 14));  // line 0
    EXPECT_EQ(candidates[2].day, day(2025, 6, 16));  // line 3
    EXPECT_EQ(candidates[3].hour, 9);                // line 7, paired with line 5's date
    EXPECT_EQ(candidates[3].day, day(2025, 6, 15));
    for (size_t i = 0; i < candidates.size(); ++i)
        EXPECT_EQ(candidates[i].id, static_cast<int>(i));
}

TEST(CandidateBuilding, EqualBestScoresGoToTheEarlierPosition) {
    const auto candidates = build({date(4, 0, day(2025, 6, 20)), date(1, 0, day(2025, 6, 18))}, {});
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].line, 1);
    EXPECT_EQ(candidates[1].line, 4);
}

}  // namespace
