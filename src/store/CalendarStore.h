#pragma once

#include "core/Calendar.h"
#include "core/ClockTimer.h"
#include "core/Date.h"
#include "model/AccessStatus.h"
#include "model/Drafts.h"
#include "model/EditSpan.h"
#include "model/ODCalendar.h"
#include "model/ODEvent.h"
#include "model/ODReminder.h"
#include "platform/eventstore/EventStore.h"
#include "platform/systemevents/SystemEvents.h"
#include "store/EventUndo.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace store {

// The one model object between the application and the user's calendar
// database: access state, a loaded window of events, the calendar and
// reminder-list catalogues and the open reminders, refreshed when the data
// changes or the day rolls over. Main thread only.
//
// Each published property has a change signal that fires on every assignment,
// also when the value did not change.
class CalendarStore : public QObject {
    Q_OBJECT

public:
    // Reads the access state, subscribes to changes of the data and of the calendar
    // day, and loads once before returning.
    explicit CalendarStore(platform::EventStore& eventStore, platform::SystemEvents* systemEvents = nullptr,
                           QObject* parent = nullptr);
    ~CalendarStore() override;

    // --- Published state --------------------------------------------------------------------------

    model::AccessStatus eventAccess() const { return m_eventAccess; }
    model::AccessStatus reminderAccess() const { return m_reminderAccess; }
    // Every event calendar (not filtered by the enabled set), by account and title.
    const std::vector<model::ODCalendar>& calendars() const { return m_calendars; }
    // Every reminder list, in the store's order.
    const std::vector<model::ODCalendar>& reminderLists() const { return m_reminderLists; }
    // The events of the enabled calendars that overlap the loaded window.
    const std::vector<model::ODEvent>& events() const { return *m_events; }
    // The open reminders that have a due date, earliest first.
    const std::vector<model::ODReminder>& reminders() const { return m_reminders; }
    std::optional<core::Date> lastSynced() const { return m_lastSynced; }
    bool isRefreshing() const { return m_isRefreshing; }
    // The lists were read while the calendar database was still reading its data: they are empty for now, however
    // many calendars the user has, and fill at a coming reload.
    bool isLoading() const { return m_readWhileLoading; }
    // The message of the last failed access request. Only a failed request writes
    // it here; screens may also set it (the reminders list does when a completion fails).
    std::optional<QString> lastError() const { return m_lastError; }
    void setLastError(const std::optional<QString>& message);
    // The days events() covers.
    core::DateInterval loadedRange() const { return m_loadedRange; }

    // --- Access -----------------------------------------------------------------------------------

    // Asks the user for access to events (reminders); `done` gets whether it was granted.
    void requestAccess(std::function<void(bool granted)> done = {});
    void requestRemindersAccess(std::function<void(bool granted)> done = {});
    // No access to events: denied, restricted or write-only.
    bool isAccessDenied() const;

    // --- Loading ----------------------------------------------------------------------------------

    // Re-reads access and rebuilds every published list.
    void reload();
    // The user's refresh command: asks the calendar database to look for changes
    // made elsewhere, then reloads. isRefreshing is raised until the reload ends.
    void refreshSources();
    // nullopt: every calendar.
    std::optional<QSet<QString>> enabledCalendarIDs() const { return m_enabledCalendarIDs; }
    void setEnabledCalendarIDs(const std::optional<QSet<QString>>& ids);
    // Widens the window to cover the interval (it never shrinks). Only the added days are read, off the main
    // thread: they are published (loadedRangeChanged, eventsChanged) a moment later.
    void ensureLoaded(const core::DateInterval& interval);
    // The calendar day changed: the window grows to cover the weeks around the new
    // today, and the store reloads.
    void handleDayChanged();

    // --- Queries ----------------------------------------------------------------------------------

