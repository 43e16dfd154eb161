#include "EditorTestSupport.h"
#include "EventLoop.h"
#include "TestEnvironment.h"
#include "core/Clock.h"
#include "editor/EventEditorModel.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using editor::EventEditorModel;
using model::EditSpan;
using model::EventDraft;
using model::RecurrenceOption;
using platform::EntityType;
using platform::PlatformEvent;
using storetest::local;

namespace {

class EventEditor : public ::testing::Test {
protected:
    core::ScopedTestClock clock{local(2026, 3, 10, 14, 20)};
    platform::FakeEventStore ek;
    platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s);
    platform::PlatformCalendar home = ek.addCalendar(EntityType::Event, u"Home"_s);
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
    std::unique_ptr<store::CalendarStore> store;
    const app::PopoverRoute editorRoute = app::PopoverRoute::eventEdit(u"editing"_s);

    void SetUp() override {
        store = std::make_unique<store::CalendarStore>(ek);
        appState.setRoute(editorRoute);
    }

    std::unique_ptr<EventEditorModel> open(std::optional<QString> id, std::optional<core::Date> start = {}) {
        auto model = std::make_unique<EventEditorModel>(std::move(id), start, *store, appState, settings);
        model->appear();
        return model;
    }

    QString add(PlatformEvent event) { return editortest::add(ek, *store, std::move(event)); }
    QString addWeekly(const QString& title) { return add(editortest::weekly(work, title, local(2026, 3, 10, 10))); }

    std::vector<model::ODEvent> named(const QString& title) const {
        std::vector<model::ODEvent> found;
        for (const model::ODEvent& event : store->events())
            if (event.title == title)
                found.push_back(event);
        return found;
    }

    bool leftEditor() const { return appState.route() == app::PopoverRoute::main(); }
};

// --- Loading ----------------------------------------------------------------------------------------

TEST_F(EventEditor, LoadsAnExistingEventAndLeavesWithoutWritingWhenNothingChanged) {
    PlatformEvent stored = storetest::timedEvent(home, u"Dentist"_s, local(2026, 3, 11, 9));
    stored.url = QUrl(u"https://smile.example/visit"_s);
    stored.alarms = {{-900, std::nullopt}};
    const QString id = add(stored);
    const auto editor = open(id);

    EXPECT_FALSE(editor->isMissing());
    EXPECT_EQ(editor->draft().title, u"Dentist"_s);
    EXPECT_EQ(editor->draft().calendarID, home.calendarIdentifier);
    EXPECT_EQ(editor->urlText(), u"https://smile.example/visit"_s);
    EXPECT_EQ(editor->alertLabel(), u"15 minutes before"_s);
    EXPECT_EQ(editor->original(), editor->draft());
    EXPECT_FALSE(editor->hasChanges());

    const int commits = ek.commitCount();
    editor->save();
    EXPECT_TRUE(leftEditor());
    EXPECT_EQ(ek.commitCount(), commits);
    testsupport::spinEventLoop(5);
    EXPECT_FALSE(editor->titleFocused()) << "only a new event takes the title focus";
}

TEST_F(EventEditor, AMissingEventLoadsNothingAndLeavesEscapeToThePopover) {
    const auto editor = open(u"gone|1773133200"_s);
    EXPECT_TRUE(editor->isMissing());
    EXPECT_FALSE(editor->event());
    EXPECT_TRUE(appState.hasEscapeHandler());
    EXPECT_FALSE(appState.offerEscape());
    editor->disappear();
    EXPECT_FALSE(appState.hasEscapeHandler());
}

TEST_F(EventEditor, APendingDraftServesOneEditorOnly) {
    EventDraft pending(u"Lunch"_s, local(2026, 3, 12, 12, 30));
    pending.recurrence = RecurrenceOption::weekly;
    appState.setPendingDraft(pending);
    const auto first = open(std::nullopt, local(2026, 3, 12));
    EXPECT_EQ(first->draft().title, u"Lunch"_s);
    EXPECT_EQ(first->draft().start, local(2026, 3, 12, 12, 30));
    EXPECT_FALSE(appState.pendingDraft());
    EXPECT_EQ(first->recurrence(), RecurrenceOption::weekly);
    EXPECT_TRUE(first->hasChanges()) << "a handed-over repetition is a change";

    const auto second = open(std::nullopt, local(2026, 3, 12));
    EXPECT_EQ(second->draft().title, QString());
    EXPECT_EQ(second->draft().start, local(2026, 3, 12, 9));
    EXPECT_TRUE(testsupport::waitUntil([&] { return second->titleFocused(); }));
}

