#include "EventLoop.h"
#include "StoreBackends.h"
#include "StoreTestSupport.h"
#include "core/Clock.h"
#include "model/CalendarStoreError.h"
#include "store/CalendarStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace storetest;
using model::CalendarStoreError;
using model::EditSpan;
using model::EventDraft;
using platform::AuthorizationStatus;
using platform::EntityType;
using platform::FakeEventStore;
using store::CalendarStore;
using namespace Qt::Literals::StringLiterals;

namespace storetest {
void PrintTo(const BackendKind& kind, std::ostream* os) {
    *os << kind.name;
}
}  // namespace storetest

namespace {

platform::PlatformRecurrenceRule weekly() {
    platform::PlatformRecurrenceRule rule;
    rule.frequency = platform::PlatformRecurrenceRule::Frequency::Weekly;
    return rule;
}

// The store's changes, run on every calendar database the app can use, so that
// the in-memory one the other tests rely on cannot drift from the real one.
class CalendarStoreChanges : public ::testing::TestWithParam<BackendKind> {
protected:
    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    std::unique_ptr<StoreBackend> backend = GetParam().make();
    platform::EventStore& ek = backend->eventStore();
    platform::PlatformCalendar work = backend->addCalendar(EntityType::Event, u"Work"_s);
    platform::PlatformCalendar personal = backend->addCalendar(EntityType::Event, u"Personal"_s);
    platform::PlatformCalendar list = backend->addCalendar(EntityType::Reminder, u"Reminders"_s);
    std::unique_ptr<CalendarStore> store = std::make_unique<CalendarStore>(ek);

    EventDraft draft(const QString& title, core::Date start, double minutes = 60) {
        return EventDraft(title, start, start + minutes * 60);
    }

    std::vector<model::ODEvent> named(const QString& title) {
        std::vector<model::ODEvent> found;
        for (const auto& e : store->events())
            if (e.title == title)
                found.push_back(e);
        return found;
    }

    // A weekly series on Tuesdays at 10:00 from 3 March 2026.
    model::ODEvent weeklySeries(const QString& title) {
        auto e = timedEvent(work, title, local(2026, 3, 3, 10));
        e.recurrenceRules = {weekly()};
        backend->addEvent(e);
        store->reload();
        return named(title).front();
    }

