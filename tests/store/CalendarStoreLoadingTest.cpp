#include "EventLoop.h"
#include "StoreTestSupport.h"
#include "TestEnvironment.h"
#include "core/Clock.h"
#include "platform/systemevents/FakeSystemEvents.h"
#include "store/CalendarStore.h"

#include <QPromise>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace storetest;
using model::AccessStatus;
using platform::AuthorizationStatus;
using platform::EntityType;
using store::CalendarStore;
using namespace Qt::Literals::StringLiterals;

namespace {

class CalendarStoreLoading : public ::testing::Test {
protected:
    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s, {}, u"Work"_s);
    platform::PlatformCalendar home = ek.addCalendar(EntityType::Event, u"home"_s, {}, u"Home"_s);
    platform::PlatformCalendar family = ek.addCalendar(EntityType::Event, u"Family"_s, {}, u"Home"_s);
    platform::PlatformCalendar holidays =
        ek.addCalendar(EntityType::Event, u"Holidays"_s, {}, u"Subscribed"_s, false, true);
    platform::PlatformCalendar list = ek.addCalendar(EntityType::Reminder, u"Reminders"_s);

    QStringList titles(const std::vector<model::ODEvent>& events) {
        QStringList t;
        for (const auto& e : events)
            t << e.title;
        return t;
    }
};

TEST_F(CalendarStoreLoading, LoadsTheWindowAroundTodayBeforeTheConstructorReturns) {
    ek.addEvent(timedEvent(work, u"Standup"_s, local(2026, 3, 10, 9, 30), 15));
    ek.addEvent(timedEvent(work, u"Too early"_s, local(2026, 1, 26, 12)));  // before today - 42 days
    ek.addEvent(timedEvent(work, u"Last week"_s, local(2026, 4, 27, 12)));  // 48 days ahead
    ek.addEvent(timedEvent(work, u"Too late"_s, local(2026, 4, 29, 12)));   // beyond today + 49 days
    ek.addReminder(reminder(list, u"Later"_s, core::DateComponents{.year = 2026, .month = 3, .day = 20}));
    ek.addReminder(reminder(list, u"Sooner"_s, core::DateComponents{.year = 2026, .month = 3, .day = 11, .hour = 8}));
    ek.addReminder(reminder(list, u"Someday"_s, std::nullopt));

    CalendarStore store(ek);
    EXPECT_EQ(store.loadedRange().start, local(2026, 1, 27));
    EXPECT_EQ(store.loadedRange().end(), local(2026, 4, 28));
    EXPECT_EQ(titles(store.events()), (QStringList{u"Standup"_s, u"Last week"_s}));
    EXPECT_TRUE(store.lastSynced());

    // Calendars by account then title, code-point order: "Family" < "home" within Home.
    QStringList calendarTitles;
    for (const auto& c : store.calendars())
        calendarTitles << c.title;
    EXPECT_EQ(calendarTitles, (QStringList{u"Family"_s, u"home"_s, u"Holidays"_s, u"Work"_s}));
    EXPECT_EQ(store.writableCalendars().size(), 3u);

    // Reminders come later, without the undated one, earliest first.
    EXPECT_TRUE(store.reminders().empty());
    ASSERT_TRUE(testsupport::waitUntil([&] { return store.reminders().size() == 2; }));
    EXPECT_EQ(store.reminders()[0].title, u"Sooner"_s);
    EXPECT_EQ(store.reminders()[1].title, u"Later"_s);
}

