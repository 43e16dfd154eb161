#include "StoreTestSupport.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "shell/StatusTitle.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <gtest/gtest.h>

using namespace storetest;
using namespace Qt::Literals::StringLiterals;
using app::MenuBarDisplayMode;
using platform::EntityType;

namespace {

const QString kEllipsis = QString(QChar(0x2026));

TEST(StatusTitleText, MinutesUnderAnHourThenHoursAndMinutes) {
    EXPECT_EQ(app::formatMinutes(0), u"0m"_s);
    EXPECT_EQ(app::formatMinutes(-3), u"-3m"_s);
    EXPECT_EQ(app::formatMinutes(59), u"59m"_s);
    EXPECT_EQ(app::formatMinutes(60), u"1h"_s);
    EXPECT_EQ(app::formatMinutes(61), u"1h 1m"_s);
    EXPECT_EQ(app::formatMinutes(125), u"2h 5m"_s);
    EXPECT_EQ(app::formatMinutes(1440), u"24h"_s);
}

TEST(StatusTitleText, ShortTitleCountsUserPerceivedCharacters) {
    EXPECT_EQ(app::shortTitle(u"Fourteen chars"_s), u"Fourteen chars"_s);
    EXPECT_EQ(app::shortTitle(u"Planning meeting with the team"_s), u"Planning"_s);
    EXPECT_EQ(app::shortTitle(u"Supercalifragilistic"_s), u"Supercalifrag"_s + kEllipsis);
    EXPECT_EQ(app::shortTitle(u"   "_s), u"   "_s);

    // A family emoji is five code points joined by ZWJs (eleven UTF-16 units) but one character.
    const QString family = u"\U0001F469\u200D\U0001F469\u200D\U0001F467"_s;
    const QString fourteenWithEmoji = u"Party "_s + family + u" Dinner"_s;  // 6 + 1 + 7
    EXPECT_EQ(app::shortTitle(fourteenWithEmoji), fourteenWithEmoji);
    // The emoji is the 13th character of a long word: it is kept whole, never split.
    const QString word = u"Abcdefghijkl"_s + family + u"xyz"_s;
    EXPECT_EQ(app::shortTitle(word), u"Abcdefghijkl"_s + family + kEllipsis);
    // An accent written as a combining mark stays on its letter at the cut.
    const QString accented = u"Abcdefghijkle\u0301xyzw"_s;
    EXPECT_EQ(app::shortTitle(accented), u"Abcdefghijkle\u0301"_s + kEllipsis);
    EXPECT_EQ(app::shortTitle(u"Abcdefghijklmn\u0301"_s), u"Abcdefghijklmn\u0301"_s);  // 14 characters
}

class StatusTitle : public ::testing::Test {
protected:
    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s);
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};

    void add(const QString& title, core::Date start, double minutes = 30) {
        ek.addEvent(timedEvent(work, title, start, minutes));
    }
    std::optional<QString> countdown(double lead = 900) {
        store::CalendarStore store(ek);
        return app::countdownText(store, core::Date::now(), lead);
    }
    app::StatusPresentation shown() {
        store::CalendarStore store(ek);
        return app::statusPresentation(store, settings, core::Date::now());
    }
};

TEST_F(StatusTitle, AMeetingIsNowForItsFirstFiveMinutes) {
    const core::Date now = core::Date::now();
    add(u"Standup"_s, now - 299);
    EXPECT_EQ(countdown(), u"Standup now"_s);
    clock.advance(1);  // exactly five minutes in: no longer "now"
    EXPECT_EQ(countdown(), std::nullopt);
    add(u"Review"_s, now + 5 * 60);
    EXPECT_EQ(countdown(), u"Review in 5m"_s);  // 299 s, rounded up
}

TEST_F(StatusTitle, AMeetingThatHasEndedIsNoLongerNowEvenWithinItsFirstFiveMinutes) {
    add(u"Quick sync"_s, core::Date::now() - 180, 2);
    EXPECT_EQ(countdown(), std::nullopt);
}

TEST_F(StatusTitle, UpcomingCountdownWithinTheLeadTimeRoundsMinutesUp) {
    add(u"Planning meeting"_s, core::Date::now() + 61);
    EXPECT_EQ(countdown(900), u"Planning in 2m"_s);
    EXPECT_EQ(countdown(60), std::nullopt);
    // No lead time means no upcoming countdown at all.
    EXPECT_EQ(countdown(0), std::nullopt);
    EXPECT_EQ(countdown(-5), std::nullopt);
}

