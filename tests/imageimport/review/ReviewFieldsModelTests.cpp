// What the event's chips, cards, quick days and pills show and do, on the
// review's model alone.

#include "imageimport/review/ReviewFaces.h"

#include "ReviewTestSupport.h"

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using reviewtest::candidate;
using reviewtest::extractionWith;
using reviewtest::ImageReview;
using storetest::local;
using Card = ImageReviewModel::Card;

namespace {

const ChipFace kNoTagAllDay{u"All day"_s, std::nullopt};

TEST_F(ImageReview, TheChipsTellWhatTheImageGaveWhatWasFilledInAndWhatIsMissing) {
    auto undated = review(extractionWith({}));
    EXPECT_EQ(eventDateFace(*undated), (ChipFace{u"Pick a day"_s, std::nullopt, true}));
    EXPECT_EQ(eventTimeFace(*undated).value, u"\u2014"_s);
    EXPECT_EQ(eventDurationFace(*undated), kNoTagAllDay);
    undated->pickDay(local(2026, 3, 13, 17, 45));
    EXPECT_EQ(eventDateFace(*undated), (ChipFace{u"Fri, Mar 13"_s, std::nullopt, false})) << "chosen, not found";
    EXPECT_EQ(eventTimeFace(*undated), kNoTagAllDay);
    EXPECT_EQ(eventDurationFace(*undated), kNoTagAllDay);

    auto timed = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30, 16, 0)}));
    EXPECT_EQ(eventDateFace(*timed), (ChipFace{u"Fri, Mar 13"_s, ValueTag::found}));
    EXPECT_EQ(eventTimeFace(*timed), (ChipFace{u"2:30\u202FPM"_s, ValueTag::found}));
    EXPECT_EQ(eventDurationFace(*timed), (ChipFace{u"1h 30m"_s, ValueTag::found}));

    auto openEnded = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30)}));
    EXPECT_EQ(eventDurationFace(*openEnded), (ChipFace{u"1h"_s, ValueTag::defaulted}));
    openEnded->chooseLength(45);
    EXPECT_EQ(eventDurationFace(*openEnded), (ChipFace{u"45m"_s, std::nullopt}));
}

TEST_F(ImageReview, ApplyingAnotherCandidateMovesTheChipsAndATypedDayDropsTheDateTag) {
    ImageExtraction extraction = extractionWith(
        {candidate(1, local(2026, 3, 13), 14, 30, 16, 0), candidate(2, std::nullopt, 18), candidate(3, local(2026, 3, 20))});
    auto model = review(extraction);
    model->pick(extraction.dates[2]);
    EXPECT_EQ(model->selectedID(), 3);
    EXPECT_EQ(eventDateFace(*model), (ChipFace{u"Fri, Mar 20"_s, ValueTag::found}));
    EXPECT_EQ(eventTimeFace(*model), kNoTagAllDay);

    model->pick(extraction.dates[0]);
    EXPECT_EQ(eventTimeFace(*model), (ChipFace{u"2:30\u202FPM"_s, ValueTag::found}));
    model->pickDay(local(2026, 3, 14));
    EXPECT_FALSE(model->selectedID());
    EXPECT_EQ(eventDateFace(*model).tag, std::nullopt);
    EXPECT_EQ(eventTimeFace(*model).tag, ValueTag::found) << "the time is still the candidate's";
}

TEST_F(ImageReview, OneCardIsOpenAtATimeAndALateDismissalLeavesTheNewerOneOpen) {
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30)}));
    model->toggleCard(Card::date);
    EXPECT_EQ(model->openCard(), Card::date);
    model->toggleCard(Card::time);
    EXPECT_EQ(model->openCard(), Card::time);
    model->cardDismissed(Card::date);
    EXPECT_EQ(model->openCard(), Card::time);
    model->toggleCard(Card::time);
    EXPECT_EQ(model->openCard(), std::nullopt);

    model->toggleCard(Card::date);
    model->chooseDayInCard(local(2026, 3, 17, 11, 0));
    EXPECT_EQ(model->openCard(), std::nullopt) << "a day ends the card";
    EXPECT_EQ(model->day(), local(2026, 3, 17));
    EXPECT_EQ(model->time(), (TimeOfDay{14, 30})) << "the time stays";
}

