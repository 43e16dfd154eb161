#include "imageimport/review/ImageReviewModel.h"

#include "design/values/Theme.h"
#include "imageimport/review/ReminderChoices.h"
#include "state/PlatformWords.h"

#include "ReviewTestSupport.h"

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using platform::EntityType;
using reviewtest::candidate;
using reviewtest::extractionWith;
using reviewtest::ImageReview;
using storetest::local;
using Card = ImageReviewModel::Card;
using Kind = ImageExtraction::Kind;

namespace {

// --- Seeding and what follows from it ----------------------------------------------------------------

TEST_F(ImageReview, WithoutADateNothingCanBeAddedAndOnlyAnImageLengthCountsAsFound) {
    auto model = review(extractionWith({}));
    EXPECT_FALSE(model->selectedID());
    EXPECT_FALSE(model->day());
    EXPECT_FALSE(model->time());
    EXPECT_EQ(model->duration(), 3600);
    EXPECT_EQ(model->remindAt(), (TimeOfDay{9, 0}));
    EXPECT_FALSE(model->canAdd());
    EXPECT_FALSE(model->eventDraft());
    EXPECT_FALSE(model->reminderDraft());
    EXPECT_FALSE(model->dateFound());
    EXPECT_FALSE(model->timeFound());
    EXPECT_FALSE(model->durationFound());

    ImageExtraction withLength = extractionWith({});
    withLength.duration = 2700;
    auto measured = review(withLength);
    EXPECT_EQ(measured->duration(), 2700);
    EXPECT_TRUE(measured->durationFound());
}

TEST_F(ImageReview, TheFirstCandidateSetsTheDayTimeAndLength) {
    auto afternoon = review(extractionWith({candidate(4, local(2026, 3, 13), 14, 30, 16, 0)}));
    EXPECT_EQ(afternoon->selectedID(), 4);
    EXPECT_EQ(afternoon->time(), (TimeOfDay{14, 30}));
    EXPECT_EQ(afternoon->remindAt(), (TimeOfDay{14, 30}));
    EXPECT_EQ(afternoon->duration(), 5400);
    EXPECT_TRUE(afternoon->dateFound() && afternoon->timeFound() && afternoon->durationFound());
    const auto draft = afternoon->eventDraft();
    ASSERT_TRUE(draft);
    EXPECT_FALSE(draft->isAllDay);
    EXPECT_EQ(draft->start, local(2026, 3, 13, 14, 30));
    EXPECT_EQ(draft->end, local(2026, 3, 13, 16, 0));

    // An hour without an end takes the image's length, else an hour.
    ImageExtraction withLength = extractionWith({candidate(1, local(2026, 3, 13), 19)});
    withLength.duration = 2700;
    EXPECT_EQ(review(withLength)->duration(), 2700);
    EXPECT_EQ(review(extractionWith({candidate(1, local(2026, 3, 13), 19)}))->duration(), 3600);
    EXPECT_FALSE(review(extractionWith({candidate(1, local(2026, 3, 13), 19)}))->durationFound());
}

TEST_F(ImageReview, ALateShowEndsAfterMidnight) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 22, 0, 1, 0)}));
    EXPECT_EQ(model->duration(), 3 * 3600);
    const auto draft = model->eventDraft();
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->start, local(2026, 3, 13, 22, 0));
    EXPECT_EQ(draft->end, local(2026, 3, 14, 1, 0));
}

TEST_F(ImageReview, ADayWithoutAnHourIsAnAllDayEventOfThatWholeDayWhateverItsLength) {
    // Berlin: 29 March has 23 hours, 25 October 25; the candidate's "start" without
    // an hour is the day itself, which must not become a midnight start.
    for (const auto& [day, hours] : {std::pair{local(2026, 3, 13), 24}, std::pair{local(2026, 3, 29), 23},
                                     std::pair{local(2026, 10, 25), 25}}) {
        auto model = review(extractionWith({candidate(1, day)}));
        EXPECT_FALSE(model->time());
        EXPECT_EQ(model->remindAt(), (TimeOfDay{9, 0}));
        const auto draft = model->eventDraft();
        ASSERT_TRUE(draft);
        EXPECT_TRUE(draft->isAllDay);
        EXPECT_EQ(draft->start, day);
        EXPECT_EQ(draft->end - draft->start, hours * 3600 - 1) << hours;
    }
}

