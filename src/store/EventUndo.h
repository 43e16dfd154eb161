#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"
#include "model/EditSpan.h"
#include "platform/eventstore/PlatformTypes.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>
#include <variant>
#include <vector>

namespace store {

// An event as it was before a change or deletion: enough to put it back.
struct EventUndoSnapshot {
    QString eventID;  // the ODEvent id
    QString identifier;
    std::optional<QString> externalIdentifier;
    QString calendarID;
    QString title;                       // as shown, with the fallback for an untitled event
    std::optional<QString> storedTitle;  // what the event holds, which is what an undo puts back
    core::Date start;
    core::Date end;
    bool isAllDay = false;
    std::optional<core::TimeZone> timeZone;
    std::optional<QString> location;
    std::optional<platform::PlatformStructuredLocation> structuredLocation;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    platform::Availability availability = platform::Availability::Busy;
    std::vector<platform::PlatformAlarm> alarms;
    QList<platform::PlatformRecurrenceRule> recurrenceRules;

    static EventUndoSnapshot of(const platform::PlatformEvent& event);
    // Writes the snapshot onto the event: every field, and the rules only with
    // includeRecurrence (otherwise the event becomes a single event).
    void restore(platform::PlatformEvent& event, const platform::PlatformCalendar& calendar,
                 bool includeRecurrence) const;
    // Writes onto the event only the fields in which the snapshot differs from `changedTo` (what a change made of
    // it): what changed elsewhere since, in the other fields, stays.
    void restoreChanged(platform::PlatformEvent& event, const platform::PlatformCalendar& calendar,
                        const EventUndoSnapshot& changedTo) const;
};

// Which ids and identifiers replaced which, so that an id a screen still holds
// finds its event after an edit or an undo gave the event a new one.
class EventUndoReferences {
public:
    void rememberReplacement(const QString& oldID, const QString& newID);
    // The identifier and every identifier that replaced it, directly or not.
    QSet<QString> identifiersRelatedTo(const QString& identifier) const;
    // Follows the replacements from an id to the newest one; stops at a cycle.
    QString resolve(const QString& eventID) const;

    const QHash<QString, QString>& eventIDs() const { return m_eventIDs; }

private:
    QHash<QString, QString> m_eventIDs;
    QHash<QString, QSet<QString>> m_relatedIdentifiers;
};

struct CreatedEvent {
    QString eventIdentifier;
};
struct DeletedEvent {
    EventUndoSnapshot snapshot;
    model::EditSpan span;
    std::optional<EventUndoSnapshot> seriesRoot;
    // The item as stored before the deletion, where the calendar database keeps such copies: it comes back whole.
    std::optional<platform::StoredItem> stored;
};
struct UpdatedEvent {
    QString eventID;
    QString seriesIdentifier;
    EventUndoSnapshot previous;
    model::EditSpan span;
    std::optional<EventUndoSnapshot> seriesRoot;
    // The event as the edit saved it: the fields in which it differs from `previous` are the ones the edit changed.
    std::optional<EventUndoSnapshot> saved;
};
struct CompletedReminder {
    QString id;
};
struct CreatedReminder {
    QString id;
};
using UndoAction = std::variant<CreatedEvent, DeletedEvent, UpdatedEvent, CompletedReminder, CreatedReminder>;

struct UndoEntry {
    QUuid id;
    QString label;  // shown to the user
    UndoAction action;
};

}  // namespace store
