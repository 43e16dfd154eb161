#include "core/Calendar.h"
#include "platform/eventstore/FakeEventStore.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

using platform::EntityType;
using platform::EventStoreError;
using platform::FakeEventStore;
using platform::PlatformEvent;
using platform::Span;
using Frequency = platform::PlatformRecurrenceRule::Frequency;
using Operation = FakeEventStore::Operation;

core::Date berlin(int year, int month, int day, int hour = 0, int minute = 0) {
    return *core::Calendar::current().date(core::DateComponents{year, month, day, hour, minute, 0});
}

platform::PlatformRecurrenceRule everyWeek(std::vector<int> weekdays = {}, int interval = 1) {
    platform::PlatformRecurrenceRule rule;
    rule.frequency = Frequency::Weekly;
    rule.interval = interval;
    if (!weekdays.empty()) {
        rule.daysOfTheWeek.emplace();
        for (int day : weekdays) {
            rule.daysOfTheWeek->push_back({day, 0});
        }
    }
    return rule;
}

class FakeEventStoreTest : public ::testing::Test {
protected:
    FakeEventStoreTest() {
        calendar = store.addCalendar(EntityType::Event, QStringLiteral("Work"));
        list = store.addCalendar(EntityType::Reminder, QStringLiteral("Todo"));
        QObject::connect(&store, &platform::EventStore::changed, [this] { ++changes; });
    }

    PlatformEvent makeEvent(const QString& title, core::Date start, double minutes = 30) {
        PlatformEvent event;
        event.title = title;
        event.startDate = start;
        event.endDate = start + minutes * 60;
        event.calendar = calendar;
        return event;
    }

    std::vector<core::Date> startsIn(core::Date from, core::Date to) {
        std::vector<core::Date> starts;
        for (const auto& event : store.events(from, to, std::nullopt)) {
            starts.push_back(*event.startDate);
        }
        return starts;
    }

    FakeEventStore store;
    platform::PlatformCalendar calendar;
    platform::PlatformCalendar list;
    int changes = 0;
};

TEST_F(FakeEventStoreTest, ExpandsWeeklyRulesWithDaysIntervalsAndEnds) {
    PlatformEvent standup = makeEvent(QStringLiteral("Standup"), berlin(2024, 3, 4, 9));  // a Monday
    standup.recurrenceRules = {everyWeek({2, 4}, 2)};                                     // Mon + Wed, every 2nd week
    standup.recurrenceRules[0].end = platform::PlatformRecurrenceEnd{std::nullopt, 5};
    store.addEvent(standup);
    EXPECT_EQ(startsIn(berlin(2024, 3, 1), berlin(2024, 5, 1)),
              (std::vector<core::Date>{berlin(2024, 3, 4, 9), berlin(2024, 3, 6, 9), berlin(2024, 3, 18, 9),
                                       berlin(2024, 3, 20, 9), berlin(2024, 4, 1, 9)}));
    // Across the change to summer time the wall time stays 09:00.
    EXPECT_EQ(startsIn(berlin(2024, 3, 31), berlin(2024, 4, 2)), (std::vector<core::Date>{berlin(2024, 4, 1, 9)}));
}

TEST_F(FakeEventStoreTest, WeeksOfAWeeklyRuleStartOnMonday) {
    // Every other week on Saturday and Sunday, from a Saturday: that week's Sunday is the next day.
    PlatformEvent weekend = makeEvent(QStringLiteral("Hike"), berlin(2024, 3, 9, 9));
    weekend.recurrenceRules = {everyWeek({1, 7}, 2)};
    store.addEvent(weekend);
    EXPECT_EQ(startsIn(berlin(2024, 3, 1), berlin(2024, 3, 25)),
              (std::vector<core::Date>{berlin(2024, 3, 9, 9), berlin(2024, 3, 10, 9), berlin(2024, 3, 23, 9),
                                       berlin(2024, 3, 24, 9)}));
}

