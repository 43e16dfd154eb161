#pragma once

#include "core/Calendar.h"
#include "core/TimeZone.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <libical/ical.h>

#include <functional>
#include <memory>
#include <optional>

namespace platform::vdir {

struct IcsTreeDeleter {
    void operator()(icalcomponent* component) const noexcept { icalcomponent_free(component); }
};
// An owned libical tree (a whole VCALENDAR).
using IcsTree = std::unique_ptr<icalcomponent, IcsTreeDeleter>;

// The zone a TZID names; `vtimezone` is the file's definition of it, or null.
// The store hands in the reader's resolver so that both read a file's times
// alike; nullopt makes the value floating.
using ZoneLookup = std::function<std::optional<core::TimeZone>(const QString& tzid, icalcomponent* vtimezone)>;
// The system zone of that id, also behind a vendor prefix ("/a/b/Europe/Berlin").
std::optional<core::TimeZone> systemZoneLookup(const QString& tzid, icalcomponent* vtimezone);

// Sets a text property (SUMMARY, LOCATION, DESCRIPTION): nullopt removes it,
// an empty text is stored as it is. An existing property keeps its parameters.
void setTextProperty(icalcomponent* component, icalproperty_kind kind, const std::optional<QString>& text);
void setUrl(icalcomponent* component, const std::optional<QString>& url);
// DTSTAMP and LAST-MODIFIED, which mark a component as changed by us.
void touch(icalcomponent* component, qint64 now);
// SEQUENCE one higher (a component without one has 0): RFC 5545 asks it of every change of start, end or
// repetition, by which the programs that hold an earlier copy (a server, an invitation's attendees) know it for
// the later one.
void raiseSequence(icalcomponent* component);
// One alarm: at a moment, or at an offset in seconds from the start
// (negative = before).
struct AlarmTime {
    std::optional<qint64> at;
    qint64 offset = 0;
    bool operator==(const AlarmTime&) const = default;
};
// Replaces every alarm by one display alarm per entry.
void replaceAlarms(icalcomponent* component, const QList<AlarmTime>& alarms);
// TRANSP: whether the event leaves the time free.
void setTransparent(icalcomponent* component, bool transparent);
// PRIORITY; 0 (none) removes it.
void setPriority(icalcomponent* component, int priority);

// Completed: STATUS, COMPLETED and PERCENT-COMPLETE:100; not completed: back
// to NEEDS-ACTION without those marks.
void setTodoCompleted(icalcomponent* todo, bool completed, qint64 now);

// A new VCALENDAR with one VEVENT (or VTODO) carrying `uid`, DTSTAMP and CREATED.
IcsTree newCalendarWith(icalcomponent_kind kind, const QByteArray& uid, qint64 now);

// Edits one VCALENDAR (one .ics file of the vdir) in place; the editor never
// owns it. Moments are whole seconds since 1970. DATE values and floating
// times are read and written in the `local` zone (the user's current one).
// An occurrence is named by its original start (its RECURRENCE-ID moment).
class IcsEditor {
public:
    IcsEditor(icalcomponent* calendar, core::TimeZone local, ZoneLookup lookup = systemZoneLookup);

    icalcomponent* calendar() const { return m_calendar; }

    // The component of `uid` without a RECURRENCE-ID (VEVENT or VTODO).
    icalcomponent* master(const QByteArray& uid) const;
    // The component that overrides the occurrence originally at `recurrenceId`.
    icalcomponent* findOverride(const QByteArray& uid, qint64 recurrenceId) const;
    QList<icalcomponent*> overridesOf(const QByteArray& uid) const;
    bool isRecurring(const QByteArray& uid) const;
    // True when the series shows an occurrence that starts before `recurrenceId`.
    bool hasOccurrenceBefore(const QByteArray& uid, qint64 recurrenceId) const;
    // The moment a DATE or DATE-TIME property names (DTSTART, RECURRENCE-ID, EXDATE...).
    qint64 instantOf(icalproperty* property) const;

