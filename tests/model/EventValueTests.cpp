#include "core/Clock.h"
#include "design/values/Theme.h"
#include "model/AccessStatus.h"
#include "model/CalendarStoreError.h"
#include "model/EditSpan.h"
#include "model/ODCalendar.h"
#include "model/ODEvent.h"

#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using model::ODEvent;
using platform::PlatformEvent;

PlatformEvent sampleEvent() {
    PlatformEvent event;
    event.eventIdentifier = QStringLiteral("EV1");
    event.calendarItemIdentifier = QStringLiteral("ITEM1");
    event.title = QStringLiteral("Standup");
    event.startDate = core::Date(1'700'000'000);
    event.endDate = core::Date(1'700'001'800);
    event.occurrenceDate = event.startDate;
    event.calendar = platform::PlatformCalendar{QStringLiteral("cal-1"),
                                                QStringLiteral("Work"),
                                                core::Color::rgb(10, 20, 30),
                                                QStringLiteral("Office"),
                                                true,
                                                false};
    return event;
}

TEST(EventIds, OccurrencesOfOneSeriesShareTheIdentifierButNotTheId) {
    PlatformEvent first = sampleEvent();
    first.recurrenceRules.push_back(platform::PlatformRecurrenceRule{});
    PlatformEvent second = first;
    second.occurrenceDate = core::Date(1'700'086'400);
    second.startDate = second.occurrenceDate;

    const ODEvent a = ODEvent::fromPlatform(first);
    const ODEvent b = ODEvent::fromPlatform(second);
    EXPECT_EQ(a.eventIdentifier, b.eventIdentifier);
    EXPECT_NE(a.id, b.id);
    EXPECT_EQ(a.id, QStringLiteral("EV1|1700000000"));
    EXPECT_EQ(b.id, QStringLiteral("EV1|1700086400"));
    EXPECT_TRUE(a.isRecurring);
}

TEST(EventIds, FollowTheOccurrenceDateNotTheDisplayedStart) {
    PlatformEvent moved = sampleEvent();
    moved.startDate = core::Date(1'700'003'600);  // a detached occurrence moved an hour later
    moved.isDetached = true;
    const ODEvent event = ODEvent::fromPlatform(moved);
    EXPECT_EQ(event.id, QStringLiteral("EV1|1700000000"));
    EXPECT_EQ(event.start, core::Date(1'700'003'600));
    EXPECT_TRUE(event.isDetached);
}

TEST(EventIds, TruncateTowardZeroAndSurviveDatesNoCalendarHolds) {
    EXPECT_EQ(ODEvent::makeID(QStringLiteral("ABC"), core::Date(90.75)), QStringLiteral("ABC|90"));
    EXPECT_EQ(ODEvent::makeID(QStringLiteral("ABC"), core::Date(-0.5)), QStringLiteral("ABC|0"));
    EXPECT_EQ(ODEvent::makeID(QStringLiteral("ABC"), core::Date(-90.9)), QStringLiteral("ABC|-90"));
    EXPECT_EQ(ODEvent::makeID(QStringLiteral("A"), core::Date(1e300)), QStringLiteral("A|9223372036854775807"));
    EXPECT_EQ(ODEvent::makeID(QStringLiteral("A"), core::Date(std::nan(""))), QStringLiteral("A|0"));
}

TEST(EventIds, AreSplitAtTheLastBar) {
    using Parsed = ODEvent::ParsedID;
    const QString withBar = QStringLiteral("team|sync@example.org");
    EXPECT_EQ(ODEvent::parseID(ODEvent::makeID(withBar, core::Date(1'700'000'000.9))),
              (Parsed{withBar, 1'700'000'000.0}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("plain")), (Parsed{QStringLiteral("plain"), std::nullopt}));
    // A part after the bar that is no number leaves only the identifier to look up.
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a|b|soon")), (Parsed{QStringLiteral("a|b"), std::nullopt}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a| 12")), (Parsed{QStringLiteral("a"), std::nullopt}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a|nan")), (Parsed{QStringLiteral("a"), std::nullopt}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a|-12")), (Parsed{QStringLiteral("a"), -12.0}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a|1.5e3")), (Parsed{QStringLiteral("a"), 1500.0}));
    // Empty pieces are dropped.
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("a|")), (Parsed{QStringLiteral("a"), std::nullopt}));
    EXPECT_EQ(ODEvent::parseID(QStringLiteral("|123")), (Parsed{QStringLiteral("123"), std::nullopt}));
    // A number beyond any date stays a number, so that callers can refuse it.
    const auto huge = ODEvent::parseID(QStringLiteral("a|1e400")).seconds;
    ASSERT_TRUE(huge.has_value());
    EXPECT_TRUE(std::isinf(*huge));
}

TEST(EventConversion, FallsBackWhereThePlatformGivesNothing) {
    core::ScopedTestClock clock(core::Date(1'650'000'000.4));
    PlatformEvent bare;
    bare.calendarItemIdentifier = QStringLiteral("ITEM9");
    const ODEvent event = ODEvent::fromPlatform(bare);
    EXPECT_EQ(event.eventIdentifier, QStringLiteral("ITEM9"));
    EXPECT_EQ(event.id, QStringLiteral("ITEM9|1650000000"));
    EXPECT_EQ(event.title, QStringLiteral("Untitled"));
    EXPECT_EQ(event.start, core::Date(1'650'000'000.4));
    EXPECT_EQ(event.end, event.start);
    EXPECT_TRUE(event.calendarID.isEmpty());
    EXPECT_TRUE(event.calendarTitle.isEmpty());
    EXPECT_EQ(event.color, design::Theme::sky());
    EXPECT_FALSE(event.canEdit);
    EXPECT_TRUE(event.attendees.empty());
    EXPECT_FALSE(event.organizer.has_value());
    EXPECT_EQ(event.recurrence, model::RecurrenceOption::none);

    PlatformEvent noEnd = sampleEvent();
    noEnd.endDate.reset();
    EXPECT_EQ(ODEvent::fromPlatform(noEnd).end, *noEnd.startDate);

    PlatformEvent colourless = sampleEvent();
    colourless.calendar->color.reset();
    EXPECT_EQ(ODEvent::fromPlatform(colourless).color, design::Theme::sky());
}

TEST(EventConversion, TitlesAndTextsAreKeptVerbatimUnlessEmpty) {
    PlatformEvent event = sampleEvent();
    event.title = QString();
    EXPECT_EQ(ODEvent::fromPlatform(event).title, QStringLiteral("Untitled"));
    event.title = QStringLiteral(" ");
    EXPECT_EQ(ODEvent::fromPlatform(event).title, QStringLiteral(" "));

    event.location = QString();
    event.notes = QStringLiteral("Join https://meet.google.com/abc-defg-hij");
    const ODEvent converted = ODEvent::fromPlatform(event);
    EXPECT_FALSE(converted.location.has_value());
    ASSERT_TRUE(converted.meeting.has_value());
    EXPECT_EQ(converted.meeting->provider, model::MeetingProvider::googleMeet);
    EXPECT_EQ(converted.notes, event.notes);
}

TEST(EventConversion, CopiesCalendarAlarmsPeopleAndRule) {
    PlatformEvent event = sampleEvent();
    event.alarms = {{-900, std::nullopt}, {0, core::Date(1'699'999'000)}};
    platform::PlatformParticipant organizer{QStringLiteral("Ana"), QUrl(QStringLiteral("mailto:ana@example.org")), 2,
                                            false};
    event.organizer = organizer;
    event.attendees = {organizer, {std::nullopt, QUrl(QStringLiteral("mailto:bo@example.org")), 3, true}};
    platform::PlatformRecurrenceRule biweekly;
    biweekly.frequency = platform::PlatformRecurrenceRule::Frequency::Weekly;
    biweekly.interval = 2;
    event.recurrenceRules = {biweekly, platform::PlatformRecurrenceRule{}};
    event.timeZone = core::TimeZone::withIdentifier(QStringLiteral("America/New_York"));

    const ODEvent converted = ODEvent::fromPlatform(event);
    EXPECT_EQ(converted.calendarID, QStringLiteral("cal-1"));
    EXPECT_EQ(converted.calendarTitle, QStringLiteral("Work"));
    EXPECT_EQ(converted.color, core::Color::rgb(10, 20, 30));
    EXPECT_TRUE(converted.canEdit);
    EXPECT_EQ(converted.alarmOffsets, (std::vector<double>{-900, 0}));
    ASSERT_TRUE(converted.organizer.has_value());
    EXPECT_TRUE(converted.organizer->isOrganizer);
    // The organizer stays in the attendee list, unmarked there.
    ASSERT_EQ(converted.attendees.size(), 2u);
    EXPECT_FALSE(converted.attendees[0].isOrganizer);
    EXPECT_EQ(converted.attendees[0].name, QStringLiteral("Ana"));
    EXPECT_EQ(converted.attendees[1].name, QStringLiteral("bo@example.org"));
    EXPECT_EQ(converted.attendees[1].status, model::ParticipantStatus::declined);
    EXPECT_TRUE(converted.attendees[1].isCurrentUser);
    EXPECT_EQ(converted.recurrence, model::RecurrenceOption::biweekly);
    EXPECT_EQ(converted.timeZone, event.timeZone);
}

TEST(EventValues, EqualityAndHashCoverEveryField) {
    const ODEvent base = ODEvent::fromPlatform(sampleEvent());
    QSet<ODEvent> set{base};
    EXPECT_TRUE(set.contains(ODEvent::fromPlatform(sampleEvent())));

    std::vector<ODEvent> variants(6, base);
    variants[0].color = core::Color::rgb(10, 20, 31);
    variants[1].alarmOffsets = {-60};
    variants[2].location = QString();  // present but empty differs from absent
    variants[3].timeZone = core::TimeZone::utc();
    variants[4].meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(QStringLiteral("https://zoom.us/j/1"))};
    variants[5].recurrence = model::RecurrenceOption::daily;
    for (const ODEvent& variant : variants) {
        EXPECT_NE(variant, base);
        EXPECT_NE(qHash(variant), qHash(base));
    }

    model::ODCalendar calendar{
        QStringLiteral("c"), QStringLiteral("Home"), design::Theme::sky(), QString(), true, false};
    model::ODCalendar subscribed = calendar;
    subscribed.isSubscribed = true;
    EXPECT_NE(calendar, subscribed);
    EXPECT_NE(qHash(calendar), qHash(subscribed));
}

TEST(StoreEnumerations, MapPlatformNumbersAndCarryTheirTexts) {
    using model::AccessStatus;
    EXPECT_EQ(model::accessStatusFromNumber(0), AccessStatus::notDetermined);
    EXPECT_EQ(model::accessStatusFromNumber(3), AccessStatus::fullAccess);
    EXPECT_EQ(model::accessStatusFromNumber(4), AccessStatus::writeOnly);
    EXPECT_EQ(model::accessStatusFromNumber(5), AccessStatus::denied);
    EXPECT_EQ(model::accessStatusFromNumber(-1), AccessStatus::denied);
    EXPECT_EQ(model::accessStatus(platform::AuthorizationStatus::Restricted), AccessStatus::restricted);

    EXPECT_EQ(model::toPlatformSpan(model::EditSpan::thisEvent), platform::Span::ThisEvent);
    EXPECT_EQ(model::toPlatformSpan(model::EditSpan::futureEvents), platform::Span::FutureEvents);

    using model::CalendarStoreError;
    EXPECT_EQ(CalendarStoreError::notAuthorized().errorDescription(),
              QStringLiteral("Orbitday doesn't have access to your calendars."));
    EXPECT_EQ(CalendarStoreError::notFound().errorDescription(), QStringLiteral("That event no longer exists."));
    EXPECT_EQ(CalendarStoreError::noWritableCalendar().errorDescription(),
              QStringLiteral("No calendar available that can be edited."));
    // Screens catch one base type for the store's errors and the platform's alike.
    try {
        throw CalendarStoreError::notFound();
    } catch (const platform::LocalizedError& error) {
        EXPECT_STREQ(error.what(), "That event no longer exists.");
    }
}


model::ODAttendee person(const QString& name, std::optional<QString> email = std::nullopt) {
    model::ODAttendee attendee;
    attendee.name = name;
    attendee.email = std::move(email);
    return attendee;
}

QStringList namesOf(const std::vector<model::ODAttendee>& people) {
    QStringList names;
    for (const model::ODAttendee& attendee : people) {
        names << attendee.name;
    }
    return names;
}

TEST(EventPeople, TheOrganizerComesFirstAndOnlyOnce) {
    ODEvent event;
    event.attendees = {person(QStringLiteral("Ana"), QStringLiteral("ana@x.org")),
                       person(QStringLiteral("Ben"), QStringLiteral("ben@x.org")),
                       person(QStringLiteral("Cleo (as attendee)"), QStringLiteral("cleo@x.org")),
                       person(QStringLiteral("Dev"))};
    EXPECT_EQ(namesOf(event.allPeople()), namesOf(event.attendees));  // no organizer: unchanged

    // The organizer's own value takes the front, not the attendee it matched.
    event.organizer = person(QStringLiteral("Cleo"), QStringLiteral("cleo@x.org"));
    EXPECT_EQ(namesOf(event.allPeople()),
              QStringList({QStringLiteral("Cleo"), QStringLiteral("Ana"), QStringLiteral("Ben"), QStringLiteral("Dev")}));

    // Not among the attendees: added in front.
    event.organizer = person(QStringLiteral("Eve"), QStringLiteral("eve@x.org"));
    EXPECT_EQ(namesOf(event.allPeople()).first(), u"Eve");
    EXPECT_EQ(event.allPeople().size(), 5u);

    // Already first: the list stands as it is.
    event.organizer = person(QStringLiteral("Ana the organizer"), QStringLiteral("ana@x.org"));
    EXPECT_EQ(namesOf(event.allPeople()), namesOf(event.attendees));

    // Only an organizer.
    ODEvent alone;
    alone.organizer = person(QStringLiteral("Solo"));
    EXPECT_EQ(namesOf(alone.allPeople()), QStringList{QStringLiteral("Solo")});
}

TEST(EventPeople, PeopleAreMatchedByEmailElseByNameExactly) {
    ODEvent event;
    event.attendees = {person(QStringLiteral("Ana"), QStringLiteral("Ana@X.org")), person(QStringLiteral("Ben")),
                       person(QStringLiteral("Cleo"), QStringLiteral("cleo@x.org")), person(QStringLiteral("Ben"))};
    // Without e-mails the names meet; other duplicates among the attendees stay.
    event.organizer = person(QStringLiteral("Ben"));
    EXPECT_EQ(namesOf(event.allPeople()), QStringList({QStringLiteral("Ben"), QStringLiteral("Ana"),
                                                       QStringLiteral("Cleo"), QStringLiteral("Ben")}));
    // An address differing only in letter case is someone else.
    event.organizer = person(QStringLiteral("Ana"), QStringLiteral("ana@x.org"));
    EXPECT_EQ(event.allPeople().size(), 5u);
    // An attendee with an address is known by it, even to an organizer who has none.
    event.organizer = person(QStringLiteral("cleo@x.org"));
    EXPECT_EQ(namesOf(event.allPeople()), QStringList({QStringLiteral("cleo@x.org"), QStringLiteral("Ana"),
                                                       QStringLiteral("Ben"), QStringLiteral("Ben")}));
    event.organizer = person(QStringLiteral("Cleo"));
    EXPECT_EQ(event.allPeople().size(), 5u);
}

TEST(EventDerived, OnlyTheFirstCurrentUserEntryDecidesWhetherTheEventIsDeclined) {
    auto attendee = [](bool isMe, model::ParticipantStatus status) {
        model::ODAttendee a;
        a.isCurrentUser = isMe;
        a.status = status;
        return a;
    };
    using model::ParticipantStatus;
    ODEvent event;
    EXPECT_FALSE(event.isDeclined());  // no attendees
    event.attendees = {attendee(false, ParticipantStatus::declined)};
    EXPECT_FALSE(event.isDeclined());  // someone else declined
    event.attendees.push_back(attendee(true, ParticipantStatus::declined));
    EXPECT_TRUE(event.isDeclined());
    event.attendees.insert(event.attendees.begin(), attendee(true, ParticipantStatus::accepted));
    EXPECT_FALSE(event.isDeclined());  // a later entry marked as the user is not looked at
}

TEST(EventDerived, MapLocationLeavesOutWebAndMeetingAddresses) {
    ODEvent event;
    EXPECT_EQ(event.mapLocation(), std::nullopt);
    for (const char* address : {"https://zoom.us/j/1", "Room 4 or zoommtg://zoom.us/join", "WWW.example.org",
                                "www.example.org/room"}) {
        event.location = QString::fromUtf8(address);
        EXPECT_EQ(event.mapLocation(), std::nullopt) << address;
    }
    // Places come back untouched, spaces included; an empty one stays empty, not absent.
    for (const char* place : {"  Room 4.12, 3rd floor ", "", "wwwroom", "http:/ not an address"}) {
        event.location = QString::fromUtf8(place);
        EXPECT_EQ(event.mapLocation(), QString::fromUtf8(place)) << place;
    }
}

}  // namespace