TEST_F(FakeEventStoreTest, MonthlyAndYearlyRulesSkipDaysTheMonthDoesNotHave) {
    // As the calendar files have it: no 31 February, no 31 April, no 29 February in 2025.
    PlatformEvent rent = makeEvent(QStringLiteral("Rent"), berlin(2025, 1, 31, 10));
    rent.recurrenceRules = {platform::PlatformRecurrenceRule{}};
    rent.recurrenceRules[0].frequency = Frequency::Monthly;
    rent.recurrenceRules[0].end = platform::PlatformRecurrenceEnd{std::nullopt, 3};
    store.addEvent(rent);
    PlatformEvent leap = makeEvent(QStringLiteral("Leap day"), berlin(2024, 2, 29, 10));
    leap.recurrenceRules = {platform::PlatformRecurrenceRule{}};
    leap.recurrenceRules[0].frequency = Frequency::Yearly;
    store.addEvent(leap);
    EXPECT_EQ(startsIn(berlin(2025, 1, 1), berlin(2025, 7, 1)),
              (std::vector<core::Date>{berlin(2025, 1, 31, 10), berlin(2025, 3, 31, 10), berlin(2025, 5, 31, 10)}));
    EXPECT_EQ(startsIn(berlin(2025, 6, 1), berlin(2029, 1, 1)), (std::vector<core::Date>{berlin(2028, 2, 29, 10)}));
}

TEST_F(FakeEventStoreTest, ListsOccurrencesThatReachIntoTheRange) {
    PlatformEvent night = makeEvent(QStringLiteral("Night shift"), berlin(2024, 1, 1, 22), 8 * 60);
    night.recurrenceRules = {platform::PlatformRecurrenceRule{}};  // daily
    store.addEvent(night);
    const auto events = store.events(berlin(2024, 1, 5), berlin(2024, 1, 6), std::nullopt);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(*events[0].startDate, berlin(2024, 1, 4, 22));
    EXPECT_EQ(events[0].occurrenceDate, events[0].startDate);
    EXPECT_TRUE(events[0].hasRecurrenceRules());
    EXPECT_TRUE(store.events(berlin(2024, 1, 5), berlin(2024, 1, 6), QStringList{}).empty());
}

TEST_F(FakeEventStoreTest, ThisEventChangesDetachOneOccurrenceThatStaysFindable) {
    PlatformEvent weekly = makeEvent(QStringLiteral("Sync"), berlin(2024, 3, 4, 10));
    weekly.recurrenceRules = {everyWeek()};
    const QString id = store.addEvent(weekly).eventIdentifier;

    PlatformEvent second = *store.event(id, berlin(2024, 3, 11, 10));
    second.startDate = berlin(2024, 4, 20, 15);  // moved far away
    second.endDate = berlin(2024, 4, 20, 16);
    const PlatformEvent saved = store.saveEvent(second, Span::ThisEvent, true);
    EXPECT_EQ(saved.eventIdentifier, id);
    EXPECT_TRUE(saved.isDetached);
    EXPECT_EQ(saved.occurrenceDate, berlin(2024, 3, 11, 10));

    EXPECT_TRUE(startsIn(berlin(2024, 3, 11), berlin(2024, 3, 12)).empty());
    const auto moved = store.event(id, berlin(2024, 3, 11, 10));
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(*moved->startDate, berlin(2024, 4, 20, 15));
    EXPECT_EQ(startsIn(berlin(2024, 4, 20), berlin(2024, 4, 21)), (std::vector<core::Date>{berlin(2024, 4, 20, 15)}));

    store.removeEvent(*moved, Span::ThisEvent, true);
    EXPECT_FALSE(store.event(id, berlin(2024, 3, 11, 10)).has_value());
    EXPECT_TRUE(store.event(id, berlin(2024, 3, 18, 10)).has_value());
}

TEST_F(FakeEventStoreTest, FutureEventsFromALaterOccurrenceSplitTheSeries) {
    PlatformEvent weekly = makeEvent(QStringLiteral("Sync"), berlin(2024, 3, 4, 10));
    weekly.recurrenceRules = {everyWeek()};
    const QString id = store.addEvent(weekly).eventIdentifier;

    PlatformEvent third = *store.event(id, berlin(2024, 3, 18, 10));
    third.title = QStringLiteral("Sync (new room)");
    const PlatformEvent saved = store.saveEvent(third, Span::FutureEvents, true);
    EXPECT_NE(saved.eventIdentifier, id);
    EXPECT_EQ(store.event(id, berlin(2024, 3, 11, 10))->title, QStringLiteral("Sync"));
    EXPECT_FALSE(store.event(id, berlin(2024, 3, 18, 10)).has_value());
    EXPECT_EQ(store.event(saved.eventIdentifier, berlin(2024, 3, 25, 10))->title, QStringLiteral("Sync (new room)"));

    // Removing the future of the new series from its first occurrence removes it all.
    store.removeEvent(saved, Span::FutureEvents, true);
    EXPECT_FALSE(store.event(saved.eventIdentifier).has_value());
    EXPECT_EQ(startsIn(berlin(2024, 3, 1), berlin(2024, 4, 30)).size(), 2u);
}

