#include "PopoverTestSupport.h"
#include "core/Clock.h"
#include "popover/UndoToastModel.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using platform::FakeEventStore;
using popover::UndoToastModel;
using popovertest::local;

namespace {

TEST(UndoToastWords, TheFirstOfTheFiveWordsTheLabelBeginsWithNamesTheChange) {
    struct Case {
        QString label;
        QString symbol;
        QString title;
    };
    const Case cases[] = {
        {u"Deleted \u201CLunch\u201D"_s, u"trash"_s, u"Event deleted"_s},
        {u"Created \u201CLunch\u201D"_s, u"plus"_s, u"Event added"_s},
        {u"Edited \u201CLunch\u201D"_s, u"pencil"_s, u"Event updated"_s},
        {u"Completed \u201CCall Mum\u201D"_s, u"checkmark"_s, u"Reminder done"_s},
        {u"Added reminder \u201CCall Mum\u201D"_s, u"plus"_s, u"Reminder added"_s},
        // Only the exact words, in their letter case, count.
        {u"Added \u201CLunch\u201D"_s, u"arrow.uturn.backward"_s, u"Added \u201CLunch\u201D"_s},
        {u"deleted \u201CLunch\u201D"_s, u"arrow.uturn.backward"_s, u"deleted \u201CLunch\u201D"_s},
        {u" Created"_s, u"arrow.uturn.backward"_s, u" Created"_s},
        {QString(), u"arrow.uturn.backward"_s, QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(popover::undoToastSymbol(c.label), c.symbol) << c.label.toStdString();
        EXPECT_EQ(popover::undoToastTitle(c.label), c.title) << c.label.toStdString();
    }
}

// Tuesday 10 March 2026 at noon; changes go into the one calendar.
class UndoToastTiming : public ::testing::Test {
protected:
    UndoToastTiming() {
        const auto work = ek.addCalendar(EntityType::Event, u"Work"_s);
        ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
        store.reload();
    }

    void create(const QString& title) { store.create(model::EventDraft(title, local(2026, 3, 10, 15))); }

    core::ScopedTestClock clock{local(2026, 3, 10, 12)};
    FakeEventStore ek;
    store::CalendarStore store{ek};
};

TEST_F(UndoToastTiming, ANewChangeTakesTheToastOverAndCountsFiveSecondsFromItself) {
    create(u"Before the popover"_s);
    UndoToastModel toast(store);
    EXPECT_FALSE(toast.label()) << "a change from before the toast existed shows nothing";
    QSignalSpy shown(&toast, &UndoToastModel::toastShown);

    create(u"Lunch"_s);
    EXPECT_EQ(toast.label(), u"Created \u201CLunch\u201D"_s);
    EXPECT_TRUE(toast.isShown());
    clock.advance(1);
    create(u"Dinner"_s);
    EXPECT_EQ(toast.label(), u"Created \u201CDinner\u201D"_s);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(1).at(0).toString(), u"Created \u201CDinner\u201D"_s);

    clock.advance(4.5);
    EXPECT_TRUE(toast.isShown()) << "5 s after the first change, the second still has half a second";
    clock.advance(0.5);
    EXPECT_FALSE(toast.label());
    EXPECT_FALSE(toast.isShown());
}

TEST_F(UndoToastTiming, ThePointerOverTheToastStopsTheCountAndLeavingItGoesOnWhereItStopped) {
    UndoToastModel toast(store);
    create(u"Lunch"_s);
    clock.advance(2);
    toast.setHovering(true);
    clock.advance(10);
    EXPECT_TRUE(toast.isShown()) << "hovered for 10 s";
    EXPECT_DOUBLE_EQ(toast.remaining(), 3);
    toast.setHovering(false);
    clock.advance(2.9);
    EXPECT_TRUE(toast.isShown());
    clock.advance(0.1);
    EXPECT_FALSE(toast.isShown());

    // A change made while the pointer rests where the toast is starts paused.
    toast.setHovering(true);
    create(u"Dinner"_s);
    clock.advance(30);
    EXPECT_TRUE(toast.isShown());
    toast.setHovering(false);
    clock.advance(5);
    EXPECT_FALSE(toast.isShown());
}

TEST_F(UndoToastTiming, AnotherScreenHidesTheToastAndMainShowsItAgainWhileItsTimeLasts) {
    UndoToastModel toast(store);
    create(u"Lunch"_s);
    clock.advance(1);
    toast.setOnMain(false);
    EXPECT_FALSE(toast.isShown());
    EXPECT_TRUE(toast.label()) << "the toast waits, hidden";
    clock.advance(2);
    toast.setOnMain(true);
    EXPECT_TRUE(toast.isShown());

    // Hovering ends when the toast is hidden: time goes on off the main screen.
    toast.setHovering(true);
    toast.setOnMain(false);
    EXPECT_FALSE(toast.isHovering());
    clock.advance(2);
    toast.setOnMain(true);
    EXPECT_FALSE(toast.isShown()) << "5 s are over";
}

TEST_F(UndoToastTiming, AnUndoFromAnywhereHidesTheToastAtOnce) {
    UndoToastModel toast(store);
    create(u"Lunch"_s);
    create(u"Dinner"_s);
    store.undo();  // as Ctrl+Z on the main screen does
    EXPECT_FALSE(toast.label());
    EXPECT_EQ(store.undoStack().size(), 1U);

    // The stack is counted again from its new length: the next change shows.
    create(u"Tea"_s);
    EXPECT_EQ(toast.label(), u"Created \u201CTea\u201D"_s);
    toast.undo();
    EXPECT_FALSE(toast.label());
    EXPECT_EQ(store.undoLabel(), u"Created \u201CLunch\u201D"_s);
    EXPECT_EQ(clock.clock().pendingTimers(), 0);
}

TEST_F(UndoToastTiming, AFailedUndoKeepsItsEntryAndTheToastWhichShowsTheStoresMessageUntilItsTimeIsOut) {
    UndoToastModel toast(store);
    create(u"Lunch"_s);
    clock.advance(1);
    const QString message = u"The calendar item was changed elsewhere. Please try again."_s;
    ek.failNext(FakeEventStore::Operation::RemoveEvent,
                platform::EventStoreError(platform::EventStoreError::Code::Conflict, message));
    toast.undo();
    EXPECT_EQ(toast.label(), u"Created \u201CLunch\u201D"_s);
    EXPECT_EQ(toast.error(), message);
    EXPECT_EQ(store.lastError(), message);
    EXPECT_EQ(store.undoStack().size(), 1U);

    clock.advance(3.9);
    EXPECT_TRUE(toast.isShown());
    clock.advance(0.1);
    EXPECT_FALSE(toast.label());
    EXPECT_FALSE(toast.error());

    // A later change starts a toast without the old message.
    create(u"Dinner"_s);
    EXPECT_FALSE(toast.error());
}

}  // namespace
