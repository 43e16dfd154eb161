#include "IcsTestSupport.h"

#include <gtest/gtest.h>

using namespace vdirtest;

namespace {

core::Date startOf(const QStringList& event, const QStringList& extra = {}) {
    const ParsedSeries s(ics(extra + event));
    EXPECT_TRUE(s.series.master);
    return s.series.master->start->toDate(core::TimeZone::utc());
}

QStringList eventAt(const QString& dtstart) {
    return {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:z"), dtstart, QStringLiteral("END:VEVENT")};
}

// A zone under a name no database knows, with Berlin's rules written out as observances.
const QStringList kCustomBerlin{QStringLiteral("BEGIN:VTIMEZONE"),
                                QStringLiteral("TZID:Customized Time Zone"),
                                QStringLiteral("BEGIN:STANDARD"),
                                QStringLiteral("DTSTART:16011028T030000"),
                                QStringLiteral("RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10"),
                                QStringLiteral("TZOFFSETFROM:+0200"),
                                QStringLiteral("TZOFFSETTO:+0100"),
                                QStringLiteral("END:STANDARD"),
                                QStringLiteral("BEGIN:DAYLIGHT"),
                                QStringLiteral("DTSTART:16010325T020000"),
                                QStringLiteral("RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3"),
                                QStringLiteral("TZOFFSETFROM:+0100"),
                                QStringLiteral("TZOFFSETTO:+0200"),
                                QStringLiteral("END:DAYLIGHT"),
                                QStringLiteral("END:VTIMEZONE")};

}  // namespace

TEST(IcsZones, TzidsResolveToSystemZonesWindowsNamesAndVendorPaths) {
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=America/New_York:20240704T120000"))), utc(2024, 7, 4, 16));
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=W. Europe Standard Time:20240704T120000"))),
              utc(2024, 7, 4, 10));
    EXPECT_EQ(startOf(eventAt(
                  QStringLiteral("DTSTART;TZID=/freeassociation.sourceforge.net/Tzfile/Asia/Tokyo:20240704T120000"))),
              utc(2024, 7, 4, 3));
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART:20240704T120000Z"))), utc(2024, 7, 4, 12));
}

TEST(IcsZones, UnknownNameIsBuiltFromItsVtimezone) {
    const QStringList event = eventAt(QStringLiteral("DTSTART;TZID=Customized Time Zone:20240704T120000"));
    EXPECT_EQ(startOf(event, kCustomBerlin), utc(2024, 7, 4, 10));
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=Customized Time Zone:20241201T120000")), kCustomBerlin),
              utc(2024, 12, 1, 11));
    // Inside the repeated hour of the switch back, the first of the two moments.
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=Customized Time Zone:20241027T023000")), kCustomBerlin),
              utc(2024, 10, 27, 0, 30));
}

TEST(IcsZones, SkippedWallTimeMovesForwardByTheGap) {
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=Europe/Berlin:20240331T023000"))), utc(2024, 3, 31, 1, 30));
    EXPECT_EQ(startOf(eventAt(QStringLiteral("DTSTART;TZID=Customized Time Zone:20240331T023000")), kCustomBerlin),
              utc(2024, 3, 31, 1, 30));
}

TEST(IcsZones, UnknownNameWithoutDefinitionIsReadAsFloating) {
    const ParsedSeries s(ics(eventAt(QStringLiteral("DTSTART;TZID=Nowhere/Special:20240704T120000"))));
    ASSERT_TRUE(s.series.master);
    EXPECT_EQ(s.series.master->start->anchor, platform::vdir::IcsTime::Anchor::Floating);
    EXPECT_EQ(s.series.master->start->tzid(), QStringLiteral("Nowhere/Special"));
    EXPECT_EQ(s.series.master->start->toDate(core::TimeZone::current()), local("Europe/Berlin", 2024, 7, 4, 12));
}

// Files read by one store share what a TZID names; two files that define one name differently keep their own zones.
TEST(IcsZones, OneNameDefinedDifferentlyInTwoFilesKeepsEachDefinition) {
    QStringList customNewYork = kCustomBerlin;
    customNewYork.replaceInStrings(QStringLiteral("+0200"), QStringLiteral("-0400"));
    customNewYork.replaceInStrings(QStringLiteral("+0100"), QStringLiteral("-0500"));
    const QStringList event = eventAt(QStringLiteral("DTSTART;TZID=Customized Time Zone:20240704T120000"));
    platform::vdir::IcsZoneResolver zones;
    const platform::vdir::IcsFileParser parser(zones);
    const IcsFile berlin = parser.parse(ics(kCustomBerlin + event));
    const IcsFile newYork = parser.parse(ics(customNewYork + event));
    const IcsFile berlinAgain = parser.parse(ics(kCustomBerlin + event));
    ASSERT_EQ(berlin.components.size(), 1u);
    ASSERT_EQ(newYork.components.size(), 1u);
    ASSERT_EQ(berlinAgain.components.size(), 1u);
    EXPECT_EQ(berlin.components[0].start->toDate(core::TimeZone::utc()), utc(2024, 7, 4, 10));
    EXPECT_EQ(newYork.components[0].start->toDate(core::TimeZone::utc()), utc(2024, 7, 4, 16));
    EXPECT_EQ(berlinAgain.components[0].start->named, berlin.components[0].start->named);
    EXPECT_NE(newYork.components[0].start->named, berlin.components[0].start->named);
}