    void setAccess(EntityType entity, AuthorizationStatus status) {
        backend->setAccess(entity, status);
        store->reload();
    }
};

// What only the in-memory database can be made to do: fail a given step.
class CalendarStoreChangesOnFake : public CalendarStoreChanges {
protected:
    FakeEventStore& fake() { return dynamic_cast<FakeEventStore&>(ek); }
};

TEST_P(CalendarStoreChanges, CreateFillsInAndGuards) {
    EventDraft backwards = draft(u"Backwards"_s, local(2026, 3, 11, 14));
    backwards.end = backwards.start - 3600;
    const model::ODEvent created = store->create(backwards);
    EXPECT_EQ(created.end, created.start);
    EXPECT_EQ(created.calendarID, work.calendarIdentifier);  // the default calendar
    EXPECT_EQ(store->undoLabel(), u"Created \u201CBackwards\u201D"_s);
    EXPECT_EQ(named(u"Backwards"_s).size(), 1u);

    EventDraft gone = draft(u"Elsewhere"_s, local(2026, 3, 11, 16));
    gone.calendarID = u"no-such-calendar"_s;
    EXPECT_EQ(store->create(gone).calendarID, work.calendarIdentifier);

    setAccess(EntityType::Event, AuthorizationStatus::Denied);
    EXPECT_EQ(errorText([&] { store->create(draft(u"Denied"_s, local(2026, 3, 11, 18))); }),
              u"Orbitday doesn't have access to your calendars."_s);
    EXPECT_EQ(store->undoStack().size(), 2u);
    EXPECT_FALSE(store->lastError());
}

TEST_P(CalendarStoreChanges, ItemsGoOnlyIntoCollectionsOfTheirKind) {
    const QString wrongKind = u"The calendar cannot hold this kind of item."_s;
    EventDraft intoList = draft(u"Misfiled"_s, local(2026, 3, 11, 14));
    intoList.calendarID = list.calendarIdentifier;
    EXPECT_EQ(errorText([&] { store->create(intoList); }), wrongKind);

    model::ReminderDraft intoCalendar;
    intoCalendar.title = u"Misfiled"_s;
    intoCalendar.due = local(2026, 3, 20);
    intoCalendar.listID = work.calendarIdentifier;
    EXPECT_EQ(errorText([&] { store->createReminder(intoCalendar); }), wrongKind);

    // Moves too: a single event, and a series split at a later occurrence.
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    EventDraft moved = EventDraft::fromEvent(lunch);
    moved.calendarID = list.calendarIdentifier;
    EXPECT_EQ(errorText([&] { store->update(lunch.id, moved, EditSpan::thisEvent); }), wrongKind);
    weeklySeries(u"Standup"_s);
    const model::ODEvent third = named(u"Standup"_s)[2];
    EventDraft laterMoved = EventDraft::fromEvent(third);
    laterMoved.calendarID = list.calendarIdentifier;
    EXPECT_EQ(errorText([&] { store->update(third.id, laterMoved, EditSpan::futureEvents); }), wrongKind);

    EXPECT_EQ(store->undoStack().size(), 1u);
    EXPECT_EQ(backend->storedEventCount(), 2);
    EXPECT_EQ(backend->storedReminderCount(), 0);
    EXPECT_EQ(named(u"Lunch"_s).front().calendarID, work.calendarIdentifier);
    EXPECT_EQ(store->calendars().size(), 2u);
    EXPECT_EQ(store->reminderLists().size(), 1u);
}

// Screens pass the ids the store publishes, which live in the very lists a
// change replaces.
TEST_P(CalendarStoreChanges, ChangesTakeTheIdsThatTheStorePublishes) {
    backend->addReminder(reminder(list, u"Water plants"_s, core::DateComponents{.year = 2026, .month = 3, .day = 12}));
    store->reload();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    store->completeReminder(store->reminders().front().id);
    EXPECT_TRUE(store->reminders().empty());
    store->undo();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    EXPECT_EQ(store->reminders().front().title, u"Water plants"_s);

    store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    EventDraft later = EventDraft::fromEvent(named(u"Lunch"_s).front());
    later.start += 3600;
    later.end += 3600;
    store->update(store->event(named(u"Lunch"_s).front().id)->id, later, EditSpan::thisEvent);
    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Lunch"_s).front().start, local(2026, 3, 12, 13));
    store->deleteEvent(store->events().front().id, EditSpan::thisEvent);
    EXPECT_TRUE(named(u"Lunch"_s).empty());
    store->undo();
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);
}

TEST_P(CalendarStoreChanges, UndoGivesAnUntitledEventNoTitleBack) {
    auto untitled = timedEvent(work, QString(), local(2026, 3, 12, 15));
    untitled.title.reset();
    const QString identifier = backend->addEvent(untitled).eventIdentifier;
    store->reload();
    ASSERT_EQ(named(u"Untitled"_s).size(), 1u);
    EventDraft titled = EventDraft::fromEvent(named(u"Untitled"_s).front());
    titled.title = u"Planning"_s;
    store->update(named(u"Untitled"_s).front().id, titled, EditSpan::thisEvent);
    EXPECT_EQ(store->undoLabel(), u"Edited \u201CUntitled\u201D"_s);

    store->undo();
    EXPECT_EQ(ek.event(identifier)->title, std::nullopt);
    EXPECT_EQ(named(u"Untitled"_s).size(), 1u);
}