TEST_F(ImageReview, ATimeOfDayKeepsItsHourOnADayWithAClockChange) {
    // Today (29 March) skips 02:00-03:00; 02:30 put on another day stays 02:30.
    env.clock.set(local(2026, 3, 29, 12, 0));
    auto model = review(extractionWith({candidate(1, std::nullopt, 2, 30)}));
    EXPECT_EQ(model->time(), (TimeOfDay{2, 30}));
    model->pickDay(local(2026, 4, 2, 15, 45));
    EXPECT_EQ(model->start(), local(2026, 4, 2, 2, 30));
    // On the day itself the skipped time moves to the next that exists.
    model->pickDay(local(2026, 3, 29));
    EXPECT_EQ(model->start(), local(2026, 3, 29, 3, 0));
}

TEST_F(ImageReview, BlankTitlesAndPlacesFallBackButNotesStayAsTyped) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 10)}));
    model->setLocation(u"  \t "_s);
    model->setNotes(u" "_s);
    for (const QString& blank : {u"   "_s, u"\n\n"_s, u"\u2028 \u00A0"_s}) {
        model->setTitle(blank);
        EXPECT_EQ(model->eventDraft()->title, u"New event"_s);
        EXPECT_EQ(model->reminderDraft()->title, u"New reminder"_s);
    }
    model->setTitle(u"  Dentist\t"_s);
    EXPECT_EQ(model->eventDraft()->title, u"Dentist"_s);
    EXPECT_EQ(model->eventDraft()->location, std::nullopt);
    EXPECT_EQ(model->eventDraft()->notes, u" "_s);
    // A timed event is never shorter than five minutes.
    model->chooseDuration(60);
    EXPECT_EQ(model->eventDraft()->end - model->eventDraft()->start, 300);
}

TEST_F(ImageReview, ANewEventGoesToTheSettingsCalendarOnlyWhileItCanBeWrittenTo) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 10)}));
    EXPECT_EQ(model->defaultCalendarID(), work) << "no default anywhere: the first writable";
    env.ek.setDefaultCalendarForNewEvents(home);
    env.store.reload();
    EXPECT_EQ(model->defaultCalendarID(), home);
    env.settings.setDefaultCalendarID(work);
    EXPECT_EQ(model->defaultCalendarID(), work);
    EXPECT_EQ(model->eventDraft()->calendarID, work);
    env.ek.setCalendarAllowsModifications(work, false);
    env.store.reload();
    EXPECT_EQ(model->defaultCalendarID(), home);
    env.ek.setCalendarAllowsModifications(home, false);
    env.store.reload();
    EXPECT_EQ(model->defaultCalendarID(), std::nullopt);
    model->chooseCalendar(home);
    EXPECT_EQ(model->eventDraft()->calendarID, home) << "a calendar chosen by hand is kept";
}

// --- Choosing dates -------------------------------------------------------------------------------------

TEST_F(ImageReview, TheFoundTagsJudgeTheCandidateThatWasApplied) {
    const DateCandidate first = candidate(1, local(2026, 3, 13), 14, 30, 16, 0);
    const DateCandidate dayOnly = candidate(2, local(2026, 3, 20));
    const DateCandidate evening = candidate(3, local(2026, 3, 21), 19);
    ImageExtraction extraction = extractionWith({first, dayOnly, evening});
    auto model = review(extraction);

    model->chooseTime(TimeOfDay{8, 0});
    model->chooseDuration(600);
    model->pick(dayOnly);
    EXPECT_EQ(model->selectedID(), 2);
    EXPECT_TRUE(model->dateFound());
    EXPECT_FALSE(model->time());
    EXPECT_FALSE(model->timeFound()) << "the applied day has no hour";
    EXPECT_EQ(model->duration(), 600) << "a day without an hour keeps the length";
    EXPECT_FALSE(model->durationFound());

    model->pick(evening);
    EXPECT_EQ(model->time(), (TimeOfDay{19, 0}));
    EXPECT_EQ(model->remindAt(), (TimeOfDay{19, 0}));
    EXPECT_EQ(model->duration(), 3600);
    EXPECT_TRUE(model->timeFound());

    // A day by hand: no candidate applies to the date, the time is still the image's.
    model->pickDay(local(2026, 3, 25, 15, 45));
    EXPECT_EQ(model->day(), local(2026, 3, 25));
    EXPECT_FALSE(model->selectedID());
    EXPECT_FALSE(model->dateFound());
    EXPECT_TRUE(model->timeFound());
    EXPECT_EQ(model->start(), local(2026, 3, 25, 19, 0));

    model->pick(first);
    EXPECT_TRUE(model->dateFound() && model->timeFound() && model->durationFound());
    EXPECT_EQ(model->duration(), 5400);
}

