#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "design/values/Theme.h"
#include "platform/eventstore/EventStoreError.h"
#include "quickadd/QuickCreateModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using model::EventDraft;
using platform::EntityType;
using quickadd::NLParser;
using quickadd::QuickCreateModel;
using storetest::local;
using Card = QuickCreateModel::Card;

namespace {

// Tuesday 10 March 2026, 14:20 in Berlin.
class QuickCreate : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    QuickCreate() : ScreenEnvironment(local(2026, 3, 10, 14, 20)) {}

    void SetUp() override {
        appState.setRoute(app::PopoverRoute::quickCreate());
        store.reload();
    }

    std::unique_ptr<QuickCreateModel> open(const QString& text = {}) {
        auto created = std::make_unique<QuickCreateModel>(store, appState, settings);
        created->appear();
        created->setText(text);
        return created;
    }

    void addEvent(platform::PlatformEvent event) {
        ek.addEvent(std::move(event));
        store.reload();
    }

    static QStringList titles(const std::vector<model::ODEvent>& events) {
        QStringList result;
        for (const model::ODEvent& e : events)
            result << e.title;
        return result;
    }
    static QStringList titles(const std::vector<QuickCreateModel::PreviewItem>& items) {
        QStringList result;
        for (const auto& item : items)
            result << item.title;
        return result;
    }

    platform::PlatformCalendar personal = ek.addCalendar(EntityType::Event, u"Personal"_s, core::Color::rgb(0, 160, 0));
    platform::PlatformCalendar work = ek.addCalendar(EntityType::Event, u"Work"_s, core::Color::rgb(0, 0, 200));
};

// --- The draft ------------------------------------------------------------------------------------

TEST_F(QuickCreate, AnEmptyLineIsAnUntitledHourFromTheNextWholeHourInTheDefaultCalendar) {
    ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
    const auto quick = open();
    const EventDraft& draft = quick->draft();
    EXPECT_EQ(draft.title, u""_s);
    EXPECT_EQ(draft.start, local(2026, 3, 10, 15));
    EXPECT_EQ(draft.end, local(2026, 3, 10, 16));
    EXPECT_FALSE(draft.isAllDay);
    EXPECT_EQ(draft.calendarID, work.calendarIdentifier);

    quick->setText(u"tomorrow 9:30"_s);
    EXPECT_EQ(quick->draft().title, u"New event"_s) << "a line of only a date and a time still names the event";
    EXPECT_EQ(quick->draft().start, local(2026, 3, 11, 9, 30));
}

TEST_F(QuickCreate, TheDefaultStartMovesOnWithTheClockWhileTheScreenShows) {
    clock.set(local(2026, 3, 10, 14, 59) + 30);
    const auto quick = open(u"Lunch"_s);
    ASSERT_EQ(quick->draft().start, local(2026, 3, 10, 15));
    clock.advance(90);
    EXPECT_EQ(quick->draft().start, local(2026, 3, 10, 16)) << "15:00 is under way by now";
    EXPECT_EQ(quick->draft().end, local(2026, 3, 10, 17));
    quick->add();
    ASSERT_EQ(ek.committedEvents().size(), 1u);
    EXPECT_EQ(ek.committedEvents()[0].startDate, local(2026, 3, 10, 16));

    // Gone from the screen, it waits for no minute.
    const auto hidden = open(u"Tea"_s);
    hidden->disappear();
    clock.advance(3600);
    EXPECT_EQ(hidden->draft().start, local(2026, 3, 10, 16));
}

TEST_F(QuickCreate, TheCalendarComesFromTheCardThenTheLineThenTheSettingThenTheStore) {
    ek.setDefaultCalendarForNewEvents(work.calendarIdentifier);
    settings.setDefaultCalendarID(personal.calendarIdentifier);
    const auto quick = open(u"Trip 12 nov all day"_s);
    EXPECT_EQ(quick->draft().calendarID, personal.calendarIdentifier);

    settings.setDefaultCalendarID(u"deleted long ago"_s);
    EXPECT_EQ(quick->draft().calendarID, work.calendarIdentifier) << "an unusable setting falls to the store's default";

    quick->setText(u"Trip 12 nov all day /personal"_s);
    EXPECT_EQ(quick->draft().calendarID, personal.calendarIdentifier);
    quick->setCalendarOverride(work.calendarIdentifier);
    EXPECT_EQ(quick->draft().calendarID, work.calendarIdentifier);
    quick->setText(u"Trip 13 nov /personal"_s);
    EXPECT_EQ(quick->draft().calendarID, work.calendarIdentifier) << "the card's choice outlives a change of the line";
}

