#include "imageimport/extraction/FactFinders.h"

#include "platform/datadetector/FakeDataDetector.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::FactFinders;

namespace {

TEST(Duration, ANumberOfMinutesOrHoursAfterACueWord) {
    EXPECT_EQ(FactFinders::findDuration(u"Duration: 90 min"_s), 5400.0);
    EXPECT_EQ(FactFinders::findDuration(u"lasts 1.5 hours"_s), 5400.0);
    EXPECT_EQ(FactFinders::findDuration(u"Book for 2h"_s), 7200.0);
    EXPECT_EQ(FactFinders::findDuration(u"Length 45 mins"_s), 2700.0);
    EXPECT_EQ(FactFinders::findDuration(u"LASTS 3 HRS"_s), 10800.0);
    EXPECT_EQ(FactFinders::findDuration(u"Runs 90 minutes"_s), std::nullopt);
    EXPECT_EQ(FactFinders::findDuration(u"for 20 people"_s), std::nullopt);
}

TEST(Duration, OnlyTheFirstCueCounts) {
    EXPECT_EQ(FactFinders::findDuration(u"for 0 minutes"_s), std::nullopt);
    EXPECT_EQ(FactFinders::findDuration(u"for 0 minutes, then lasts 2 hours"_s), std::nullopt);
    // Digits of other scripts match the pattern but are no number here.
    EXPECT_EQ(FactFinders::findDuration(u"for ٩٠ minutes"_s), std::nullopt);
}

TEST(Duration, OnlyALengthAnEventCanHaveCounts) {
    // Longer than a year, or too short to show, is no length: the review keeps its own.
    EXPECT_EQ(FactFinders::findDuration(u"Duration: 99999999999 hours"_s), std::nullopt);
    EXPECT_EQ(FactFinders::findDuration(u"for 9000000 min"_s), std::nullopt);
    EXPECT_EQ(FactFinders::findDuration(u"lasts 0.001 hours"_s), std::nullopt);
    EXPECT_EQ(FactFinders::findDuration(u"lasts 8784 hours"_s), 8784 * 3600.0) << "a whole leap year";
    EXPECT_EQ(FactFinders::findDuration(u"for 1 min"_s), 60.0);
}

TEST(Links, OnlyWebLinksOfTheDetectorInTheirOrder) {
    platform::FakeDataDetector detector;
    detector.addLink(u"tickets.example.com"_s, QUrl(u"http://tickets.example.com"_s));
    detector.addLink(u"info@example.com"_s, QUrl(u"mailto:info@example.com"_s));
    detector.addLink(u"https://example.com/a"_s, QUrl(u"https://example.com/a"_s));
    detector.addLink(u"ftp.example.com"_s, QUrl(u"ftp://ftp.example.com"_s));

    const QString text = u"https://example.com/a · info@example.com\ntickets.example.com · https://example.com/a"_s;
    EXPECT_EQ(FactFinders::findLinks(text, &detector),
              (std::vector{QUrl(u"https://example.com/a"_s), QUrl(u"http://tickets.example.com"_s),
                           QUrl(u"https://example.com/a"_s)}));
    EXPECT_TRUE(FactFinders::findLinks(u"info@example.com or ftp.example.com"_s, &detector).empty());
    EXPECT_TRUE(FactFinders::findLinks(text, nullptr).empty());
}

std::optional<QString> amountIn(const QString& line) { return FactFinders::findAmount({line}); }

TEST(Amount, ALineThatSpeaksOfPayingWins) {
    EXPECT_EQ(FactFinders::findAmount({u"Tickets £25 each"_s, u"Total due: £40.00"_s}), u"£40.00"_s);
    EXPECT_EQ(FactFinders::findAmount({u"Tickets £25 each"_s, u"Bar £4.50"_s}), u"£25"_s);
    EXPECT_EQ(FactFinders::findAmount({u"No money here"_s, u"Room 1250"_s}), std::nullopt);
    EXPECT_EQ(FactFinders::findAmount({}), std::nullopt);
}

TEST(Amount, SignsAndCodesWithSpacesRemoved) {
    EXPECT_EQ(amountIn(u"$ 1,200"_s), u"$1,200"_s);
    EXPECT_EQ(amountIn(u"€12.50"_s), u"€12.50"_s);
    EXPECT_EQ(amountIn(u"25.00 GBP"_s), u"25.00GBP"_s);
    EXPECT_EQ(amountIn(u"1,250.00 eur"_s), u"1,250.00eur"_s);
    EXPECT_EQ(amountIn(u"25 GBP"_s), std::nullopt);
}

TEST(Amount, TheWholeNumberIsTaken) {
    EXPECT_EQ(amountIn(u"Deposit $1200 due"_s), u"$1200"_s);
    EXPECT_EQ(amountIn(u"£1500.00"_s), u"£1500.00"_s);
    EXPECT_EQ(amountIn(u"1250.00 EUR"_s), u"1250.00EUR"_s);
    EXPECT_EQ(amountIn(u"£12,345,678.90"_s), u"£12,345,678.90"_s);
    // A number that goes on like no amount gives none rather than a piece of it.
    EXPECT_EQ(amountIn(u"€1.250,00"_s), std::nullopt);
    EXPECT_EQ(amountIn(u"1.250.00 EUR"_s), std::nullopt);
    EXPECT_EQ(amountIn(u"£12.5"_s), std::nullopt);
    // Punctuation after an amount ends it.
    EXPECT_EQ(amountIn(u"Pay £25, now."_s), u"£25"_s);
    EXPECT_EQ(amountIn(u"Total: $40.00."_s), u"$40.00"_s);
}

}  // namespace