// --- Adding -----------------------------------------------------------------------------------------

TEST_F(ImageReview, AnAddedEventIsSavedOnceAndTheMainScreenShowsItsDay) {
    auto model = review(extractionWith({candidate(1, local(2026, 4, 14), 14, 30, 16, 0)}));
    model->add();
    const auto saved = env.ek.committedEvents();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].title, u"Team offsite"_s);
    EXPECT_EQ(saved[0].startDate, local(2026, 4, 14, 14, 30));
    EXPECT_EQ(saved[0].calendar->calendarIdentifier, work);
    EXPECT_EQ(env.appState.route(), PopoverRoute::main());
    EXPECT_EQ(env.appState.selectedDate(), local(2026, 4, 14));
    EXPECT_EQ(env.appState.displayedMonth(), local(2026, 4, 14, 14, 30));
}

TEST_F(ImageReview, WithoutADayAddAndMoreDetailsOpenTheDaysCardAndSaveNothing) {
    auto model = review(extractionWith({}));
    model->add();
    EXPECT_EQ(model->openCard(), Card::date);
    model->setOpenCard(std::nullopt);
    model->moreDetails();
    EXPECT_EQ(model->openCard(), Card::date);
    model->chooseKind(Kind::reminder);
    EXPECT_FALSE(model->openCard()) << "choosing the kind closes the card";
    model->add();
    EXPECT_EQ(model->openCard(), Card::due);
    EXPECT_TRUE(env.ek.committedEvents().empty());
    EXPECT_TRUE(env.ek.committedReminders().empty());
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());
}

TEST_F(ImageReview, AFailedSaveSaysWhyAndKeepsEverything) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 10)}));
    model->setTitle(u"Dentist"_s);
    env.ek.failNext(platform::FakeEventStore::Operation::SaveEvent,
                    platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    model->add();
    ASSERT_TRUE(model->errorText());
    EXPECT_EQ(*model->errorText(), u"The disk is full."_s);
    EXPECT_EQ(model->title(), u"Dentist"_s);
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());
    model->add();
    EXPECT_FALSE(model->errorText()) << "a later add clears it";
    EXPECT_EQ(env.ek.committedEvents().size(), 1u);
}

TEST_F(ImageReview, MoreDetailsHandsTheEventToTheEditorAndOpensAReminderNotes) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30, 16, 0)}));
    model->setLocation(u"Room 4"_s);
    model->moreDetails();
    ASSERT_TRUE(env.appState.pendingDraft());
    EXPECT_EQ(*env.appState.pendingDraft(), *model->eventDraft());
    EXPECT_EQ(env.appState.route(), PopoverRoute::eventCreate(local(2026, 3, 13, 14, 30)));
    EXPECT_TRUE(env.ek.committedEvents().empty());

    env.appState.setRoute(PopoverRoute::imageImport());
    model->chooseKind(Kind::reminder);
    model->moreDetails();
    model->moreDetails();
    EXPECT_TRUE(model->showText());
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());
}

// --- Reminders and their access -------------------------------------------------------------------------

TEST_F(ImageReview, AReminderIsDueOnItsDayAndAlertsAtItsHourThere) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 29), 2, 30)}, Kind::reminder));
    model->choosePriority(1);
    model->add();
    const auto saved = env.ek.committedReminders();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].calendar->calendarIdentifier, errands);
    EXPECT_EQ(saved[0].priority, 1);
    ASSERT_EQ(saved[0].alarms.size(), 1u);
    // 02:30 does not exist on 29 March: the alert moves to 03:00 of that day.
    EXPECT_EQ(saved[0].alarms[0].absoluteDate, local(2026, 3, 29, 3, 0));
    EXPECT_EQ(env.appState.route(), PopoverRoute::main());
    EXPECT_FALSE(model->isBusy());
}

