#include "platform/eventstore/vdir/IcsEditor.h"

#include "platform/eventstore/vdir/IcsRecurrence.h"
#include "platform/eventstore/vdir/WallTime.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform::vdir {

struct IcsEditor::Value {
    enum class Anchor { Floating, Utc, Zone };

    icaltimetype wall = icaltime_null_time();  // the fields as written; `zone` unused
    Anchor anchor = Anchor::Floating;
    std::optional<core::TimeZone> zone;
    QByteArray tzid;  // as written, also when it names no zone we know
};

namespace {

constexpr int kMaxRuleSteps = 100000;

icaltimezone* utcZone() {
    return icaltimezone_get_utc_timezone();
}

bool isUtcId(const QString& id) {
    return id == u"UTC" || id == u"Etc/UTC" || id == u"GMT" || id == u"Etc/GMT" || id == u"Z";
}

// The wall fields as if they were UTC, in seconds.
qint64 fieldSeconds(icaltimetype wall) {
    wall.zone = nullptr;
    wall.is_date = 0;
    return static_cast<qint64>(icaltime_as_timet(wall));
}

icaltimetype fieldsOf(qint64 seconds) {
    icaltimetype wall = icaltime_from_timet_with_zone(static_cast<time_t>(seconds), 0, nullptr);
    wall.zone = nullptr;
    return wall;
}

// Through the reader's conversion, so that both agree on every moment.
qint64 wallToInstant(icaltimetype wall, const core::TimeZone& zone) {
    const WallTime fields{wall.year, wall.month, wall.day, wall.hour, wall.minute, wall.second};
    return static_cast<qint64>(std::floor(wallToDate(fields, zone).secondsSince1970()));
}

icaltimetype instantToWall(qint64 instant, const core::TimeZone& zone) {
    const WallTime fields = dateToWall(core::Date(static_cast<double>(instant)), zone);
    icaltimetype wall = icaltime_null_time();
    wall.year = fields.year;
    wall.month = fields.month;
    wall.day = fields.day;
    wall.hour = fields.hour;
    wall.minute = fields.minute;
    wall.second = fields.second;
    return wall;
}

QByteArray tzidOf(icalproperty* property) {
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (parameter == nullptr) {
        return {};
    }
    const char* tzid = icalparameter_get_tzid(parameter);
    return tzid == nullptr ? QByteArray() : QByteArray(tzid);
}

QList<icalproperty*> propertiesOf(icalcomponent* component, icalproperty_kind kind) {
    QList<icalproperty*> result;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
         p = icalcomponent_get_next_property(component, kind)) {
        result.append(p);
    }
    return result;
}

// libical's get_first/get_next keep one cursor per component; an external
// iterator leaves a caller's own walk over the same calendar undisturbed.
QList<icalcomponent*> componentsOf(icalcomponent* parent, icalcomponent_kind kind) {
    QList<icalcomponent*> result;
    for (icalcompiter it = icalcomponent_begin_component(parent, kind); icalcompiter_deref(&it) != nullptr;
         icalcompiter_next(&it)) {
        result.append(icalcompiter_deref(&it));
    }
    return result;
}

void removeProperty(icalcomponent* component, icalproperty* property) {
    icalcomponent_remove_property(component, property);
    icalproperty_free(property);
}

void removeProperties(icalcomponent* component, icalproperty_kind kind) {
    for (icalproperty* p : propertiesOf(component, kind)) {
        removeProperty(component, p);
    }
}

void removeComponent(icalcomponent* parent, icalcomponent* child) {
    icalcomponent_remove_component(parent, child);
    icalcomponent_free(child);
}

bool isItem(icalcomponent* component) {
    const icalcomponent_kind kind = icalcomponent_isa(component);
    return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT;
}

QByteArray uidOf(icalcomponent* component) {
    const char* uid = icalcomponent_get_uid(component);
    return uid == nullptr ? QByteArray() : QByteArray(uid);
}

icaltimetype addDays(icaltimetype date, int days) {
    icaltime_adjust(&date, days, 0, 0, 0);
    return date;
}

}  // namespace

