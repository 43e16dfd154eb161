#include "platform/datadetector/RuleDataDetector.h"

#include "core/Calendar.h"
#include "core/Clock.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::DataDetector;
using platform::RuleDataDetector;

namespace {

// "text=url" per link found.
QStringList links(const QString& text) {
    QStringList result;
    for (const DataDetector::Match& m : RuleDataDetector().matches(text, DataDetector::Kind::link)) {
        EXPECT_EQ(m.kind, DataDetector::Kind::link);
        result.append(text.mid(m.range.location, m.range.length) + u'=' + m.url.toString());
    }
    return result;
}

TEST(RuleDataDetector, AddressesWithASchemeEndBeforeSentencePunctuation) {
    EXPECT_EQ(links(u"Tickets: https://example.com/t?id=4&x=1."_s),
              QStringList{u"https://example.com/t?id=4&x=1=https://example.com/t?id=4&x=1"_s});
    EXPECT_EQ(links(u"(see HTTPS://Example.com/a_(b))"_s),
              QStringList{u"HTTPS://Example.com/a_(b)=https://example.com/a_(b)"_s});
    EXPECT_EQ(links(u"\"http://example.org/x\", then"_s), QStringList{u"http://example.org/x=http://example.org/x"_s});
    EXPECT_EQ(links(u"https:// nothing"_s), QStringList{});
}

TEST(RuleDataDetector, HostsWithoutASchemeAndMailAddresses) {
    EXPECT_EQ(links(u"Join at zoom.us/j/123456, or www.example.co.uk/info!"_s),
              (QStringList{u"zoom.us/j/123456=http://zoom.us/j/123456"_s,
                           u"www.example.co.uk/info=http://www.example.co.uk/info"_s}));
    EXPECT_EQ(links(u"Mail box.office@theatre.org"_s),
              QStringList{u"box.office@theatre.org=mailto:box.office@theatre.org"_s});
    EXPECT_EQ(links(u"mailto:a@b.com"_s), QStringList{u"mailto:a@b.com=mailto:a@b.com"_s});
}

TEST(RuleDataDetector, WordsWithFullStopsAreNoHosts) {
    EXPECT_EQ(links(u"e.g. St.Paul, photo.jpg, 12.30, Mr.Smith, version 1.2.3"_s), QStringList{});
}

TEST(RuleDataDetector, RangesAreUtf16UnitsAndNoneOverlap) {
    const QString text = u"👋 https://example.com/👋 example.com"_s;
    const auto found = RuleDataDetector().matches(text, DataDetector::Kind::link);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].range, (core::TextRange{3, 22}));
    EXPECT_EQ(found[1].range, (core::TextRange{26, 11}));
}

TEST(RuleDataDetector, OnlyTheAskedKinds) {
    const QString text = u"https://example.com on 14 June"_s;
    const auto dates = RuleDataDetector().matches(text, DataDetector::Kind::date);
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_EQ(dates[0].kind, DataDetector::Kind::date);
    EXPECT_EQ(RuleDataDetector().matches(text, DataDetector::Kind::link | DataDetector::Kind::date).size(), 2u);
    EXPECT_TRUE(RuleDataDetector().matches(text, DataDetector::Kind::address).empty());
    EXPECT_TRUE(RuleDataDetector().matches(QString(), DataDetector::Kind::link).empty());
}

// Dates are read against the installed clock: Tuesday 10 June 2025 here.
class RuleDateDetection : public ::testing::Test {
protected:
    core::ScopedTestClock clock{*core::Calendar().date({.year = 2025, .month = 6, .day = 10, .hour = 10})};

    // "text=yyyy-MM-dd" per date found, the day read in the current zone.
    static QStringList dates(const QString& text) {
        QStringList result;
        for (const DataDetector::Match& m : RuleDataDetector().matches(text, DataDetector::Kind::date)) {
            const core::DateComponents c = core::Calendar().components(m.date.value());
            result.append(text.mid(m.range.location, m.range.length) + u'=' +
                          QDate(*c.year, *c.month, *c.day).toString(Qt::ISODate));
        }
        return result;
    }
};

