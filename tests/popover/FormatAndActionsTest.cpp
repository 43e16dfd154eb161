#include "PopoverTestSupport.h"
#include "TestEnvironment.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/PopoverFormat.h"
#include "state/PopoverActions.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using popover::PopoverActions;
using popover::PopoverFormat;
using popovertest::local;

namespace {

TEST(PopoverFormat, MinutesCountUpToHoursAndNeverBelowZero) {
    const std::vector<std::pair<int, QString>> cases{
        {0, u"0m"_s},   {5, u"5m"_s},      {59, u"59m"_s},     {60, u"1h"_s},    {61, u"1h 1m"_s},
        {90, u"1h 30m"_s}, {120, u"2h"_s}, {125, u"2h 5m"_s}, {1500, u"25h"_s}, {-3, u"0m"_s}};
    for (const auto& [minutes, text] : cases)
        EXPECT_EQ(PopoverFormat::minutes(minutes), text) << minutes;
}

TEST(PopoverFormat, TimeRangeGivesAnEndOnAnotherDayItsWeekday) {
    const core::Calendar calendar;
    const auto sameDay = popovertest::event(u"Sync"_s, local(2026, 3, 10, 9), local(2026, 3, 10, 10));
    EXPECT_EQ(PopoverFormat::timeRange(sameDay, calendar), u"9:00\u202FAM \u2013 10:00\u202FAM"_s);
    const auto overnight = popovertest::event(u"Late"_s, local(2026, 3, 10, 22), local(2026, 3, 11, 1, 30));
    EXPECT_EQ(PopoverFormat::timeRange(overnight, calendar), u"10:00\u202FPM \u2013 Wed 1:30\u202FAM"_s);
    {
        testsupport::ScopedLocale british("en_GB.UTF-8");
        EXPECT_EQ(PopoverFormat::timeRange(overnight, calendar), u"22:00 \u2013 Wed 01:30"_s);
    }
}

TEST(PopoverFormat, RelativeDayCountsCalendarDaysNotSpansOf24Hours) {
    const core::Calendar calendar;
    const core::Date lateEvening = local(2026, 3, 10, 23, 59);
    EXPECT_EQ(PopoverFormat::relativeDay(local(2026, 3, 10, 0, 1), lateEvening, calendar), u"Today"_s);
    EXPECT_EQ(PopoverFormat::relativeDay(lateEvening + 120, lateEvening, calendar), u"Tomorrow"_s);
    EXPECT_EQ(PopoverFormat::relativeDay(lateEvening + 47 * 3600, lateEvening, calendar), u"in 2 days"_s);
    EXPECT_EQ(PopoverFormat::relativeDay(local(2026, 3, 9, 23, 59), local(2026, 3, 10), calendar), u"Yesterday"_s);
    EXPECT_EQ(PopoverFormat::relativeDay(local(2026, 3, 6, 12), lateEvening, calendar), u"4 days ago"_s);
    // The 23-hour day of the change to summer time is still one day.
    EXPECT_EQ(PopoverFormat::relativeDay(local(2026, 3, 30, 0, 30), local(2026, 3, 29, 0, 30), calendar),
              u"Tomorrow"_s);
}

TEST(PopoverFormat, EmptyDayCopyTurnsOverWithTheLocalDay) {
    const QString morning = PopoverFormat::emptyDayCopy(local(2026, 3, 10, 0, 30));  // still 9 March in UTC
    EXPECT_EQ(morning, u"Clear skies."_s);
    EXPECT_EQ(PopoverFormat::emptyDayCopy(local(2026, 3, 10, 23, 59)), morning);
    EXPECT_EQ(PopoverFormat::emptyDayCopy(local(2026, 3, 11, 8)), u"Free as a bird. Go outside."_s);
    EXPECT_EQ(PopoverFormat::emptyDayCopy(local(2026, 3, 12, 8)), u"Nothing on. Go outside."_s);
    EXPECT_EQ(PopoverFormat::emptyDayCopy(local(2026, 3, 13, 8)), u"Clear skies."_s);
    // A date no calendar holds still gets a line.
    EXPECT_FALSE(PopoverFormat::emptyDayCopy(core::Date(1e300)).isEmpty());
}

TEST(PopoverActions, TheMapSearchEscapesEveryReservedCharacterOfThePlace) {
    const auto url = platform::mapSearchURL(u"Café Müller & Söhne, 5th Ave #3"_s);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->toString(QUrl::FullyEncoded),
              u"https://www.openstreetmap.org/search?query=Caf%C3%A9%20M%C3%BCller%20%26%20S%C3%B6hne%2C%205th%20Ave%20%233"_s);
    EXPECT_EQ(QUrlQuery(*url).queryItemValue(u"query"_s, QUrl::FullyDecoded), u"Café Müller & Söhne, 5th Ave #3"_s);
}

TEST(PopoverActions, OpenMapsCopiesThePlaceInsteadWhileAltIsHeld) {
    platform::FakeWorkspace workspace;
    PopoverActions::openMaps(u"Room 4"_s, workspace);
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(workspace.opened.front(), platform::mapSearchURL(u"Room 4"_s));
    EXPECT_TRUE(workspace.copied.isEmpty());

    workspace.altHeld = true;
    PopoverActions::openMaps(u"Room 4"_s, workspace);
    EXPECT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(workspace.copied, QStringList{u"Room 4"_s});
}

TEST(PopoverActions, PrivacyAddressesNameTheirPaneAndNothingElseDoes) {
    EXPECT_EQ(platform::privacySettingsPane(PopoverActions::remindersPrivacyURL()), platform::EntityType::Reminder);
    EXPECT_EQ(platform::privacySettingsPane(platform::privacySettingsURL(platform::EntityType::Event)),
              platform::EntityType::Event);
    for (const char* other : {"https://privacy-settings/calendars", "orbitday://privacy-settings/contacts",
                              "orbitday://elsewhere/calendars", "orbitday:privacy-settings"})
        EXPECT_EQ(platform::privacySettingsPane(QUrl(QString::fromUtf8(other))), std::nullopt) << other;
}

}  // namespace
