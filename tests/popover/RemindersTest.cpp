#include "PopoverTestSupport.h"
#include "core/Clock.h"
#include "popover/DueReminders.h"
#include "popover/ReminderCompletions.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using popover::DueReminders;
using popover::ReminderCompletions;
using popovertest::local;

namespace {

core::DateComponents day(int y, int mo, int d) {
    return {.year = y, .month = mo, .day = d};
}
core::DateComponents at(int y, int mo, int d, int h, int mi = 0) {
    return {.year = y, .month = mo, .day = d, .hour = h, .minute = mi};
}

// Tuesday 10 March 2026 at noon.
class Reminders : public ::testing::Test {
protected:
    Reminders() { list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s); }

    void add(const QString& title, std::optional<core::DateComponents> due) {
        ek.addReminder(storetest::reminder(list, title, due));
    }
    void load() {
        store.reload();
        QCoreApplication::processEvents();
    }
    std::vector<model::ODReminder> due() const {
        return DueReminders::items(store.reminders(), core::Clock::current().now(), core::Calendar());
    }
    model::ODReminder named(const QString& title) const {
        const auto& all = store.reminders();
        const auto it = std::find_if(all.begin(), all.end(), [&](const auto& r) { return r.title == title; });
        return it == all.end() ? model::ODReminder{} : *it;
    }
    QStringList dueTitles() const {
        QStringList titles;
        for (const auto& r : due())
            titles << r.title;
        return titles;
    }
    QStringList completedOnDisk() const {
        QStringList titles;
        for (const auto& r : ek.committedReminders())
            if (r.isCompleted)
                titles << r.title.value_or(QString());
        return titles;
    }

    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar list;
    store::CalendarStore store{ek};
};

TEST_F(Reminders, TheListHoldsWhatIsDueTodayAndEverythingOverdueWithTheirLabels) {
    add(u"Undated"_s, std::nullopt);
    add(u"Tomorrow"_s, day(2026, 3, 11));
    add(u"Tomorrow at midnight"_s, at(2026, 3, 11, 0));
    add(u"Last year"_s, day(2025, 3, 1));
    add(u"Yesterday"_s, day(2026, 3, 9));
    add(u"This morning"_s, at(2026, 3, 10, 9, 15));
    add(u"Today"_s, day(2026, 3, 10));
    add(u"Tonight"_s, at(2026, 3, 10, 23, 59));
    load();

    EXPECT_EQ(dueTitles(), (QStringList{u"Last year"_s, u"Yesterday"_s, u"Today"_s, u"This morning"_s, u"Tonight"_s}));
    const core::Date now = core::Clock::current().now();
    EXPECT_EQ(DueReminders::dueLabel(named(u"Last year"_s), now), u"Overdue"_s);
    EXPECT_EQ(DueReminders::dueLabel(named(u"Yesterday"_s), now), u"Overdue"_s);
    EXPECT_EQ(DueReminders::dueLabel(named(u"This morning"_s), now), u"Overdue"_s);
    EXPECT_EQ(DueReminders::dueLabel(named(u"Today"_s), now), u"Today"_s);
    EXPECT_EQ(DueReminders::dueLabel(named(u"Tonight"_s), now), u"11:59\u202FPM"_s);
}

TEST(ReminderWords, ThreeRowsShowUntilTheListIsExpandedAndTheButtonCountsTheRest) {
    EXPECT_FALSE(DueReminders::hasMoreButton(3));
    EXPECT_EQ(DueReminders::visibleCount(3, false), 3);
    ASSERT_TRUE(DueReminders::hasMoreButton(4));
    EXPECT_EQ(DueReminders::visibleCount(4, false), 3);
    EXPECT_EQ(DueReminders::moreButtonText(4, false), u"+1 more"_s);
    EXPECT_EQ(DueReminders::moreButtonText(5, false), u"+2 more"_s);
    EXPECT_EQ(DueReminders::visibleCount(5, true), 5);
    EXPECT_EQ(DueReminders::moreButtonText(5, true), u"Show less"_s);
    EXPECT_EQ(DueReminders::visibleCount(2, true), 2);
    EXPECT_EQ(DueReminders::countText(0), u"0 left"_s);
}