TEST_F(EventEditor, ANewEventsCalendarFallsBackToTheSettingThenTheStoreThenTheFirstWritable) {
    platform::PlatformCalendar holidays =
        ek.addCalendar(EntityType::Event, u"Holidays"_s, std::nullopt, u"Subscribed"_s, false, true);
    store->reload();
    const auto calendarOfNew = [&](std::optional<QString> wanted) {
        EventDraft pending(u"Trip"_s, local(2026, 3, 12, 8));
        pending.calendarID = wanted;
        appState.setPendingDraft(pending);
        return open(std::nullopt)->draft().calendarID;
    };
    settings.setDefaultCalendarID(home.calendarIdentifier);
    ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
    EXPECT_EQ(calendarOfNew(work.calendarIdentifier), work.calendarIdentifier);
    EXPECT_EQ(calendarOfNew(holidays.calendarIdentifier), home.calendarIdentifier);
    EXPECT_EQ(calendarOfNew(u"no such calendar"_s), home.calendarIdentifier);

    settings.setDefaultCalendarID(holidays.calendarIdentifier);
    EXPECT_EQ(calendarOfNew(std::nullopt), work.calendarIdentifier);

    ek.setDefaultCalendarForNewEvents(holidays.calendarIdentifier);
    EXPECT_EQ(calendarOfNew(std::nullopt), home.calendarIdentifier) << "the first writable calendar, by title";

    ek.setCalendarAllowsModifications(work.calendarIdentifier, false);
    ek.setCalendarAllowsModifications(home.calendarIdentifier, false);
    store->reload();
    EXPECT_EQ(calendarOfNew(work.calendarIdentifier), std::nullopt);
}

// --- Read-only and the time zone -------------------------------------------------------------------

TEST_F(EventEditor, AReadOnlyEventRefusesEveryChange) {
    platform::PlatformCalendar shared = ek.addCalendar(EntityType::Event, u"Shared"_s, std::nullopt, {}, false);
    PlatformEvent stored = storetest::timedEvent(shared, u"Board meeting"_s, local(2026, 3, 11, 9));
    stored.recurrenceRules = {*model::recurrenceRule(RecurrenceOption::weekly)};
    const auto editor = open(add(stored));
    ASSERT_TRUE(editor->readOnly());
    const EventDraft loaded = editor->draft();

    editor->setTitle(u"Mine now"_s);
    editor->setAllDay(true);
    editor->moveDay(local(2026, 3, 14));
    editor->chooseAlert(-300);
    editor->setURLText(u"https://example.com"_s);
    editor->setRecurrence(RecurrenceOption::daily);
    editor->setCalendarID(work.calendarIdentifier);
    editor->setShowTime(true);
    editor->setShowStart(true);
    editor->setShowEnd(true);
    editor->setShowAttendees(true);
    EXPECT_EQ(editor->draft(), loaded);
    EXPECT_EQ(editor->urlText(), QString());
    EXPECT_EQ(editor->recurrence(), RecurrenceOption::weekly);
    EXPECT_FALSE(editor->showTime());
    EXPECT_FALSE(editor->showStart());
    EXPECT_FALSE(editor->showEnd());
    EXPECT_TRUE(editor->showAttendees()) << "the attendee list still opens";

    editor->save();
    editor->requestDelete();
    EXPECT_FALSE(editor->prompt());
    EXPECT_EQ(appState.route(), editorRoute);
    EXPECT_EQ(named(u"Board meeting"_s).size(), store->events().size());
}

