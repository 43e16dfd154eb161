#include "core/Calendar.h"
#include "design/values/Theme.h"
#include "model/ODAttendee.h"
#include "model/ODReminder.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace {

using model::ODAttendee;
using model::ODReminder;
using model::ParticipantStatus;

core::Date berlin(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *core::Calendar::current().date(core::DateComponents{year, month, day, hour, minute, second});
}

core::DateComponents dateOnly(int year, int month, int day) {
    core::DateComponents components;
    components.year = year;
    components.month = month;
    components.day = day;
    return components;
}

TEST(ReminderConversion, BuildsTheDueDateFromItsComponents) {
    platform::PlatformReminder source;
    source.calendarItemIdentifier = QStringLiteral("R1");
    source.dueDateComponents = dateOnly(2024, 3, 9);
    source.priority = 5;
    source.calendar = platform::PlatformCalendar{
        QStringLiteral("l"), QStringLiteral("Errands"), std::nullopt, std::nullopt, true, false};
    const ODReminder reminder = ODReminder::fromPlatform(source);
    EXPECT_EQ(reminder.id, QStringLiteral("R1"));
    EXPECT_EQ(reminder.title, QStringLiteral("Untitled"));
    EXPECT_EQ(reminder.due, berlin(2024, 3, 9));
    EXPECT_FALSE(reminder.hasDueTime);
    EXPECT_EQ(reminder.listTitle, QStringLiteral("Errands"));
    EXPECT_EQ(reminder.color, design::Theme::sky());
    EXPECT_EQ(reminder.priority, 5);

    source.dueDateComponents->hour = 9;
    source.dueDateComponents->minute = 30;
    const ODReminder timed = ODReminder::fromPlatform(source);
    EXPECT_TRUE(timed.hasDueTime);
    EXPECT_EQ(timed.due, berlin(2024, 3, 9, 9, 30));

    source.dueDateComponents.reset();
    source.calendar.reset();
    const ODReminder undated = ODReminder::fromPlatform(source);
    EXPECT_FALSE(undated.due.has_value());
    EXPECT_FALSE(undated.hasDueTime);
    EXPECT_TRUE(undated.listTitle.isEmpty());
}

TEST(ReminderOverdue, DateOnlyRemindersLastTheirWholeDay) {
    const core::Date now = berlin(2024, 3, 9, 15, 0);
    ODReminder dateOnlyDue;
    dateOnlyDue.due = berlin(2024, 3, 9);
    EXPECT_FALSE(dateOnlyDue.isOverdue(now));
    dateOnlyDue.due = berlin(2024, 3, 8);
    EXPECT_TRUE(dateOnlyDue.isOverdue(now));

    ODReminder timed;
    timed.hasDueTime = true;
    timed.due = now - 1;
    EXPECT_TRUE(timed.isOverdue(now));
    timed.due = now;
    EXPECT_FALSE(timed.isOverdue(now));

    ODReminder never;
    never.hasDueTime = true;
    EXPECT_FALSE(never.isOverdue(now));
}

TEST(AttendeeConversion, EmailNeedsTheExactLowerCasePrefix) {
    EXPECT_EQ(ODAttendee::emailFromURLString(QStringLiteral("mailto:ana@example.org")),
              QStringLiteral("ana@example.org"));
    EXPECT_FALSE(ODAttendee::emailFromURLString(QStringLiteral("MAILTO:ana@example.org")).has_value());
    EXPECT_FALSE(ODAttendee::emailFromURLString(QStringLiteral("https://example.org")).has_value());

    // Upper-case calendar data keeps its address, because the store parses it with QUrl.
    platform::PlatformParticipant shouting{
        std::nullopt, QUrl(QStringLiteral("MAILTO:Ana@Example.org"), QUrl::TolerantMode), 1, false};
    const ODAttendee attendee = ODAttendee::fromPlatform(shouting, false);
    EXPECT_EQ(attendee.email, QStringLiteral("Ana@Example.org"));
    EXPECT_EQ(attendee.name, QStringLiteral("Ana@Example.org"));
    EXPECT_EQ(attendee.status, ParticipantStatus::pending);

    platform::PlatformParticipant nobody{std::nullopt, QUrl(QStringLiteral("urn:uuid:1234")), 0, false};
    const ODAttendee unknown = ODAttendee::fromPlatform(nobody, true);
    EXPECT_EQ(unknown.name, QStringLiteral("Unknown"));
    EXPECT_FALSE(unknown.email.has_value());
    EXPECT_TRUE(unknown.isOrganizer);
    EXPECT_EQ(unknown.id(), QStringLiteral("Unknown"));

    // An empty name is still the participant's name.
    platform::PlatformParticipant blank{QString(), QUrl(QStringLiteral("mailto:x@y.z")), 9, false};
    const ODAttendee blankNamed = ODAttendee::fromPlatform(blank, false);
    EXPECT_TRUE(blankNamed.name.isEmpty());
    EXPECT_EQ(blankNamed.id(), QStringLiteral("x@y.z"));
    EXPECT_EQ(blankNamed.status, ParticipantStatus::unknown);
}

TEST(AttendeeInitials, TakeWholeGraphemesOfTheFirstTwoWords) {
    auto initials = [](const QString& name) {
        ODAttendee attendee;
        attendee.name = name;
        return attendee.initials();
    };
    EXPECT_EQ(initials(QStringLiteral("ada byron lovelace")), QStringLiteral("AB"));
    EXPECT_EQ(initials(QStringLiteral("  grace   hopper ")), QStringLiteral("GH"));
    EXPECT_EQ(initials(QStringLiteral("linus")), QStringLiteral("L"));
    EXPECT_EQ(initials(QStringLiteral("   ")), QString());
    EXPECT_EQ(initials(QString()), QString());
    EXPECT_EQ(initials(QStringLiteral("bo@example.org")), QStringLiteral("B"));
    // A combining accent and a flag of two code points each stay whole.
    EXPECT_EQ(initials(QStringLiteral("e\u0301mile zola")), QStringLiteral("E\u0301Z"));
    EXPECT_EQ(initials(QStringLiteral("\U0001F1E9\U0001F1EA team")), QStringLiteral("\U0001F1E9\U0001F1EAT"));
    // Only the space character separates words.
    EXPECT_EQ(initials(QStringLiteral("ann\tlee")), QStringLiteral("A"));
}

TEST(ParticipantStatuses, FollowThePlatformNumbersAndTheirNames) {
    EXPECT_EQ(model::participantStatusFromNumber(0), ParticipantStatus::unknown);
    EXPECT_EQ(model::participantStatusFromNumber(7), ParticipantStatus::inProcess);
    EXPECT_EQ(model::participantStatusFromNumber(8), ParticipantStatus::unknown);
    EXPECT_EQ(model::participantStatusFromNumber(-3), ParticipantStatus::unknown);
    EXPECT_EQ(model::rawValue(ParticipantStatus::inProcess), QStringLiteral("inProcess"));
    EXPECT_EQ(model::participantStatusFromRawValue(QStringLiteral("tentative")), ParticipantStatus::tentative);
    EXPECT_FALSE(model::participantStatusFromRawValue(QStringLiteral("Accepted")).has_value());
}

}  // namespace