std::optional<core::TimeZone> systemZoneLookup(const QString& tzid, icalcomponent*) {
    if (isUtcId(tzid)) {
        return core::TimeZone::utc();
    }
    if (std::optional<core::TimeZone> zone = core::TimeZone::withIdentifier(tzid)) {
        return zone;
    }
    // Vendor prefixes: "/freeassociation.sourceforge.net/Europe/Berlin".
    for (qsizetype i = tzid.indexOf(u'/'); i >= 0; i = tzid.indexOf(u'/', i + 1)) {
        if (std::optional<core::TimeZone> zone = core::TimeZone::withIdentifier(tzid.mid(i + 1))) {
            return zone;
        }
    }
    return std::nullopt;
}

void setTextProperty(icalcomponent* component, icalproperty_kind kind, const std::optional<QString>& text) {
    if (!text) {
        removeProperties(component, kind);
        return;
    }
    const QByteArray utf8 = text->toUtf8();
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    if (property == nullptr) {
        property = icalproperty_new(kind);
        icalcomponent_add_property(component, property);
    }
    icalproperty_set_value(property, icalvalue_new_text(utf8.constData()));
}

void setUrl(icalcomponent* component, const std::optional<QString>& url) {
    if (!url) {
        removeProperties(component, ICAL_URL_PROPERTY);
        return;
    }
    const QByteArray utf8 = url->toUtf8();
    if (icalproperty* property = icalcomponent_get_first_property(component, ICAL_URL_PROPERTY)) {
        icalproperty_set_url(property, utf8.constData());
    } else {
        icalcomponent_add_property(component, icalproperty_new_url(utf8.constData()));
    }
}

void touch(icalcomponent* component, qint64 now) {
    icaltimetype stamp = fieldsOf(now);
    stamp.zone = utcZone();
    removeProperties(component, ICAL_DTSTAMP_PROPERTY);
    removeProperties(component, ICAL_LASTMODIFIED_PROPERTY);
    icalcomponent_add_property(component, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(component, icalproperty_new_lastmodified(stamp));
}

void raiseSequence(icalcomponent* component) {
    icalproperty* sequence = icalcomponent_get_first_property(component, ICAL_SEQUENCE_PROPERTY);
    if (sequence == nullptr) {
        icalcomponent_add_property(component, icalproperty_new_sequence(1));
        return;
    }
    const int current = icalproperty_get_sequence(sequence);
    // A value no program could raise further is left as it is, and one below zero (not allowed) starts over.
    if (current < std::numeric_limits<int>::max())
        icalproperty_set_sequence(sequence, std::max(current, 0) + 1);
}

void replaceAlarms(icalcomponent* component, const QList<AlarmTime>& alarms) {
    for (icalcomponent* alarm : componentsOf(component, ICAL_VALARM_COMPONENT)) {
        removeComponent(component, alarm);
    }
    const char* summary = icalcomponent_get_summary(component);
    const QByteArray description = summary != nullptr && *summary != '\0' ? QByteArray(summary) : "Reminder";
    for (const AlarmTime& time : alarms) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(alarm, icalproperty_new_description(description.constData()));
        icaltriggertype trigger = icaltriggertype_from_int(static_cast<int>(time.offset));
        if (time.at) {
            trigger.time = fieldsOf(*time.at);
            trigger.time.zone = utcZone();
        }
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_component(component, alarm);
    }
}

void setPriority(icalcomponent* component, int priority) {
    removeProperties(component, ICAL_PRIORITY_PROPERTY);
    if (priority != 0) {
        icalcomponent_add_property(component, icalproperty_new_priority(priority));
    }
}