TEST_F(QuickCreate, ACardChangesOnlyItsOwnPartOfTheDraft) {
    const auto quick = open(u"Standup tomorrow 9:30 for 15m"_s);
    quick->setTimeOverride(local(2026, 1, 1, 14, 0));
    EXPECT_EQ(quick->draft().start, local(2026, 3, 11, 14));
    EXPECT_EQ(quick->draft().end, local(2026, 3, 11, 14, 15));

    quick->setTimeOverride(std::nullopt);
    quick->setDateOverride(local(2026, 4, 2, 18, 45));
    EXPECT_EQ(quick->draft().start, local(2026, 4, 2, 9, 30));
    EXPECT_EQ(quick->draft().end, local(2026, 4, 2, 9, 45));

    quick->setText(u"Dentist fri 2-3pm at Smile Clinic"_s);
    quick->setDateOverride(std::nullopt);
    quick->setTimeOverride(local(2026, 3, 10, 16, 30));
    EXPECT_EQ(quick->draft().start, local(2026, 3, 13, 16, 30));
    EXPECT_EQ(quick->draft().end, local(2026, 3, 13, 17, 30)) << "a typed range keeps its length";
    EXPECT_EQ(quick->draft().location, u"Smile Clinic"_s);
}

TEST_F(QuickCreate, AnAllDayLineMovesWholeAndBecomesTimedOnlyWhenATimeOrLengthIsPicked) {
    const auto quick = open(u"Trip 12 nov all day"_s);
    quick->setDateOverride(local(2026, 12, 3, 15));
    EXPECT_TRUE(quick->draft().isAllDay);
    EXPECT_EQ(quick->draft().start, local(2026, 12, 3));
    EXPECT_EQ(quick->draft().end, local(2026, 12, 4) - 1);

    EXPECT_EQ(QuickCreateModel::dayCount(quick->draft()), u"1 day"_s);
    EXPECT_EQ(QuickCreateModel::dayCount(EventDraft(u"Trip"_s, local(2026, 12, 3), local(2026, 12, 6) - 1, true)),
              u"3 days"_s);
    quick->setDurationOverride(45 * 60);
    EXPECT_FALSE(quick->draft().isAllDay);
    EXPECT_EQ(quick->draft().start, local(2026, 12, 3, 9));
    EXPECT_EQ(quick->draft().end, local(2026, 12, 3, 9, 45));

    quick->setAllDayOverride(true);
    EXPECT_TRUE(quick->draft().isAllDay) << "the switch set by hand wins over the picked length";

    quick->setAllDayOverride(false);
    quick->setDurationOverride(std::nullopt);
    EXPECT_EQ(quick->draft().start, local(2026, 12, 3, 9)) << "switched off, an all-day line starts at nine";
    EXPECT_EQ(quick->draft().end, local(2026, 12, 3, 10));
}

TEST_F(QuickCreate, TheRecognisedPartsOfTheLineAreColouredByKind) {
    const auto quick = open(u"Dentist fri 2-3pm at Smile Clinic /work"_s);
    std::vector<std::pair<QString, core::Color>> coloured;
    for (const auto& highlight : quick->highlights())
        coloured.emplace_back(quick->text().mid(highlight.range.location, highlight.range.length), highlight.color);
    const std::vector<std::pair<QString, core::Color>> expected{{u"fri"_s, design::Theme::sky()},
                                                                {u"2-3pm"_s, design::Theme::flame()},
                                                                {u"Smile Clinic"_s, design::Theme::teal()},
                                                                {u"/work"_s, design::Theme::amber()}};
    EXPECT_EQ(coloured, expected);

    quick->setText(u" \t"_s);
    EXPECT_TRUE(quick->highlights().empty());
    EXPECT_TRUE(quick->tokenKinds().empty());
}

// --- The day ----------------------------------------------------------------------------------------