TEST_F(CalendarStoreLoading, BurstsOfChangesCoalesceIntoOneReloadAMomentAfterTheLast) {
    CalendarStore store(ek);
    QSignalSpy reloads(&store, &CalendarStore::lastSyncedChanged);
    const core::Date start = core::Date::now();
    // The store takes change notices on the next turn of the event loop.
    const auto changeNotice = [&] {
        emit ek.changed();
        QCoreApplication::processEvents();
    };

    for (int i = 0; i < 3; ++i) {
        changeNotice();
        clock.advance(0.1);
    }
    EXPECT_EQ(reloads.count(), 0) << "0.3 s after the first notice";
    clock.advance(0.19);
    EXPECT_EQ(reloads.count(), 0) << "just short of 0.3 s after the last notice";
    clock.advance(0.02);
    ASSERT_EQ(reloads.count(), 1);
    EXPECT_NEAR(*store.lastSynced() - start, 0.5, 1e-3);
    clock.advance(60);
    EXPECT_EQ(reloads.count(), 1);

    // An explicit reload cancels a pending one.
    changeNotice();
    store.reload();
    EXPECT_EQ(reloads.count(), 2);
    clock.advance(60);
    EXPECT_EQ(reloads.count(), 2);
}

TEST_F(CalendarStoreLoading, EnabledCalendarsFilterEventsButNotTheCatalogue) {
    ek.addEvent(timedEvent(work, u"Work thing"_s, local(2026, 3, 10, 11)));
    ek.addEvent(timedEvent(home, u"Home thing"_s, local(2026, 3, 10, 12)));
    CalendarStore store(ek);
    QSignalSpy reloads(&store, &CalendarStore::lastSyncedChanged);

    store.setEnabledCalendarIDs(std::nullopt);  // unchanged
    EXPECT_EQ(reloads.count(), 0);
    store.setEnabledCalendarIDs(QSet<QString>{home.calendarIdentifier});
    EXPECT_EQ(titles(store.events()), QStringList{u"Home thing"_s});
    store.setEnabledCalendarIDs(QSet<QString>{home.calendarIdentifier});  // an equal set
    EXPECT_EQ(reloads.count(), 1);

    store.setEnabledCalendarIDs(QSet<QString>{});
    EXPECT_TRUE(store.events().empty());
    EXPECT_EQ(store.calendars().size(), 4u);
    store.setEnabledCalendarIDs(QSet<QString>{u"gone"_s});
    EXPECT_TRUE(store.events().empty());
    EXPECT_TRUE(store.events(local(2026, 3, 10), core::Calendar()).empty());
}

TEST_F(CalendarStoreLoading, ANewEventGoesToThePreferredThenTheDatabaseDefaultThenTheFirstCalendarThatAllowsChanges) {
    CalendarStore store(ek);
    ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
    EXPECT_EQ(store.calendarForNewEvents({std::nullopt, home.calendarIdentifier}), home.calendarIdentifier);
    EXPECT_EQ(store.calendarForNewEvents({holidays.calendarIdentifier, u"gone"_s, u""_s}), work.calendarIdentifier)
        << "a read-only, an unknown and an empty choice are passed over";
    EXPECT_EQ(store.calendarForNewEvents({}), work.calendarIdentifier);

    ek.setDefaultCalendarForNewEvents(holidays.calendarIdentifier);
    EXPECT_EQ(store.calendarForNewEvents({}), family.calendarIdentifier) << "the first in the store's order";

    const platform::PlatformCalendar feed =
        ek.addCalendar(EntityType::Event, u"Feed"_s, {}, u"Subscribed"_s, /*allowsModifications=*/true, true);
    store.reload();
    EXPECT_EQ(store.calendarForNewEvents({feed.calendarIdentifier}), family.calendarIdentifier)
        << "a subscription is passed over even when it allows changes";

    ek.setCalendarAllowsModifications(work.calendarIdentifier, false);
    ek.setCalendarAllowsModifications(home.calendarIdentifier, false);
    ek.setCalendarAllowsModifications(family.calendarIdentifier, false);
    store.reload();
    EXPECT_EQ(store.calendarForNewEvents({work.calendarIdentifier}), std::nullopt);
}