void setTransparent(icalcomponent* component, bool transparent) {
    removeProperties(component, ICAL_TRANSP_PROPERTY);
    if (transparent) {
        icalcomponent_add_property(component, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    }
}

void setTodoCompleted(icalcomponent* todo, bool completed, qint64 now) {
    removeProperties(todo, ICAL_STATUS_PROPERTY);
    removeProperties(todo, ICAL_COMPLETED_PROPERTY);
    removeProperties(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
    if (completed) {
        icaltimetype stamp = fieldsOf(now);
        stamp.zone = utcZone();
        icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
        icalcomponent_add_property(todo, icalproperty_new_completed(stamp));
        icalcomponent_add_property(todo, icalproperty_new_percentcomplete(100));
    } else {
        icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
    }
    touch(todo, now);
}

IcsTree newCalendarWith(icalcomponent_kind kind, const QByteArray& uid, qint64 now) {
    IcsTree calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Orbitday//Orbitday//EN"));
    icalcomponent* item = icalcomponent_new(kind);
    icalcomponent_set_uid(item, uid.constData());
    icaltimetype stamp = fieldsOf(now);
    stamp.zone = utcZone();
    icalcomponent_add_property(item, icalproperty_new_created(stamp));
    touch(item, now);
    icalcomponent_add_component(calendar.get(), item);
    return calendar;
}

IcsEditor::IcsEditor(icalcomponent* calendar, core::TimeZone local, ZoneLookup lookup)
    : m_calendar(calendar), m_local(std::move(local)), m_lookup(std::move(lookup)) {}

icalcomponent* IcsEditor::vtimezone(const QByteArray& tzid) const {
    for (icalcomponent* zone : componentsOf(m_calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY);
        if (p != nullptr && tzid == icalproperty_get_tzid(p)) {
            return zone;
        }
    }
    return nullptr;
}

IcsEditor::Value IcsEditor::read(icalproperty* property) const {
    Value value;
    if (icalproperty_isa(property) == ICAL_RDATE_PROPERTY) {
        const icaldatetimeperiodtype rdate = icalproperty_get_rdate(property);
        value.wall = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
    } else if (icalvalue* v = icalproperty_get_value(property)) {
        value.wall = icalvalue_get_datetime(v);
    }
    const bool utc = icaltime_is_utc(value.wall);
    value.wall.zone = nullptr;
    if (value.wall.is_date) {
        return value;
    }
    if (utc) {
        value.anchor = Value::Anchor::Utc;
        return value;
    }
    value.tzid = tzidOf(property);
    if (!value.tzid.isEmpty()) {
        value.zone = m_lookup(QString::fromUtf8(value.tzid), vtimezone(value.tzid));
        if (value.zone) {
            value.anchor = Value::Anchor::Zone;
        }
    }
    return value;
}

qint64 IcsEditor::instantOf(const Value& value) const {
    switch (value.anchor) {
        case Value::Anchor::Utc:
            return fieldSeconds(value.wall);
        case Value::Anchor::Zone:
            return wallToInstant(value.wall, *value.zone);
        case Value::Anchor::Floating:
            break;
    }
    return wallToInstant(value.wall, m_local);
}

qint64 IcsEditor::instantOf(icalproperty* property) const {
    return instantOf(read(property));
}

IcsEditor::Value IcsEditor::dateOf(qint64 instant) const {
    Value value;
    value.wall = instantToWall(instant, m_local);
    value.wall.is_date = 1;
    value.wall.hour = 0;
    value.wall.minute = 0;
    value.wall.second = 0;
    return value;
}

IcsEditor::Value IcsEditor::like(const Value& pattern, qint64 instant) const {
    if (pattern.wall.is_date) {
        return dateOf(instant);
    }
    Value value = pattern;
    switch (pattern.anchor) {
        case Value::Anchor::Utc:
            value.wall = fieldsOf(instant);
            break;
        case Value::Anchor::Zone:
            value.wall = instantToWall(instant, *pattern.zone);
            break;
        case Value::Anchor::Floating:
            value.wall = instantToWall(instant, m_local);
            break;
    }
    return value;
}

IcsEditor::Value IcsEditor::inZone(qint64 instant, const std::optional<core::TimeZone>& zone,
                                   const QByteArray& tzid) const {
    Value value;
    if (!zone) {
        value.wall = instantToWall(instant, m_local);
    } else if (tzid.isEmpty()) {
        value.anchor = Value::Anchor::Utc;
        value.wall = fieldsOf(instant);
    } else {
        value.anchor = Value::Anchor::Zone;
        value.zone = zone;
        value.tzid = tzid;
        value.wall = instantToWall(instant, *zone);
    }
    return value;
}

void IcsEditor::write(icalcomponent* component, icalproperty_kind kind, const Value& value) {
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    if (property == nullptr) {
        property = icalproperty_new(kind);
        icalcomponent_add_property(component, property);
    }
    writeValue(property, value);
}

void IcsEditor::writeValue(icalproperty* property, const Value& value) {
    icaltimetype time = value.wall;
    time.zone = value.anchor == Value::Anchor::Utc && !time.is_date ? utcZone() : nullptr;
    icalproperty_set_value(property, time.is_date ? icalvalue_new_date(time) : icalvalue_new_datetime(time));
    icalproperty_remove_parameter_by_kind(property, ICAL_VALUE_PARAMETER);
    icalproperty_remove_parameter_by_kind(property, ICAL_TZID_PARAMETER);
    if (!time.is_date && value.anchor != Value::Anchor::Utc && !value.tzid.isEmpty()) {
        icalproperty_set_parameter(property, icalparameter_new_tzid(value.tzid.constData()));
    }
}

icalcomponent* IcsEditor::master(const QByteArray& uid) const {
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_ANY_COMPONENT)) {
        if (isItem(c) && uidOf(c) == uid &&
            icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr) {
            return c;
        }
    }
    return nullptr;
}