TEST_F(StatusTitle, CountdownBeyondTheLeadTimeIsNone) {
    add(u"Later"_s, core::Date::now() + 901);
    EXPECT_EQ(countdown(900), std::nullopt);
    clock.advance(1);
    EXPECT_EQ(countdown(900), u"Later in 15m"_s);
}

TEST_F(StatusTitle, DeclinedAndAllDayEventsGiveNoCountdownOrSuffix) {
    auto declined = timedEvent(work, u"Declined"_s, core::Date::now() - 60);
    declined.attendees = {platform::PlatformParticipant{u"Me"_s, QUrl(u"mailto:me@x.org"_s), 3, true}};
    ek.addEvent(declined);
    ek.addEvent(allDayEvent(work, u"Holiday"_s, core::Date::now()));
    EXPECT_EQ(countdown(), std::nullopt);
    EXPECT_EQ(shown().title, u"Tue 10 Mar"_s);
}

TEST_F(StatusTitle, EachDisplayModeShowsItsTitle) {
    add(u"Dentist appointment"_s, local(2026, 3, 10, 14, 30));
    // dateAndNext, the default: the date and the next event later today.
    app::StatusPresentation dateAndNext = shown();
    EXPECT_EQ(dateAndNext.title, u"Tue 10 Mar  \u00B7  Dentist 2:30\u202FPM"_s);
    EXPECT_FALSE(dateAndNext.pill);
    EXPECT_FALSE(dateAndNext.calendarSymbol);
    EXPECT_EQ(dateAndNext.toolTip, u"Dentist appointment at 2:30\u202FPM"_s);
    EXPECT_EQ(dateAndNext.accessibleText, u"Orbitday, Tue 10 Mar, Next: Dentist appointment"_s);

    settings.setMenuBarDisplayMode(MenuBarDisplayMode::date);
    EXPECT_EQ(shown().title, u"Tue 10 Mar"_s);

    settings.setMenuBarDisplayMode(MenuBarDisplayMode::icon);
    const app::StatusPresentation icon = shown();
    EXPECT_EQ(icon.title, QString());
    EXPECT_TRUE(icon.calendarSymbol);
    EXPECT_EQ(icon.accessibleText, u"Orbitday, Tue 10 Mar, Next: Dentist appointment"_s);

    settings.setDateFormat(app::DateFormatPreset::iso);
    settings.setMenuBarDisplayMode(MenuBarDisplayMode::date);
    EXPECT_EQ(shown().title, u"2026-03-10"_s);
}

TEST_F(StatusTitle, ACountdownReplacesTheSuffixWithAPill) {
    add(u"Standup"_s, core::Date::now() + 10 * 60);
    const app::StatusPresentation dateAndNext = shown();
    EXPECT_EQ(dateAndNext.title, u"Tue 10 Mar"_s);
    EXPECT_EQ(dateAndNext.pill, u"Standup in 10m"_s);
    EXPECT_EQ(dateAndNext.pillLeadingGap, 6);
    EXPECT_EQ(dateAndNext.accessibleText, u"Orbitday, Tue 10 Mar, Standup in 10m"_s);

    settings.setMenuBarDisplayMode(MenuBarDisplayMode::icon);
    const app::StatusPresentation icon = shown();
    EXPECT_EQ(icon.pill, u"Standup in 10m"_s);
    EXPECT_EQ(icon.pillLeadingGap, 0);
    EXPECT_FALSE(icon.calendarSymbol);

    settings.setShowMeetingCountdown(false);
    settings.setMenuBarDisplayMode(MenuBarDisplayMode::dateAndNext);
    EXPECT_EQ(shown().title, u"Tue 10 Mar  \u00B7  Standup 9:10\u202FAM"_s);
}

TEST_F(StatusTitle, OnlyATimedEventLaterTodayGivesTheSuffix) {
    add(u"Tomorrow"_s, local(2026, 3, 11, 9, 0));
    const app::StatusPresentation shownNow = shown();
    EXPECT_EQ(shownNow.title, u"Tue 10 Mar"_s);
    // The tooltip names the next event whenever it is.
    EXPECT_EQ(shownNow.toolTip, u"Tomorrow at 9:00\u202FAM"_s);
}

TEST_F(StatusTitle, WithoutEventsThereIsNoTooltipAndNoThirdSpokenPart) {
    const app::StatusPresentation empty = shown();
    EXPECT_EQ(empty.toolTip, std::nullopt);
    EXPECT_EQ(empty.accessibleText, u"Orbitday, Tue 10 Mar"_s);
}

}  // namespace
