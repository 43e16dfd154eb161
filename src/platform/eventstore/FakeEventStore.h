#pragma once

#include "platform/eventstore/EventStore.h"

#include <map>
#include <optional>
#include <vector>

namespace platform {

// An in-memory EventStore for tests. Repeating events are expanded for daily,
// weekly (with or without days of the week), monthly and yearly rules with an
// interval, an end date or a count; a "future events" change of a later
// occurrence splits the series as the real store does. Access, failures and
// reminder fetches can be steered, so that callers' failure paths can be tested.
class FakeEventStore : public EventStore {
    Q_OBJECT

public:
    // The operations that can be made to fail.
    enum class Operation {
        SaveEvent,
        RemoveEvent,
        SaveReminder,
        RemoveReminder,
        Commit,
        FetchReminders,  // the completion gets nullopt
        RequestAccess,   // the completion gets granted = false and the error's text
    };

    explicit FakeEventStore(QObject* parent = nullptr);
    ~FakeEventStore() override;

    // --- Set-up: written straight into the stored data, without a change signal ---------------

    // Full access to events and reminders, no calendars, no defaults.
    PlatformCalendar addCalendar(EntityType entity, const QString& title, std::optional<core::Color> color = {},
                                 std::optional<QString> sourceTitle = QStringLiteral("On This Computer"),
                                 bool allowsModifications = true, bool isSubscribed = false);
    void setCalendarAllowsModifications(const QString& calendarIdentifier, bool allows);
    void removeCalendar(const QString& calendarIdentifier);
    void setDefaultCalendarForNewEvents(const std::optional<QString>& calendarIdentifier);
    void setDefaultCalendarForNewReminders(const std::optional<QString>& calendarIdentifier);
    // Stores an event (its calendar named by calendar->calendarIdentifier) and returns it
    // as stored, identifiers assigned. Identifiers already set are kept.
    PlatformEvent addEvent(PlatformEvent event);
    PlatformReminder addReminder(PlatformReminder reminder);

    void setAuthorizationStatus(EntityType entity, AuthorizationStatus status);
    // What isLoading() answers.
    void setLoading(bool loading) { m_loading = loading; }
    // What requestFullAccess answers: the status afterwards, the granted flag and a message that comes with them.
    // Default: FullAccess, granted, no message.
    void setAccessAnswer(EntityType entity, AuthorizationStatus statusAfterwards, bool granted,
                         std::optional<QString> message = std::nullopt);

    // --- Failures ---------------------------------------------------------------------------------

    // The next call of the operation fails with the error (once).
    void failNext(Operation operation, const EventStoreError& error);
    // Every call fails with the error until cleared with nullopt.
    void failAlways(Operation operation, const std::optional<EventStoreError>& error);

    // --- Reminder fetches -----------------------------------------------------------------------

    // Held fetches are answered only by releaseReminderFetch(), so that overlapping
    // fetches can be finished in any order. A fetch's answer is taken when it is made.
    void setHoldReminderFetches(bool hold);
    int pendingReminderFetchCount() const { return static_cast<int>(m_heldFetches.size()); }
    // Answers the held fetch at that index (0 = oldest) now, inside this call.
    void releaseReminderFetch(int index = 0);

    // --- Observation ----------------------------------------------------------------------------

    // As if another program had changed the data: emits changed() later.
    void simulateExternalChange();
    bool hasStagedChanges() const { return m_staged; }
    int commitCount() const { return m_commitCount; }
    int resetCount() const { return m_resetCount; }
    int refreshSourcesCount() const { return m_refreshCount; }
    int callCount(Operation operation) const;
    // Every stored series or single event as stored (committed data), in creation order.
    std::vector<PlatformEvent> committedEvents() const;
    std::vector<PlatformReminder> committedReminders() const;

    // --- EventStore -----------------------------------------------------------------------------