TEST_F(CalendarStoreLoading, TheWindowOnlyWidensAndFollowsTheDay) {
    platform::FakeSystemEvents system;
    CalendarStore store(ek, &system);
    const core::DateInterval initial = store.loadedRange();
    QSignalSpy reloads(&store, &CalendarStore::lastSyncedChanged);
    QSignalSpy widened(&store, &CalendarStore::loadedRangeChanged);

    store.ensureLoaded({local(2026, 3, 1), 86400 * 5});
    store.ensureLoaded({core::Date(std::numeric_limits<double>::quiet_NaN()), 86400});
    store.ensureLoaded({local(2026, 3, 1), std::numeric_limits<double>::infinity()});
    store.ensureLoaded({local(2026, 3, 1), -86400 * 400.0});
    QCoreApplication::processEvents();
    EXPECT_TRUE(widened.isEmpty());
    EXPECT_EQ(store.loadedRange(), initial);

    // The added days arrive a moment later, without a reload of the window.
    ek.addEvent(timedEvent(work, u"Long ago"_s, local(2025, 12, 1, 10)));
    store.ensureLoaded({local(2025, 12, 1), 86400});
    EXPECT_EQ(store.loadedRange(), initial) << "nothing of the added days is published yet";
    ASSERT_TRUE(testsupport::waitUntil([&] { return widened.count() == 1; }));
    EXPECT_EQ(reloads.count(), 0);
    EXPECT_EQ(store.loadedRange().start, local(2025, 12, 1));
    EXPECT_EQ(store.loadedRange().end(), initial.end());
    EXPECT_EQ(titles(store.events()), QStringList{u"Long ago"_s});

    // Weeks later the window reaches 49 days past the new today; its start stays.
    ek.addEvent(timedEvent(work, u"Far ahead"_s, local(2026, 6, 20, 10)));
    clock.set(local(2026, 5, 10, 0, 0));
    system.simulateDayChange();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store.loadedRange().end() == local(2026, 6, 28); }, 2000));
    EXPECT_EQ(store.loadedRange().start, local(2025, 12, 1));
    EXPECT_EQ(store.loadedRange().end(), local(2026, 6, 28));
    EXPECT_EQ(reloads.count(), 0);
    clock.advance(0.3);
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_TRUE(titles(store.events()).contains(u"Far ahead"_s));
}

// The days a month outside the window adds are read on another thread while the
// store goes on: what changes meanwhile must neither be lost nor show twice.
TEST_F(CalendarStoreLoading, DaysAddedToTheWindowAreReadOnAnotherThreadAndArriveOnceWhateverCrossesTheRead) {
    CalendarStore store(ek);
    const core::Date windowEnd = store.loadedRange().end();  // 28 April
    ek.addEvent(timedEvent(work, u"Across the edge"_s, windowEnd - 3600, 180));
    ek.addEvent(timedEvent(work, u"In May"_s, local(2026, 5, 4, 10)));
    store.reload();
    ASSERT_EQ(titles(store.events()), QStringList{u"Across the edge"_s});

    // An event created while May is read: the read that started before it is
    // dropped, and May is read again with it.
    store.ensureLoaded({local(2026, 5, 1), 31 * 86400.0});
    model::EventDraft draft(u"Created meanwhile"_s, local(2026, 5, 5, 9));
    draft.calendarID = work.calendarIdentifier;
    const model::ODEvent created = store.create(draft);
    // Asked again while the read runs: one more read follows it.
    store.ensureLoaded({local(2026, 6, 1), 30 * 86400.0});
    ASSERT_TRUE(testsupport::waitUntil([&] { return store.loadedRange().end() == local(2026, 7, 1); }));
    EXPECT_EQ(titles(store.events()), (QStringList{u"Across the edge"_s, u"In May"_s, u"Created meanwhile"_s}));
    EXPECT_EQ(store.loadedRange().start, local(2026, 1, 27));
    ASSERT_TRUE(store.event(created.id));

    // A deletion crossing the read of June and July.
    ek.addEvent(timedEvent(work, u"In July"_s, local(2026, 7, 6, 10)));
    store.ensureLoaded({local(2026, 7, 1), 31 * 86400.0});
    store.deleteEvent(created.id, model::EditSpan::thisEvent);
    ASSERT_TRUE(testsupport::waitUntil([&] { return store.loadedRange().end() == local(2026, 8, 1); }));
    EXPECT_EQ(titles(store.events()), (QStringList{u"Across the edge"_s, u"In May"_s, u"In July"_s}));

    // Without access nothing is read, yet the window still counts as loaded.
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::Denied);
    store.reload();
    store.ensureLoaded({local(2026, 8, 1), 31 * 86400.0});
    ASSERT_TRUE(testsupport::waitUntil([&] { return store.loadedRange().end() == local(2026, 9, 1); }));
    EXPECT_TRUE(store.events().empty());
}