TEST_F(EventEditor, AnEventInAZoneWithAnotherOffsetIsEditedOnItsOwnClock) {
    testsupport::ScopedTimeZone london("Europe/London");
    testsupport::ScopedLocale british("en_GB");
    const core::TimeZone tokyo = *core::TimeZone::withIdentifier(u"Asia/Tokyo"_s);
    PlatformEvent stored = storetest::timedEvent(work, u"Sync"_s, local(2026, 3, 11, 8));
    stored.timeZone = tokyo;
    const auto editor = open(add(stored));

    ASSERT_EQ(editor->foreignTimeZone(), tokyo);
    EXPECT_EQ(editor->timeZoneChip(), u"Tokyo (08:00 here)"_s);
    EXPECT_EQ(editor->timeZoneHelp(), u"Tokyo time · 08:00 – 09:00 here"_s);
    // 08:00 to 09:00 in London is 17:00 to 18:00 in Tokyo: whole days are Tokyo's.
    editor->setAllDay(true);
    EXPECT_EQ(editor->draft().start, local(2026, 3, 10, 15));
    EXPECT_FALSE(editor->timeZoneChip()) << "no chip on an all-day event";
    EXPECT_TRUE(editor->timeZoneHelp());
}

TEST_F(EventEditor, DaysMoveOnTheEventsOwnClockEvenWhileItAgreesWithThisComputers) {
    // Lagos keeps UTC+1 all year; Berlin leaves it for summer time on 29 March.
    const core::TimeZone lagos = *core::TimeZone::withIdentifier(u"Africa/Lagos"_s);
    PlatformEvent stored = storetest::timedEvent(work, u"Call"_s, local(2026, 3, 27, 9));
    stored.timeZone = lagos;
    const auto editor = open(add(stored));
    ASSERT_FALSE(editor->foreignTimeZone()) << "both clocks read 09:00 in winter";

    // Picked on the screen's (Berlin's) clock: its midnight is still the 29th in Lagos.
    editor->moveDay(local(2026, 3, 30));
    EXPECT_EQ(editor->draft().start, local(2026, 3, 30, 10)) << "09:00 in Lagos";
    EXPECT_EQ(editor->draft().end, local(2026, 3, 30, 11));
    ASSERT_EQ(editor->foreignTimeZone(), lagos) << "from now on shown on Lagos' clock";

    // Picked on Lagos' clock, as the screen now shows it.
    core::Calendar lagosCalendar;
    lagosCalendar.setTimeZone(lagos);
    editor->moveDay(lagosCalendar.startOfDay(local(2026, 3, 27, 12)));
    EXPECT_EQ(editor->draft().start, local(2026, 3, 27, 9));
    EXPECT_FALSE(editor->foreignTimeZone());
}

TEST_F(EventEditor, ZonesWithTheSameOffsetAtTheStartAreNotForeign) {
    const auto foreignAt = [&](const char* machineZone, const char* eventZone, core::Date start) {
        testsupport::ScopedTimeZone machine(machineZone);
        PlatformEvent stored = storetest::timedEvent(work, QString::fromLatin1(eventZone), start);
        stored.timeZone = *core::TimeZone::withIdentifier(QString::fromLatin1(eventZone));
        const core::DateInterval around{start - 86400, 2 * 86400};
        store->ensureLoaded(around);
        EXPECT_TRUE(testsupport::waitUntil([&] { return store->loadedRange().start <= around.start; }));
        const auto editor = open(add(stored));
        return editor->foreignTimeZone().has_value();
    };
    // Winter: both zones are at UTC.
    EXPECT_FALSE(foreignAt("Europe/Lisbon", "Europe/London", local(2026, 3, 12, 10)));
    // Mexico City keeps UTC-6 all year since 2022, like Denver's summer time; an
    // older copy of the rules would still put it on summer time.
    const core::Date july2023(1688569200);
    EXPECT_FALSE(foreignAt("America/Denver", "America/Mexico_City", july2023));
    EXPECT_TRUE(foreignAt("America/Chicago", "America/Mexico_City", july2023 + 3600));
}

// --- Saving ------------------------------------------------------------------------------------------

TEST_F(EventEditor, ANewEventIsCreatedAndTheMainScreenOpensOnItsDay) {
    const auto editor = open(std::nullopt, local(2026, 3, 14));
    editor->setTitle(u"  Picnic \n"_s);
    editor->setURLText(u"park.example/map"_s);
    editor->save();

    ASSERT_TRUE(leftEditor());
    ASSERT_EQ(named(u"Picnic"_s).size(), 1u);
    const model::ODEvent created = named(u"Picnic"_s).front();
    EXPECT_EQ(created.start, local(2026, 3, 14, 9));
    EXPECT_EQ(created.url, QUrl(u"https://park.example/map"_s));
    EXPECT_EQ(created.calendarID, home.calendarIdentifier);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 14));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 3, 14, 9));
}

