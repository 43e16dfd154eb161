#include "PopoverTestSupport.h"
#include "popover/EventRowContent.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using popover::EventRowContent;
using popover::EventRowInput;
using popovertest::local;
using Trailing = popover::EventRowContent::Trailing;

namespace {

// Built when used: the zone is pinned only once the test binary runs.
core::Date noon() {
    return local(2026, 3, 10, 12);
}

model::ODEvent meeting(const QString& title, core::Date start, core::Date end) {
    model::ODEvent e = popovertest::event(title, start, end);
    e.meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(u"https://zoom.us/j/123"_s)};
    return e;
}

EventRowContent row(model::ODEvent event, core::Date now, bool highlighted, std::optional<QString> overlaps = {},
                    bool overlapped = false) {
    return EventRowContent(EventRowInput{std::move(event), now, highlighted, std::move(overlaps), overlapped});
}

TEST(EventRowContentTest, TheHighlightedEventCountsDownThenRunsWithProgress) {
    const core::Calendar calendar;
    const auto standup = meeting(u"Standup"_s, local(2026, 3, 10, 12, 30), local(2026, 3, 10, 13));

    // 90 seconds away is 2 minutes: a started minute counts whole.
    const auto soon = row(standup, standup.start - 90, true);
    EXPECT_FALSE(soon.isInProgress());
    EXPECT_EQ(soon.stickerText(), u"in 2m"_s);
    EXPECT_EQ(soon.trailing(), Trailing::highlighted);
    EXPECT_TRUE(soon.accessibilityText(calendar).contains(u", starts in 2m, "_s));

    // A highlight far off still counts down, in hours.
    EXPECT_EQ(row(standup, standup.start - 3 * 3600 - 60, true).stickerText(), u"in 3h 1m"_s);

    // Under way: the time line says how long is left, and there is no sticker.
    const auto running = row(standup, local(2026, 3, 10, 12, 35), true);
    EXPECT_TRUE(running.isInProgress());
    EXPECT_EQ(running.timeText(calendar), u"Now \u00B7 ends in 25m"_s);
    EXPECT_EQ(running.stickerText(), std::nullopt);
    EXPECT_NEAR(running.progress(), 5.0 / 30.0, 1e-9);
    EXPECT_EQ(running.accessibilityText(calendar),
              u"Standup, 12:30\u202FPM \u2013 1:00\u202FPM, in progress, ends in 25m, Zoom meeting"_s);

    // The same times on a row that is not highlighted are never "in progress".
    const auto plain = row(standup, local(2026, 3, 10, 12, 35), false);
    EXPECT_FALSE(plain.isInProgress());
    EXPECT_EQ(plain.timeText(calendar), u"12:30\u202FPM \u2013 1:00\u202FPM"_s);
    EXPECT_FALSE(plain.accessibilityText(calendar).contains(u"progress"_s));
}

TEST(EventRowContentTest, ProgressStaysWithinTheBarForAnyTimes) {
    // Shorter than a second: measured over one second.
    auto blink = popovertest::event(u"Blink"_s, noon(), noon() + 0.25);
    EXPECT_NEAR(row(blink, noon() + 0.2, true).progress(), 0.2, 1e-6);
    // Start and end swapped by a broken file: never negative, never past the end.
    auto backwards = popovertest::event(u"Backwards"_s, noon(), noon() - 600);
    EXPECT_EQ(row(backwards, noon() - 300, true).progress(), 0.0);
    EXPECT_EQ(row(backwards, noon() + 300, true).progress(), 1.0);
    // Minutes far beyond any clock still fit the count.
    EXPECT_EQ(EventRowContent::minutesUntil(core::Date(1e300), noon()), std::numeric_limits<int>::max());
    EXPECT_EQ(EventRowContent::minutesUntil(core::Date(-1e300), noon()), std::numeric_limits<int>::min());
}

TEST(EventRowContentTest, ADeclinedEventShowsItsPillInsteadOfAnyControl) {
    const core::Calendar calendar;
    auto skipped = popovertest::declined(meeting(u"Review"_s, local(2026, 3, 10, 14), local(2026, 3, 10, 15)));
    skipped.calendarTitle = u"Work"_s;
    const auto declined = row(skipped, noon(), false, u"Planning"_s, true);
    EXPECT_TRUE(declined.isDeclined());
    EXPECT_EQ(declined.trailing(), Trailing::declined);
    EXPECT_EQ(declined.overlapTag(), std::nullopt);
    // No meeting is offered, but the clash is still said.
    EXPECT_EQ(declined.accessibilityText(calendar),
              u"Review, 2:00\u202FPM \u2013 3:00\u202FPM, Work, declined, overlaps Planning"_s);
}

TEST(EventRowContentTest, TheTrailingEndMovesFromJoinToTheOverlapDotOnceTheMeetingIsOver) {
    const auto call = meeting(u"Call"_s, local(2026, 3, 10, 11), local(2026, 3, 10, 12, 30));
    EXPECT_EQ(row(call, noon(), false, std::nullopt, true).trailing(), Trailing::join) << "a live link wins over the dot";
    EXPECT_EQ(row(call, call.end, false, std::nullopt, true).trailing(), Trailing::overlapDot);
    EXPECT_EQ(row(call, call.end, false).trailing(), Trailing::none);

    const auto tagged = row(popovertest::event(u"Lunch"_s, noon(), noon() + 3600), noon(), false, u"Call"_s);
    EXPECT_EQ(tagged.overlapTag(), u"Overlaps Call"_s);
    EXPECT_EQ(tagged.trailing(), Trailing::none);
}

TEST(EventRowContentTest, TheSpokenLabelNamesThePlaceButNotAWebAddress) {
    const core::Calendar calendar;
    auto visit = popovertest::event(u"Dentist"_s, local(2026, 3, 10, 15), local(2026, 3, 10, 16));
    visit.location = u"Smile Clinic, 2nd floor"_s;
    const auto atClinic = row(visit, noon(), false);
    EXPECT_EQ(atClinic.location(), u"Smile Clinic, 2nd floor"_s);
    EXPECT_EQ(atClinic.accessibilityText(calendar),
              u"Dentist, 3:00\u202FPM \u2013 4:00\u202FPM, Smile Clinic, 2nd floor"_s);
    visit.location = u"https://meet.example/room"_s;
    EXPECT_EQ(row(visit, noon(), false).location(), std::nullopt);
    EXPECT_EQ(row(visit, noon(), false).accessibilityText(calendar), u"Dentist, 3:00\u202FPM \u2013 4:00\u202FPM"_s);
}

}  // namespace
