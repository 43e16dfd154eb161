#include "StoreTestSupport.h"
#include "TestEnvironment.h"
#include "core/Clock.h"
#include "editor/EditorDrafts.h"
#include "editor/EditorSpan.h"
#include "editor/EditorTexts.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using model::EventDraft;
using storetest::local;

namespace {

EventDraft timed(core::Date start, core::Date end) {
    return EventDraft(QString(), start, end);
}

// --- Start, end and all-day ---------------------------------------------------------------------

TEST(EditorSpan, AllDayOnCoversTheDaysTheSpanTouches) {
    const core::Calendar calendar;
    const auto wholeDays = [&](core::Date start, core::Date end) {
        EventDraft draft = timed(start, end);
        editor::span::setAllDay(draft, true, calendar);
        EXPECT_TRUE(draft.isAllDay);
        return std::pair{draft.start, draft.end};
    };
    const auto expected = [](int firstDay, int lastDay) {
        return std::pair{local(2026, 3, firstDay), local(2026, 3, lastDay, 23, 59) + 59};
    };
    EXPECT_EQ(wholeDays(local(2026, 3, 10, 10, 30), local(2026, 3, 10, 11, 15)), expected(10, 10));
    // An end at midnight belongs to the day before.
    EXPECT_EQ(wholeDays(local(2026, 3, 10, 22), local(2026, 3, 11)), expected(10, 10));
    EXPECT_EQ(wholeDays(local(2026, 3, 10, 22), local(2026, 3, 12, 2)), expected(10, 12));
    EXPECT_EQ(wholeDays(local(2026, 3, 10, 22), local(2026, 3, 9, 8)), expected(10, 10));
}

TEST(EditorSpan, AZeroLengthAllDayEventKeepsToItsOneDay) {
    const core::Calendar calendar;
    const EventDraft zero(QString(), local(2026, 3, 10), local(2026, 3, 10), true);
    EXPECT_EQ(editor::span::shownEnd(zero), zero.start);
    EXPECT_EQ(editor::span::shownEnd(EventDraft(QString(), local(2026, 3, 10), local(2026, 3, 12), true)),
              local(2026, 3, 12) - 1);
    EXPECT_FALSE(editor::span::isMultiDay(zero, calendar));
    EXPECT_EQ(editor::span::timedIntervalForAllDay(zero.start, zero.end, calendar),
              (core::DateInterval{local(2026, 3, 10, 9), 3600}));
    EventDraft picked = zero;
    editor::span::setAllDayEnd(picked, local(2026, 3, 9, 12), calendar);
    EXPECT_EQ(picked.end, local(2026, 3, 11) - 1);
}

TEST(EditorSpan, AllDayOffGivesNineOnTheFirstDayToTenOnTheLast) {
    const core::Calendar calendar;
    EventDraft oneDay(QString(), local(2026, 3, 10), local(2026, 3, 10, 23, 59) + 59, true);
    editor::span::setAllDay(oneDay, false, calendar);
    EXPECT_EQ(oneDay, timed(local(2026, 3, 10, 9), local(2026, 3, 10, 10)));

    EventDraft threeDays(QString(), local(2026, 3, 10), local(2026, 3, 13), true);
    editor::span::setAllDay(threeDays, false, calendar);
    EXPECT_EQ(threeDays, timed(local(2026, 3, 10, 9), local(2026, 3, 12, 10)));

    // The state the draft already has changes nothing, not even the times.
    EventDraft unchanged = timed(local(2026, 3, 10, 10, 30), local(2026, 3, 10, 11));
    editor::span::setAllDay(unchanged, false, calendar);
    EXPECT_EQ(unchanged, timed(local(2026, 3, 10, 10, 30), local(2026, 3, 10, 11)));
}

TEST(EditorSpan, DaysEndAtTheEditingZonesMidnight) {
    const core::Calendar berlin;
    EXPECT_FALSE(editor::span::isMultiDay(timed(local(2026, 3, 10, 23), local(2026, 3, 11)), berlin));
    EXPECT_TRUE(editor::span::isMultiDay(timed(local(2026, 3, 10, 23), local(2026, 3, 11, 0, 1)), berlin));

    // 10:00 to 18:00 in Berlin crosses Tokyo's midnight (18:00 to 02:00 there).
    core::Calendar tokyo;
    tokyo.setTimeZone(*core::TimeZone::withIdentifier(u"Asia/Tokyo"_s));
    EventDraft draft = timed(local(2026, 3, 10, 10), local(2026, 3, 10, 18));
    EXPECT_TRUE(editor::span::isMultiDay(draft, tokyo));
    editor::span::setAllDay(draft, true, tokyo);
    EXPECT_EQ(draft.start, local(2026, 3, 9, 16));
    EXPECT_EQ(draft.end, local(2026, 3, 11, 16) - 1);
}

TEST(EditorSpan, AnEndAtOrBeforeTheStartOfOneDayMeansTheNextDay) {
    const core::Calendar calendar;
    EventDraft draft = timed(local(2026, 3, 10, 23), local(2026, 3, 10, 23, 30));
    editor::span::setEnd(draft, local(2026, 3, 10, 1), calendar);
    EXPECT_EQ(draft.end, local(2026, 3, 11, 1));

    EventDraft equal = timed(local(2026, 3, 10, 9), local(2026, 3, 10, 10));
    editor::span::setEnd(equal, local(2026, 3, 10, 9), calendar);
    EXPECT_EQ(equal.end, local(2026, 3, 11, 9));

    // A calendar day, not 24 hours: Berlin's 29 March 2026 has 23.
    EventDraft springForward = timed(local(2026, 3, 28, 22), local(2026, 3, 28, 23));
    editor::span::setEnd(springForward, local(2026, 3, 28, 3), calendar);
    EXPECT_EQ(springForward.end, local(2026, 3, 29, 3));

    // A multi-day draft is not rolled over: the end stops at the start.
    EventDraft multiDay = timed(local(2026, 3, 10, 22), local(2026, 3, 12, 2));
    editor::span::setEnd(multiDay, local(2026, 3, 10, 8), calendar);
    EXPECT_EQ(multiDay.end, multiDay.start);

    // Still before the start after a day is added.
    EventDraft stillBefore = timed(local(2026, 3, 10, 9), local(2026, 3, 10, 10));
    editor::span::setEnd(stillBefore, local(2026, 3, 8, 9), calendar);
    EXPECT_EQ(stillBefore.end, stillBefore.start);
}

TEST(EditorSpan, MovingDaysKeepsTheWallClockAcrossDaylightSaving) {
    const core::Calendar calendar;
    // Berlin moves its clocks forward on 29 March 2026.
    EventDraft draft = timed(local(2026, 3, 27, 9), local(2026, 3, 27, 10));
    editor::span::moveDay(draft, local(2026, 3, 30, 17, 45), calendar);
    EXPECT_EQ(draft, timed(local(2026, 3, 30, 9), local(2026, 3, 30, 10)));

    EventDraft overnight = timed(local(2026, 3, 30, 23), local(2026, 3, 31, 1));
    editor::span::moveDay(overnight, local(2026, 3, 27), calendar);
    EXPECT_EQ(overnight, timed(local(2026, 3, 27, 23), local(2026, 3, 28, 1)));

    // Any moment of the current day changes nothing.
    editor::span::moveDay(overnight, local(2026, 3, 27, 6), calendar);
    EXPECT_EQ(overnight, timed(local(2026, 3, 27, 23), local(2026, 3, 28, 1)));
}

TEST(EditorSpan, AMovedStartKeepsTheLengthInHoursAcrossDaylightSaving) {
    // 01:00 to 04:00 on 29 March 2026 in Berlin lasts two hours: the clocks skip from 02:00 to 03:00.
    EventDraft night = timed(local(2026, 3, 29, 1), local(2026, 3, 29, 4));
    editor::span::setStartKeepingDuration(night, local(2026, 3, 28, 1));
    EXPECT_EQ(night.end, local(2026, 3, 28, 3));

    EventDraft meeting = timed(local(2026, 3, 27, 9), local(2026, 3, 27, 9, 45));
    editor::span::setStartKeepingDuration(meeting, local(2026, 3, 30, 9));
    EXPECT_EQ(meeting.end, local(2026, 3, 30, 9, 45));
}

TEST(EditorSpan, PickedStartsAndEndsNeverLeaveTheEndBeforeTheStart) {
    const core::Calendar calendar;
    EventDraft backwards = timed(local(2026, 3, 10, 10), local(2026, 3, 10, 9));
    editor::span::setStartKeepingDuration(backwards, local(2026, 3, 10, 12));
    EXPECT_EQ(backwards.end, local(2026, 3, 10, 12));

    EventDraft allDay(QString(), local(2026, 3, 10), local(2026, 3, 11) - 1, true);
    editor::span::setAllDayEnd(allDay, local(2026, 3, 8, 15), calendar);
    EXPECT_EQ(allDay.end, local(2026, 3, 11) - 1);
    editor::span::setAllDayEnd(allDay, local(2026, 3, 12, 15), calendar);
    EXPECT_EQ(allDay.end, local(2026, 3, 13) - 1);
}

// --- New drafts and links -----------------------------------------------------------------------

TEST(EditorNewDraft, AMidnightBecomesTheNextHourTodayAndNineOnOtherDays) {
    core::ScopedTestClock clock(local(2026, 3, 10, 14, 20) + 12.5);
    EXPECT_EQ(editor::newDraft(local(2026, 3, 10)), timed(local(2026, 3, 10, 15), local(2026, 3, 10, 16)));
    EXPECT_EQ(editor::newDraft(local(2026, 3, 14)), timed(local(2026, 3, 14, 9), local(2026, 3, 14, 10)));
    EXPECT_EQ(editor::newDraft(local(2026, 3, 14, 14, 37)),
              timed(local(2026, 3, 14, 14, 37), local(2026, 3, 14, 15, 37)));
    clock.set(local(2026, 3, 10, 15));
    EXPECT_EQ(editor::newDraft(local(2026, 3, 10)).start, local(2026, 3, 10, 16));
}

TEST(EditorNewDraft, TheNextHourFollowsAHalfHourOffsetClock) {
    testsupport::ScopedTimeZone india("Asia/Kolkata");
    core::ScopedTestClock clock(local(2026, 3, 10, 14, 20));
    EXPECT_EQ(editor::newDraft(local(2026, 3, 10)).start, local(2026, 3, 10, 15));
}

TEST(EditorLink, OnlyTextWithoutASchemeGetsHttps) {
    const auto normalized = [](const QString& text) {
        const auto result = editor::link::normalize(text);
        return result.url ? result.url->toString() : u"invalid"_s;
    };
    EXPECT_EQ(normalized(u"  mailto:ana@example.com\n"_s), u"mailto:ana@example.com"_s);
    EXPECT_EQ(normalized(u"tel:+4930123"_s), u"tel:+4930123"_s);
    EXPECT_EQ(normalized(u"urn:isbn:0451450523"_s), u"urn:isbn:0451450523"_s);
    EXPECT_EQ(normalized(u"zoom.us/j/123"_s), u"https://zoom.us/j/123"_s);
    EXPECT_EQ(normalized(u"example.com:8080/x"_s), u"https://example.com:8080/x"_s);
    EXPECT_EQ(normalized(u"ftp://files.example.com"_s), u"ftp://files.example.com"_s);
    EXPECT_EQ(normalized(u"exa mple.com"_s), u"invalid"_s);
    EXPECT_TRUE(editor::link::normalize(u"exa mple.com"_s).invalid);
    EXPECT_FALSE(editor::link::normalize(u" \t"_s).url);
    EXPECT_FALSE(editor::link::normalize(u" \t"_s).invalid);
}

// --- Words ---------------------------------------------------------------------------------------

TEST(EditorTexts, AlertTitlesCountWholeMinutesHoursAndDays) {
    using editor::texts::alertTitle;
    EXPECT_EQ(alertTitle(std::nullopt, false), u"No alert"_s);
    EXPECT_EQ(alertTitle(0, false), u"At time of event"_s);
    EXPECT_EQ(alertTitle(0, true), u"On the day"_s);
    EXPECT_EQ(alertTitle(-300, false), u"5 minutes before"_s);
    EXPECT_EQ(alertTitle(-3600, false), u"1 hour before"_s);
    EXPECT_EQ(alertTitle(-86400, true), u"1 day before"_s);
    EXPECT_EQ(alertTitle(-5400, false), u"90 minutes before"_s);
    EXPECT_EQ(alertTitle(-172800, false), u"2 days before"_s);
    EXPECT_EQ(alertTitle(-90000, false), u"25 hours before"_s);
    EXPECT_EQ(alertTitle(-1230, false), u"20 minutes before"_s);
    // Offsets the menu never offers, as calendar files may hold them.
    EXPECT_EQ(alertTitle(-60, false), u"1 minute before"_s);
    EXPECT_EQ(alertTitle(-30, false), u"Less than a minute before"_s);
    EXPECT_EQ(alertTitle(7200, false), u"2 hours after"_s);
    EXPECT_EQ(editor::texts::alertLabel({-900, -3600, 0}, false), u"15 minutes before +2"_s);
}

TEST(EditorTexts, RepeatingEventQuestion) {
    using editor::texts::recurringPromptSentence;
    EXPECT_EQ(recurringPromptSentence(u"Save"_s, u"Standup"_s, model::RecurrenceOption::weekdays),
              u"“Standup” repeats every weekday. Which ones should get the changes?"_s);
    EXPECT_EQ(recurringPromptSentence(u"DELETE"_s, QString(), model::RecurrenceOption::weekly),
              u"This event repeats every week. Which ones should be deleted?"_s);
    EXPECT_EQ(recurringPromptSentence(u"Save"_s, QString(), model::RecurrenceOption::none),
              u"This event repeats. Which ones should get the changes?"_s);
    EXPECT_EQ(editor::texts::recurringPromptTitle(u"Delete"_s), u"Delete a repeating event"_s);
}

TEST(EditorTexts, PlaceNameIsTheZonesLastPart) {
    using editor::texts::placeName;
    EXPECT_EQ(placeName(u"America/Argentina/Buenos_Aires"_s), u"Buenos Aires"_s);
    EXPECT_EQ(placeName(u"America/New_York/"_s), u"New York"_s);
    EXPECT_EQ(placeName(u"UTC"_s), u"UTC"_s);
    EXPECT_EQ(placeName(u"//"_s), u"//"_s);
}

}  // namespace