TEST_F(QuickCreate, TheDayIsFetchedOncePerDayAndAgainAfterEveryReload) {
    addEvent(storetest::allDayEvent(work, u"Holiday"_s, local(2026, 3, 11)));
    addEvent(storetest::timedEvent(work, u"Late"_s, local(2026, 3, 11, 17)));
    addEvent(storetest::timedEvent(work, u"Early"_s, local(2026, 3, 11, 8)));
    const auto quick = open(u"Lunch tomorrow 1pm"_s);
    EXPECT_EQ(titles(quick->dayEvents()), (QStringList{u"Holiday"_s, u"Early"_s, u"Late"_s}));
    EXPECT_EQ(quick->loadedDay(), local(2026, 3, 11));

    QSignalSpy fetched(quick.get(), &QuickCreateModel::dayEventsChanged);
    quick->setText(u"Lunch tomorrow 2pm"_s);
    EXPECT_EQ(fetched.count(), 0) << "another hour of the same day";

    ek.addEvent(storetest::timedEvent(personal, u"Call"_s, local(2026, 3, 11, 12)));
    store.reload();
    EXPECT_EQ(fetched.count(), 1);
    EXPECT_EQ(titles(quick->dayEvents()), (QStringList{u"Holiday"_s, u"Early"_s, u"Call"_s, u"Late"_s}));

    ek.addEvent(storetest::timedEvent(personal, u"Far away"_s, local(2027, 2, 3, 10)));
    quick->setText(u"Lunch 3 feb 2027 1pm"_s);
    EXPECT_EQ(titles(quick->dayEvents()), QStringList{u"Far away"_s}) << "a day outside the loaded window";
}

TEST_F(QuickCreate, OnlyTimedEventsThatStrictlyOverlapATimedDraftConflict) {
    addEvent(storetest::allDayEvent(work, u"Holiday"_s, local(2026, 3, 11)));
    addEvent(storetest::timedEvent(work, u"Review"_s, local(2026, 3, 11, 10)));
    addEvent(storetest::timedEvent(work, u"Sync"_s, local(2026, 3, 11, 11), 15));
    const auto quick = open(u"Focus tomorrow 10:30 for 1h"_s);
    EXPECT_EQ(titles(quick->conflicts()), (QStringList{u"Review"_s, u"Sync"_s}));
    quick->setText(u"Focus tomorrow 11:15 for 1h"_s);
    EXPECT_TRUE(quick->conflicts().empty()) << "starting as another ends is no clash";
    quick->setText(u"Focus tomorrow 9:00 for 1h"_s);
    EXPECT_TRUE(quick->conflicts().empty()) << "ending as another starts is no clash";
    quick->setText(u"Focus tomorrow all day"_s);
    EXPECT_TRUE(quick->conflicts().empty());
}

TEST_F(QuickCreate, ThePreviewWindowFollowsTheNewRowAndTheRevealedOne) {
    using V = std::vector<int>;
    EXPECT_EQ(QuickCreateModel::previewIndices(4, 2, std::nullopt, 5), (V{0, 1, 2, 3}));
    EXPECT_EQ(QuickCreateModel::previewIndices(8, 0, std::nullopt, 5), (V{0, 1, 2, 3, 4}));
    EXPECT_EQ(QuickCreateModel::previewIndices(8, 4, std::nullopt, 5), (V{2, 3, 4, 5, 6}));
    EXPECT_EQ(QuickCreateModel::previewIndices(8, 7, std::nullopt, 5), (V{3, 4, 5, 6, 7}));
    EXPECT_EQ(QuickCreateModel::previewIndices(8, 4, 0, 5), (V{0, 3, 4, 5, 6}));
    EXPECT_EQ(QuickCreateModel::previewIndices(10, 4, std::nullopt, 5), (V{2, 3, 4, 5, 6}));
    EXPECT_EQ(QuickCreateModel::previewIndices(10, 9, std::nullopt, 5), (V{5, 6, 7, 8, 9}));
    EXPECT_EQ(QuickCreateModel::previewIndices(10, 9, 42, 5), (V{5, 6, 7, 8, 9})) << "no such row";
    EXPECT_TRUE(QuickCreateModel::previewIndices(0, 0, std::nullopt, 5).empty());
}

