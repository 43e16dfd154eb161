#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"
#include "platform/eventstore/vdir/IcsRuleWalk.h"
#include "platform/eventstore/vdir/WallTime.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform::vdir {

// A DATE or DATE-TIME value as the file gives it. Floating times and dates are read in the zone current at the
// time of reading, so they are kept unresolved; a TZID is resolved once, when the file is parsed.
struct IcsTime {
    enum class Anchor : quint8 { Floating, Utc, Zone };

    WallTime wall;
    bool isDate = false;
    Anchor anchor = Anchor::Floating;
    std::optional<core::TimeZone> zone;  // set when anchor is Zone
    QString tzid;                        // as written, also when it could not be resolved

    // The zone the wall time is read in: its own, UTC, or the given one for floating values.
    core::TimeZone zoneOr(const core::TimeZone& floatingZone) const;
    core::Date toDate(const core::TimeZone& floatingZone) const;
    qint64 dayNumber() const { return daysFromCivil(wall.year, wall.month, wall.day); }
};

struct IcsAlarm {
    // Seconds from the item's start (negative = before); 0 for an alarm at an absolute moment.
    double relativeOffset = 0;
    std::optional<core::Date> absoluteDate;
};

struct IcsParticipant {
    std::optional<QString> name;  // CN, kept even when empty
    QString address;              // the calendar address with its scheme lower-cased ("mailto:…")
    // The reply in the platform's numbering: 0 unknown, 1 pending, 2 accepted, 3 declined, 4 tentative,
    // 5 delegated, 6 completed, 7 in process. A participant without PARTSTAT has not answered yet (pending).
    int status = 1;
};

struct IcsRuleProgress {
    std::mutex mutex;
    std::vector<IcsRuleWalk::Progress> perRule;
};

// One VEVENT or VTODO: a plain copy of what the store reads, so the libical tree can be freed at once.
struct IcsComponent {
    enum class Kind : quint8 { Event, Todo };

    Kind kind = Kind::Event;
    QString uid;
    std::optional<QString> summary;
    std::optional<QString> location;
    std::optional<QString> description;
    std::optional<QString> url;
    QByteArray status;                 // STATUS as written, upper-cased; empty when absent
    std::optional<IcsTime> completed;  // COMPLETED of a to-do
    bool transparent = false;          // TRANSP:TRANSPARENT (does not block time)

    std::optional<IcsTime> start;
    std::optional<IcsTime> end;      // DTEND of an event
    std::optional<IcsTime> due;      // DUE of a to-do
    std::optional<double> duration;  // DURATION in seconds, when given instead of an end
    std::optional<IcsTime> recurrenceId;

    std::vector<QByteArray> rrules;  // RRULE values as written; parsed when expanded
    // Where walking each rule with a COUNT from the start got (see IcsRuleWalk::Progress). Kept with the parsed
    // file, so that each read of an unchanged file goes on from there; set when a rule has a COUNT.
    std::shared_ptr<IcsRuleProgress> ruleProgress;
    std::vector<IcsTime> rdates;
    // Parallel to rdates: the length of an RDATE given as a period, in seconds.
    std::vector<std::optional<double>> rdateLengths;
    std::vector<IcsTime> exdates;

    std::vector<IcsAlarm> alarms;
    std::vector<IcsParticipant> attendees;
    std::optional<IcsParticipant> organizer;
    int priority = 0;
};

// Everything read from one .ics file.
struct IcsFile {
    std::vector<IcsComponent> components;
    // libical dropped something it could not read (X-LIC-ERROR) or cannot write (vendor components): writing the
    // file back would lose it.
    bool hasErrors = false;
    // Non-empty when the file was skipped: why.
    QString problem;
};

}  // namespace platform::vdir
