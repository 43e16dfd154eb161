#pragma once

#include "core/Color.h"
#include "core/Date.h"
#include "core/TimeZone.h"
#include "model/MeetingLink.h"
#include "model/ODAttendee.h"
#include "model/RecurrenceOption.h"
#include "platform/eventstore/PlatformTypes.h"

#include <QHashFunctions>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace model {

// One occurrence of a calendar event, as the screens see it.
struct ODEvent {
    // The event identifier, "|", and the occurrence date in whole seconds since 1970:
    // unique per occurrence of a repeating event.
    QString id;
    // Shared by every occurrence of a series.
    QString eventIdentifier;
    QString title;
    core::Date start;
    core::Date end;
    bool isAllDay = false;
    std::optional<QString> location;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    QString calendarID;
    QString calendarTitle;
    core::Color color;
    bool isRecurring = false;
    bool isDetached = false;
    bool canEdit = false;
    std::vector<double> alarmOffsets;
    std::vector<ODAttendee> attendees;
    std::optional<ODAttendee> organizer;
    std::optional<MeetingLink> meeting;
    std::optional<core::TimeZone> timeZone;
    RecurrenceOption recurrence = RecurrenceOption::none;

    static ODEvent fromPlatform(const platform::PlatformEvent& event);
    // The same, taking the meeting link over from `earlier` (an earlier reading of the
    // occurrence, may be null) when it was found in the same texts: searching for it
    // costs most of a reading.
    static ODEvent fromPlatform(const platform::PlatformEvent& event, const ODEvent* earlier);
    // The eventIdentifier and id fromPlatform() gives, without building the rest
    // (the meeting-link search among it).
    static QString identifierOf(const platform::PlatformEvent& event);
    static QString idOf(const platform::PlatformEvent& event);
    // identifier + "|" + the date's seconds since 1970, the fraction dropped.
    static QString makeID(const QString& identifier, core::Date date);
    // An id taken apart again. It is split at its last "|", so an identifier that
    // itself holds a "|" survives; empty pieces are dropped, as when the id was split
    // at its first "|".
    struct ParsedID {
        QString identifier;
        // The part after the "|" read as a decimal number of seconds since 1970; nullopt
        // without such a part or when it reads as no number. It may be too large for any
        // date (even infinite): callers treat that as no occurrence at all.
        std::optional<double> seconds;
        bool operator==(const ParsedID&) const = default;
    };
    static ParsedID parseID(const QString& id);

    // The people of the event with the organizer first and listed once: an attendee
    // with the organizer's id (exact, case-sensitive) gives way to the organizer
    // value. Other duplicates among the attendees are kept.
    std::vector<ODAttendee> allPeople() const;

    // The first attendee marked as the user has declined; later entries marked so
    // do not count. Such events take no highlight, overlap or "next" place.
    bool isDeclined() const;
    // The location when it names a place a map can search for: nullopt without a
    // location and for web or meeting addresses ("://" anywhere, or a leading
    // "www." in any case). Returned untrimmed; an empty location stays empty.
    std::optional<QString> mapLocation() const;

    bool operator==(const ODEvent&) const = default;
};

size_t qHash(const ODEvent& event, size_t hashSeed = 0) noexcept;

}  // namespace model