TEST_P(CalendarStoreChanges, AnEventIsFoundByItsPublishedIdAfterAnEditIsUndone) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    EventDraft later = EventDraft::fromEvent(lunch);
    later.start += 3600;
    later.end += 3600;
    store->update(lunch.id, later, EditSpan::thisEvent);
    store->undo();

    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);
    EventDraft renamed = EventDraft::fromEvent(named(u"Lunch"_s).front());
    renamed.title = u"Brunch"_s;
    store->update(named(u"Lunch"_s).front().id, renamed, EditSpan::thisEvent);
    ASSERT_EQ(named(u"Brunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Brunch"_s).front().start, local(2026, 3, 12, 12));
}

// An undone deletion comes back as a new event; undoing the creation must remove that one.
TEST_P(CalendarStoreChanges, UndoingACreationRemovesTheEventThatReplacedIt) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    store->deleteEvent(lunch.id, EditSpan::thisEvent);
    store->undo();
    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);

    store->undo();
    EXPECT_TRUE(named(u"Lunch"_s).empty());
    EXPECT_TRUE(store->undoStack().empty());
    EXPECT_EQ(backend->storedEventCount(), 0);
}

TEST_P(CalendarStoreChangesOnFake, CreateWithoutADefaultCalendarIsRefused) {
    fake().setDefaultCalendarForNewEvents(std::nullopt);
    EXPECT_EQ(errorText([&] { store->create(draft(u"Nowhere"_s, local(2026, 3, 11, 18))); }),
              u"No calendar available that can be edited."_s);
    EXPECT_TRUE(store->undoStack().empty());
}

TEST_P(CalendarStoreChanges, CreateEditUndoTwiceRemovesTheEvent) {
    const model::ODEvent created = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    EventDraft moved = EventDraft::fromEvent(created);
    moved.start = local(2026, 3, 12, 13);
    moved.end = local(2026, 3, 12, 14);
    moved.title = u"Late lunch"_s;
    store->update(created.id, moved, EditSpan::thisEvent);
    EXPECT_EQ(store->undoLabel(), u"Edited \u201CLunch\u201D"_s);
    ASSERT_EQ(named(u"Late lunch"_s).size(), 1u);
    EXPECT_NE(named(u"Late lunch"_s).front().id, created.id);

    // A screen still holding the old id finds the event.
    EventDraft again = moved;
    again.title = u"Later lunch"_s;
    store->update(created.id, again, EditSpan::thisEvent);
    EXPECT_EQ(named(u"Later lunch"_s).size(), 1u);

    store->undo();
    EXPECT_EQ(named(u"Late lunch"_s).size(), 1u);
    store->undo();
    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Lunch"_s).front().start, local(2026, 3, 12, 12));
    store->undo();
    EXPECT_TRUE(named(u"Lunch"_s).empty());
    EXPECT_TRUE(store->undoStack().empty());
    EXPECT_EQ(backend->storedEventCount(), 0);

    QSignalSpy reloads(store.get(), &CalendarStore::lastSyncedChanged);
    store->undo();  // empty: nothing happens
    EXPECT_EQ(reloads.count(), 0);
}

TEST_P(CalendarStoreChanges, EditsKeepWhatTheDraftLeavesAlone) {
    auto e = timedEvent(work, u"Review"_s, local(2026, 3, 13, 10));
    e.alarms = {platform::PlatformAlarm{0, local(2026, 3, 13, 8)}, platform::PlatformAlarm{-600, std::nullopt}};
    e.recurrenceRules = {weekly()};
    backend->addEvent(e);
    store->reload();
    const model::ODEvent review = named(u"Review"_s).front();

    EventDraft same = EventDraft::fromEvent(review);
    same.location = u"Room 4"_s;
    store->update(review.id, same, EditSpan::futureEvents);
    auto saved = *ek.event(review.eventIdentifier);
    EXPECT_EQ(saved.alarms.size(), 2u);
    EXPECT_TRUE(saved.alarms[0].absoluteDate);  // untouched
    EXPECT_TRUE(saved.hasRecurrenceRules());    // recurrence nullopt keeps it

    EventDraft changed = EventDraft::fromEvent(named(u"Review"_s).front());
    changed.alarmOffsets = {-300};
    changed.recurrence = model::RecurrenceOption::none;
    store->update(named(u"Review"_s).front().id, changed, EditSpan::futureEvents);
    saved = *ek.event(review.eventIdentifier);
    ASSERT_EQ(saved.alarms.size(), 1u);
    EXPECT_EQ(saved.alarms[0].relativeOffset, -300);
    EXPECT_FALSE(saved.alarms[0].absoluteDate);
    EXPECT_FALSE(saved.hasRecurrenceRules());
}

