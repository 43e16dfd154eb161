#include "store/EventUndo.h"

#include "model/ODEvent.h"

namespace store {
namespace {

// The identifier part of an id: what comes before its last "|".
QString baseIdentifier(const QString& id) { return model::ODEvent::parseID(id).identifier; }

}  // namespace

EventUndoSnapshot EventUndoSnapshot::of(const platform::PlatformEvent& event) {
    const model::ODEvent value = model::ODEvent::fromPlatform(event);
    EventUndoSnapshot s;
    s.eventID = value.id;
    s.identifier = value.eventIdentifier;
    s.externalIdentifier = event.calendarItemExternalIdentifier;
    s.calendarID = value.calendarID;
    s.title = value.title;
    s.storedTitle = event.title;
    s.start = value.start;
    s.end = value.end;
    s.isAllDay = value.isAllDay;
    s.timeZone = event.timeZone;
    s.location = event.location;
    s.structuredLocation = event.structuredLocation;
    s.notes = event.notes;
    s.url = event.url;
    s.availability = event.availability;
    s.alarms = event.alarms;
    s.recurrenceRules = event.recurrenceRules;
    return s;
}

void EventUndoSnapshot::restore(platform::PlatformEvent& event, const platform::PlatformCalendar& calendar,
                                bool includeRecurrence) const {
    event.calendar = calendar;
    event.title = storedTitle;
    event.isAllDay = isAllDay;
    event.timeZone = timeZone;
    event.startDate = start;
    event.endDate = end;
    event.location = location;
    event.structuredLocation = structuredLocation;
    event.notes = notes;
    event.url = url;
    event.availability = availability;
    event.alarms = alarms;
    event.recurrenceRules = includeRecurrence ? recurrenceRules : QList<platform::PlatformRecurrenceRule>{};
}

void EventUndoSnapshot::restoreChanged(platform::PlatformEvent& event, const platform::PlatformCalendar& calendar,
                                       const EventUndoSnapshot& changedTo) const {
    if (calendarID != changedTo.calendarID)
        event.calendar = calendar;
    if (storedTitle != changedTo.storedTitle)
        event.title = storedTitle;
    if (isAllDay != changedTo.isAllDay || timeZone != changedTo.timeZone || start != changedTo.start ||
        end != changedTo.end) {
        event.isAllDay = isAllDay;
        event.timeZone = timeZone;
        event.startDate = start;
        event.endDate = end;
    }
    if (location != changedTo.location || structuredLocation != changedTo.structuredLocation) {
        event.location = location;
        event.structuredLocation = structuredLocation;
    }
    if (notes != changedTo.notes)
        event.notes = notes;
    if (url != changedTo.url)
        event.url = url;
    if (availability != changedTo.availability)
        event.availability = availability;
    if (alarms != changedTo.alarms)
        event.alarms = alarms;
    if (recurrenceRules != changedTo.recurrenceRules)
        event.recurrenceRules = recurrenceRules;
}

void EventUndoReferences::rememberReplacement(const QString& oldID, const QString& newID) {
    // The map must never lead from the newest id back to an older one.
    m_eventIDs.remove(newID);
    if (oldID == newID)
        return;
    m_eventIDs.insert(oldID, newID);
    const QString oldBase = baseIdentifier(oldID);
    const QString newBase = baseIdentifier(newID);
    if (oldBase != newBase)
        m_relatedIdentifiers[oldBase].insert(newBase);
}

QSet<QString> EventUndoReferences::identifiersRelatedTo(const QString& identifier) const {
    QSet<QString> result{identifier};
    QStringList pending{identifier};
    while (!pending.isEmpty()) {
        const QString current = pending.takeLast();
        for (const QString& next : m_relatedIdentifiers.value(current)) {
            if (!result.contains(next)) {
                result.insert(next);
                pending << next;
            }
        }
    }
    return result;
}

QString EventUndoReferences::resolve(const QString& eventID) const {
    QString current = eventID;
    QSet<QString> visited{current};
    while (m_eventIDs.contains(current)) {
        const QString next = m_eventIDs.value(current);
        if (visited.contains(next))
            break;
        visited.insert(next);
        current = next;
    }
    return current;
}

}  // namespace store
