#include "PopoverTestSupport.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "popover/DayAgenda.h"
#include "popover/PopoverFormat.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using popover::AgendaSection;
using popover::DayAgenda;
using popovertest::local;
using popovertest::titles;

namespace {

// Tuesday 10 March 2026, 12:00, with a calendar store over an in-memory database.
class DayAgendaTest : public ::testing::Test {
protected:
    DayAgendaTest() { work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kRed); }

    void add(const QString& title, core::Date start, double minutes = 60) {
        ek.addEvent(storetest::timedEvent(work, title, start, minutes));
    }
    void addAllDay(const QString& title, core::Date day) { ek.addEvent(storetest::allDayEvent(work, title, day)); }
    std::vector<AgendaSection> sections(core::Date day) {
        store.reload();
        return DayAgenda::sections(day, store, clock.clock().now(), calendar);
    }
    std::optional<QString> nextTitle(core::Date day) {
        const auto all = sections(day);
        const auto next = DayAgenda::nextEvent(all.front(), clock.clock().now(), store, calendar);
        return next ? std::optional(next->title) : std::nullopt;
    }

    const core::Calendar calendar;
    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work;
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    store::CalendarStore store{ek};
};

TEST_F(DayAgendaTest, TodayIsFollowedByTomorrowOnlyWhenTomorrowHasSomethingOn) {
    add(u"Standup"_s, local(2026, 3, 10, 15));
    auto today = sections(local(2026, 3, 10));
    ASSERT_EQ(today.size(), 1u);
    EXPECT_EQ(DayAgenda::headerTitle(today[0], clock.clock().now(), calendar), u"Today"_s);

    addAllDay(u"Conference"_s, local(2026, 3, 11));
    today = sections(local(2026, 3, 10));
    ASSERT_EQ(today.size(), 2u);
    EXPECT_EQ(today[1].kind, AgendaSection::Kind::tomorrow);
    EXPECT_EQ(DayAgenda::headerTitle(today[1], clock.clock().now(), calendar), u"Tomorrow"_s);
    EXPECT_EQ(DayAgenda::trailingNote(today[1]), std::nullopt);

    // Another day stands alone, whatever follows it, and is named from today.
    add(u"Later"_s, local(2026, 3, 14, 9));
    const auto saturday = sections(local(2026, 3, 13));
    ASSERT_EQ(saturday.size(), 1u);
    EXPECT_EQ(DayAgenda::headerTitle(saturday[0], clock.clock().now(), calendar), u"in 3 days"_s);
}

TEST_F(DayAgendaTest, ClosingNotesDependOnTheKindOfDayAndWhatIsLeft) {
    // Another day with two events gets the note; a third takes it away.
    add(u"One"_s, local(2026, 3, 13, 9));
    addAllDay(u"Two"_s, local(2026, 3, 13));
    EXPECT_EQ(DayAgenda::trailingNote(sections(local(2026, 3, 13))[0]), u"Nothing else on. Go outside."_s);
    add(u"Three"_s, local(2026, 3, 13, 14));
    EXPECT_EQ(DayAgenda::trailingNote(sections(local(2026, 3, 13))[0]), std::nullopt);

    // Today with only finished and all-day events: the day's empty line, said as
    // "else" when it is the one that says "Nothing on."
    add(u"Breakfast"_s, local(2026, 3, 10, 8));
    addAllDay(u"Holiday"_s, local(2026, 3, 10));
    const auto today = sections(local(2026, 3, 10))[0];
    ASSERT_TRUE(today.timed.empty());
    const QString copy = popover::PopoverFormat::emptyDayCopy(today.date);
    EXPECT_EQ(DayAgenda::trailingNote(today), QString(copy).replace(u"Nothing on."_s, u"Nothing else on."_s));
    for (int day = 10; day <= 12; ++day) {
        const QString line = popover::PopoverFormat::emptyDayCopy(local(2026, 3, day));
        AgendaSection section = today;
        section.date = local(2026, 3, day);
        if (line.startsWith(u"Nothing on."_s))
            EXPECT_EQ(DayAgenda::trailingNote(section), u"Nothing else on. Go outside."_s);
        else
            EXPECT_EQ(DayAgenda::trailingNote(section), line);
    }

    // Anything still to come today ends the list without a note.
    add(u"Review"_s, local(2026, 3, 10, 16));
    EXPECT_EQ(DayAgenda::trailingNote(sections(local(2026, 3, 10))[0]), std::nullopt);
}