TEST_F(Reminders, ATickIsCompletedAfterTheGracePeriodOnceAndATickTakenBackNever) {
    add(u"Call Mum"_s, day(2026, 3, 10));
    add(u"Pay rent"_s, day(2026, 3, 10));
    load();
    ReminderCompletions completions(store);

    completions.toggle(named(u"Call Mum"_s));
    clock.advance(1.0);
    completions.toggle(named(u"Call Mum"_s));
    EXPECT_FALSE(completions.isChecked(named(u"Call Mum"_s).id));
    clock.advance(5);
    EXPECT_EQ(completedOnDisk(), QStringList());
    EXPECT_EQ(dueTitles().size(), 2);

    completions.toggle(named(u"Pay rent"_s));
    EXPECT_TRUE(completions.isChecked(named(u"Pay rent"_s).id));
    clock.advance(1.4);
    EXPECT_EQ(completedOnDisk(), QStringList());
    clock.advance(0.1);
    EXPECT_EQ(completedOnDisk(), QStringList{u"Pay rent"_s});
    EXPECT_EQ(dueTitles(), QStringList{u"Call Mum"_s});
    EXPECT_EQ(completions.pendingCount(), 0);
    EXPECT_EQ(store.undoLabel(), u"Completed \u201CPay rent\u201D"_s);
    EXPECT_EQ(ek.callCount(platform::FakeEventStore::Operation::SaveReminder), 1);

    // Ticked, unticked and ticked again: the grace period counts from the last tick.
    const model::ODReminder mum = named(u"Call Mum"_s);
    completions.toggle(mum);
    clock.advance(1.0);
    completions.toggle(mum);
    completions.toggle(mum);
    clock.advance(1.0);
    EXPECT_EQ(completedOnDisk(), QStringList{u"Pay rent"_s});
    clock.advance(0.5);
    EXPECT_EQ(completedOnDisk(), (QStringList{u"Call Mum"_s, u"Pay rent"_s}));
    clock.advance(5);
    EXPECT_EQ(ek.callCount(platform::FakeEventStore::Operation::SaveReminder), 2);
}

TEST_F(Reminders, AFailedCompletionLeavesTheReminderListedUntickedAndSaysWhy) {
    add(u"Call Mum"_s, day(2026, 3, 10));
    load();
    ReminderCompletions completions(store);
    ek.failNext(platform::FakeEventStore::Operation::SaveReminder,
                platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));

    completions.toggle(named(u"Call Mum"_s));
    clock.advance(1.5);
    EXPECT_EQ(dueTitles(), QStringList{u"Call Mum"_s});
    EXPECT_FALSE(completions.isChecked(named(u"Call Mum"_s).id));
    EXPECT_EQ(store.lastError(), u"The disk is full."_s);
    EXPECT_TRUE(store.undoStack().empty());
}

TEST_F(Reminders, OnlyTheCompletionOfTheLastDueReminderIsAnnouncedForACelebration) {
    add(u"Call Mum"_s, day(2026, 3, 10));
    add(u"Pay rent"_s, day(2026, 3, 10));
    add(u"Someday"_s, std::nullopt);
    load();
    ReminderCompletions completions(store);
    QSignalSpy changes(&completions, &ReminderCompletions::changed);
    QSignalSpy last(&completions, &ReminderCompletions::lastCompleted);

    // Both ticked within the grace period: the first sees two due, the second one.
    completions.toggle(named(u"Call Mum"_s));
    clock.advance(0.5);
    completions.toggle(named(u"Pay rent"_s));
    clock.advance(1.0);
    EXPECT_EQ(last.count(), 0);
    clock.advance(0.5);
    EXPECT_EQ(last.count(), 1);
    EXPECT_TRUE(due().empty());
    EXPECT_GE(changes.count(), 4);
}

TEST_F(Reminders, PendingTicksAreCompletedAtOnceWhenTheApplicationQuitsAndWhenTheirHolderGoes) {
    add(u"Call Mum"_s, day(2026, 3, 10));
    add(u"Pay rent"_s, day(2026, 3, 10));
    load();
    {
        ReminderCompletions completions(store);
        completions.toggle(named(u"Call Mum"_s));
        QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection);
        EXPECT_EQ(completedOnDisk(), QStringList{u"Call Mum"_s});
        EXPECT_EQ(completions.pendingCount(), 0);

        completions.toggle(named(u"Pay rent"_s));
    }
    EXPECT_EQ(completedOnDisk(), (QStringList{u"Call Mum"_s, u"Pay rent"_s}));
    clock.advance(5);
    EXPECT_EQ(ek.callCount(platform::FakeEventStore::Operation::SaveReminder), 2) << "each completed once";
}

}  // namespace