TEST_F(QuickCreate, TheNewRowGoesAfterEverythingThatStartsWithItOrBefore) {
    const auto quick = open(u"tomorrow 10:00"_s);
    quick->setCalendarOverride(u"gone"_s);
    QuickCreateModel::Preview preview = quick->preview();
    ASSERT_EQ(preview.rows.size(), 1u);
    EXPECT_EQ(preview.rows[0].title, u"New event"_s);
    EXPECT_EQ(preview.rows[0].color, design::Theme::amber()) << "no calendar of the store: the amber of a new thing";
    EXPECT_EQ(preview.closingLine, u"Nothing else that day. Free as a bird."_s);

    addEvent(storetest::allDayEvent(work, u"Holiday"_s, local(2026, 3, 11)));
    addEvent(storetest::timedEvent(work, u"Same start"_s, local(2026, 3, 11, 10)));
    quick->setCalendarOverride(std::nullopt);
    quick->setText(u"Focus tomorrow 10:00 /personal"_s);
    preview = quick->preview();
    EXPECT_EQ(titles(preview.rows), (QStringList{u"Holiday"_s, u"Same start"_s, u"Focus"_s}));
    EXPECT_TRUE(preview.rows[1].overlaps);
    EXPECT_FALSE(preview.rows[0].overlaps);
    EXPECT_EQ(preview.rows[2].color, personal.color);
    EXPECT_EQ(preview.closingLine, u"Then nothing else. Go outside."_s);

    addEvent(storetest::timedEvent(work, u"Later"_s, local(2026, 3, 11, 16)));
    EXPECT_EQ(quick->preview().closingLine, std::nullopt);

    quick->setText(u"Trip tomorrow all day"_s);
    EXPECT_EQ(titles(quick->preview().rows), (QStringList{u"Holiday"_s, u"Trip"_s, u"Same start"_s, u"Later"_s}));
}

TEST_F(QuickCreate, ShowBringsAHiddenConflictIntoViewForAMomentAndOnlyWhileTheScreenLives) {
    for (int hour = 7; hour <= 15; ++hour)
        ek.addEvent(storetest::timedEvent(work, u"Meeting %1"_s.arg(hour), local(2026, 3, 11, hour), 30));
    ek.addEvent(storetest::timedEvent(work, u"Marathon"_s, local(2026, 3, 11, 6), 12 * 60));
    store.reload();
    auto quick = open(u"Talk tomorrow 16:15"_s);
    ASSERT_EQ(titles(quick->conflicts()), QStringList{u"Marathon"_s});
    EXPECT_FALSE(titles(quick->preview().rows).contains(u"Marathon"_s));

    quick->flash(u"nothing"_s);
    quick->flash(quick->conflicts().front().id);
    const QStringList revealed = titles(quick->preview().rows);
    EXPECT_EQ(revealed.first(), u"Marathon"_s);
    EXPECT_EQ(revealed.size(), 5);
    EXPECT_TRUE(revealed.contains(u"Talk"_s));

    clock.advance(1.3);
    EXPECT_TRUE(quick->flashID());
    clock.advance(0.2);
    EXPECT_FALSE(quick->flashID());
    EXPECT_FALSE(titles(quick->preview().rows).contains(u"Marathon"_s));

    quick->flash(quick->conflicts().front().id);
    quick.reset();
    clock.advance(2);  // the timer went with the screen
}

// --- The cards ------------------------------------------------------------------------------------

TEST_F(QuickCreate, ACardIsActiveWhenTheLineOrTheUserGaveItsValue) {
    const auto quick = open(u"Standup tomorrow 9:30 for 15m"_s);
    EXPECT_EQ(quick->face(Card::date), (QuickCreateModel::CardFace{u"Wed, Mar 11"_s, true, std::nullopt}));
    EXPECT_EQ(quick->face(Card::time).value, u"9:30\u202fAM"_s);
    EXPECT_TRUE(quick->face(Card::time).active);
    EXPECT_EQ(quick->face(Card::duration), (QuickCreateModel::CardFace{u"15m"_s, true, std::nullopt}));
    EXPECT_FALSE(quick->calendarFace().active);
    EXPECT_EQ(quick->calendarFace().value, u"Personal"_s);
    EXPECT_EQ(quick->calendarFace().dot, personal.color);

    quick->setText(u"Trip 12 nov all day /personal"_s);
    EXPECT_EQ(quick->face(Card::time), (QuickCreateModel::CardFace{u"All day"_s, true, std::nullopt}));
    EXPECT_EQ(quick->face(Card::duration), (QuickCreateModel::CardFace{u"1 day"_s, false, std::nullopt}));
    EXPECT_TRUE(quick->calendarFace().active);

    quick->setText(u"Lunch"_s);
    EXPECT_FALSE(quick->face(Card::date).active);
    quick->chooseDay(local(2026, 3, 20));
    EXPECT_TRUE(quick->face(Card::date).active) << "a day picked by hand";
    quick->setAllDayOverride(true);
    EXPECT_FALSE(quick->face(Card::time).active) << "the all-day switch alone makes no card active";

    quick->setCalendarOverride(u"gone"_s);
    EXPECT_EQ(quick->calendarFace(), (QuickCreateModel::CardFace{u"Default"_s, true, std::nullopt}));
    for (const auto& choice : quick->calendarChoices())
        EXPECT_FALSE(choice.checked) << "no calendar of the store is checked";
}