// A calendar database that tells its version and answers fetchEvents only when the test lets it, as a read on a
// worker ends.
class HeldFetchStore : public platform::FakeEventStore {
public:
    QFuture<std::vector<platform::PlatformEvent>> fetchEvents(
        core::Date start, core::Date end, const std::optional<QStringList>& calendarIdentifiers) const override {
        Held held{std::make_shared<QPromise<std::vector<platform::PlatformEvent>>>(),
                  events(start, end, calendarIdentifiers)};
        held.promise->start();
        m_held.push_back(held);
        return held.promise->future();
    }
    platform::PlatformEvent saveEvent(const platform::PlatformEvent& event, platform::Span span, bool commit) override {
        ++m_version;
        return FakeEventStore::saveEvent(event, span, commit);
    }
    std::optional<quint64> contentVersion() const override { return m_version; }

    // A change made elsewhere, noticed.
    void changeElsewhere(const platform::PlatformEvent& event) {
        addEvent(event);
        ++m_version;
        emit changed();
        QCoreApplication::processEvents();
    }
    size_t heldReads() const { return m_held.size(); }
    void finishReads() {
        for (Held& held : std::exchange(m_held, {})) {
            held.promise->addResult(held.events);
            held.promise->finish();
        }
        QCoreApplication::processEvents();
    }

private:
    struct Held {
        std::shared_ptr<QPromise<std::vector<platform::PlatformEvent>>> promise;
        std::vector<platform::PlatformEvent> events;
    };
    mutable std::vector<Held> m_held;
    quint64 m_version = 1;
};

TEST(CalendarStoreReadingElsewhere, AChangeMadeElsewhereIsPublishedWhenItsReadEndsAndTheAppsOwnChangesWinOverIt) {
    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    HeldFetchStore ek;
    const platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s);
    const auto titles = [](const CalendarStore& store) {
        QStringList t;
        for (const auto& e : store.events())
            t << e.title;
        return t;
    };
    CalendarStore store(ek);

    ek.changeElsewhere(timedEvent(work, u"Lunch"_s, local(2026, 3, 10, 12)));
    clock.advance(0.3);
    ASSERT_EQ(ek.heldReads(), 1u);
    EXPECT_TRUE(store.events().empty()) << "published only once read";
    // The popover opening meanwhile reads nothing of its own.
    store.reload();
    EXPECT_EQ(ek.heldReads(), 1u);
    EXPECT_TRUE(store.events().empty());
    ek.finishReads();
    ASSERT_TRUE(testsupport::waitUntil([&] { return titles(store) == QStringList{u"Lunch"_s}; }));

    // A change of the app's own while another is read is published at once, and the older read is dropped.
    ek.changeElsewhere(timedEvent(work, u"Dinner"_s, local(2026, 3, 10, 19)));
    clock.advance(0.3);
    ASSERT_EQ(ek.heldReads(), 1u);
    model::EventDraft draft(u"Review"_s, local(2026, 3, 10, 15));
    draft.calendarID = work.calendarIdentifier;
    store.create(draft);
    const QStringList afterCreate{u"Lunch"_s, u"Review"_s, u"Dinner"_s};
    EXPECT_EQ(titles(store), afterCreate);
    QSignalSpy published(&store, &CalendarStore::eventsChanged);
    ek.finishReads();
    testsupport::spinEventLoop(50);
    EXPECT_TRUE(published.isEmpty());
    EXPECT_EQ(titles(store), afterCreate);
}