TEST_F(ImageReview, RemindersAccessIsAskedFirstAndADeclineIsSaid) {
    env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::NotDetermined);
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13))}, Kind::reminder));
    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::Denied, false);
    model->add();
    EXPECT_TRUE(model->isBusy());
    EXPECT_FALSE(model->canAdd());
    model->add();  // ignored while the answer is awaited
    QCoreApplication::processEvents();
    EXPECT_EQ(model->errorText(), ImageReviewModel::remindersAccessMessage());
    EXPECT_FALSE(model->isBusy());
    EXPECT_TRUE(env.ek.committedReminders().empty());
    EXPECT_EQ(env.ek.callCount(platform::FakeEventStore::Operation::RequestAccess), 1);

    env.ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::NotDetermined);
    env.store.reload();
    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::FullAccess, true);
    model->add();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.ek.committedReminders().size(), 1u);
    EXPECT_EQ(env.appState.route(), PopoverRoute::main());
}

TEST_F(ImageReview, AnAccessAnswerAfterTheReviewIsGoneStillSavesOrSaysWhyNotAndMovesNoScreen) {
    env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::NotDetermined);
    const ImageExtraction reminder = extractionWith({candidate(1, local(2026, 3, 13))}, Kind::reminder);
    const auto askAgain = [this] {
        env.ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::NotDetermined);
        env.store.reload();
    };

    // The screen was closed while the question was open.
    auto closed = review(reminder);
    closed->add();
    closed.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.ek.committedReminders().size(), 1u) << "Add was pressed: the reminder is saved";
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport());

    // A newer image replaced the result while its review still stood.
    askAgain();
    auto replaced = review(reminder);
    replaced->add();
    showResult();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.ek.committedReminders().size(), 2u);
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport()) << "the newer review stays";

    // Refused once the screen is gone: the reason is kept where the store's failures are.
    askAgain();
    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::Denied, false);
    auto refused = review(reminder);
    refused->add();
    refused.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.ek.committedReminders().size(), 2u);
    EXPECT_EQ(env.store.lastError(), ImageReviewModel::remindersAccessMessage());
}

// --- The screen's keys and texts ------------------------------------------------------------------------

TEST_F(ImageReview, EscapeClosesAnOpenCardFirstAndIsGivenBackWhenTheScreenGoes) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 10)}));
    model->appear();
    EXPECT_FALSE(env.appState.offerEscape());
    model->setOpenCard(Card::time);
    EXPECT_TRUE(env.appState.offerEscape());
    EXPECT_FALSE(model->openCard());
    model.reset();
    EXPECT_FALSE(env.appState.hasEscapeHandler());
}

TEST_F(ImageReview, TheTextsFollowTheChosenKind) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 10)}));
    EXPECT_EQ(model->titlePlaceholder(), u"Event title"_s);
    EXPECT_EQ(model->addTitle(), u"Add event"_s);
    EXPECT_EQ(model->statusLine(), model->extraction().summary());
    model->chooseKind(Kind::reminder);
    EXPECT_EQ(model->titlePlaceholder(), u"Reminder title"_s);
    EXPECT_EQ(model->addTitle(), u"Add reminder"_s);
    EXPECT_EQ(model->moreDetailsAccessibleName(), u"More details, edit the notes"_s);
    EXPECT_EQ(model->statusLine(), u"Switched to a reminder"_s);
    EXPECT_EQ(model->recognisedTextPreview(), u"Team offsite · Fri 13 Mar · 14:30"_s);
}

// --- The reminder's chips -------------------------------------------------------------------------------

