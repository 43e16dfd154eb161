#include "imageimport/extraction/HeadingFinder.h"

#include "platform/datadetector/RuleDataDetector.h"

#include "ExtractionTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;

namespace {

class Headings : public ::testing::Test {
protected:
    platform::RuleDataDetector detector;
    HeadingFinder finder{extractiontest::context(), &detector};

    HeadingFinder::Residual residual(const QString& text, std::optional<Found> address = std::nullopt,
                                     std::optional<Venue> venue = std::nullopt) const {
        return finder.residual(text, address, venue);
    }
    std::optional<QString> heading(const std::vector<RecognizedLine>& lines, std::optional<int> dateLine = std::nullopt,
                                   std::optional<Found> address = std::nullopt,
                                   std::optional<Venue> venue = std::nullopt) const {
        return finder.heading(lines, dateLine, address, venue);
    }
    QString reminder(const QString& trigger, const QStringList& lines, const QString& heading = QString(),
                     std::optional<QString> amount = std::nullopt) const {
        const auto line = static_cast<int>(lines.indexOf(lines.filter(trigger, Qt::CaseInsensitive).value(0)));
        return finder.reminderTitle({trigger, line}, heading, lines, amount);
    }
};

TEST_F(Headings, ResidualRemovesTheFactsOfALine) {
    EXPECT_EQ(residual(u"Jazz Night 12 May 8pm £15"_s).text, u"Jazz Night"_s);
    EXPECT_TRUE(residual(u"Jazz Night 12 May 8pm £15"_s).hadTokens);
    const auto onlyFacts = residual(u"14 June 19:30"_s);
    EXPECT_TRUE(onlyFacts.text.isEmpty());
    EXPECT_TRUE(onlyFacts.hadTokens);
    EXPECT_EQ(residual(u"Book now at tickets.example.com/jazz"_s).text, u"Book now"_s);
    // A number without a currency is no amount.
    EXPECT_EQ(residual(u"Table 4471 of Group B"_s).text, u"Table 4471 of Group B"_s);
    EXPECT_FALSE(residual(u"Table 4471 of Group B"_s).hadTokens);
    // Words only the quick-add parser knows are removed but set no flag.
    const auto parserOnly = residual(u"Picnic for 2 hours"_s);
    EXPECT_EQ(parserOnly.text, u"Picnic"_s);
    EXPECT_FALSE(parserOnly.hadTokens);
}

TEST_F(Headings, ResidualRemovesTheVenueInAnyCaseTheAddressOnlyAsWritten) {
    const Venue room{u"The Blue Room"_s, 0, u"at The Blue Room"_s};
    EXPECT_EQ(residual(u"Jazz in THE BLUE ROOM"_s, std::nullopt, room).text, u"Jazz in"_s);
    const Found street{u"12 Long Lane"_s, 0};
    EXPECT_EQ(residual(u"Party 12 Long Lane"_s, street).text, u"Party"_s);
    EXPECT_EQ(residual(u"Party 12 long lane"_s, street).text, u"Party 12 long lane"_s);
}

TEST_F(Headings, LargeShortTextNearTheDateWins) {
    EXPECT_EQ(heading({{u"Thanks for your order"_s, 0.03}, {u"SUMMER JAZZ NIGHT"_s, 0.06},
                       {u"Saturday 14 June 20:00"_s, 0.02}, {u"a long line of small print that nobody reads at all"_s, 0.01}},
                      2),
              u"Summer Jazz Night"_s);
    // Equal scores: the earlier line.
    EXPECT_EQ(heading({{u"Spring Fair"_s, 0.02}, {u"Craft Market"_s, 0.02}}), u"Spring Fair"_s);
    EXPECT_EQ(heading({{u"Stall A · Stall B"_s, 0.02}}), u"Stall A"_s);
    EXPECT_EQ(heading({{u"14/06 · 19:30 · £12"_s, 0.05}}), std::nullopt);
    EXPECT_EQ(heading({}), std::nullopt);
}

TEST_F(Headings, NeitherTheVenueSegmentNorTheAddressLineIsTheHeading) {
    const Venue room{u"The Blue Room"_s, 0, u"at The Blue Room"_s};
    EXPECT_EQ(heading({{u"at The Blue Room"_s, 0.08}, {u"Quiz night"_s, 0.02}}, std::nullopt, std::nullopt, room),
              u"Quiz night"_s);
    const Found street{u"221B Baker Street"_s, 0};
    EXPECT_EQ(heading({{u"221B Baker Street"_s, 0.08}, {u"Garden party"_s, 0.02}}, std::nullopt, street),
              u"Garden party"_s);
}

TEST_F(Headings, AReminderTitleIsAVerbAndWhatIsDue) {
    EXPECT_EQ(reminder(u"Pay by"_s, {u"Pay by 14 June"_s}, u"Water bill"_s), u"Pay water bill"_s);
    EXPECT_EQ(reminder(u"Renew"_s, {u"Renew TV Licence by 30 June"_s}), u"Renew TV licence"_s);
    EXPECT_EQ(reminder(u"expires on"_s, {u"Passport expires on 2 July"_s}), u"Renew passport"_s);
    EXPECT_EQ(reminder(u"pay by"_s, {u"Pay by 3 July"_s}, u"Pay parking fine"_s), u"Pay parking fine"_s);
    // No verb without pay, submit or renew wording or an amount.
    EXPECT_EQ(reminder(u"Deadline"_s, {u"Deadline 30 June"_s}, u"Grant Application"_s), u"Grant Application"_s);
    EXPECT_EQ(reminder(u"Due"_s, {u"Due 30 June: £12.00"_s}, QString(), u"£12.00"_s), u"Pay"_s);
}

TEST_F(Headings, AWordyReminderLineGivesWayToTheHeading) {
    EXPECT_EQ(reminder(u"Submit by"_s, {u"Submit by 1 July the signed copy of the form we sent you"_s}, u"Tax return"_s),
              u"Submit tax return"_s);
    EXPECT_EQ(reminder(u"Submit by"_s, {u"Submit by 1 July your expenses"_s}, u"Tax return"_s),
              u"Submit your expenses"_s);
}

}  // namespace