TEST_F(RuleDateDetection, RelativeWordsAndWeekdaysCountFromToday) {
    EXPECT_EQ(dates(u"Call me tomorrow, or the day after tomorrow"_s),
              (QStringList{u"tomorrow=2025-06-11"_s, u"the day after tomorrow=2025-06-12"_s}));
    EXPECT_EQ(dates(u"Tonight only"_s), QStringList{u"Tonight=2025-06-10"_s});
    EXPECT_EQ(dates(u"Tuesday, Friday, next Tuesday"_s),
              (QStringList{u"Tuesday=2025-06-10"_s, u"Friday=2025-06-13"_s, u"next Tuesday=2025-06-17"_s}));
    EXPECT_EQ(dates(u"back in 2 weeks"_s), QStringList{u"in 2 weeks=2025-06-24"_s});
    // Abbreviated weekdays are ordinary words too.
    EXPECT_EQ(dates(u"She sat in the sun"_s), QStringList{});
}

TEST_F(RuleDateDetection, WrittenDatesTakeTheNearestYearNotPast) {
    EXPECT_EQ(dates(u"Friday 14 June and June 3rd"_s),
              (QStringList{u"Friday 14 June=2025-06-14"_s, u"June 3rd=2026-06-03"_s}));
    EXPECT_EQ(dates(u"Valid until March 2027"_s), QStringList{u"March 2027=2027-03-01"_s});
    EXPECT_EQ(dates(u"2025-06-30 or 01.07.25"_s), (QStringList{u"2025-06-30=2025-06-30"_s, u"01.07.25=2025-07-01"_s}));
    // en_US reads a slash date month first; a "month" above 12 was written day first.
    EXPECT_EQ(dates(u"6/14 and 14/6"_s), (QStringList{u"6/14=2025-06-14"_s, u"14/6=2025-06-14"_s}));
}

TEST_F(RuleDateDetection, TimesAndImpossibleDaysAreNoDates) {
    EXPECT_EQ(dates(u"Doors 19.30, 12:30, 31 April, 30/02, 2025"_s), QStringList{});
}

QStringList addresses(const QString& text) {
    QStringList result;
    for (const DataDetector::Match& m : RuleDataDetector().matches(text, DataDetector::Kind::address))
        result.append(text.mid(m.range.location, m.range.length));
    return result;
}

TEST(RuleAddressDetection, StreetsWithTheirTownOnTheSameOrNextLine) {
    EXPECT_EQ(addresses(u"Come to 221B Baker Street, London NW1 6XE."_s),
              QStringList{u"221B Baker Street, London NW1 6XE"_s});
    EXPECT_EQ(addresses(u"Venue\n12 high street\nBristol BS1 4QA\nDoors 7pm"_s),
              QStringList{u"12 high street\nBristol BS1 4QA"_s});
    EXPECT_EQ(addresses(u"1600 Amphitheatre Pkwy\nMountain View, CA 94043"_s),
              QStringList{u"1600 Amphitheatre Pkwy\nMountain View, CA 94043"_s});
    EXPECT_EQ(addresses(u"Treffpunkt: Hauptstraße 5, 10115 Berlin"_s), QStringList{u"Hauptstraße 5, 10115 Berlin"_s});
}

TEST(RuleAddressDetection, NumbersBeforeOrdinaryWordsAreNoAddresses) {
    // The line after a street joins it only when it reads as a town.
    EXPECT_EQ(addresses(u"12 Long Lane\nbring a friend"_s), QStringList{u"12 Long Lane"_s});
    EXPECT_EQ(addresses(u"Order 4471 ships in 3 days. Total 2 items"_s), QStringList{});
}

}  // namespace
