#pragma once

#include "platform/eventstore/EventStoreError.h"
#include "platform/eventstore/PlatformTypes.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace platform {

// The user's calendar database: event calendars and reminder lists, their items,
// access permission, and changes. Lives on the main thread; every call is made
// there. Reads never throw (no access or nothing found gives an empty answer);
// the changing operations throw EventStoreError.
//
// Identifiers (calendar, event, calendar item, external) are stable across reloads
// and restarts, unique across calendars, and never contain "|".
//
// Changes made with commit = false are staged: they are visible to every later
// read at once, combine with later changes of the same item, and get their
// identifiers at once; commit() writes them all, reset() drops them.
class EventStore : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~EventStore() override = default;

    // --- Access ---------------------------------------------------------------------------------

    virtual AuthorizationStatus authorizationStatus(EntityType entity) const = 0;
    // Asks the user for full access. The completion gets whether access was granted
    // and, when the request itself failed, a message for the user; it is called
    // later on the calling thread, never inside this call.
    using AccessCompletion = std::function<void(bool granted, std::optional<QString> errorMessage)>;
    virtual void requestFullAccess(EntityType entity, AccessCompletion completion) = 0;

    // --- Calendars ------------------------------------------------------------------------------

    // In the store's own order.
    virtual std::vector<PlatformCalendar> calendars(EntityType entity) const = 0;
    virtual std::optional<PlatformCalendar> calendar(const QString& calendarIdentifier) const = 0;
    virtual std::optional<PlatformCalendar> defaultCalendarForNewEvents() const = 0;
    virtual std::optional<PlatformCalendar> defaultCalendarForNewReminders() const = 0;

    // --- Events ---------------------------------------------------------------------------------

    // Every occurrence that overlaps [start, end) (an occurrence without length counts
    // when it starts inside), repeating events expanded, in the given calendars
    // (nullopt: all of them). Ordered by start.
    virtual std::vector<PlatformEvent> events(core::Date start, core::Date end,
                                              const std::optional<QStringList>& calendarIdentifiers) const = 0;
    // What events() gives, as stored when this is called, read off the calling thread where the store can: the
    // caller stays free meanwhile. The future may finish on any thread.
    virtual QFuture<std::vector<PlatformEvent>> fetchEvents(
        core::Date start, core::Date end, const std::optional<QStringList>& calendarIdentifiers) const {
        return QtFuture::makeReadyFuture(events(start, end, calendarIdentifiers));
    }
    // The event with that identifier; for a series, its first occurrence.
    virtual std::optional<PlatformEvent> event(const QString& eventIdentifier) const = 0;
    // The occurrence of that series whose occurrenceDate is the given date, wherever a
    // detached occurrence has moved to; a single event when its occurrence date matches.
    // Dates are compared in whole seconds, the precision event ids carry.
    virtual std::optional<PlatformEvent> event(const QString& eventIdentifier, core::Date occurrenceDate) const = 0;
    // An event (its first occurrence) or a reminder by calendarItemIdentifier.
    virtual std::optional<PlatformCalendarItem> calendarItem(const QString& calendarItemIdentifier) const = 0;

    // Saves a new event (empty eventIdentifier) or a change of the occurrence that
    // eventIdentifier + occurrenceDate name, with the span. Returns the event as
    // saved: its identifiers, occurrence date and detached flag as they now are.
    virtual PlatformEvent saveEvent(const PlatformEvent& event, Span span, bool commit) = 0;
    // Removes the occurrence that eventIdentifier + occurrenceDate name, with the span.
    virtual void removeEvent(const PlatformEvent& event, Span span, bool commit) = 0;
    // A copy of the event's item as stored now, which restoreItem() puts back exactly; nullopt where the store
    // keeps no such copies (an item is then put back from what the types here carry).
    virtual std::optional<StoredItem> storedItem(const QString& eventIdentifier) const {
        Q_UNUSED(eventIdentifier);
        return std::nullopt;
    }
    // Puts the copied item back as it was: the same identifiers, place and properties. Refused with Conflict when
    // its place changed since the copy other than through this store, or another item took its identifier. Returns
    // the item's first occurrence.
    virtual PlatformEvent restoreItem(const StoredItem& item, bool commit) {
        Q_UNUSED(item);
        Q_UNUSED(commit);
        throw EventStoreError::withDefaultMessage(EventStoreError::Code::Other);
    }

    // --- Reminders ------------------------------------------------------------------------------

    // The reminders that are not completed, in the given lists (nullopt: all).
    // The completion is called later on the calling thread, never inside this call;
    // nullopt when the store could not read them.
    using RemindersCompletion = std::function<void(std::optional<std::vector<PlatformReminder>> reminders)>;
    virtual void fetchIncompleteReminders(const std::optional<QStringList>& calendarIdentifiers,
                                          RemindersCompletion completion) = 0;
    // Saves a new reminder (empty calendarItemIdentifier) or a change of one. Returns it as saved.
    virtual PlatformReminder saveReminder(const PlatformReminder& reminder, bool commit) = 0;
    virtual void removeReminder(const PlatformReminder& reminder, bool commit) = 0;

    // --- Transactions and refresh ---------------------------------------------------------------

    // Writes every staged change. On failure nothing of the commit stays written and
    // the staged changes are kept.
    virtual void commit() = 0;
    // Drops every staged change and anything cached; later reads see the stored data.
    virtual void reset() = 0;
    // Asks the store to look for changes made elsewhere at once. A change found is
    // reported through changed().
    virtual void refreshSources() = 0;
    // A number that changes whenever anything a read could return may have changed (staged changes included),
    // after looking for changes where the store must; what was read at one version may be kept until the next.
    // nullopt when the store cannot tell: every read must then be made again.
    virtual std::optional<quint64> contentVersion() const { return std::nullopt; }
    // Whether the store is still reading what it holds for the first time: it answers as an empty store meanwhile,
    // and reports changed() once the read ends.
    virtual bool isLoading() const { return false; }
    // The items (by eventIdentifier, or calendarItemIdentifier for reminders) added, changed or removed since
    // contentVersion() gave `version`, when nothing but items changed; nullopt when the store cannot tell, or when
    // calendars or lists may have changed too: every read must then be made again.
    virtual std::optional<QStringList> changedItemsSince(quint64 version) const {
        Q_UNUSED(version);
        return std::nullopt;
    }
    // What events() gives of these items (by eventIdentifier) alone.
    virtual std::vector<PlatformEvent> eventsOfItems(core::Date start, core::Date end,
                                                     const std::optional<QStringList>& calendarIdentifiers,
                                                     const QSet<QString>& eventIdentifiers) const {
        std::vector<PlatformEvent> found = events(start, end, calendarIdentifiers);
        std::erase_if(found, [&](const PlatformEvent& e) { return !eventIdentifiers.contains(e.eventIdentifier); });
        return found;
    }

signals:
    // The stored data changed, through this store or elsewhere. Bursts may arrive.
    void changed();
    // The user's permission changed outside an access request (in the privacy settings).
    void accessChanged();
};

}  // namespace platform