// A reload takes a meeting link over from the events it replaces, so it must
// search again wherever the texts it was found in changed.
TEST_F(CalendarStoreLoading, AReloadFindsMeetingLinksAgainInChangedTexts) {
    platform::PlatformEvent call = timedEvent(work, u"Call"_s, local(2026, 3, 11, 9));
    call.notes = u"Join https://meet.google.com/abc-defg-hij"_s;
    platform::PlatformEvent room = timedEvent(work, u"Room"_s, local(2026, 3, 11, 11));
    room.location = u"https://zoom.us/j/1"_s;
    ek.addEvent(call);
    ek.addEvent(room);
    CalendarStore store(ek);
    const auto named = [&](const QString& title) {
        for (const model::ODEvent& e : store.events())
            if (e.title == title)
                return e;
        ADD_FAILURE() << title.toStdString() << " not loaded";
        return model::ODEvent{};
    };
    ASSERT_TRUE(named(u"Call"_s).meeting);
    ASSERT_TRUE(named(u"Room"_s).meeting);

    model::EventDraft noLink = model::EventDraft::fromEvent(named(u"Call"_s));
    noLink.notes = u"Dial in by phone"_s;
    store.update(named(u"Call"_s).id, noLink, model::EditSpan::thisEvent);
    EXPECT_FALSE(named(u"Call"_s).meeting);
    EXPECT_EQ(named(u"Room"_s).meeting->url, QUrl(u"https://zoom.us/j/1"_s)) << "unchanged texts keep their link";

    model::EventDraft moved = model::EventDraft::fromEvent(named(u"Room"_s));
    moved.location = u"Room 4"_s;
    moved.notes = u"https://zoom.us/j/2"_s;
    store.update(named(u"Room"_s).id, moved, model::EditSpan::thisEvent);
    ASSERT_TRUE(named(u"Room"_s).meeting);
    EXPECT_EQ(named(u"Room"_s).meeting->url, QUrl(u"https://zoom.us/j/2"_s));
}

TEST_F(CalendarStoreLoading, AllDayDuplicatesPreferTheEditableCopy) {
    const core::Date day = local(2026, 3, 12);
    // The read-only copy comes first from the platform; the editable one still wins.
    ek.addEvent(allDayEvent(holidays, u"holiday"_s, day));
    ek.addEvent(allDayEvent(work, u"Holiday"_s, day));
    ek.addEvent(allDayEvent(holidays, u"Feast"_s, day + 86400));
    ek.addEvent(allDayEvent(holidays, u"FEAST"_s, day + 86400));
    ek.addEvent(allDayEvent(work, u"Offsite"_s, day + 2 * 86400));
    ek.addEvent(allDayEvent(home, u"offsite"_s, day + 2 * 86400));
    ek.addEvent(timedEvent(work, u"Sync"_s, day, 30));
    ek.addEvent(timedEvent(home, u"Sync"_s, day, 30));
    CalendarStore store(ek);

    EXPECT_EQ(titles(store.events()),
              (QStringList{u"Holiday"_s, u"Sync"_s, u"Sync"_s, u"Feast"_s, u"Offsite"_s, u"offsite"_s}));
    EXPECT_TRUE(store.events().front().canEdit);
}