TEST_P(CalendarStoreChanges, FutureEventsEditOfASeriesIsUndoneToOneSeries) {
    const model::ODEvent first = weeklySeries(u"Standup"_s);
    const auto occurrences = named(u"Standup"_s);
    ASSERT_GE(occurrences.size(), 6u);
    const model::ODEvent third = occurrences[2];

    EventDraft renamed = EventDraft::fromEvent(third);
    renamed.title = u"Standup v2"_s;
    store->update(third.id, renamed, EditSpan::futureEvents);
    EXPECT_EQ(named(u"Standup"_s).size(), 2u);  // the two before the split
    EXPECT_FALSE(named(u"Standup v2"_s).empty());
    EXPECT_NE(named(u"Standup v2"_s).front().eventIdentifier, first.eventIdentifier);

    store->undo();
    EXPECT_TRUE(named(u"Standup v2"_s).empty());
    EXPECT_EQ(named(u"Standup"_s).size(), occurrences.size());
    for (const auto& e : named(u"Standup"_s))
        EXPECT_EQ(e.eventIdentifier, first.eventIdentifier);
    EXPECT_EQ(backend->storedEventCount(), 1);
}

TEST_P(CalendarStoreChanges, DeletingOneOccurrenceAndUndoingIt) {
    weeklySeries(u"Gym"_s);
    const auto before = named(u"Gym"_s);
    const model::ODEvent second = before[1];
    store->deleteEvent(second.id, EditSpan::thisEvent);
    EXPECT_EQ(store->undoLabel(), u"Deleted \u201CGym\u201D"_s);
    EXPECT_EQ(named(u"Gym"_s).size(), before.size() - 1);

    store->undo();
    // Back in its series, under its own id.
    EXPECT_EQ(named(u"Gym"_s), before);
}

TEST_P(CalendarStoreChanges, DeletingFutureOccurrencesAndUndoingIt) {
    weeklySeries(u"Class"_s);
    const auto before = named(u"Class"_s);
    store->deleteEvent(before[3].id, EditSpan::futureEvents);
    EXPECT_EQ(named(u"Class"_s).size(), 3u);
    store->undo();
    EXPECT_EQ(named(u"Class"_s).size(), before.size());

    store->deleteEvent(before[0].id, EditSpan::futureEvents);
    EXPECT_TRUE(named(u"Class"_s).empty());
    store->undo();
    const auto restored = named(u"Class"_s);
    EXPECT_EQ(restored.size(), before.size());
    EXPECT_TRUE(restored.front().isRecurring);
}

TEST_P(CalendarStoreChanges, AMovedOccurrenceIsFoundByItsIdFarAway) {
    weeklySeries(u"One on one"_s);
    const model::ODEvent second = named(u"One on one"_s)[1];
    EventDraft away = EventDraft::fromEvent(second);
    away.start = second.start + 8 * 86400;
    away.end = second.end + 8 * 86400;
    store->update(second.id, away, EditSpan::thisEvent);
    const auto movedNow = std::find_if(store->events().begin(), store->events().end(),
                                       [&](const auto& e) { return e.start == away.start; });
    ASSERT_NE(movedNow, store->events().end());
    EXPECT_TRUE(movedNow->isDetached);
    EXPECT_EQ(movedNow->id, second.id);  // still named by its original date

    EventDraft renamed = EventDraft::fromEvent(*movedNow);
    renamed.title = u"Moved one on one"_s;
    store->update(movedNow->id, renamed, EditSpan::thisEvent);
    ASSERT_EQ(named(u"Moved one on one"_s).size(), 1u);
    store->deleteEvent(named(u"Moved one on one"_s).front().id, EditSpan::thisEvent);
    EXPECT_TRUE(named(u"Moved one on one"_s).empty());
    store->undo();
    EXPECT_EQ(named(u"Moved one on one"_s).size(), 1u);
}