TEST_F(FakeEventStoreTest, StagedChangesAreVisibleAtOnceAndCommittedOrDroppedTogether) {
    const PlatformEvent staged =
        store.saveEvent(makeEvent(QStringLiteral("Draft"), berlin(2024, 5, 1, 9)), Span::ThisEvent, false);
    EXPECT_FALSE(staged.eventIdentifier.isEmpty());
    EXPECT_FALSE(staged.eventIdentifier.contains(u'|'));
    EXPECT_TRUE(store.event(staged.eventIdentifier).has_value());
    EXPECT_TRUE(store.hasStagedChanges());
    EXPECT_TRUE(store.committedEvents().empty());

    store.reset();
    EXPECT_FALSE(store.event(staged.eventIdentifier).has_value());

    store.saveEvent(makeEvent(QStringLiteral("Kept"), berlin(2024, 5, 1, 9)), Span::ThisEvent, false);
    store.failNext(Operation::Commit, EventStoreError::withDefaultMessage(EventStoreError::Code::WriteFailed));
    EXPECT_THROW(store.commit(), EventStoreError);
    EXPECT_TRUE(store.hasStagedChanges());  // a failed commit keeps what was staged
    store.commit();
    EXPECT_EQ(store.committedEvents().size(), 1u);
    EXPECT_EQ(changes, 0);  // the change notice arrives later, as on the platform
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
}

TEST_F(FakeEventStoreTest, AFailedImmediateSaveLeavesNothingStaged) {
    // As the file store does: a change meant to be written at once does not linger
    // after its write failed, neither in reads nor in the next commit.
    const PlatformEvent kept = store.addEvent(makeEvent(QStringLiteral("Kept"), berlin(2024, 5, 1, 9)));
    PlatformEvent renamed = *store.event(kept.eventIdentifier);
    renamed.title = QStringLiteral("Renamed");
    store.failNext(Operation::Commit, EventStoreError::withDefaultMessage(EventStoreError::Code::WriteFailed));
    EXPECT_THROW(store.saveEvent(renamed, Span::ThisEvent, true), EventStoreError);
    store.failNext(Operation::Commit, EventStoreError::withDefaultMessage(EventStoreError::Code::WriteFailed));
    EXPECT_THROW(store.saveEvent(makeEvent(QStringLiteral("Lost"), berlin(2024, 5, 2, 9)), Span::ThisEvent, true),
                 EventStoreError);
    EXPECT_FALSE(store.hasStagedChanges());
    EXPECT_EQ(store.event(kept.eventIdentifier)->title, QStringLiteral("Kept"));
    EXPECT_EQ(startsIn(berlin(2024, 5, 1), berlin(2024, 5, 3)).size(), 1u);
    store.commit();
    ASSERT_EQ(store.committedEvents().size(), 1u);
    EXPECT_EQ(store.committedEvents().front().title, QStringLiteral("Kept"));
}