TEST_F(CalendarStoreLoading, OneDaysEvents) {
    CalendarStore store(ek);
    const core::Calendar calendar;
    ek.addEvent(timedEvent(work, u"Ends at midnight"_s, local(2026, 3, 11, 23), 60));
    ek.addEvent(timedEvent(work, u"Late"_s, local(2026, 3, 12, 18)));
    ek.addEvent(timedEvent(work, u"Early"_s, local(2026, 3, 12, 8)));
    ek.addEvent(allDayEvent(work, u"Conference"_s, local(2026, 3, 12)));
    store.reload();
    EXPECT_EQ(titles(store.events(local(2026, 3, 12, 15), calendar)),
              (QStringList{u"Conference"_s, u"Early"_s, u"Late"_s}));

    // Outside the window: fetched directly, published lists untouched.
    ek.addEvent(timedEvent(work, u"Next year"_s, local(2027, 3, 12, 9)));
    const auto before = store.events();
    EXPECT_EQ(titles(store.events(local(2027, 3, 12), calendar)), QStringList{u"Next year"_s});
    EXPECT_EQ(store.events(), before);
    EXPECT_EQ(store.loadedRange().end(), local(2026, 4, 28));
}

TEST_F(CalendarStoreLoading, ADayWithoutMidnight) {
    testsupport::ScopedTimeZone zone("America/Sao_Paulo");
    const core::Calendar calendar;
    const core::Date dayStart = calendar.startOfDay(*calendar.date({.year = 2018, .month = 11, .day = 4, .hour = 12}));
    ek.addEvent(timedEvent(work, u"Before the gap"_s, dayStart - 3600, 60));  // ends when the day starts
    ek.addEvent(timedEvent(work, u"First hour"_s, dayStart, 30));
    ek.addEvent(timedEvent(work, u"Evening"_s, dayStart + 22 * 3600 - 1800, 30));
    CalendarStore store(ek);
    EXPECT_EQ(titles(store.events(dayStart + 3600 * 5, calendar)), (QStringList{u"First hour"_s, u"Evening"_s}));
}

TEST_F(CalendarStoreLoading, NextEventSkipsAllDayDeclinedAndStartedEvents) {
    const core::Date now = local(2026, 3, 10, 9, 0);
    ek.addEvent(allDayEvent(work, u"All day"_s, now));
    ek.addEvent(timedEvent(work, u"Started a minute ago"_s, now - 60, 30));
    auto declined = timedEvent(work, u"Declined"_s, now + 600);
    declined.attendees = {platform::PlatformParticipant{u"Someone"_s, QUrl(u"mailto:a@x.org"_s), 2, false},
                          platform::PlatformParticipant{u"Me"_s, QUrl(u"mailto:me@x.org"_s), 3, true}};
    ek.addEvent(declined);
    auto accepted = timedEvent(work, u"Accepted"_s, now + 1200);
    accepted.attendees = {platform::PlatformParticipant{u"Me"_s, QUrl(u"mailto:me@x.org"_s), 2, true}};
    ek.addEvent(accepted);
    CalendarStore store(ek);

    EXPECT_EQ(store.nextEvent(now, false)->title, u"Accepted"_s);
    EXPECT_EQ(store.nextEvent(now, true)->title, u"Started a minute ago"_s);
    EXPECT_EQ(store.nextEvent(now + 1800, true)->title, u"Accepted"_s);  // the first one has ended
    EXPECT_FALSE(store.nextEvent(now + 7200, true));
}

TEST_F(CalendarStoreLoading, OnlyTheNewestReminderFetchPublishes) {
    auto r = ek.addReminder(reminder(list, u"Pay rent"_s, core::DateComponents{.year = 2026, .month = 3, .day = 11}));
    ek.setHoldReminderFetches(true);
    CalendarStore store(ek);  // fetch 0 sees "Pay rent"
    r.isCompleted = true;
    ek.saveReminder(r, true);
    store.reload();  // fetch 1 sees nothing
    ASSERT_EQ(ek.pendingReminderFetchCount(), 2);

    ek.releaseReminderFetch(1);
    EXPECT_TRUE(store.reminders().empty());
    ek.releaseReminderFetch(0);  // older, finishing later: must not bring it back
    EXPECT_TRUE(store.reminders().empty());
}