TEST_F(DayAgendaTest, AnEmptyDayOffersTheFirstEventOfTheFollowingDaysEvenAtTheStrokeOfMidnight) {
    add(u"Midnight launch"_s, local(2026, 3, 14), 30);
    add(u"Breakfast"_s, local(2026, 3, 14, 8));
    // Friday the 13th is empty: what starts exactly at the midnight after it comes next.
    EXPECT_EQ(nextTitle(local(2026, 3, 13)), u"Midnight launch"_s);
    // Tomorrow looks from the day after it on, past the empty days between.
    const auto tomorrow = sections(local(2026, 3, 11));
    ASSERT_EQ(tomorrow.front().kind, AgendaSection::Kind::tomorrow);
    EXPECT_EQ(nextTitle(local(2026, 3, 11)), u"Midnight launch"_s);
    add(u"Thursday lunch"_s, local(2026, 3, 12, 12));
    EXPECT_EQ(nextTitle(local(2026, 3, 11)), u"Thursday lunch"_s);
    // What comes sooner, later today, is not "next" after a day to come.
    add(u"Tea"_s, local(2026, 3, 10, 15));
    EXPECT_EQ(nextTitle(local(2026, 3, 13)), u"Midnight launch"_s);
    EXPECT_EQ(nextTitle(local(2026, 3, 11)), u"Thursday lunch"_s);
}

TEST_F(DayAgendaTest, TodayOffersTheNextEventOnlyWhileTomorrowIsFreeAndAPastDayNever) {
    // Declined and all-day events are never offered.
    ek.addEvent([&] {
        auto e = storetest::timedEvent(work, u"Skipped"_s, local(2026, 3, 12, 9));
        platform::PlatformParticipant me;
        me.isCurrentUser = true;
        me.participantStatus = 3;
        e.attendees.push_back(me);
        return e;
    }());
    addAllDay(u"Away"_s, local(2026, 3, 12));
    add(u"Planning"_s, local(2026, 3, 12, 10));
    EXPECT_EQ(nextTitle(local(2026, 3, 10)), u"Planning"_s);
    EXPECT_EQ(nextTitle(local(2026, 3, 9)), std::nullopt);

    add(u"Tomorrow's call"_s, local(2026, 3, 11, 17));
    EXPECT_EQ(nextTitle(local(2026, 3, 10)), std::nullopt) << "tomorrow shows its own section";
}

TEST_F(DayAgendaTest, ThePromptForCalendarsShowsOnlyWhenNoneIsSwitchedOn) {
    store.reload();
    EXPECT_FALSE(DayAgenda::noCalendarsEnabled(store, settings)) << "nothing chosen means every calendar";
    settings.setEnabledCalendarIDs(app::CalendarIDSet{});
    EXPECT_TRUE(DayAgenda::noCalendarsEnabled(store, settings));
    settings.setEnabledCalendarIDs(app::CalendarIDSet{u"gone"_s});
    EXPECT_TRUE(DayAgenda::noCalendarsEnabled(store, settings)) << "a calendar that no longer exists";
    settings.setEnabledCalendarIDs(app::CalendarIDSet{u"gone"_s, work.calendarIdentifier});
    EXPECT_FALSE(DayAgenda::noCalendarsEnabled(store, settings));

    // Nor while the calendars are still being read: there are none yet.
    platform::FakeEventStore reading;
    reading.setLoading(true);
    store::CalendarStore whileReading(reading);
    EXPECT_FALSE(DayAgenda::noCalendarsEnabled(whileReading, settings));
    reading.setLoading(false);
    whileReading.reload();
    EXPECT_TRUE(DayAgenda::noCalendarsEnabled(whileReading, settings)) << "no calendars at all";

    // Without access the agenda has nothing to ask about.
    settings.setEnabledCalendarIDs(app::CalendarIDSet{});
    ek.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::Denied);
    store.reload();
    EXPECT_FALSE(DayAgenda::noCalendarsEnabled(store, settings));
}