TEST_F(QuickCreate, ATapOpensACardAndASecondClosesItAndADismissalOfAnotherLeavesItOpen) {
    const auto quick = open(u"Lunch"_s);
    quick->toggleCard(Card::date);
    EXPECT_EQ(quick->openCard(), Card::date);
    quick->toggleCard(Card::time);
    EXPECT_EQ(quick->openCard(), Card::time);
    quick->cardDismissed(Card::date);
    EXPECT_EQ(quick->openCard(), Card::time) << "the date pop-over went because the time card opened";
    quick->toggleCard(Card::time);
    EXPECT_EQ(quick->openCard(), std::nullopt);
}

TEST_F(QuickCreate, TheTimeCardsChoicesAndTheQuickHours) {
    const auto quick = open(u"Trip 12 nov all day"_s);
    quick->setAllDay(false);
    EXPECT_EQ(quick->draft().start, local(2026, 11, 12, 9)) << "switched off with no time: nine";
    quick->setAllDay(true);
    quick->chooseTime(local(2026, 1, 1, 16, 45));
    EXPECT_FALSE(quick->draft().isAllDay) << "the time field ends all day";
    EXPECT_EQ(quick->draft().start, local(2026, 11, 12, 16, 45));
    quick->setAllDay(true);
    quick->setAllDay(false);
    EXPECT_EQ(quick->draft().start, local(2026, 11, 12, 16, 45)) << "a chosen time is kept";

    quick->setOpenCard(Card::time);
    const std::vector<core::Date> hours = quick->quickHours();
    ASSERT_EQ(hours.size(), 5u);
    EXPECT_EQ(hours.front(), local(2026, 11, 12, 9));
    EXPECT_EQ(hours.back(), local(2026, 11, 12, 18));
    quick->chooseQuickHour(hours[2]);
    EXPECT_EQ(quick->draft().start, local(2026, 11, 12, 13));
    EXPECT_EQ(quick->openCard(), std::nullopt);
}

TEST_F(QuickCreate, TheListMarksTheDraftsWholeMinutesAndALengthEndsAllDay) {
    const auto quick = open(u"Review tomorrow 10:00 for 90m"_s);
    EXPECT_EQ(quick->selectedDurationMinutes(), 90);
    quick->setText(u"Review tomorrow 10:00 for 50m"_s);
    EXPECT_EQ(quick->selectedDurationMinutes(), 50) << "a length of no row: the list marks none";
    quick->setText(u"Trip 12 nov all day"_s);
    EXPECT_EQ(quick->selectedDurationMinutes(), std::nullopt);

    quick->setOpenCard(Card::duration);
    quick->chooseDuration(120);
    EXPECT_EQ(quick->durationOverride(), 7200);
    EXPECT_EQ(quick->allDayOverride(), false);
    EXPECT_EQ(quick->openCard(), std::nullopt);
    EXPECT_EQ(quick->draft().start, local(2026, 11, 12, 9));
    EXPECT_EQ(quick->draft().end, local(2026, 11, 12, 11));
}

// --- Ways out -------------------------------------------------------------------------------------