TEST_F(EventEditor, TheSavedDraftIsNormalised) {
    const auto created = open(std::nullopt, local(2026, 3, 14, 10));
    created->setTitle(u"   "_s);
    EXPECT_EQ(created->finalDraft().title, u"New event"_s);
    EXPECT_EQ(created->finalDraft().recurrence, std::nullopt);

    const auto edited = open(addWeekly(u"Review"_s));
    edited->setTitle(QString());
    edited->setRecurrence(RecurrenceOption::daily);
    EXPECT_EQ(edited->finalDraft().title, u"Review"_s);
    EXPECT_EQ(edited->finalDraft().recurrence, RecurrenceOption::daily);
    edited->setRecurrence(RecurrenceOption::weekly);
    EXPECT_EQ(edited->finalDraft().recurrence, std::nullopt) << "an unchanged repetition is not written";

    EventDraft backwards(u"Backwards"_s, local(2026, 3, 14, 10), local(2026, 3, 14, 9));
    appState.setPendingDraft(backwards);
    EXPECT_EQ(open(std::nullopt)->finalDraft().end, local(2026, 3, 14, 10));
}

TEST_F(EventEditor, ARepeatingEventAsksOnlyWhenItsRepetitionIsKept) {
    const auto edited = open(addWeekly(u"Standup"_s));
    edited->setTitle(u"Daily standup"_s);
    edited->save();
    ASSERT_EQ(edited->prompt(), EventEditorModel::Prompt::save);
    EXPECT_EQ(edited->promptActionTitle(), u"Save"_s);
    edited->save();  // waits for the answer
    EXPECT_EQ(appState.route(), editorRoute);

    edited->choosePromptSpan(EditSpan::thisEvent);
    EXPECT_FALSE(edited->prompt());
    EXPECT_TRUE(leftEditor());
    EXPECT_EQ(named(u"Daily standup"_s).size(), 1u);
    EXPECT_GT(named(u"Standup"_s).size(), 1u);

    appState.setRoute(editorRoute);
    const auto rescheduled = open(named(u"Standup"_s).front().id);
    rescheduled->setRecurrence(RecurrenceOption::daily);
    rescheduled->save();
    EXPECT_FALSE(rescheduled->prompt()) << "a new repetition applies to all future events";
    EXPECT_TRUE(leftEditor());
    const auto standups = named(u"Standup"_s);
    EXPECT_TRUE(std::any_of(standups.begin(), standups.end(), [](const model::ODEvent& e) {
        return e.start == local(2026, 3, 18, 10);
    })) << "the series now repeats daily";
}

TEST_F(EventEditor, ARepetitionGivenToASingleEventIsUndoneWhole) {
    const auto editor = open(add(storetest::timedEvent(work, u"Once"_s, local(2026, 3, 11, 9))));
    editor->setRecurrence(RecurrenceOption::weekly);
    editor->save();
    ASSERT_TRUE(leftEditor());
    ASSERT_GT(named(u"Once"_s).size(), 1u);

    // Written for this occurrence only, the undo would restore that one and keep the series.
    store->undo();
    ASSERT_EQ(named(u"Once"_s).size(), 1u);
    EXPECT_FALSE(named(u"Once"_s).front().isRecurring);
}

TEST_F(EventEditor, SavingDoesNothingWhileAPromptWaitsForItsAnswer) {
    const auto series = open(addWeekly(u"Weekly"_s));
    series->requestDelete();
    ASSERT_EQ(series->prompt(), EventEditorModel::Prompt::deleteEvent);
    // Unchanged, the event would otherwise be left at once; changed, the question would turn into another.
    series->save();
    EXPECT_EQ(series->prompt(), EventEditorModel::Prompt::deleteEvent);
    EXPECT_EQ(appState.route(), editorRoute);

    series->cancelPrompt();
    series->setTitle(u"Biweekly"_s);
    series->requestDelete();
    series->save();
    EXPECT_EQ(series->prompt(), EventEditorModel::Prompt::deleteEvent);
    EXPECT_EQ(named(u"Weekly"_s).size(), store->events().size());
}