TEST_P(CalendarStoreChanges, IdsThatNameNothing) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    const QString identifier = lunch.eventIdentifier;
    for (const QString& id : QStringList{identifier + u"|1e400"_s, identifier + u"|99999999999999999999"_s,
                              identifier + u"|12"_s, u"missing|1700000000"_s, u"missing"_s, u""_s, u"|"_s})
        EXPECT_EQ(errorText([&] { store->deleteEvent(id, EditSpan::thisEvent); }), u"That event no longer exists."_s)
            << id.toStdString();
    // A date part that is no number is looked up by the identifier alone.
    store->deleteEvent(identifier + u"|soon"_s, EditSpan::thisEvent);
    EXPECT_TRUE(named(u"Lunch"_s).empty());
}

TEST_P(CalendarStoreChanges, RefusedWritesChangeNothing) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    backend->setCalendarWritable(work.calendarIdentifier, false);
    store->reload();
    const size_t entries = store->undoStack().size();
    EventDraft changed = EventDraft::fromEvent(lunch);
    changed.title = u"Brunch"_s;
    EXPECT_NE(errorText([&] { store->update(lunch.id, changed, EditSpan::thisEvent); }), u"no error"_s);
    EXPECT_NE(errorText([&] { store->deleteEvent(lunch.id, EditSpan::thisEvent); }), u"no error"_s);
    EXPECT_EQ(store->undoStack().size(), entries);
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_FALSE(store->lastError());
}

TEST_P(CalendarStoreChangesOnFake, ACompletedReminderStaysGoneWhenAnEarlierFetchArrives) {
    backend->addReminder(reminder(list, u"Water plants"_s, core::DateComponents{.year = 2026, .month = 3, .day = 12}));
    store->reload();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    fake().setHoldReminderFetches(true);
    store->reload();
    store->completeReminder(store->reminders().front().id);
    fake().releaseReminderFetch();
    EXPECT_TRUE(store->reminders().empty());
}

// A sync tool that deletes and re-adds an event gives it a new identifier but keeps
// its external one; undoing a deletion of later occurrences still finds the series.
TEST_P(CalendarStoreChangesOnFake, UndoFindsASeriesReAddedUnderANewIdentifier) {
    auto series = timedEvent(work, u"Class"_s, local(2026, 3, 3, 10));
    series.recurrenceRules = {weekly()};
    series.calendarItemExternalIdentifier = u"class@example.com"_s;
    backend->addEvent(series);
    store->reload();
    const auto before = named(u"Class"_s);
    store->deleteEvent(before[3].id, EditSpan::futureEvents);
    ASSERT_EQ(named(u"Class"_s).size(), 3u);

    platform::PlatformEvent readded = *ek.event(before[0].eventIdentifier);
    fake().removeEvent(readded, platform::Span::FutureEvents, true);
    readded.eventIdentifier.clear();
    readded.calendarItemIdentifier.clear();
    fake().addEvent(readded);
    store->reload();
    ASSERT_EQ(named(u"Class"_s).size(), 3u);
    ASSERT_NE(named(u"Class"_s).front().eventIdentifier, before[0].eventIdentifier);

    store->undo();
    EXPECT_EQ(named(u"Class"_s).size(), before.size());
    EXPECT_EQ(backend->storedEventCount(), 1);
}