TEST_F(ImageReview, PrioritiesAreShownAndStoredOnTheStoresScale) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13))}, Kind::reminder));
    const ReminderChoices chips(*model, env.store);
    std::vector<std::pair<QString, int>> menu;
    for (const auto& choice : chips.priorityChoices())
        menu.emplace_back(choice.title, choice.value);
    EXPECT_EQ(menu, (std::vector<std::pair<QString, int>>{{u"None"_s, 0}, {u"Low"_s, 9}, {u"Medium"_s, 5},
                                                         {u"High"_s, 1}}));
    for (const auto& [title, value] : menu) {
        model->choosePriority(value);
        EXPECT_EQ(chips.priorityValue(), title);
        EXPECT_EQ(model->reminderDraft()->priority, value);
        const auto checked = chips.priorityChoices();
        EXPECT_EQ(std::count_if(checked.begin(), checked.end(), [](const auto& c) { return c.checked; }), 1);
    }
    // A value the menu has no row for (another app's 3) reads None, and nothing is checked.
    model->choosePriority(3);
    EXPECT_EQ(chips.priorityValue(), u"None"_s);
    for (const auto& choice : chips.priorityChoices())
        EXPECT_FALSE(choice.checked) << choice.title.toStdString();
}

TEST_F(ImageReview, TheListChipShowsTheChosenListElseTheDefaultAndChecksIt) {
    const QString groceries =
        env.ek.addCalendar(EntityType::Reminder, u"Groceries"_s, core::Color::rgb(0x30, 0xA0, 0x50))
            .calendarIdentifier;
    const QString shared = env.ek.addCalendar(EntityType::Reminder, u"Shared"_s).calendarIdentifier;
    env.ek.setCalendarAllowsModifications(shared, false);
    env.store.reload();
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13))}, Kind::reminder));
    const ReminderChoices chips(*model, env.store);

    EXPECT_EQ(chips.listFace().title, u"Errands"_s);
    auto choices = chips.listChoices();
    ASSERT_EQ(choices.size(), 2u) << "a list that takes no changes is not offered";
    EXPECT_EQ(choices[0].id, errands);
    EXPECT_TRUE(choices[0].checked);
    EXPECT_FALSE(choices[1].checked);

    model->chooseList(groceries);
    EXPECT_EQ(chips.listFace(), (ReminderChoices::ListFace{u"Groceries"_s, core::Color::rgb(0x30, 0xA0, 0x50)}));
    choices = chips.listChoices();
    EXPECT_FALSE(choices[0].checked);
    EXPECT_TRUE(choices[1].checked);
    EXPECT_EQ(model->reminderDraft()->listID, groceries);

    // The chosen list went away: the chip falls back, the choice is kept until another is made.
    env.ek.removeCalendar(groceries);
    env.store.reload();
    EXPECT_EQ(chips.listFace(), (ReminderChoices::ListFace{u"Reminders"_s, design::Theme::sky()}));
    EXPECT_EQ(model->listID(), groceries);
    model->chooseList(std::nullopt);
    env.ek.setDefaultCalendarForNewReminders(std::nullopt);
    env.store.reload();
    EXPECT_EQ(chips.listFace().title, u"Reminders"_s);
    for (const auto& choice : chips.listChoices())
        EXPECT_FALSE(choice.checked) << "no list chosen and no default";
}

TEST_F(ImageReview, AskingForTheListsWithoutAccessSaysWhereToTurnItOnWhenRefused) {
    env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::NotDetermined);
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13))}, Kind::reminder));
    const ReminderChoices chips(*model, env.store);
    EXPECT_TRUE(chips.listChoices().empty());
    EXPECT_EQ(chips.listFace().title, u"Reminders"_s);

    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::Denied, false);
    model->askForRemindersAccess();
    QCoreApplication::processEvents();
    ASSERT_TRUE(model->errorText());
    EXPECT_TRUE(model->errorText()->contains(app::words::privacyRemindersPath()));
    // Asked again, refused again at once: the line stays.
    model->askForRemindersAccess();
    QCoreApplication::processEvents();
    EXPECT_EQ(model->errorText(), ImageReviewModel::remindersAccessMessage());
    EXPECT_EQ(env.ek.callCount(platform::FakeEventStore::Operation::RequestAccess), 2);

    // Turned on: the line goes and the lists are offered.
    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::FullAccess, true);
    model->askForRemindersAccess();
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->errorText());
    ASSERT_EQ(chips.listChoices().size(), 1u);
    EXPECT_TRUE(chips.listChoices()[0].checked);

    // An answer that comes after the review is gone touches nothing.
    model->askForRemindersAccess();
    model.reset();
    QCoreApplication::processEvents();
}

