#pragma once

#include "core/Calendar.h"
#include "core/Color.h"
#include "core/Date.h"
#include "core/TimeZone.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>
#include <vector>

// Plain snapshots of what the calendar database holds. A store hands out copies;
// changing a copy changes nothing until it is given back to EventStore::saveEvent
// or saveReminder.
namespace platform {

// What a calendar holds, and what access is asked for.
enum class EntityType { Event = 0, Reminder = 1 };

// The database's own numbering; callers map unknown numbers themselves.
enum class AuthorizationStatus { NotDetermined = 0, Restricted = 1, Denied = 2, FullAccess = 3, WriteOnly = 4 };

// Whether a change of a repeating event applies to one occurrence or to it and all that follow.
enum class Span { ThisEvent = 0, FutureEvents = 1 };

// Free/busy state of an event.
enum class Availability { NotSupported = -1, Busy = 0, Free = 1, Tentative = 2, Unavailable = 3 };

// The raw participant reply numbers: 0 unknown, 1 pending, 2 accepted, 3 declined,
// 4 tentative, 5 delegated, 6 completed, 7 in process.
using ParticipantStatusNumber = int;

struct PlatformCalendar {
    QString calendarIdentifier;
    QString title;
    std::optional<core::Color> color;    // nullopt: the calendar has no colour of its own
    std::optional<QString> sourceTitle;  // the account; nullopt: no source
    bool allowsContentModifications = true;
    bool isSubscribed = false;

    bool operator==(const PlatformCalendar&) const = default;
};

struct PlatformParticipant {
    std::optional<QString> name;
    // Parsed with QUrl in TolerantMode, which lower-cases the scheme: data written
    // as "MAILTO:..." arrives as "mailto:...".
    QUrl url;
    ParticipantStatusNumber participantStatus = 0;
    bool isCurrentUser = false;

    bool operator==(const PlatformParticipant&) const = default;
};

struct PlatformAlarm {
    // Seconds relative to the start (negative = before). 0 for an alarm at an absolute date.
    double relativeOffset = 0;
    std::optional<core::Date> absoluteDate;

    bool operator==(const PlatformAlarm&) const = default;
};

struct PlatformRecurrenceDayOfWeek {
    int dayOfWeek = 1;   // 1 = Sunday ... 7 = Saturday
    int weekNumber = 0;  // 0: every such weekday; +n / -n: the n-th (from the end)

    bool operator==(const PlatformRecurrenceDayOfWeek&) const = default;
};

struct PlatformRecurrenceEnd {
    std::optional<core::Date> endDate;  // inclusive
    int occurrenceCount = 0;            // used when endDate is nullopt

    bool operator==(const PlatformRecurrenceEnd&) const = default;
};

struct PlatformRecurrenceRule {
    enum class Frequency { Daily = 0, Weekly = 1, Monthly = 2, Yearly = 3 };

    Frequency frequency = Frequency::Daily;
    int interval = 1;
    int firstDayOfTheWeek = 0;  // 0: not set
    // nullopt means "not given", which differs from an empty list.
    std::optional<std::vector<PlatformRecurrenceDayOfWeek>> daysOfTheWeek;
    std::optional<std::vector<int>> daysOfTheMonth;
    std::optional<std::vector<int>> monthsOfTheYear;
    std::optional<std::vector<int>> weeksOfTheYear;
    std::optional<std::vector<int>> daysOfTheYear;
    std::optional<std::vector<int>> setPositions;
    std::optional<PlatformRecurrenceEnd> end;  // nullopt: repeats forever

    bool operator==(const PlatformRecurrenceRule&) const = default;
};

struct PlatformStructuredLocation {
    QString title;
    std::optional<double> latitude;
    std::optional<double> longitude;
    double radius = 0;

    bool operator==(const PlatformStructuredLocation&) const = default;
};

// One occurrence of an event (a single event is its own only occurrence).
struct PlatformEvent {
    // Shared by every occurrence of a series. Empty until the event is first saved.
    QString eventIdentifier;
    QString calendarItemIdentifier;
    std::optional<QString> calendarItemExternalIdentifier;  // the UID in the file
    std::optional<PlatformCalendar> calendar;
    std::optional<QString> title;
    std::optional<core::Date> startDate;
    std::optional<core::Date> endDate;
    // The original start of this occurrence in its series; it identifies the
    // occurrence when the event is given back to be saved or removed, even after
    // startDate was changed. nullopt for an unsaved event.
    std::optional<core::Date> occurrenceDate;
    bool isAllDay = false;
    std::optional<QString> location;
    std::optional<PlatformStructuredLocation> structuredLocation;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    std::optional<core::TimeZone> timeZone;  // nullopt: floating
    Availability availability = Availability::Busy;
    std::vector<PlatformAlarm> alarms;
    // Every occurrence of a series carries the series' rules, a detached one too; its copies share them.
    QList<PlatformRecurrenceRule> recurrenceRules;
    bool isDetached = false;  // an occurrence changed apart from its series
    std::optional<PlatformParticipant> organizer;
    std::vector<PlatformParticipant> attendees;
    // Opaque to callers: the store's note of the version it read, so that a save
    // can tell that the item changed underneath. Copy it through unchanged.
    QString revision;

    bool hasRecurrenceRules() const { return !recurrenceRules.empty(); }
    bool operator==(const PlatformEvent&) const = default;
};

struct PlatformReminder {
    // Empty until the reminder is first saved.
    QString calendarItemIdentifier;
    std::optional<QString> calendarItemExternalIdentifier;
    std::optional<PlatformCalendar> calendar;
    std::optional<QString> title;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    int priority = 0;  // 0 none, 1 high ... 9 low
    // A due date without an hour is a date-only due date.
    std::optional<core::DateComponents> dueDateComponents;
    bool isCompleted = false;
    std::optional<core::Date> completionDate;
    std::vector<PlatformAlarm> alarms;
    QString revision;  // as PlatformEvent::revision

    bool operator==(const PlatformReminder&) const = default;
};

using PlatformCalendarItem = std::variant<PlatformEvent, PlatformReminder>;

// An item exactly as the store keeps it, to put it back after a change: under its identifiers, where it was kept,
// with every property it had, those that no type here carries too. Opaque to callers.
struct StoredItem {
    QString eventIdentifier;
    QString place;       // for a store of files, the file's path
    QByteArray content;  // what is stored there
    QString revision;    // the version copied

    bool operator==(const StoredItem&) const = default;
};

}  // namespace platform