TEST_F(ImageReview, TheTimeCardAndTheLengthListKeepAnEventTimedOrAllDayAsTheUserMeans) {
    auto allDay = review(extractionWith({candidate(1, local(2026, 3, 13))}));
    allDay->toggleCard(Card::time);
    allDay->setAllDay(false);
    EXPECT_EQ(allDay->time(), ImageReviewModel::kDefaultStart);
    EXPECT_TRUE(allDay->timeEdited());
    EXPECT_EQ(allDay->openCard(), Card::time) << "the switch leaves the card open";
    allDay->setAllDay(true);
    EXPECT_FALSE(allDay->time());
    allDay->chooseQuickTime({13, 0});
    EXPECT_EQ(allDay->time(), (TimeOfDay{13, 0}));
    EXPECT_EQ(allDay->openCard(), std::nullopt);

    // A length on an all-day event gives it a start at nine.
    auto lengthened = review(extractionWith({candidate(1, local(2026, 3, 13))}));
    lengthened->toggleCard(Card::duration);
    lengthened->chooseLength(45);
    EXPECT_EQ(lengthened->duration(), 2700);
    EXPECT_EQ(lengthened->time(), ImageReviewModel::kDefaultStart);
    EXPECT_TRUE(lengthened->timeEdited() && lengthened->durationEdited());
    EXPECT_EQ(lengthened->openCard(), std::nullopt);
    ASSERT_TRUE(lengthened->eventDraft());
    EXPECT_EQ(lengthened->eventDraft()->start, local(2026, 3, 13, 9, 0));

    auto timed = review(extractionWith({candidate(1, local(2026, 3, 13), 14, 30)}));
    timed->chooseLength(90);
    EXPECT_EQ(timed->time(), (TimeOfDay{14, 30}));
    EXPECT_FALSE(timed->timeEdited());
    EXPECT_EQ(timed->lengthMinutes(), 90);
    timed->chooseDuration(100);
    EXPECT_EQ(timed->lengthMinutes(), 1) << "whole minutes, so no row of the list is marked";
    timed->chooseDuration(std::numeric_limits<double>::infinity());
    EXPECT_EQ(timed->lengthMinutes(), std::nullopt);
}

TEST_F(ImageReview, TheQuickDaysAreTodayTomorrowAndTheFirstSaturdayAfterTomorrow) {
    const core::Calendar calendar;
    const auto days = [&](core::Date now) {
        std::vector<std::pair<QString, core::Date>> shown;
        for (const QuickDay& day : quickDays(calendar, now))
            shown.emplace_back(day.title, day.day);
        return shown;
    };
    using Shown = std::vector<std::pair<QString, core::Date>>;
    EXPECT_EQ(days(local(2026, 3, 12, 23, 59)), (Shown{{u"Today"_s, local(2026, 3, 12)},
                                                        {u"Tomorrow"_s, local(2026, 3, 13)},
                                                        {u"Sat, Mar 14"_s, local(2026, 3, 14)}}));
    // Friday: tomorrow is a Saturday, so the pill offers the one after.
    EXPECT_EQ(days(local(2026, 3, 13, 8, 0))[2], std::pair(u"Sat, Mar 21"_s, local(2026, 3, 21)));
    EXPECT_EQ(days(local(2026, 3, 14, 8, 0))[2], std::pair(u"Sat, Mar 21"_s, local(2026, 3, 21)));
    // Over the change to summer time, each day at its own start.
    EXPECT_EQ(days(local(2026, 3, 27, 12, 0))[2], std::pair(u"Sat, Apr 4"_s, local(2026, 4, 4)));
}

TEST_F(ImageReview, APillReadsItsDayAndTimeAndALabelledTimeOnTheMainDayNeedsNoDay) {
    DateCandidate doors = candidate(2, local(2026, 3, 14), 19, 0);
    doors.label = u"Doors"_s;
    DateCandidate departure = candidate(4, local(2026, 3, 15), 7, 5);
    departure.label = u"Departs"_s;
    const ImageExtraction extraction = extractionWith(
        {candidate(1, local(2026, 3, 14), 20, 0), doors, candidate(3, std::nullopt, 18), departure,
         candidate(5, local(2026, 3, 21))});
    const core::Calendar calendar;
    QStringList labels;
    for (const DateCandidate& dated : datedCandidates(extraction))
        labels << pillLabel(extraction, dated, calendar);
    EXPECT_EQ(labels, (QStringList{u"Sat, Mar 14 · 8:00\u202FPM"_s, u"Doors 7:00\u202FPM"_s, u"Departs Sun, Mar 15 · 7:05\u202FAM"_s,
                                   u"Sat, Mar 21"_s}));
    EXPECT_EQ(pillLabel(extractionWith({}), doors, calendar), u"Doors Sat, Mar 14 · 7:00\u202FPM"_s);
}

TEST_F(ImageReview, TheCalendarChipShowsTheCalendarTheEventGoesToAndItsMenuOnlyWritableOnes) {
    env.ek.setDefaultCalendarForNewEvents(work);
    env.store.reload();
    auto model = review(extractionWith({candidate(1, local(2026, 3, 13))}));
    EXPECT_EQ(calendarFace(*model).value, u"Office"_s);
    EXPECT_TRUE(calendarFace(*model).dot);
    std::vector<CalendarChoice> choices = calendarChoices(*model);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_TRUE(choices[0].checked);
    EXPECT_FALSE(choices[1].checked);

    model->chooseCalendar(home);
    EXPECT_EQ(calendarFace(*model).value, u"Personal"_s);
    EXPECT_TRUE(calendarChoices(*model)[1].checked);
    EXPECT_EQ(model->eventDraft()->calendarID, home);

    // Gone from the store: "Default" and nothing checked.
    model->chooseCalendar(u"gone"_s);
    EXPECT_EQ(calendarFace(*model), (CalendarFace{u"Default"_s, std::nullopt}));
    for (const CalendarChoice& choice : calendarChoices(*model))
        EXPECT_FALSE(choice.checked);

    // Read-only: shown, but not offered.
    env.ek.setCalendarAllowsModifications(home, false);
    env.store.reload();
    model->chooseCalendar(home);
    EXPECT_EQ(calendarFace(*model).value, u"Personal"_s);
    choices = calendarChoices(*model);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_FALSE(choices[0].checked);
}

}  // namespace