TEST_F(CalendarStoreLoading, LosingReminderAccessMidFetchLeavesRemindersEmpty) {
    ek.addReminder(reminder(list, u"Call mum"_s, core::DateComponents{.year = 2026, .month = 3, .day = 11}));
    ek.setHoldReminderFetches(true);
    CalendarStore store(ek);
    ASSERT_EQ(ek.pendingReminderFetchCount(), 1);

    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::Denied);
    ek.releaseReminderFetch(0);
    EXPECT_TRUE(store.reminders().empty());

    // Also when the store reloaded in between.
    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::FullAccess);
    store.reload();
    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::Denied);
    store.reload();
    EXPECT_EQ(store.reminderAccess(), AccessStatus::denied);
    EXPECT_TRUE(store.reminderLists().empty());
    ek.releaseReminderFetch(0);
    EXPECT_TRUE(store.reminders().empty());
}

TEST_F(CalendarStoreLoading, RefreshingIsRaisedAroundTheSourceRefresh) {
    CalendarStore store(ek);
    std::vector<bool> seen;
    QObject::connect(&store, &CalendarStore::isRefreshingChanged, [&] { seen.push_back(store.isRefreshing()); });
    store.refreshSources();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_EQ(ek.refreshSourcesCount(), 1);
    EXPECT_FALSE(store.isRefreshing());
}

TEST_F(CalendarStoreLoading, AccessStatesAndRequests) {
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::NotDetermined);
    ek.addEvent(timedEvent(work, u"Hidden"_s, local(2026, 3, 10, 12)));
    CalendarStore store(ek);
    EXPECT_FALSE(store.isAccessDenied());
    EXPECT_TRUE(store.events().empty());
    EXPECT_TRUE(store.calendars().empty());

    std::optional<bool> answer;
    store.requestAccess([&](bool granted) { answer = granted; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return answer.has_value(); }));
    EXPECT_TRUE(*answer);
    EXPECT_EQ(store.eventAccess(), AccessStatus::fullAccess);
    EXPECT_EQ(titles(store.events()), QStringList{u"Hidden"_s});
    EXPECT_FALSE(store.lastError());

    ek.failNext(platform::FakeEventStore::Operation::RequestAccess,
                platform::EventStoreError(platform::EventStoreError::Code::Other, u"The request failed."_s));
    answer.reset();
    store.requestRemindersAccess([&](bool granted) { answer = granted; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return answer.has_value(); }));
    EXPECT_FALSE(*answer);
    EXPECT_EQ(store.lastError(), u"The request failed."_s);

    // A message may come with access held all the same: it is said, and the access counts.
    ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::FullAccess, true, u"Kept until you quit."_s);
    answer.reset();
    store.requestRemindersAccess([&](bool granted) { answer = granted; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return answer.has_value(); }));
    EXPECT_TRUE(*answer);
    EXPECT_EQ(store.lastError(), u"Kept until you quit."_s);
    EXPECT_EQ(store.reminderAccess(), AccessStatus::fullAccess);

    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::WriteOnly);
    store.reload();
    EXPECT_TRUE(store.isAccessDenied());
    EXPECT_TRUE(store.events().empty());
    EXPECT_TRUE(store.writableCalendars().empty());
}

TEST_F(CalendarStoreLoading, AccessChangedInThePrivacySettingsReloadsWithoutTheChangeDelay) {
    ek.addEvent(timedEvent(work, u"Standup"_s, local(2026, 3, 10, 9, 30)));
    CalendarStore store(ek);
    ASSERT_EQ(store.events().size(), 1u);
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::Denied);
    emit ek.accessChanged();
    EXPECT_EQ(store.events().size(), 1u) << "reloaded from inside the announcement";
    QCoreApplication::processEvents();
    EXPECT_TRUE(store.isAccessDenied());
    EXPECT_TRUE(store.events().empty());
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::FullAccess);
    emit ek.accessChanged();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(store.events()), QStringList{u"Standup"_s});
}

}  // namespace