TEST_F(EventEditor, AStoreFailureKeepsTheEditorOpenWithItsText) {
    const auto editor = open(std::nullopt, local(2026, 3, 14, 10));
    editor->setTitle(u"Concert"_s);
    ek.failNext(platform::FakeEventStore::Operation::SaveEvent,
                platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    editor->save();
    EXPECT_EQ(editor->errorText(), u"The disk is full."_s);
    EXPECT_EQ(appState.route(), editorRoute);
    EXPECT_EQ(editor->draft().title, u"Concert"_s);

    editor->save();
    EXPECT_FALSE(editor->errorText());
    EXPECT_TRUE(leftEditor());
}

TEST_F(EventEditor, ALoadedLinkSurvivesAnUnrelatedEditByteForByte) {
    // A link with its own scheme, and one written without any (as calendar files
    // hold them), which a fresh reading of its text would turn into "https://...".
    const QString addresses[] = {u"mailto:Ana%20Lima%3Cana@example.com%3E?subject=Hello%2C%20there"_s,
                                 u"www.example.com:8080/agenda"_s};
    int day = 11;
    for (const QString& address : addresses) {
        SCOPED_TRACE(address.toStdString());
        appState.setRoute(editorRoute);
        PlatformEvent stored = storetest::timedEvent(work, address, local(2026, 3, day++, 9));
        stored.url = QUrl(address, QUrl::TolerantMode);
        const auto editor = open(add(stored));
        EXPECT_FALSE(editor->hasChanges());

        editor->setNotes(u"Bring the contract"_s);
        editor->save();
        ASSERT_TRUE(leftEditor());
        ASSERT_EQ(named(address).size(), 1u);
        EXPECT_EQ(named(address).front().url->toString(QUrl::FullyEncoded), address);
    }
}

TEST_F(EventEditor, ALinkThatFormsNoURLIsRefusedInsteadOfDropped) {
    PlatformEvent stored = storetest::timedEvent(work, u"Webinar"_s, local(2026, 3, 11, 9));
    stored.url = QUrl(u"https://meet.example/webinar"_s);
    const auto editor = open(add(stored));
    editor->setURLText(u"https://meet.example/web inar"_s);
    EXPECT_TRUE(editor->urlTextIsInvalid());
    editor->save();
    EXPECT_TRUE(editor->errorText());
    EXPECT_EQ(appState.route(), editorRoute);
    EXPECT_EQ(named(u"Webinar"_s).front().url, QUrl(u"https://meet.example/webinar"_s));

    editor->setURLText(u"   "_s);
    editor->save();
    EXPECT_TRUE(leftEditor()) << "a cleared field removes the link";
    EXPECT_EQ(named(u"Webinar"_s).front().url, std::nullopt);
}

// --- Deleting and Escape -------------------------------------------------------------------------------

TEST_F(EventEditor, DeletingAsksOnlyForARepeatingEvent) {
    const auto single = open(add(storetest::timedEvent(work, u"Once"_s, local(2026, 3, 11, 9))));
    single->requestDelete();
    EXPECT_TRUE(leftEditor());
    EXPECT_TRUE(named(u"Once"_s).empty());

    appState.setRoute(editorRoute);
    const auto series = open(addWeekly(u"Weekly"_s));
    series->requestDelete();
    ASSERT_EQ(series->prompt(), EventEditorModel::Prompt::deleteEvent);
    EXPECT_TRUE(appState.offerEscape());
    EXPECT_FALSE(series->prompt());
    EXPECT_EQ(appState.route(), editorRoute);

    series->requestDelete();
    series->choosePromptSpan(EditSpan::futureEvents);
    EXPECT_TRUE(leftEditor());
    EXPECT_TRUE(named(u"Weekly"_s).empty());
}

TEST_F(EventEditor, EscapeClosesEveryOpenPopOverBeforeItLeaves) {
    const auto editor = open(std::nullopt, local(2026, 3, 14, 10));
    editor->setShowStart(true);
    editor->setShowAttendees(true);
    EXPECT_TRUE(appState.offerEscape());
    EXPECT_FALSE(editor->showStart());
    EXPECT_FALSE(editor->showAttendees());
    EXPECT_FALSE(appState.offerEscape());
}

}  // namespace