TEST_F(ImageReview, TheRemindTagJudgesTheSelectedCandidate) {
    const DateCandidate dayOnly = candidate(1, local(2026, 3, 13));
    const DateCandidate evening = candidate(2, local(2026, 3, 14), 19, 15);
    auto model = review(extractionWith({dayOnly, evening}, Kind::reminder));
    const ReminderChoices chips(*model, env.store);
    EXPECT_EQ(chips.remindValue(), u"9:00\u202FAM"_s);
    EXPECT_EQ(chips.remindTag(), ValueTag::defaulted);
    EXPECT_EQ(chips.dueTag(), ValueTag::found);

    model->pick(evening);
    EXPECT_EQ(chips.remindValue(), u"7:15\u202FPM"_s);
    EXPECT_EQ(chips.remindTag(), ValueTag::found);
    model->chooseRemindAt(TimeOfDay{13, 0});
    EXPECT_EQ(chips.remindTag(), std::nullopt) << "set by hand";
    model->pick(dayOnly);
    EXPECT_EQ(chips.remindTag(), ValueTag::defaulted) << "the chosen day has no hour";
    model->pick(evening);
    EXPECT_EQ(chips.remindTag(), ValueTag::found);

    // A day by hand keeps the image's hour, and says so; the day itself is the user's.
    model->pickDay(local(2026, 3, 20));
    EXPECT_EQ(chips.remindTag(), ValueTag::found);
    EXPECT_EQ(chips.dueTag(), std::nullopt);
    EXPECT_EQ(chips.dueValue(), u"Fri, Mar 20"_s);

    auto undated = review(extractionWith({}, Kind::reminder));
    const ReminderChoices none(*undated, env.store);
    EXPECT_EQ(none.dueValue(), u"Pick a day"_s);
    EXPECT_EQ(none.dueTag(), std::nullopt);
    EXPECT_EQ(none.remindTag(), ValueTag::defaulted);
}

TEST_F(ImageReview, TheReasonLineQuotesTheDeadlineWordsOnlyWhenTheImageProposedAReminder) {
    const auto reasonFor = [&](Kind kind, std::optional<QString> trigger) {
        ImageExtraction extraction = extractionWith({candidate(1, local(2026, 3, 13))}, kind);
        extraction.reminderTrigger = std::move(trigger);
        auto model = review(extraction);
        model->chooseKind(Kind::reminder);
        return ReminderChoices(*model, env.store).reasonLine();
    };
    EXPECT_EQ(reasonFor(Kind::reminder, u"due by"_s),
              u"Picked Reminder because it says \u201CDue by\u201D. Switch to Event any time."_s);
    EXPECT_EQ(reasonFor(Kind::reminder, u"Pay before"_s),
              u"Picked Reminder because it says \u201CPay before\u201D. Switch to Event any time."_s);
    EXPECT_EQ(reasonFor(Kind::reminder, u"3 days left"_s)->mid(32, 13), u"\u201C3 days left\u201D"_s);
    // One letter outside the basic plane, upper-cased whole.
    EXPECT_EQ(reasonFor(Kind::reminder, u"\U00010428x"_s)->mid(32, 5), u"\u201C\U00010400x\u201D"_s);
    EXPECT_EQ(reasonFor(Kind::reminder, u""_s)->mid(32, 2), u"\u201C\u201D"_s);
    EXPECT_EQ(reasonFor(Kind::reminder, std::nullopt), std::nullopt);
    EXPECT_EQ(reasonFor(Kind::event, u"due by"_s), std::nullopt) << "the user made it a reminder";
}

TEST_F(ImageReview, SwitchingTheKindBackAndForthKeepsTheFieldsOfEach) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30, 16, 0)}));
    model->chooseTime(TimeOfDay{10, 0});
    model->chooseDuration(1800);
    model->chooseCalendar(home);
    model->setLocation(u"Room 4"_s);
    const auto event = model->eventDraft();

    model->chooseKind(Kind::reminder);
    model->chooseList(errands);
    model->choosePriority(5);
    model->chooseRemindAt(TimeOfDay{8, 45});
    const auto reminder = model->reminderDraft();
    model->chooseKind(Kind::event);
    EXPECT_EQ(model->eventDraft(), event);
    model->chooseKind(Kind::reminder);
    EXPECT_EQ(model->reminderDraft(), reminder);
    EXPECT_EQ(reminder->remindAt, local(2026, 3, 13, 8, 45));
}

}  // namespace