    // The override for that occurrence, made from the master when missing.
    icalcomponent* ensureOverride(const QByteArray& uid, qint64 recurrenceId, qint64 now);
    void removeOverride(const QByteArray& uid, qint64 recurrenceId);
    // Deletes one occurrence: its override goes and an EXDATE is added.
    void excludeOccurrence(const QByteArray& uid, qint64 recurrenceId, qint64 now);
    // Ends the series before the occurrence at `recurrenceId`: UNTIL on the rule
    // (COUNT becomes UNTIL), later RDATEs, EXDATEs and overrides removed.
    void endSeriesBefore(const QByteArray& uid, qint64 recurrenceId, qint64 now);
    // Splits the series at `recurrenceId`: the master ends before it, and a new
    // VCALENDAR holds the rest under `newUid`, starting at that occurrence, with
    // the later RDATEs, EXDATEs and overrides and the remaining COUNT.
    IcsTree splitSeries(const QByteArray& uid, qint64 recurrenceId, const QByteArray& newUid, qint64 now);

    // Start and end of an event or override. For all-day events `end` is the
    // last second of the last day and DTEND is written as the next date. Timed
    // values are written in `zone` (nullopt: floating), with its VTIMEZONE.
    void setTimes(icalcomponent* component, qint64 start, qint64 end, bool allDay,
                  const std::optional<core::TimeZone>& zone);
    // Moves the whole series: the master's times as setTimes() does, and every
    // EXDATE and RECURRENCE-ID by the same change of wall time, so excluded and
    // changed occurrences stay attached to the occurrences they belong to.
    void setSeriesTimes(const QByteArray& uid, qint64 start, qint64 end, bool allDay,
                        const std::optional<core::TimeZone>& zone);
    // The zone the component's start is written in: nullopt when floating or
    // all-day, UTC for a UTC start.
    std::optional<core::TimeZone> startZone(icalcomponent* component) const;

    // How UNTIL must be written for the series of `uid` (RFC 5545 3.3.10).
    enum class StartKind { Date, Floating, Utc, Zoned };
    StartKind startKind(const QByteArray& uid) const;
    // Replaces the RRULEs (RRULE values such as "FREQ=WEEKLY;COUNT=3"). No rule
    // makes a single event, dropping the series' RDATEs, EXDATEs and overrides,
    // which a single event cannot have. Rules already written alike stay as they are.
    void setRecurrenceRules(const QByteArray& uid, const QList<QByteArray>& rrules);

    // Removes every component of `uid`; returns whether anything but zone definitions remains (items of other
    // UIDs, other components), so that the file must stay.
    bool removeItem(const QByteArray& uid);
    // A new VCALENDAR with copies of the components of `uid`, the calendar's
    // own properties and its zone definitions (to move the item to another file).
    IcsTree copyItem(const QByteArray& uid) const;

    // DUE of a reminder: a DATE, or with an hour a wall time in the local zone.
    void setDue(icalcomponent* todo, const std::optional<core::DateComponents>& due);

    // Makes sure the calendar carries a VTIMEZONE for `zone` (when libical
    // knows one) and returns the TZID to write; empty for UTC.
    QByteArray ensureTimeZone(const core::TimeZone& zone);

private:
    struct Value;

    icalcomponent* m_calendar;
    core::TimeZone m_local;
    ZoneLookup m_lookup;

    // The calendar's own properties and zone definitions, without items.
    IcsTree frame() const;
    Value read(icalproperty* property) const;
    qint64 instantOf(const Value& value) const;
    Value like(const Value& pattern, qint64 instant) const;
    Value inZone(qint64 instant, const std::optional<core::TimeZone>& zone, const QByteArray& tzid) const;
    Value dateOf(qint64 instant) const;
    void write(icalcomponent* component, icalproperty_kind kind, const Value& value);
    void writeValue(icalproperty* property, const Value& value);
    icalcomponent* vtimezone(const QByteArray& tzid) const;
    int countRuleInstancesBefore(icalcomponent* master, const icalrecurrencetype& rule, qint64 instant) const;
    // Calls `visit` with each instance of the master's rules before `limit`; stops when it returns true.
    bool forEachRuleInstance(icalcomponent* master, const icalrecurrencetype& rule, qint64 limit,
                             const std::function<bool(qint64)>& visit) const;
};

}  // namespace platform::vdir