TEST_P(CalendarStoreChangesOnFake, AnUndoWhoseCommitFailsIsDroppedWholeAndKept) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    store->deleteEvent(lunch.id, EditSpan::thisEvent);

    fake().failNext(FakeEventStore::Operation::Commit,
                    platform::EventStoreError::withDefaultMessage(platform::EventStoreError::Code::WriteFailed));
    EXPECT_NE(errorText([&] { store->undo(); }), u"no error"_s);
    EXPECT_EQ(store->undoStack().size(), 2u);
    EXPECT_TRUE(named(u"Lunch"_s).empty());
    EXPECT_FALSE(fake().hasStagedChanges());
    EXPECT_EQ(fake().resetCount(), 1);
}

TEST_P(CalendarStoreChanges, AFailedUndoChangesNothingAndKeepsItsEntry) {
    const model::ODEvent lunch = store->create(draft(u"Lunch"_s, local(2026, 3, 12, 12)));
    store->deleteEvent(lunch.id, EditSpan::thisEvent);

    // The deleted event's calendar became read-only: the undo is refused.
    backend->setCalendarWritable(work.calendarIdentifier, false);
    EXPECT_EQ(errorText([&] { store->undo(); }), u"No calendar available that can be edited."_s);
    EXPECT_EQ(store->undoStack().size(), 2u);

    backend->setCalendarWritable(work.calendarIdentifier, true);
    setAccess(EntityType::Event, AuthorizationStatus::WriteOnly);
    EXPECT_EQ(errorText([&] { store->undo(); }), u"Orbitday doesn't have access to your calendars."_s);

    setAccess(EntityType::Event, AuthorizationStatus::FullAccess);
    store->undo();
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);
}

TEST_P(CalendarStoreChanges, RemindersCreateCompleteAndUndo) {
    model::ReminderDraft draft;
    draft.title = u"Renew passport"_s;
    draft.due = local(2026, 3, 20, 17, 45);
    draft.remindAt = local(2026, 3, 11, 9, 30);
    draft.priority = 1;
    store->createReminder(draft);
    EXPECT_EQ(store->undoLabel(), u"Added reminder \u201CRenew passport\u201D"_s);
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    const model::ODReminder reminder = store->reminders().front();
    EXPECT_TRUE(reminder.hasDueTime);
    EXPECT_EQ(reminder.due, local(2026, 3, 20, 9, 30));
    const auto stored = std::get<platform::PlatformReminder>(*ek.calendarItem(reminder.id));
    ASSERT_EQ(stored.alarms.size(), 1u);
    EXPECT_EQ(stored.alarms[0].absoluteDate, local(2026, 3, 20, 9, 30));
    EXPECT_EQ(stored.priority, 1);

    QSignalSpy reloads(store.get(), &CalendarStore::lastSyncedChanged);
    store->completeReminder(reminder.id);
    EXPECT_TRUE(store->reminders().empty());  // at once, without a reload
    EXPECT_EQ(reloads.count(), 0);
    EXPECT_EQ(store->undoLabel(), u"Completed \u201CRenew passport\u201D"_s);

    store->undo();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    store->undo();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().empty(); }));
    EXPECT_EQ(backend->storedReminderCount(), 0);

    EXPECT_EQ(errorText([&] { store->completeReminder(u"nothing"_s); }), u"That event no longer exists."_s);
    platform::PlatformReminder untitled;
    untitled.calendar = list;
    untitled.dueDateComponents = core::DateComponents{.year = 2026, .month = 3, .day = 12};
    const auto saved = backend->addReminder(untitled);
    store->completeReminder(saved.calendarItemIdentifier);
    EXPECT_EQ(store->undoLabel(), u"Completed \u201C\u201D"_s);

    setAccess(EntityType::Reminder, AuthorizationStatus::WriteOnly);
    EXPECT_EQ(errorText([&] { store->createReminder(draft); }), u"Orbitday doesn't have access to your calendars."_s);
    EXPECT_FALSE(store->lastError());
}

std::string backendName(const ::testing::TestParamInfo<BackendKind>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Stores, CalendarStoreChanges, ::testing::Values(fakeBackend(), vdirBackend()), backendName);
INSTANTIATE_TEST_SUITE_P(Stores, CalendarStoreChangesOnFake, ::testing::Values(fakeBackend()), backendName);

}  // namespace