TEST_F(QuickCreate, AddSavesTheDraftAndOpensTheMainScreenOnItsDay) {
    settings.setDefaultCalendarID(personal.calendarIdentifier);
    const auto quick = open(u"Dentist fri 2-3pm at Smile Clinic"_s);
    quick->add();
    const std::vector<platform::PlatformEvent> saved = ek.committedEvents();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].title, u"Dentist"_s);
    EXPECT_EQ(saved[0].startDate, local(2026, 3, 13, 14));
    EXPECT_EQ(saved[0].endDate, local(2026, 3, 13, 15));
    EXPECT_EQ(saved[0].location, u"Smile Clinic"_s);
    ASSERT_TRUE(saved[0].calendar);
    EXPECT_EQ(saved[0].calendar->calendarIdentifier, personal.calendarIdentifier);
    EXPECT_EQ(appState.selectedDate(), local(2026, 3, 13));
    EXPECT_EQ(appState.displayedMonth(), local(2026, 3, 13, 14));
    EXPECT_EQ(appState.route(), app::PopoverRoute::main());
    EXPECT_EQ(store.undoStack().size(), 1u);
}

TEST_F(QuickCreate, AFailedAddShowsTheStoresWordsAndKeepsEverything) {
    const auto quick = open(u"Dentist fri 2pm"_s);
    quick->setDurationOverride(1800);
    ek.failNext(platform::FakeEventStore::Operation::SaveEvent,
                platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    quick->add();
    EXPECT_EQ(quick->errorText(), u"The disk is full."_s);
    EXPECT_EQ(quick->text(), u"Dentist fri 2pm"_s);
    EXPECT_EQ(quick->durationOverride(), 1800);
    EXPECT_EQ(appState.route(), app::PopoverRoute::quickCreate());
    EXPECT_TRUE(ek.committedEvents().empty());

    ek.setCalendarAllowsModifications(personal.calendarIdentifier, false);
    ek.setCalendarAllowsModifications(work.calendarIdentifier, false);
    store.reload();
    quick->add();
    EXPECT_EQ(quick->errorText(), u"No calendar available that can be edited."_s);
}

TEST_F(QuickCreate, ALineOfOnlySpacesOrLineBreaksAddsNothing) {
    const auto quick = open();
    for (const QString& blank : {u""_s, u"  \t "_s, u"\n"_s, u"\r\n\n"_s, u"\u2028"_s, u"\u00a0\u3000"_s}) {
        quick->setText(blank);
        EXPECT_TRUE(quick->isBlank()) << blank.toStdString();
        EXPECT_EQ(quick->draft().title, u""_s);
        quick->add();
    }
    EXPECT_TRUE(ek.committedEvents().empty());
    EXPECT_EQ(appState.route(), app::PopoverRoute::quickCreate());
    quick->setText(u"\nx"_s);
    EXPECT_FALSE(quick->isBlank());
}

TEST_F(QuickCreate, MoreDetailsHandsTheDraftWithItsPlaceToTheEditor) {
    auto quick = open(u"Dentist fri 2-3pm at Smile Clinic"_s);
    quick->setCalendarOverride(work.calendarIdentifier);
    quick->moreDetails();
    ASSERT_TRUE(appState.pendingDraft());
    EXPECT_EQ(appState.pendingDraft()->title, u"Dentist"_s);
    EXPECT_EQ(appState.pendingDraft()->location, u"Smile Clinic"_s);
    EXPECT_EQ(appState.pendingDraft()->calendarID, work.calendarIdentifier);
    EXPECT_EQ(appState.route(), app::PopoverRoute::eventCreate(local(2026, 3, 13, 14)));
    EXPECT_TRUE(ek.committedEvents().empty());

    quick = open(u"\n"_s);
    quick->moreDetails();
    EXPECT_EQ(appState.pendingDraft()->title, u""_s);
    EXPECT_EQ(appState.pendingDraft()->start, local(2026, 3, 10, 15));
}

// --- Lifecycle ------------------------------------------------------------------------------------

TEST_F(QuickCreate, TheHandedOverTextIsTakenOnceAndEscapeClosesOnlyAnOpenCard) {
    appState.setQuickCreateText(u"D"_s);
    QuickCreateModel quick(store, appState, settings);
    quick.appear();
    EXPECT_EQ(quick.text(), u"D"_s);
    EXPECT_FALSE(appState.quickCreateText());

    quick.setOpenCard(Card::time);
    EXPECT_TRUE(appState.offerEscape());
    EXPECT_FALSE(quick.openCard());
    EXPECT_FALSE(appState.offerEscape()) << "the next Escape is the popover's";

    quick.disappear();
    EXPECT_FALSE(appState.hasEscapeHandler());
}

}  // namespace