    std::optional<model::ODEvent> event(const QString& id) const;
    std::optional<model::ODCalendar> calendar(const QString& id) const;
    std::optional<model::ODCalendar> reminderList(const QString& id) const;
    // The calendars new events may go to: those that allow changes and are not subscriptions.
    std::vector<model::ODCalendar> writableCalendars() const;
    std::vector<model::ODCalendar> writableReminderLists() const;
    // The database's default calendar for new events (list for new reminders); nullopt
    // without full access or without a default.
    std::optional<QString> defaultCalendarID() const;
    std::optional<QString> defaultReminderListID() const;
    // The calendar a new event goes to: the first of `preferred` (a calendar the
    // screen chose, the one the settings name...) that allows changes, else the
    // database's default when it allows changes, else the first calendar that
    // does; nullopt when none does. Absent entries are skipped.
    std::optional<QString> calendarForNewEvents(std::initializer_list<std::optional<QString>> preferred) const;
    // One day's events in the given calendar; a day outside the window is fetched
    // directly, without touching the published lists.
    std::vector<model::ODEvent> events(core::Date day, const core::Calendar& calendar) const;
    // The events overlapping an interval, fetched directly, in the published order.
    std::vector<model::ODEvent> fetchEvents(const core::DateInterval& interval) const;
    // The next timed event not declined by the user that starts after `date` (or,
    // with includeOngoing, is under way at `date`), from the loaded window.
    std::optional<model::ODEvent> nextEvent(core::Date date, bool includeOngoing) const;

    // --- Changes --------------------------------------------------------------------------------
    // Each successful change pushes one undo entry. They throw model::CalendarStoreError
    // or the calendar database's platform::EventStoreError; a failed one changes nothing.
    // Ids are taken by value: callers pass the ids of the published lists, which a
    // change replaces while it still needs the id.

    model::ODEvent create(const model::EventDraft& draft);
    void update(QString id, const model::EventDraft& draft, model::EditSpan span);
    // Writes only the fields in which `edited` differs from `basis` (the event as the caller read it), onto the
    // event as it is now: the others keep what it holds, whoever changed them since. When another program changed
    // one of those fields too, to another value, throws model::EditConflictError and writes nothing.
    void update(QString id, const model::EventDraft& edited, model::EditSpan span, const model::EventDraft& basis);
    void deleteEvent(QString id, model::EditSpan span);
    void completeReminder(QString id);
    void createReminder(const model::ReminderDraft& draft);

    // --- Undo -----------------------------------------------------------------------------------

    // Newest last.
    const std::vector<UndoEntry>& undoStack() const { return m_undoStack; }
    // The label of the change the next undo() reverses.
    std::optional<QString> undoLabel() const;
    // Reverses the newest change, all of it or nothing; on failure the entry stays.
    void undo();

    platform::EventStore& eventStore() const { return m_ek; }

signals:
    void eventAccessChanged();
    void reminderAccessChanged();
    void calendarsChanged();
    void reminderListsChanged();
    void eventsChanged();
    void remindersChanged();
    void lastSyncedChanged();
    void isRefreshingChanged();
    void lastErrorChanged();
    void loadedRangeChanged();
    void undoStackChanged();

private:
    void scheduleReload();
    // Where a reload reads the window's events when it must read them all. A change made elsewhere (a sync, the
    // first read of the calendars) is read in the background: with tens of thousands of events, reading and making
    // them holds the main thread for a second. The app's own changes and the popover's opening are read at once.
    enum class EventRead { here, inBackground };
    void reloadFrom(EventRead where);
    // Reads the calendars, the window's events and the reminders again and publishes them.
    void reloadLists();
    void readCalendars();
    void readReminderLists();
    void updateAccess();
    void finishAccessRequest(platform::EntityType entity, bool granted, const std::optional<QString>& error,
                             const std::function<void(bool)>& done);
    std::optional<QStringList> enabledPlatformCalendarIDs() const;
    // Starts reading the days the screens asked for beyond the loaded window, unless a read is under way.
    void readWantedRange();
    struct RangeRead;
    void finishRangeRead(const RangeRead& read);
    // The published events, for a changed list to be made from: taken over, unless a read of added days may still
    // be reading them on a worker, where they are copied.
    std::vector<model::ODEvent> takeEvents();
    void loadReminders();
    void invalidateReminderFetches() { ++m_reminderFetchGeneration; }
    void setReminders(std::vector<model::ODReminder> reminders);
    static core::DateInterval windowAround(core::Date now);
    // fetchEvents() (of these events alone, when given), taking over from `earlier` what was found in the same
    // texts before.
    std::vector<model::ODEvent> readEvents(const core::DateInterval& interval, const std::vector<model::ODEvent>& earlier,
                                           const QSet<QString>* onlyEvents = nullptr) const;

