#include "imageimport/extraction/PlaceFinder.h"

#include "platform/datadetector/FakeDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::Found;
using imageimport::PlaceFinder;
using imageimport::Venue;

namespace {

std::optional<Found> address(const QStringList& lines, const platform::DataDetector* detector = nullptr) {
    return PlaceFinder::findAddress(lines, detector);
}

std::optional<Venue> venue(const QStringList& lines) {
    return PlaceFinder::findVenue(lines, extractiontest::tuesday10June2025(), extractiontest::calendar());
}

TEST(Address, ThePatternTakesAStreetWithCapitalisedWords) {
    EXPECT_EQ(address({u"Tickets"_s, u"221B Baker Street, London NW1 6XE"_s}),
              (Found{u"221B Baker Street, London NW1 6XE"_s, 1}));
    EXPECT_EQ(address({u"Doors 7pm · 12 Long Lane."_s}), (Found{u"12 Long Lane"_s, 0}));
    // Lower-case words before the street type: the pattern leaves it to the detector.
    EXPECT_EQ(address({u"12 high street"_s}), std::nullopt);
}

TEST(Address, TheDetectorJoinsTheLinesOfItsFirstAddress) {
    platform::FakeDataDetector detector;
    detector.addAddress(u"12 high street\n  Bristol BS1 4QA"_s);
    detector.addAddress(u"Flat 3"_s);
    EXPECT_EQ(address({u"Garden party"_s, u"12 high street"_s, u"  Bristol BS1 4QA"_s, u"Flat 3"_s}, &detector),
              (Found{u"12 high street, Bristol BS1 4QA"_s, 1}));

    platform::FakeDataDetector wordy;
    wordy.addAddress(u"Old Town Square"_s);
    EXPECT_EQ(address({u"Old Town Square"_s}, &wordy), std::nullopt);
    platform::FakeDataDetector longer;
    const QString sprawl = u"1 "_s + QString(95, u'a');
    longer.addAddress(sprawl);
    EXPECT_EQ(address({sprawl}, &longer), std::nullopt);
}

TEST(Venue, AWholeSegmentAfterAtOrTheParsersPlace) {
    EXPECT_EQ(venue({u"Jazz Night"_s, u"Live at The Jazz Cafe!"_s}), (Venue{u"The Jazz Cafe"_s, 1, u"Live at The Jazz Cafe!"_s}));
    EXPECT_EQ(venue({u"LIVE AT THE JAZZ CAFE"_s}), (Venue{u"The Jazz Cafe"_s, 0, u"LIVE AT THE JAZZ CAFE"_s}));
    // "at 7pm" holds a digit: the search goes on to the next segment.
    EXPECT_EQ(venue({u"at 7pm · @ Ronnie's"_s}), (Venue{u"Ronnie's"_s, 0, u"@ Ronnie's"_s}));
    EXPECT_FALSE(PlaceFinder::venueRe().matches(u"at X"_s));
    // A name that trims away to nothing is no venue; the parser's place is taken instead.
    EXPECT_EQ(venue({u"at ..."_s, u"Drinks at The Crown"_s}), (Venue{u"The Crown"_s, 1, u"Drinks at The Crown"_s}));
}

TEST(PlaceLine, AFewCapitalisedWordsWithAPlaceWord) {
    EXPECT_EQ(PlaceFinder::findPlaceLine({u"Thursday"_s, u"Royal Festival Hall"_s}), (Found{u"Royal Festival Hall"_s, 1}));
    EXPECT_EQ(PlaceFinder::findPlaceLine({u"Royal Albert Hall, London"_s}), (Found{u"Royal Albert Hall, London"_s, 0}));
    for (const QString& line : {u"royal festival hall"_s, u"The Old Bell Pub Quiz Night Tonight"_s, u"Studio 54"_s,
                                u"Albert Halls"_s, QString()})
        EXPECT_EQ(PlaceFinder::findPlaceLine({line}), std::nullopt) << line.toStdString();
}

}  // namespace
