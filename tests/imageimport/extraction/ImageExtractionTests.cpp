#include "imageimport/extraction/ImageExtraction.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::DateCandidate;
using imageimport::FlightDetails;
using imageimport::ImageExtraction;
using namespace extractiontest;

namespace {

TEST(DateCandidate, StartAndEndOnTheCandidatesDay) {
    const core::Calendar cal = calendar();
    const core::Date june14 = day(2025, 6, 14);

    const DateCandidate allDay = candidate(june14);
    EXPECT_EQ(allDay.start(cal), june14);
    EXPECT_EQ(allDay.end(cal), std::nullopt);

    const DateCandidate morning = candidate(june14, 9, std::nullopt, 10, 15);
    EXPECT_EQ(morning.start(cal), at(2025, 6, 14, 9, 0));
    EXPECT_EQ(morning.end(cal), at(2025, 6, 14, 10, 15));

    const DateCandidate noDay = candidate(std::nullopt, 9, 30, 10, 0);
    EXPECT_EQ(noDay.start(cal), std::nullopt);
    EXPECT_EQ(noDay.end(cal), std::nullopt);
}

TEST(DateCandidate, AnEndAtOrBeforeTheStartFallsOnTheNextDay) {
    const core::Calendar cal = calendar();
    EXPECT_EQ(candidate(day(2025, 6, 14), 22, 0, 1, 0).end(cal), at(2025, 6, 15, 1, 0));
    const DateCandidate same = candidate(day(2025, 6, 14), 10, 0, 10, 0);
    EXPECT_EQ(*same.end(cal) - *same.start(cal), 24 * 3600.0);
}

TEST(DateCandidate, AWallTimeSkippedByTheClockChangeBecomesTheNextExistingTime) {
    // Berlin skips 02:00-03:00 on 30 March 2025 and repeats 02:00-03:00 on 26 October.
    const core::Calendar cal = calendar();
    EXPECT_EQ(candidate(day(2025, 3, 30), 2, 30).start(cal), at(2025, 3, 30, 3, 0));
    const core::Date repeated = *candidate(day(2025, 10, 26), 2, 30).start(cal);
    EXPECT_EQ(repeated, at(2025, 10, 26, 0, 30) + 2 * 3600.0);  // the first 02:30, still in summer time
    EXPECT_EQ(candidate(day(2025, 6, 14), 25).start(cal), std::nullopt);
}

TEST(ImageExtraction, HasDateLooksOnlyAtTheBestCandidate) {
    ImageExtraction e;
    EXPECT_FALSE(e.hasDate());
    e.dates = {candidate(std::nullopt, 9), candidate(day(2025, 6, 14))};
    EXPECT_FALSE(e.hasDate());
    e.dates = {candidate(day(2025, 6, 14))};
    EXPECT_TRUE(e.hasDate());
}

TEST(ImageExtraction, FlightSummaryNamesTheNumberAndTheWholeRouteOnly) {
    ImageExtraction e;
    e.flight = FlightDetails{};
    e.flight->number = u"BA 2490"_s;
    e.flight->origin = u"LHR"_s;
    EXPECT_EQ(e.summary(), u"Found flight BA 2490"_s);
    e.flight->destination = u"JFK"_s;
    EXPECT_EQ(e.summary(), u"Found flight BA 2490 · LHR → JFK"_s);

    // Without a number the flight does not decide the summary.
    e.flight->number.reset();
    e.kind = ImageExtraction::Kind::reminder;
    EXPECT_EQ(e.summary(), u"Found no date"_s);
}

TEST(ImageExtraction, ReminderSummarySaysWhetherTheBestCandidateIsDated) {
    ImageExtraction e;
    e.kind = ImageExtraction::Kind::reminder;
    e.amount = u"£42.10"_s;
    EXPECT_EQ(e.summary(), u"Found no date and an amount"_s);
    e.dates = {candidate(day(2025, 6, 14))};
    e.amount.reset();
    EXPECT_EQ(e.summary(), u"Found a due date"_s);
}

TEST(ImageExtraction, EventSummaryCountsDistinctDaysAndTimesAPlaceAndALink) {
    ImageExtraction e;
    e.duration = 3600;
    e.meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(u"https://zoom.us/j/1"_s)};
    e.amount = u"£5"_s;
    EXPECT_EQ(e.summary(), u"Found no date or time"_s);

    e.dates = {candidate(day(2025, 6, 14), 9, 30), candidate(day(2025, 6, 15), 9, 30),
               candidate(day(2025, 6, 15))};
    e.location = u"The Blue Room"_s;
    EXPECT_EQ(e.summary(), u"Found 2 dates, 1 time, 1 place"_s);

    // An absent minute is :00, so 9 and 9:00 are one time; a time without a day
    // counts as a time but not as a date.
    e.dates = {candidate(day(2025, 6, 14), 9), candidate(std::nullopt, 9, 0), candidate(std::nullopt, 18, 45)};
    e.location.reset();
    e.url = QUrl(u"https://example.com"_s);
    EXPECT_EQ(e.summary(), u"Found 1 date, 2 times, 1 link"_s);
}

TEST(FlightDetails, NoteLinesFollowTheFieldsThatAreKnown) {
    FlightDetails partial;
    partial.destination = u"JFK"_s;
    partial.gate = u"B22"_s;
    EXPECT_EQ(partial.noteLines(), QStringList{u"Gate: B22"_s});

    const FlightDetails full{u"BA 117"_s, u"LHR"_s,  u"JFK"_s, u"London Heathrow"_s, u"New York"_s, u"08:25"_s,
                             u"11:10"_s,  u"5"_s,    u"A10"_s, u"14A"_s,             u"X7K2QP"_s};
    EXPECT_EQ(full.noteLines(),
              (QStringList{u"Flight: BA 117"_s, u"Route: LHR → JFK"_s, u"Departs: 08:25"_s, u"Arrives: 11:10"_s,
                           u"Terminal: 5"_s, u"Gate: A10"_s, u"Seat: 14A"_s, u"Booking ref: X7K2QP"_s}));
}

}  // namespace