    AuthorizationStatus authorizationStatus(EntityType entity) const override;
    void requestFullAccess(EntityType entity, AccessCompletion completion) override;
    std::vector<PlatformCalendar> calendars(EntityType entity) const override;
    std::optional<PlatformCalendar> calendar(const QString& calendarIdentifier) const override;
    std::optional<PlatformCalendar> defaultCalendarForNewEvents() const override;
    std::optional<PlatformCalendar> defaultCalendarForNewReminders() const override;
    std::vector<PlatformEvent> events(core::Date start, core::Date end,
                                      const std::optional<QStringList>& calendarIdentifiers) const override;
    std::optional<PlatformEvent> event(const QString& eventIdentifier) const override;
    std::optional<PlatformEvent> event(const QString& eventIdentifier, core::Date occurrenceDate) const override;
    std::optional<PlatformCalendarItem> calendarItem(const QString& calendarItemIdentifier) const override;
    PlatformEvent saveEvent(const PlatformEvent& event, Span span, bool commit) override;
    void removeEvent(const PlatformEvent& event, Span span, bool commit) override;
    // A copy of the whole series; putting it back replaces whatever holds its identifier by then, and is refused
    // while another series holds its external identifier.
    std::optional<StoredItem> storedItem(const QString& eventIdentifier) const override;
    PlatformEvent restoreItem(const StoredItem& item, bool commit) override;
    void fetchIncompleteReminders(const std::optional<QStringList>& calendarIdentifiers,
                                  RemindersCompletion completion) override;
    PlatformReminder saveReminder(const PlatformReminder& reminder, bool commit) override;
    void removeReminder(const PlatformReminder& reminder, bool commit) override;
    void commit() override;
    void reset() override;
    void refreshSources() override;
    bool isLoading() const override { return m_loading; }

private:
    struct Series {
        PlatformEvent master;                       // the first occurrence, with the rules
        std::vector<double> excluded;               // occurrence dates removed, whole seconds
        std::map<double, PlatformEvent> overrides;  // detached occurrences by occurrence date, whole seconds
    };
    struct Data {
        std::vector<Series> series;
        std::vector<PlatformReminder> reminders;
    };
    struct CalendarEntry {
        PlatformCalendar calendar;
        EntityType entity;
    };
    struct HeldFetch {
        std::optional<std::vector<PlatformReminder>> answer;
        RemindersCompletion completion;
    };

    bool hasAccess(EntityType entity) const;
    void checkFailure(Operation operation);
    const CalendarEntry* findCalendar(const QString& identifier) const;
    PlatformCalendar writableCalendarFor(const std::optional<PlatformCalendar>& wanted, EntityType entity) const;
    Series* findSeries(const QString& eventIdentifier);
    const Series* findSeries(const QString& eventIdentifier) const;
    // Occurrence dates (whole seconds) of a series from `from` up to `until`, excluded ones left out.
    std::vector<core::Date> occurrenceStarts(const Series& series, core::Date from, core::Date until) const;
    bool isOccurrence(const Series& series, core::Date occurrenceDate) const;
    PlatformEvent occurrence(const Series& series, core::Date occurrenceDate) const;
    PlatformEvent withCurrentCalendar(PlatformEvent event) const;
    PlatformReminder withCurrentCalendar(PlatformReminder reminder) const;
    QString newIdentifier(const QString& prefix);
    void finish(bool commit);

    std::vector<CalendarEntry> m_calendars;
    std::optional<QString> m_defaultEventCalendar;
    std::optional<QString> m_defaultReminderList;
    Data m_committed;
    Data m_working;
    // What storedItem() copied; an item names its copy by its position here.
    mutable std::vector<Series> m_storedCopies;
    bool m_staged = false;
    bool m_loading = false;
    int m_nextIdentifier = 1;

    AuthorizationStatus m_eventAccess = AuthorizationStatus::FullAccess;
    AuthorizationStatus m_reminderAccess = AuthorizationStatus::FullAccess;
    struct AccessAnswer {
        AuthorizationStatus status = AuthorizationStatus::FullAccess;
        bool granted = true;
        std::optional<QString> message;
    };
    AccessAnswer m_eventAnswer;
    AccessAnswer m_reminderAnswer;

    std::map<Operation, EventStoreError> m_failNext;
    std::map<Operation, EventStoreError> m_failAlways;
    std::map<Operation, int> m_calls;

    bool m_holdFetches = false;
    std::vector<HeldFetch> m_heldFetches;

    int m_commitCount = 0;
    int m_resetCount = 0;
    int m_refreshCount = 0;
};

}  // namespace platform