QList<icalcomponent*> IcsEditor::overridesOf(const QByteArray& uid) const {
    QList<icalcomponent*> result;
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_ANY_COMPONENT)) {
        if (isItem(c) && uidOf(c) == uid &&
            icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
            result.append(c);
        }
    }
    return result;
}

icalcomponent* IcsEditor::findOverride(const QByteArray& uid, qint64 recurrenceId) const {
    for (icalcomponent* c : overridesOf(uid)) {
        if (instantOf(icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) == recurrenceId) {
            return c;
        }
    }
    return nullptr;
}

bool IcsEditor::isRecurring(const QByteArray& uid) const {
    if (!overridesOf(uid).isEmpty()) {
        return true;
    }
    icalcomponent* item = master(uid);
    return item != nullptr && (icalcomponent_get_first_property(item, ICAL_RRULE_PROPERTY) != nullptr ||
                               icalcomponent_get_first_property(item, ICAL_RDATE_PROPERTY) != nullptr);
}

bool IcsEditor::forEachRuleInstance(icalcomponent* item, const icalrecurrencetype& rule, qint64 limit,
                                    const std::function<bool(qint64)>& visit) const {
    icalproperty* startProperty = icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr || !isWalkableRule(rule)) {
        return false;
    }
    const Value start = read(startProperty);
    icalrecur_iterator* it = icalrecur_iterator_new(rule, start.wall);
    if (it == nullptr) {
        return false;
    }
    bool stopped = false;
    for (int step = 0; step < kMaxRuleSteps && !stopped; ++step) {
        const icaltimetype next = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(next)) {
            break;
        }
        Value instance = start;
        instance.wall = next;
        instance.wall.zone = nullptr;
        const qint64 at = instantOf(instance);
        if (at >= limit) {
            break;
        }
        stopped = visit(at);
    }
    icalrecur_iterator_free(it);
    return stopped;
}

bool IcsEditor::hasOccurrenceBefore(const QByteArray& uid, qint64 recurrenceId) const {
    icalcomponent* item = master(uid);
    if (item == nullptr) {
        return false;
    }
    QSet<qint64> excluded;
    for (icalproperty* p : propertiesOf(item, ICAL_EXDATE_PROPERTY)) {
        excluded.insert(instantOf(p));
    }
    const auto shown = [&](qint64 at) { return at < recurrenceId && !excluded.contains(at); };
    for (icalcomponent* c : overridesOf(uid)) {
        if (shown(instantOf(icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)))) {
            return true;
        }
    }
    for (icalproperty* p : propertiesOf(item, ICAL_RDATE_PROPERTY)) {
        if (shown(instantOf(p))) {
            return true;
        }
    }
    icalproperty* startProperty = icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return false;
    }
    if (shown(instantOf(startProperty))) {
        return true;
    }
    for (icalproperty* p : propertiesOf(item, ICAL_RRULE_PROPERTY)) {
        if (forEachRuleInstance(item, icalproperty_get_rrule(p), recurrenceId,
                                [&](qint64 at) { return !excluded.contains(at); })) {
            return true;
        }
    }
    return false;
}