TEST_F(FakeEventStoreTest, RefusesChangesItCannotMake) {
    using Code = EventStoreError::Code;
    auto codeOf = [](auto&& call) {
        try {
            call();
        } catch (const EventStoreError& error) {
            return error.code();
        }
        return Code::Other;
    };
    const PlatformEvent stored = store.addEvent(makeEvent(QStringLiteral("Fixed"), berlin(2024, 5, 2, 9)));

    PlatformEvent stale = stored;
    store.saveEvent(stored, Span::ThisEvent, true);
    EXPECT_EQ(codeOf([&] { store.saveEvent(stale, Span::ThisEvent, true); }), Code::Conflict);

    PlatformEvent orphan = makeEvent(QStringLiteral("Nowhere"), berlin(2024, 5, 2, 9));
    orphan.calendar.reset();
    EXPECT_EQ(codeOf([&] { store.saveEvent(orphan, Span::ThisEvent, true); }), Code::InvalidItem);

    store.setCalendarAllowsModifications(calendar.calendarIdentifier, false);
    const PlatformEvent current = *store.event(stored.eventIdentifier);
    EXPECT_FALSE(current.calendar->allowsContentModifications);
    EXPECT_EQ(codeOf([&] { store.removeEvent(current, Span::ThisEvent, true); }), Code::ReadOnly);
    store.setCalendarAllowsModifications(calendar.calendarIdentifier, true);

    store.failAlways(Operation::RemoveEvent, EventStoreError(Code::Other, QStringLiteral("disk on fire")));
    EXPECT_EQ(codeOf([&] { store.removeEvent(current, Span::ThisEvent, true); }), Code::Other);
    store.failAlways(Operation::RemoveEvent, std::nullopt);
    EXPECT_NO_THROW(store.removeEvent(current, Span::ThisEvent, true));
    EXPECT_EQ(store.callCount(Operation::RemoveEvent), 3);

    store.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::Denied);
    EXPECT_TRUE(store.calendars(EntityType::Event).empty());
    EXPECT_EQ(codeOf([&] { store.saveEvent(orphan, Span::ThisEvent, true); }), Code::AccessDenied);
    store.setAuthorizationStatus(EntityType::Event, platform::AuthorizationStatus::WriteOnly);
    EXPECT_TRUE(store.events(core::Date::distantPast(), core::Date::distantFuture(), std::nullopt).empty());
    EXPECT_NO_THROW(store.saveEvent(makeEvent(QStringLiteral("Blind"), berlin(2024, 5, 3)), Span::ThisEvent, true));
}

TEST_F(FakeEventStoreTest, ReminderFetchesCanBeHeldAndFinishedOutOfOrder) {
    platform::PlatformReminder reminder;
    reminder.title = QStringLiteral("Milk");
    reminder.calendar = list;
    const auto saved = store.saveReminder(reminder, true);

    std::vector<size_t> answers;
    auto record = [&answers](std::optional<std::vector<platform::PlatformReminder>> result) {
        answers.push_back(result ? result->size() : 99);
    };
    store.setHoldReminderFetches(true);
    store.fetchIncompleteReminders(std::nullopt, record);
    platform::PlatformReminder done = saved;
    done.isCompleted = true;
    store.saveReminder(done, true);
    store.fetchIncompleteReminders(std::nullopt, record);
    ASSERT_EQ(store.pendingReminderFetchCount(), 2);
    store.releaseReminderFetch(1);
    store.releaseReminderFetch(0);
    EXPECT_EQ(answers, (std::vector<size_t>{0, 1}));  // the older fetch still has the reminder

    store.setHoldReminderFetches(false);
    store.failNext(Operation::FetchReminders, EventStoreError::withDefaultMessage(EventStoreError::Code::Other));
    store.fetchIncompleteReminders(std::nullopt, record);
    EXPECT_EQ(answers.size(), 2u);  // never inside the call
    QCoreApplication::processEvents();
    EXPECT_EQ(answers.back(), 99u);
}

TEST_F(FakeEventStoreTest, AccessRequestsAnswerLaterAndChangeTheStatus) {
    store.setAuthorizationStatus(EntityType::Reminder, platform::AuthorizationStatus::NotDetermined);
    store.setAccessAnswer(EntityType::Reminder, platform::AuthorizationStatus::Denied, false);
    std::optional<bool> granted;
    store.requestFullAccess(EntityType::Reminder, [&](bool answer, std::optional<QString>) { granted = answer; });
    EXPECT_FALSE(granted.has_value());
    QCoreApplication::processEvents();
    EXPECT_EQ(granted, false);
    EXPECT_EQ(store.authorizationStatus(EntityType::Reminder), platform::AuthorizationStatus::Denied);

    std::optional<QString> message;
    store.failNext(Operation::RequestAccess, EventStoreError(EventStoreError::Code::Other, QStringLiteral("nope")));
    store.requestFullAccess(EntityType::Event, [&](bool, std::optional<QString> error) { message = error; });
    QCoreApplication::processEvents();
    EXPECT_EQ(message, QStringLiteral("nope"));
}

}  // namespace
