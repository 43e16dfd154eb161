#include "model/ODEvent.h"

#include "model/ODCalendar.h"
#include "model/ValueHash.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace model {

namespace {

std::optional<QString> nonEmpty(const std::optional<QString>& text) {
    if (text && !text->isEmpty()) {
        return text;
    }
    return std::nullopt;
}

// Dropping the fraction of a date far outside any calendar must not be undefined
// behaviour: such dates are clamped, and a date that is no number counts as 0.
qint64 wholeSeconds(core::Date date) {
    const double seconds = std::trunc(date.secondsSince1970());
    if (std::isnan(seconds)) {
        return 0;
    }
    constexpr double lowest = static_cast<double>(std::numeric_limits<qint64>::min());
    constexpr double highest = 9.2233720368547748e18;  // the largest double below 2^63
    if (seconds <= lowest) {
        return std::numeric_limits<qint64>::min();
    }
    if (seconds >= highest) {
        return std::numeric_limits<qint64>::max();
    }
    return static_cast<qint64>(seconds);
}

// A plain decimal number: sign, digits, fraction, exponent; no spaces, no "inf" or "nan".
std::optional<double> decimalNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
        }
        return i - from;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    qsizetype mantissa = digits();
    if (i < n && text[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            ++i;
        }
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    // from_chars ignores the C locale's decimal point, which Qt sets from the environment.
    const QByteArray latin = text.toLatin1();
    const char* first = latin.constData();
    if (*first == '+') {
        ++first;  // from_chars takes no plus sign
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, latin.constData() + latin.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Still a number, only no usable date: an overflow becomes an infinity.
        const bool tiny = text.contains(u"e-", Qt::CaseInsensitive);
        return tiny ? 0.0 : (text.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

}  // namespace

QString ODEvent::makeID(const QString& identifier, core::Date date) {
    return identifier + u'|' + QString::number(wholeSeconds(date));
}

ODEvent::ParsedID ODEvent::parseID(const QString& id) {
    const qsizetype bar = id.lastIndexOf(u'|');
    if (bar < 0) {
        return ParsedID{id, std::nullopt};
    }
    const QString identifier = id.left(bar);
    const QString datePart = id.mid(bar + 1);
    if (identifier.isEmpty() || datePart.isEmpty()) {
        return ParsedID{identifier.isEmpty() ? datePart : identifier, std::nullopt};
    }
    return ParsedID{identifier, decimalNumber(datePart)};
}

namespace {
core::Date keyDateOf(const platform::PlatformEvent& source) {
    return source.occurrenceDate.value_or(source.startDate.value_or(core::Date::now()));
}
}  // namespace

QString ODEvent::identifierOf(const platform::PlatformEvent& source) {
    return source.eventIdentifier.isEmpty() ? source.calendarItemIdentifier : source.eventIdentifier;
}

QString ODEvent::idOf(const platform::PlatformEvent& source) {
    return makeID(identifierOf(source), keyDateOf(source));
}

ODEvent ODEvent::fromPlatform(const platform::PlatformEvent& source) {
    return fromPlatform(source, nullptr);
}

ODEvent ODEvent::fromPlatform(const platform::PlatformEvent& source, const ODEvent* earlier) {
    ODEvent event;
    event.eventIdentifier = identifierOf(source);
    const core::Date keyDate = keyDateOf(source);
    event.id = makeID(event.eventIdentifier, keyDate);
    event.title = source.title && !source.title->isEmpty() ? *source.title : QStringLiteral("Untitled");
    event.start = source.startDate.value_or(keyDate);
    event.end = source.endDate.value_or(event.start);
    event.isAllDay = source.isAllDay;
    event.location = nonEmpty(source.location);
    event.notes = nonEmpty(source.notes);
    event.url = source.url;
    if (source.calendar) {
        event.calendarID = source.calendar->calendarIdentifier;
        event.calendarTitle = source.calendar->title;
        event.color = source.calendar->color.value_or(kDefaultCalendarColor);
        event.canEdit = source.calendar->allowsContentModifications;
    } else {
        event.color = kDefaultCalendarColor;
        event.canEdit = false;
    }
    event.isRecurring = source.hasRecurrenceRules();
    event.isDetached = source.isDetached;
    for (const auto& alarm : source.alarms) {
        event.alarmOffsets.push_back(alarm.relativeOffset);
    }
    if (source.organizer) {
        event.organizer = ODAttendee::fromPlatform(*source.organizer, true);
    }
    for (const auto& participant : source.attendees) {
        event.attendees.push_back(ODAttendee::fromPlatform(participant, false));
    }
    // Searched in the raw fields, before empty texts were dropped above; an empty text holds no link, so texts
    // equal once empty ones are dropped hold the same.
    if (earlier && earlier->url == event.url && earlier->location == event.location && earlier->notes == event.notes)
        event.meeting = earlier->meeting;
    else
        event.meeting = MeetingLinkDetector::detect(source.url, source.location, source.notes);
    event.timeZone = source.timeZone;
    event.recurrence =
        recurrenceOptionFromRule(source.recurrenceRules.empty()
                                     ? std::nullopt
                                     : std::optional<platform::PlatformRecurrenceRule>(source.recurrenceRules.front()));
    return event;
}

std::vector<ODAttendee> ODEvent::allPeople() const {
    if (!organizer) {
        return attendees;
    }
    const QString key = organizer->id();
    const auto same = std::find_if(attendees.begin(), attendees.end(),
                                   [&key](const ODAttendee& attendee) { return attendee.id() == key; });
    if (same != attendees.end() && same == attendees.begin()) {
        return attendees;
    }
    std::vector<ODAttendee> people;
    people.reserve(attendees.size() + 1);
    people.push_back(*organizer);
    for (auto it = attendees.begin(); it != attendees.end(); ++it) {
        if (it != same) {
            people.push_back(*it);
        }
    }
    return people;
}

size_t qHash(const ODEvent& event, size_t hashSeed) noexcept {
    return ValueHasher(hashSeed)
        .add(event.id)
        .add(event.eventIdentifier)
        .add(event.title)
        .add(event.start)
        .add(event.end)
        .add(event.isAllDay)
        .add(event.location)
        .add(event.notes)
        .add(event.url)
        .add(event.calendarID)
        .add(event.calendarTitle)
        .add(event.color)
        .add(event.isRecurring)
        .add(event.isDetached)
        .add(event.canEdit)
        .add(event.alarmOffsets)
        .add(event.attendees)
        .add(event.organizer)
        .add(event.meeting)
        .add(event.timeZone)
        .add(event.recurrence)
        .result();
}

bool ODEvent::isDeclined() const {
    const auto me = std::find_if(attendees.begin(), attendees.end(),
                                 [](const ODAttendee& attendee) { return attendee.isCurrentUser; });
    return me != attendees.end() && me->status == ParticipantStatus::declined;
}

std::optional<QString> ODEvent::mapLocation() const {
    if (!location || location->contains(QLatin1String("://")) ||
        location->startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return location;
}

}  // namespace model