TEST(AllDayPillText, AMultiDayEventCountsItsDaysAlsoAcrossAClockChange) {
    const core::Calendar calendar;
    // Berlin moves its clocks on Sunday 29 March 2026: that day has 23 hours.
    model::ODEvent trip = popovertest::allDay(u"Lisbon trip"_s, local(2026, 3, 28));
    trip.end = local(2026, 3, 31);  // the midnight after the last day
    EXPECT_EQ(DayAgenda::allDayRange(trip, local(2026, 3, 28), calendar), u"28 Sat \u2192 30 Mon \u00B7 day 1 of 3"_s);
    EXPECT_EQ(DayAgenda::allDayRange(trip, local(2026, 3, 29), calendar), u"28 Sat \u2192 30 Mon \u00B7 day 2 of 3"_s);
    EXPECT_EQ(DayAgenda::allDayRange(trip, local(2026, 3, 30), calendar), u"28 Sat \u2192 30 Mon \u00B7 day 3 of 3"_s);
    // Stored as ending a second before midnight, as the store reports it: the same.
    trip.end = local(2026, 3, 31) - 1;
    EXPECT_EQ(DayAgenda::allDayRange(trip, local(2026, 3, 29), calendar), u"28 Sat \u2192 30 Mon \u00B7 day 2 of 3"_s);

    // One day, however its end is written.
    model::ODEvent day = popovertest::allDay(u"Holiday"_s, local(2026, 3, 10));
    EXPECT_EQ(DayAgenda::allDayRange(day, day.start, calendar), u"All day"_s);
    day.end = local(2026, 3, 11);
    EXPECT_EQ(DayAgenda::allDayRange(day, day.start, calendar), u"All day"_s);
    day.end = day.start;
    EXPECT_EQ(DayAgenda::allDayRange(day, day.start, calendar), u"All day"_s);
}

TEST(AllDayPillText, TheGlyphIsGuessedFromWordsInTheTitle) {
    EXPECT_EQ(DayAgenda::allDaySymbol(u"Birthday trip to Rome"_s), u"airplane"_s) << "travel words come first";
    EXPECT_EQ(DayAgenda::allDaySymbol(u"Striptease class"_s), u"airplane"_s) << "no word boundaries";
    EXPECT_EQ(DayAgenda::allDaySymbol(u"HOLIDAY"_s), u"airplane"_s);
    EXPECT_EQ(DayAgenda::allDaySymbol(u"Anna's BirthDay"_s), u"gift"_s);
    EXPECT_EQ(DayAgenda::allDaySymbol(u"Company offsite"_s), u"calendar"_s);
}

TEST(EarlierGroupText, CountsAndTitlesAreWordedForSightAndSpeech) {
    const core::Date nine = local(2026, 3, 10, 9);
    EXPECT_EQ(DayAgenda::earlierTitles({popovertest::event(u"Gym"_s, nine, nine + 3600),
                                        popovertest::event(u"Standup"_s, nine, nine + 900)}),
              u"Gym \u00B7 Standup"_s);
    EXPECT_EQ(DayAgenda::earlierCount(2), u"2 earlier"_s);
    EXPECT_EQ(DayAgenda::earlierAccessibleLabel(2, true), u"Hide 2 earlier events"_s);
    EXPECT_EQ(DayAgenda::earlierAccessibleLabel(2, false), u"Show 2 earlier events"_s);
}

TEST(AgendaMinute, TheAgendaReadsWholeMinutes) {
    const core::Date noon = local(2026, 3, 10, 12);
    EXPECT_EQ(DayAgenda::minuteOf(noon + 59.9), noon);
    EXPECT_EQ(DayAgenda::minuteOf(noon), noon);
    EXPECT_EQ(DayAgenda::nextMinute(noon), noon + 60);
    EXPECT_EQ(DayAgenda::nextMinute(noon - 0.5), noon);
    EXPECT_EQ(DayAgenda::minuteOf(core::Date(-30)), core::Date(-60)) << "before 1970 too";
}

}  // namespace