    // What the published lists were read from. A reload that finds it unchanged
    // reads nothing again: the popover reloads on every opening.
    struct LoadSource {
        quint64 contentVersion = 0;
        model::AccessStatus eventAccess = model::AccessStatus::notDetermined;
        model::AccessStatus reminderAccess = model::AccessStatus::notDetermined;
        core::DateInterval range;
        std::optional<QSet<QString>> enabledCalendarIDs;
        QString floatingZone;

        bool operator==(const LoadSource&) const = default;
    };
    // nullopt when the calendar database cannot tell whether its data changed.
    std::optional<LoadSource> currentLoadSource() const;
    // Reads again only the events of the items that changed since `from`, when nothing else did (the window, the
    // calendars shown, access, the zone) and no more than `mostChanges` items did (-1: any number); false when
    // everything must be read again.
    bool reloadChangedEvents(const LoadSource& from, const LoadSource& to, qsizetype mostChanges = -1);
    // reloadLists(), with the events read and made off the main thread and published when they are.
    void readListsInBackground(const LoadSource& source);
    struct BackgroundRead;
    void finishBackgroundRead(QFuture<std::vector<model::ODEvent>> read);
    void dropBackgroundRead();

    platform::PlatformEvent createPlatformEvent(const model::EventDraft& draft);
    // The occurrence behind an ODEvent id, followed through earlier replacements.
    platform::PlatformEvent platformEvent(const QString& id) const;
    // Writes the fields of the draft onto the event; a repetition the draft carries always.
    void apply(const model::EventDraft& draft, platform::PlatformEvent& event,
               model::DraftFields fields = model::kAllDraftFields) const;
    void save(platform::PlatformEvent event, const model::EventDraft& draft, model::EditSpan span,
              model::DraftFields fields);
    void pushUndo(const QString& label, UndoAction action);
    platform::PlatformEvent existingEvent(const EventUndoSnapshot& snapshot) const;
    // The calendar an undo writes into; throws without full access or when it may not be changed.
    platform::PlatformCalendar writableCalendar(const QString& calendarID) const;
    void restore(const EventUndoSnapshot& snapshot, platform::PlatformEvent& event, bool includeRecurrence) const;
    void restoreChanged(const EventUndoSnapshot& snapshot, const EventUndoSnapshot& changedTo,
                        platform::PlatformEvent& event) const;
    platform::PlatformReminder platformReminder(const QString& id) const;
    struct UndoOutcome;
    void reverse(const UndoAction& action, UndoOutcome& outcome);

    platform::EventStore& m_ek;
    model::AccessStatus m_eventAccess;
    model::AccessStatus m_reminderAccess;
    std::vector<model::ODCalendar> m_calendars;
    std::vector<model::ODCalendar> m_reminderLists;
    // Never null. A read of added days merges the window's events with them on a worker, from this list as it
    // was: the list is replaced, never changed, while such a read may still hold it.
    std::shared_ptr<std::vector<model::ODEvent>> m_events;
    std::vector<model::ODReminder> m_reminders;
    std::optional<core::Date> m_lastSynced;
    bool m_isRefreshing = false;
    bool m_readWhileLoading = false;
    std::optional<QString> m_lastError;
    std::optional<QSet<QString>> m_enabledCalendarIDs;
    core::DateInterval m_loadedRange;
    // What the screens asked to be loaded: the loaded window catches up with it as the added days are read.
    core::DateInterval m_wantedRange;
    // Grows whenever the published events are read anew: days added to the window read before that are stale.
    quint64 m_eventsGeneration = 0;
    // The whole window's events once the added days are merged in; null when none were added.
    std::unique_ptr<QFutureWatcher<std::shared_ptr<std::vector<model::ODEvent>>>> m_rangeRead;
    std::unique_ptr<BackgroundRead> m_backgroundRead;
    core::ClockTimer m_reloadTimer;
    // Only the newest reminder fetch may publish: a slower, older one could bring
    // back a reminder completed in the meantime.
    quint64 m_reminderFetchGeneration = 0;
    std::vector<UndoEntry> m_undoStack;
    EventUndoReferences m_undoReferences;
    std::optional<LoadSource> m_loadedFrom;
};

}  // namespace store