int IcsEditor::countRuleInstancesBefore(icalcomponent* item, const icalrecurrencetype& rule, qint64 instant) const {
    int count = 0;
    forEachRuleInstance(item, rule, instant, [&](qint64) {
        ++count;
        return false;
    });
    return count;
}

icalcomponent* IcsEditor::ensureOverride(const QByteArray& uid, qint64 recurrenceId, qint64 now) {
    if (icalcomponent* existing = findOverride(uid, recurrenceId)) {
        return existing;
    }
    icalcomponent* item = master(uid);
    icalproperty* startProperty =
        item == nullptr ? nullptr : icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return nullptr;
    }
    const Value start = read(startProperty);
    const qint64 shift = recurrenceId - instantOf(start);

    icalcomponent* occurrence = icalcomponent_new_clone(item);
    for (const icalproperty_kind kind :
         {ICAL_RRULE_PROPERTY, ICAL_EXRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY}) {
        removeProperties(occurrence, kind);
    }
    const Value occurrenceStart = like(start, recurrenceId);
    write(occurrence, ICAL_RECURRENCEID_PROPERTY, occurrenceStart);
    write(occurrence, ICAL_DTSTART_PROPERTY, occurrenceStart);
    if (icalproperty* endProperty = icalcomponent_get_first_property(item, ICAL_DTEND_PROPERTY)) {
        const Value end = read(endProperty);
        Value occurrenceEnd = end;
        if (end.wall.is_date) {
            const int days = static_cast<int>((fieldSeconds(end.wall) - fieldSeconds(start.wall)) / 86400);
            occurrenceEnd.wall = addDays(occurrenceStart.wall, days);
        } else {
            occurrenceEnd = like(end, instantOf(end) + shift);
        }
        write(occurrence, ICAL_DTEND_PROPERTY, occurrenceEnd);
    }
    touch(occurrence, now);
    icalcomponent_add_component(m_calendar, occurrence);
    return occurrence;
}

void IcsEditor::removeOverride(const QByteArray& uid, qint64 recurrenceId) {
    while (icalcomponent* occurrence = findOverride(uid, recurrenceId)) {
        removeComponent(m_calendar, occurrence);
    }
}

void IcsEditor::excludeOccurrence(const QByteArray& uid, qint64 recurrenceId, qint64 now) {
    removeOverride(uid, recurrenceId);
    icalcomponent* item = master(uid);
    icalproperty* startProperty =
        item == nullptr ? nullptr : icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return;
    }
    for (icalproperty* p : propertiesOf(item, ICAL_EXDATE_PROPERTY)) {
        if (instantOf(p) == recurrenceId) {
            return;
        }
    }
    icalproperty* exdate = icalproperty_new(ICAL_EXDATE_PROPERTY);
    icalcomponent_add_property(item, exdate);
    writeValue(exdate, like(read(startProperty), recurrenceId));
    touch(item, now);
}

void IcsEditor::endSeriesBefore(const QByteArray& uid, qint64 recurrenceId, qint64 now) {
    icalcomponent* item = master(uid);
    if (item == nullptr) {
        return;
    }
    if (icalproperty* startProperty = icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY)) {
        const Value start = read(startProperty);
        // UNTIL must match DTSTART: a DATE for all-day series, UTC for zoned or
        // UTC starts, a floating time for a floating start.
        Value until;
        if (start.wall.is_date) {
            until = dateOf(recurrenceId);
            until.wall = addDays(until.wall, -1);
        } else if (start.anchor == Value::Anchor::Floating) {
            until.wall = instantToWall(recurrenceId - 1, m_local);
        } else {
            until.anchor = Value::Anchor::Utc;
            until.wall = fieldsOf(recurrenceId - 1);
        }
        const qint64 untilInstant = instantOf(until);
        icaltimetype untilTime = until.wall;
        untilTime.zone = until.anchor == Value::Anchor::Utc ? utcZone() : nullptr;
        for (icalproperty* p : propertiesOf(item, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            bool later = icaltime_is_null_time(rule.until);
            if (!later) {
                Value current = until;
                current.wall = rule.until;
                current.wall.zone = nullptr;
                current.anchor = icaltime_is_utc(rule.until) ? Value::Anchor::Utc : current.anchor;
                later = instantOf(current) > untilInstant;
            }
            if (rule.count > 0 || later) {
                rule.count = 0;
                rule.until = untilTime;
                icalproperty_set_rrule(p, rule);
            }
        }
    }
    for (const icalproperty_kind kind : {ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY}) {
        for (icalproperty* p : propertiesOf(item, kind)) {
            if (instantOf(p) >= recurrenceId) {
                removeProperty(item, p);
            }
        }
    }
    for (icalcomponent* c : overridesOf(uid)) {
        if (instantOf(icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) >= recurrenceId) {
            removeComponent(m_calendar, c);
        }
    }
    touch(item, now);
}

