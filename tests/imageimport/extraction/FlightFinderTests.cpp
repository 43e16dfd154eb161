#include "imageimport/extraction/FlightFinder.h"

#include "imageimport/extraction/TimeScanner.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::FlightDetails;
using imageimport::FlightFinder;
using imageimport::TimeHit;

namespace {

std::vector<TimeHit> timesOf(const QStringList& lines) {
    std::vector<TimeHit> hits;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto found = imageimport::TimeScanner::scanTimes(lines[i], static_cast<int>(i), {});
        hits.insert(hits.end(), found.begin(), found.end());
    }
    return hits;
}

std::optional<FlightDetails> find(const QStringList& lines) { return FlightFinder::findFlight(lines, timesOf(lines)); }

TEST(FlightDetection, ABoardingPassGivesEveryField) {
    const auto flight = find({u"BOARDING PASS"_s, u"Flight BA2490 LHR → JFK"_s, u"Departs 08:25  Arrives 11:10"_s,
                              u"Terminal 5  Gate: b22  Seat 12a"_s, u"Booking ref: X7K2QP"_s});
    ASSERT_TRUE(flight);
    EXPECT_EQ(*flight, (FlightDetails{u"BA 2490"_s, u"LHR"_s, u"JFK"_s, u"London Heathrow"_s, u"New York"_s,
                                      u"08:25"_s, u"11:10"_s, u"5"_s, u"B22"_s, u"12A"_s, u"X7K2QP"_s}));
}

TEST(FlightDetection, NothingWithoutFlightWords) {
    EXPECT_FALSE(find({u"BA2490 LHR → JFK 08:25"_s}));
    EXPECT_FALSE(find({}));
}

TEST(FlightDetection, AFlightNumberNeedsARouteOrBoarding) {
    EXPECT_FALSE(find({u"Flight BA 2490 is delayed"_s}));
    const auto boarding = find({u"Flight BA 2490"_s, u"Boarding 07:45"_s});
    ASSERT_TRUE(boarding);
    EXPECT_EQ(boarding->number, u"BA 2490"_s);
    EXPECT_EQ(boarding->origin, std::nullopt);
    // Only a boarding-labelled time: no departure.
    EXPECT_EQ(boarding->departure, std::nullopt);
}

TEST(FlightDetection, RoutesFromPairsFromToWordsAndKnownCodes) {
    // Neither code is known: no pair; "to XYZ" names the destination only.
    const auto unknown = find({u"Flight AB 123 ABC to XYZ"_s, u"boarding"_s});
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->origin, std::nullopt);
    EXPECT_EQ(unknown->destination, u"XYZ"_s);

    const auto half = find({u"Flight AB 123 LHR - XYZ BUCHAREST"_s});
    ASSERT_TRUE(half);
    EXPECT_EQ(half->origin, u"LHR"_s);
    EXPECT_EQ(half->destination, u"XYZ"_s);
    EXPECT_EQ(half->destinationCity, u"Bucharest"_s);

    const auto fromTo = find({u"Gate closes at LHR, from LHR to JFK"_s, u"flt 22 0123"_s});
    ASSERT_TRUE(fromTo);
    EXPECT_EQ(fromTo->origin, u"LHR"_s);
    EXPECT_EQ(fromTo->destination, u"JFK"_s);

    EXPECT_FALSE(find({u"Flight AB 123 lhr to jfk"_s}));
}

TEST(FlightDetection, ABareDesignatorOnlyOnABoardingPassAndNeverAWord) {
    const auto pass = find({u"Boarding pass"_s, u"MR SMITH  US 2024  BA 249"_s});
    ASSERT_TRUE(pass);
    EXPECT_EQ(pass->number, u"BA 249"_s);

    EXPECT_FALSE(find({u"Gate A1"_s, u"BA 249"_s}));
    EXPECT_FALSE(find({u"Boarding pass"_s, u"MR 12  AM 10  US 2024"_s}));
    // A complete route lets a bare designator stand in for the number.
    const auto route = find({u"Seat 4C"_s, u"LHR to CDG  AF 1681"_s});
    ASSERT_TRUE(route);
    EXPECT_EQ(route->number, u"AF 1681"_s);
}

// The booking reference of a flight whose other lines are `lines`.
std::optional<QString> bookingRef(QStringList lines) {
    lines.prepend(u"Flight BA 2490 LHR → JFK"_s);
    const auto flight = find(lines);
    EXPECT_TRUE(flight);
    return flight ? flight->bookingRef : std::nullopt;
}

TEST(FlightDetection, BookingReferenceIsACodeNotTheFlightNumberNorAWord) {
    EXPECT_EQ(bookingRef({u"Ref: BA2490"_s}), std::nullopt);
    EXPECT_EQ(bookingRef({u"Confirmation number 123456"_s}), std::nullopt);
    EXPECT_EQ(bookingRef({u"Fare: Non-refundable"_s, u"BOOKING REFERENCE NUMBER"_s, u"Record locator: details below"_s}),
              std::nullopt);
    EXPECT_EQ(bookingRef({u"Booking reference number: x7k2qp"_s}), u"X7K2QP"_s);
    EXPECT_EQ(bookingRef({u"PNR: KQZTWX"_s}), u"KQZTWX"_s);
    EXPECT_EQ(bookingRef({u"Ref: BA2490  Confirmation no. 7QXB21"_s}), u"7QXB21"_s);
}

TEST(FlightDetection, DepartureFallsBackToTheFirstUnlabelledTime) {
    const auto flight = find({u"Boarding 07:45  Flight BA 2490 LHR → JFK"_s, u"08:25  11:10"_s});
    ASSERT_TRUE(flight);
    EXPECT_EQ(flight->departure, u"08:25"_s);
    EXPECT_EQ(flight->arrival, std::nullopt);
}

TEST(FlightDetection, AirportCodesNextToTimesAreStillCodes) {
    const auto flight = find({u"Flight KL 1002"_s, u"Departs 14:30 AMS"_s, u"Arrives 15:05 LHR"_s});
    ASSERT_TRUE(flight);
    EXPECT_EQ(flight->departure, u"14:30"_s);
    EXPECT_EQ(flight->arrival, u"15:05"_s);
    EXPECT_EQ(flight->origin, u"AMS"_s);
    EXPECT_EQ(flight->originName, u"Amsterdam Schiphol"_s);
    EXPECT_EQ(flight->destinationCity, u"London"_s);
}

TEST(FlightDetection, KnownCodesAndCityNames) {
    EXPECT_EQ(FlightFinder::knownCodes(u"Gate closes at LHR, from LHR to JFK; THE AND lhr"_s),
              (QStringList{u"LHR"_s, u"JFK"_s}));
    EXPECT_EQ(FlightFinder::airports().size(), 85);
    EXPECT_EQ(FlightFinder::cityAfter(u"OTP"_s, {u"OTP"_s, u"OTP BUCHAREST (Henri Coanda)"_s}), u"Bucharest"_s);
    EXPECT_EQ(FlightFinder::cityAfter(u"OTP"_s, {u"OTP 12B"_s, u"OTP,(Otopeni)"_s, u"OTP,Otopeni"_s}), u"Otopeni"_s);
    EXPECT_EQ(FlightFinder::cityAfter(u"OTP"_s, {u"OTP T2"_s}), std::nullopt);
}

}  // namespace