IcsTree IcsEditor::splitSeries(const QByteArray& uid, qint64 recurrenceId, const QByteArray& newUid, qint64 now) {
    icalcomponent* item = master(uid);
    icalproperty* startProperty =
        item == nullptr ? nullptr : icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return nullptr;
    }

    IcsTree rest = frame();

    icalcomponent* series = icalcomponent_new_clone(item);
    icalcomponent_set_uid(series, newUid.constData());
    for (icalproperty* p : propertiesOf(series, ICAL_RRULE_PROPERTY)) {
        icalrecurrencetype rule = icalproperty_get_rrule(p);
        if (rule.count > 0) {
            // COUNT counts from the first start, also the excluded ones.
            const int remaining = rule.count - countRuleInstancesBefore(item, rule, recurrenceId);
            if (remaining <= 0) {
                removeProperty(series, p);
                continue;
            }
            rule.count = remaining;
            icalproperty_set_rrule(p, rule);
        }
    }
    for (const icalproperty_kind kind : {ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY}) {
        for (icalproperty* p : propertiesOf(series, kind)) {
            if (instantOf(p) < recurrenceId) {
                removeProperty(series, p);
            }
        }
    }
    const Value start = read(startProperty);
    const Value seriesStart = like(start, recurrenceId);
    if (icalproperty* endProperty = icalcomponent_get_first_property(item, ICAL_DTEND_PROPERTY)) {
        const Value end = read(endProperty);
        Value seriesEnd = end;
        if (end.wall.is_date) {
            const int days = static_cast<int>((fieldSeconds(end.wall) - fieldSeconds(start.wall)) / 86400);
            seriesEnd.wall = addDays(seriesStart.wall, days);
        } else {
            seriesEnd = like(end, instantOf(end) + (recurrenceId - instantOf(start)));
        }
        write(series, ICAL_DTEND_PROPERTY, seriesEnd);
    }
    write(series, ICAL_DTSTART_PROPERTY, seriesStart);
    touch(series, now);
    icalcomponent_add_component(rest.get(), series);

    for (icalcomponent* c : overridesOf(uid)) {
        if (instantOf(icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) >= recurrenceId) {
            icalcomponent_remove_component(m_calendar, c);
            icalcomponent_set_uid(c, newUid.constData());
            icalcomponent_add_component(rest.get(), c);
        }
    }
    endSeriesBefore(uid, recurrenceId, now);
    return rest;
}

QByteArray IcsEditor::ensureTimeZone(const core::TimeZone& zone) {
    const QString id = zone.identifier();
    if (isUtcId(id) || zone == core::TimeZone::utc()) {
        return {};
    }
    const QByteArray tzid = id.toUtf8();
    if (vtimezone(tzid) != nullptr) {
        return tzid;
    }
    icaltimezone* builtin = icaltimezone_get_builtin_timezone(tzid.constData());
    icalcomponent* source = builtin == nullptr ? nullptr : icaltimezone_get_component(builtin);
    if (source == nullptr) {
        // Readers resolve a plain IANA id on their own.
        return tzid;
    }
    icalcomponent* definition = icalcomponent_new_clone(source);
    if (icalproperty* p = icalcomponent_get_first_property(definition, ICAL_TZID_PROPERTY)) {
        icalproperty_set_tzid(p, tzid.constData());
    }
    // Readers that resolve zones in one pass want the definition before its users.
    QList<icalcomponent*> others;
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_ANY_COMPONENT)) {
        if (icalcomponent_isa(c) != ICAL_VTIMEZONE_COMPONENT) {
            others.append(c);
        }
    }
    for (icalcomponent* c : others) {
        icalcomponent_remove_component(m_calendar, c);
    }
    icalcomponent_add_component(m_calendar, definition);
    for (icalcomponent* c : others) {
        icalcomponent_add_component(m_calendar, c);
    }
    return tzid;
}

std::optional<core::TimeZone> IcsEditor::startZone(icalcomponent* component) const {
    icalproperty* startProperty = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return std::nullopt;
    }
    const Value start = read(startProperty);
    if (start.wall.is_date || start.anchor == Value::Anchor::Floating) {
        return std::nullopt;
    }
    return start.anchor == Value::Anchor::Utc ? core::TimeZone::utc() : *start.zone;
}

void IcsEditor::setTimes(icalcomponent* component, qint64 start, qint64 end, bool allDay,
                         const std::optional<core::TimeZone>& zone) {
    removeProperties(component, ICAL_DURATION_PROPERTY);
    if (allDay) {
        const Value firstDay = dateOf(start);
        Value endDate = dateOf(std::max(start, end));
        endDate.wall = addDays(endDate.wall, 1);
        write(component, ICAL_DTSTART_PROPERTY, firstDay);
        write(component, ICAL_DTEND_PROPERTY, endDate);
        return;
    }
    QByteArray tzid;
    if (zone) {
        // Keep the TZID the file already uses for this zone (a Windows name,
        // a vendor prefix) rather than adding a second definition.
        icalproperty* current = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
        const Value was = current != nullptr ? read(current) : Value{};
        if (was.anchor == Value::Anchor::Zone && was.zone == zone) {
            tzid = was.tzid;
        } else {
            tzid = ensureTimeZone(*zone);
        }
    }
    write(component, ICAL_DTSTART_PROPERTY, inZone(start, zone, tzid));
    write(component, ICAL_DTEND_PROPERTY, inZone(std::max(start, end), zone, tzid));
}

IcsEditor::StartKind IcsEditor::startKind(const QByteArray& uid) const {
    icalcomponent* item = master(uid);
    icalproperty* startProperty =
        item == nullptr ? nullptr : icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        return StartKind::Floating;
    }
    const Value start = read(startProperty);
    if (start.wall.is_date) {
        return StartKind::Date;
    }
    switch (start.anchor) {
        case Value::Anchor::Utc:
            return StartKind::Utc;
        case Value::Anchor::Zone:
            return StartKind::Zoned;
        case Value::Anchor::Floating:
            break;
    }
    // An unresolved TZID is still a zoned start to every other reader.
    return start.tzid.isEmpty() ? StartKind::Floating : StartKind::Zoned;
}

void IcsEditor::setRecurrenceRules(const QByteArray& uid, const QList<QByteArray>& rrules) {
    icalcomponent* item = master(uid);
    if (item == nullptr) {
        return;
    }
    const QList<icalproperty*> current = propertiesOf(item, ICAL_RRULE_PROPERTY);
    QList<QByteArray> written;
    for (icalproperty* p : current) {
        icalrecurrencetype rule = icalproperty_get_rrule(p);
        char* text = icalrecurrencetype_as_string_r(&rule);
        written.append(QByteArray(text));
        free(text);
    }
    QList<QByteArray> wanted;
    for (const QByteArray& text : rrules) {
        icalrecurrencetype rule = icalrecurrencetype_from_string(text.constData());
        char* canonical = icalrecurrencetype_as_string_r(&rule);
        // libical leaves the RSCALE name it allocates to the caller.
        free(rule.rscale);
        wanted.append(QByteArray(canonical));
        free(canonical);
    }
    if (!wanted.isEmpty() && wanted == written) {
        return;
    }
    removeProperties(item, ICAL_RRULE_PROPERTY);
    removeProperties(item, ICAL_EXRULE_PROPERTY);
    for (const QByteArray& text : std::as_const(wanted)) {
        icalrecurrencetype rule = icalrecurrencetype_from_string(text.constData());
        icalcomponent_add_property(item, icalproperty_new_rrule(rule));
        free(rule.rscale);
    }
    if (!wanted.isEmpty()) {
        return;
    }
    removeProperties(item, ICAL_RDATE_PROPERTY);
    removeProperties(item, ICAL_EXDATE_PROPERTY);
    for (icalcomponent* c : overridesOf(uid)) {
        removeComponent(m_calendar, c);
    }
}

bool IcsEditor::removeItem(const QByteArray& uid) {
    bool othersRemain = false;
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_ANY_COMPONENT)) {
        if (!isItem(c)) {
            // Free/busy data, vendor components: not ours to delete with the file. Zone definitions only serve items.
            othersRemain = othersRemain || icalcomponent_isa(c) != ICAL_VTIMEZONE_COMPONENT;
            continue;
        }
        if (uidOf(c) == uid) {
            removeComponent(m_calendar, c);
        } else {
            othersRemain = true;
        }
    }
    return othersRemain;
}

IcsTree IcsEditor::frame() const {
    IcsTree copy(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    for (icalproperty* p : propertiesOf(m_calendar, ICAL_ANY_PROPERTY)) {
        icalcomponent_add_property(copy.get(), icalproperty_new_clone(p));
    }
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalcomponent_add_component(copy.get(), icalcomponent_new_clone(c));
    }
    return copy;
}

IcsTree IcsEditor::copyItem(const QByteArray& uid) const {
    IcsTree copy = frame();
    for (icalcomponent* c : componentsOf(m_calendar, ICAL_ANY_COMPONENT)) {
        if (isItem(c) && uidOf(c) == uid) {
            icalcomponent_add_component(copy.get(), icalcomponent_new_clone(c));
        }
    }
    return copy;
}

void IcsEditor::setSeriesTimes(const QByteArray& uid, qint64 start, qint64 end, bool allDay,
                               const std::optional<core::TimeZone>& zone) {
    icalcomponent* item = master(uid);
    icalproperty* startProperty =
        item == nullptr ? nullptr : icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        if (item != nullptr) {
            setTimes(item, start, end, allDay, zone);
        }
        return;
    }
    const Value before = read(startProperty);
    setTimes(item, start, end, allDay, zone);
    const Value after = read(icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY));
    const qint64 wallShift = fieldSeconds(after.wall) - fieldSeconds(before.wall);
    if (wallShift == 0 && before.wall.is_date == after.wall.is_date && before.tzid == after.tzid) {
        return;
    }
    // The exceptions take the master's new kind, zone and time of day.
    const auto moved = [&](const Value& old) {
        Value value = after;
        value.wall = fieldsOf(fieldSeconds(old.wall) + wallShift);
        value.wall.is_date = after.wall.is_date;
        if (value.wall.is_date) {
            value.wall.hour = 0;
            value.wall.minute = 0;
            value.wall.second = 0;
        }
        return value;
    };
    for (icalproperty* p : propertiesOf(item, ICAL_EXDATE_PROPERTY)) {
        const Value old = read(p);
        writeValue(p, moved(old.anchor == before.anchor || old.wall.is_date ? old : like(before, instantOf(old))));
    }
    for (icalcomponent* c : overridesOf(uid)) {
        icalproperty* rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
        const Value old = read(rid);
        write(c, ICAL_RECURRENCEID_PROPERTY,
              moved(old.anchor == before.anchor || old.wall.is_date ? old : like(before, instantOf(old))));
    }
}

void IcsEditor::setDue(icalcomponent* todo, const std::optional<core::DateComponents>& due) {
    removeProperties(todo, ICAL_DUE_PROPERTY);
    if (!due || !due->year || !due->month || !due->day) {
        return;
    }
    Value value;
    value.wall.year = *due->year;
    value.wall.month = *due->month;
    value.wall.day = *due->day;
    if (!due->hour) {
        value.wall.is_date = 1;
    } else {
        value.wall.hour = *due->hour;
        value.wall.minute = due->minute.value_or(0);
        value.wall.second = due->second.value_or(0);
        value.tzid = ensureTimeZone(m_local);
        value.anchor = value.tzid.isEmpty() ? Value::Anchor::Utc : Value::Anchor::Zone;
        value.zone = m_local;
    }
    write(todo, ICAL_DUE_PROPERTY, value);
}

}  // namespace platform::vdir
