#include "store/CalendarStore.h"

#include "store/EventOrdering.h"

#include <QPointer>

#include <algorithm>

namespace store {
namespace {

constexpr double kReloadDelaySeconds = 0.3;
// More changed items than this are read in the background like all of them: a first sync brings thousands.
constexpr qsizetype kMostChangesReadHere = 200;
constexpr int kDaysBeforeToday = 42;
constexpr int kDaysAfterToday = 49;
constexpr double kSecondsPerDay = 86400;

model::ODCalendar toCalendar(const platform::PlatformCalendar& c) {
    return model::ODCalendar{c.calendarIdentifier,
                             c.title,
                             c.color.value_or(model::kDefaultCalendarColor),
                             c.sourceTitle.value_or(QString()),
                             c.allowsContentModifications,
                             c.isSubscribed};
}

std::vector<model::ODCalendar> toCalendars(const std::vector<platform::PlatformCalendar>& list) {
    std::vector<model::ODCalendar> result;
    result.reserve(list.size());
    for (const auto& c : list)
        result.push_back(toCalendar(c));
    return result;
}

// Day arithmetic never fails for real dates; should it, a fixed day length keeps
// the store working.
core::Date addDays(const core::Calendar& calendar, int days, core::Date date) {
    return calendar.dateByAdding(core::CalendarUnit::Day, days, date).value_or(date + days * kSecondsPerDay);
}

bool covers(const core::DateInterval& outer, const core::DateInterval& inner) {
    return inner.start >= outer.start && inner.end() <= outer.end();
}

core::DateInterval united(const core::DateInterval& a, const core::DateInterval& b) {
    const core::Date start = std::min(a.start, b.start);
    return core::DateInterval{start, std::max(a.end(), b.end()) - start};
}

// Whether events(start, end) of the calendar database returns the event for that interval.
bool isReadFor(const platform::PlatformEvent& event, const core::DateInterval& interval) {
    if (!event.startDate)
        return false;
    const core::Date start = *event.startDate;
    const core::Date end = event.endDate.value_or(start);
    if (end > start)
        return start < interval.end() && end > interval.start;
    return start >= interval.start && start < interval.end();
}

}  // namespace

// What a read in the background started from: its events are published only onto what it was started next to.
struct CalendarStore::BackgroundRead {
    LoadSource source;
    quint64 eventsGeneration = 0;
    std::unique_ptr<QFutureWatcher<std::vector<model::ODEvent>>> watcher;
};

CalendarStore::CalendarStore(platform::EventStore& eventStore, platform::SystemEvents* systemEvents, QObject* parent)
    : QObject(parent),
      m_ek(eventStore),
      m_eventAccess(model::accessStatus(eventStore.authorizationStatus(platform::EntityType::Event))),
      m_reminderAccess(model::accessStatus(eventStore.authorizationStatus(platform::EntityType::Reminder))),
      m_events(std::make_shared<std::vector<model::ODEvent>>()),
      m_loadedRange(windowAround(core::Date::now())),
      m_wantedRange(m_loadedRange) {
    connect(&m_reloadTimer, &core::ClockTimer::timeout, this, [this] { reloadFrom(EventRead::inBackground); });
    connect(&m_ek, &platform::EventStore::changed, this, &CalendarStore::scheduleReload, Qt::QueuedConnection);
    // Not coalesced like data changes: access switched off must empty the lists now.
    connect(&m_ek, &platform::EventStore::accessChanged, this, &CalendarStore::reload, Qt::QueuedConnection);
    if (systemEvents)
        connect(systemEvents, &platform::SystemEvents::dayChanged, this, &CalendarStore::handleDayChanged,
                Qt::QueuedConnection);
    reload();
}

CalendarStore::~CalendarStore() = default;

core::DateInterval CalendarStore::windowAround(core::Date now) {
    const core::Calendar calendar;
    const core::Date today = calendar.startOfDay(now);
    const core::Date start = addDays(calendar, -kDaysBeforeToday, today);
    const core::Date end = addDays(calendar, kDaysAfterToday, today);
    return core::DateInterval{start, end - start};
}

void CalendarStore::setLastError(const std::optional<QString>& message) {
    m_lastError = message;
    emit lastErrorChanged();
}

// --- Access ------------------------------------------------------------------------------------

bool CalendarStore::isAccessDenied() const {
    return m_eventAccess == model::AccessStatus::denied || m_eventAccess == model::AccessStatus::restricted ||
           m_eventAccess == model::AccessStatus::writeOnly;
}

void CalendarStore::updateAccess() {
    m_eventAccess = model::accessStatus(m_ek.authorizationStatus(platform::EntityType::Event));
    emit eventAccessChanged();
    m_reminderAccess = model::accessStatus(m_ek.authorizationStatus(platform::EntityType::Reminder));
    emit reminderAccessChanged();
}

void CalendarStore::requestAccess(std::function<void(bool)> done) {
    QPointer<CalendarStore> self(this);
    m_ek.requestFullAccess(platform::EntityType::Event,
                           [self, done = std::move(done)](bool granted, const std::optional<QString>& error) {
                               if (self)
                                   self->finishAccessRequest(platform::EntityType::Event, granted, error, done);
                           });
}

void CalendarStore::requestRemindersAccess(std::function<void(bool)> done) {
    QPointer<CalendarStore> self(this);
    m_ek.requestFullAccess(platform::EntityType::Reminder,
                           [self, done = std::move(done)](bool granted, const std::optional<QString>& error) {
                               if (self)
                                   self->finishAccessRequest(platform::EntityType::Reminder, granted, error, done);
                           });
}

void CalendarStore::finishAccessRequest(platform::EntityType entity, bool granted, const std::optional<QString>& error,
                                        const std::function<void(bool)>& done) {
    if (error)
        setLastError(error);
    updateAccess();
    reload();
    // A message may come with access that is held all the same (an answer kept only until the app quits).
    const bool held = (entity == platform::EntityType::Event ? m_eventAccess : m_reminderAccess) ==
                      model::AccessStatus::fullAccess;
    if (done)
        done(granted && (!error || held));
}

// --- Loading -----------------------------------------------------------------------------------

// A burst of change notices (a sync writing many files) ends in one reload, a
// moment after the last of them. The first data of a store that was still
// loading is shown at once: the lists are empty until then.
void CalendarStore::scheduleReload() {
    if (m_readWhileLoading && !m_ek.isLoading()) {
        reloadFrom(EventRead::inBackground);
        return;
    }
    m_reloadTimer.startAt(core::Date::now() + kReloadDelaySeconds);
}

std::optional<CalendarStore::LoadSource> CalendarStore::currentLoadSource() const {
    const std::optional<quint64> version = m_ek.contentVersion();
    if (!version)
        return std::nullopt;
    // Floating times are read in the current zone: the same data reads differently in another.
    return LoadSource{*version,          m_eventAccess,        m_reminderAccess,
                      m_loadedRange,     m_enabledCalendarIDs, core::TimeZone::current().identifier()};
}

void CalendarStore::reload() {
    reloadFrom(EventRead::here);
}

void CalendarStore::reloadFrom(EventRead where) {
    m_reloadTimer.stop();
    updateAccess();
    const std::optional<LoadSource> source = currentLoadSource();
    const bool beingRead = source && m_backgroundRead && m_backgroundRead->source == source;
    if (!beingRead && (!source || source != m_loadedFrom)) {
        // Many changed items (a first sync) are as much work as all of them: that is done in the background.
        const qsizetype mostChanges = where == EventRead::inBackground ? kMostChangesReadHere : -1;
        const bool onlyChanges = source && m_loadedFrom && reloadChangedEvents(*m_loadedFrom, *source, mostChanges);
        if (!onlyChanges && where == EventRead::inBackground && source) {
            readListsInBackground(*source);
        } else {
            if (!onlyChanges)
                reloadLists();
            dropBackgroundRead();
        }
    }
    // What a read in the background was read from counts once it is published.
    if (!m_backgroundRead)
        m_loadedFrom = source;

    m_lastSynced = core::Date::now();
    emit lastSyncedChanged();
    m_isRefreshing = false;
    emit isRefreshingChanged();
}

void CalendarStore::reloadLists() {
    ++m_eventsGeneration;
    dropBackgroundRead();
    m_readWhileLoading = m_ek.isLoading();
    if (m_eventAccess == model::AccessStatus::fullAccess) {
        readCalendars();
        m_events = std::make_shared<std::vector<model::ODEvent>>(readEvents(m_loadedRange, *m_events));
    } else {
        m_calendars.clear();
        emit calendarsChanged();
        m_events = std::make_shared<std::vector<model::ODEvent>>();
    }
    emit eventsChanged();
    readReminderLists();
}

void CalendarStore::readCalendars() {
    m_calendars = toCalendars(m_ek.calendars(platform::EntityType::Event));
    ordering::sortCalendars(m_calendars);
    emit calendarsChanged();
}

void CalendarStore::dropBackgroundRead() {
    // Possibly from inside the watcher's own signal.
    if (const std::unique_ptr<BackgroundRead> dropped = std::move(m_backgroundRead); dropped && dropped->watcher)
        dropped->watcher.release()->deleteLater();
}

void CalendarStore::readListsInBackground(const LoadSource& source) {
    const std::optional<QStringList> calendarIDs = enabledPlatformCalendarIDs();
    if (m_eventAccess != model::AccessStatus::fullAccess || (calendarIDs && calendarIDs->isEmpty())) {
        reloadLists();
        m_loadedFrom = source;
        return;
    }
    m_readWhileLoading = m_ek.isLoading();
    readCalendars();
    readReminderLists();
    // Made where the events were read: on a worker, unless the calendar database answered at once. Each event's
    // meeting link is looked for anew there, the published ones staying with the main thread.
    QFuture<std::vector<model::ODEvent>> read =
        m_ek.fetchEvents(source.range.start, source.range.end(), calendarIDs)
            .then([](const std::vector<platform::PlatformEvent>& fetched) {
                std::vector<model::ODEvent> events;
                events.reserve(fetched.size());
                for (const platform::PlatformEvent& e : fetched)
                    events.push_back(model::ODEvent::fromPlatform(e));
                return ordering::arrangeFetchedEvents(std::move(events), core::Calendar());
            });
    m_backgroundRead = std::make_unique<BackgroundRead>();
    m_backgroundRead->source = source;
    m_backgroundRead->eventsGeneration = m_eventsGeneration;
    if (read.isFinished()) {
        finishBackgroundRead(read);
        return;
    }
    m_backgroundRead->watcher = std::make_unique<QFutureWatcher<std::vector<model::ODEvent>>>();
    connect(m_backgroundRead->watcher.get(), &QFutureWatcherBase::finished, this, [this, read] { finishBackgroundRead(read); });
    m_backgroundRead->watcher->setFuture(read);
}

void CalendarStore::finishBackgroundRead(QFuture<std::vector<model::ODEvent>> read) {
    if (!m_backgroundRead)
        return;
    const LoadSource source = m_backgroundRead->source;
    const quint64 generation = m_backgroundRead->eventsGeneration;
    dropBackgroundRead();
    // Read anew here since (a change of this app, access, the calendars shown): that is what stands.
    if (generation != m_eventsGeneration)
        return;
    // The window grew or the data changed again while it was read: read once more, next to what is published.
    if (currentLoadSource() != source) {
        reloadFrom(EventRead::inBackground);
        return;
    }
    ++m_eventsGeneration;
    m_events = std::make_shared<std::vector<model::ODEvent>>(read.resultCount() > 0 ? read.takeResult()
                                                                                    : std::vector<model::ODEvent>{});
    m_loadedFrom = source;
    emit eventsChanged();
    readWantedRange();
}

void CalendarStore::readReminderLists() {
    if (m_reminderAccess == model::AccessStatus::fullAccess) {
        m_reminderLists = toCalendars(m_ek.calendars(platform::EntityType::Reminder));
        emit reminderListsChanged();
        loadReminders();
    } else {
        m_reminderLists.clear();
        emit reminderListsChanged();
        invalidateReminderFetches();
        setReminders({});
    }
}

bool CalendarStore::reloadChangedEvents(const LoadSource& from, const LoadSource& to, qsizetype mostChanges) {
    LoadSource onlyTheData = from;
    onlyTheData.contentVersion = to.contentVersion;
    if (onlyTheData != to)
        return false;
    const std::optional<QStringList> changed = m_ek.changedItemsSince(from.contentVersion);
    if (!changed || (mostChanges >= 0 && changed->size() > mostChanges))
        return false;
    const QSet<QString> identifiers(changed->begin(), changed->end());
    std::vector<model::ODEvent> earlier;
    for (const model::ODEvent& e : *m_events)
        if (identifiers.contains(e.eventIdentifier))
            earlier.push_back(e);
    std::vector<model::ODEvent> added = readEvents(m_loadedRange, earlier, &identifiers);
    // Whether an all-day event of a read-only calendar is shown depends on the other events of its day.
    const auto isAllDay = [](const model::ODEvent& e) { return e.isAllDay; };
    if (std::any_of(earlier.begin(), earlier.end(), isAllDay) || std::any_of(added.begin(), added.end(), isAllDay))
        return false;
    ++m_eventsGeneration;
    std::vector<model::ODEvent> kept = takeEvents();
    std::erase_if(kept, [&](const model::ODEvent& e) { return identifiers.contains(e.eventIdentifier); });
    m_events =
        std::make_shared<std::vector<model::ODEvent>>(ordering::mergeArranged(std::move(kept), std::move(added)));
    emit eventsChanged();
    // Reminders are read on a worker; the items that changed may be among them.
    if (m_reminderAccess == model::AccessStatus::fullAccess)
        loadReminders();
    return true;
}

void CalendarStore::refreshSources() {
    m_isRefreshing = true;
    emit isRefreshingChanged();
    m_ek.refreshSources();
    reload();
}

void CalendarStore::setEnabledCalendarIDs(const std::optional<QSet<QString>>& ids) {
    if (ids == m_enabledCalendarIDs)
        return;
    m_enabledCalendarIDs = ids;
    reload();
}

void CalendarStore::ensureLoaded(const core::DateInterval& interval) {
    // An interval that names no days must not stretch the window without bound.
    if (!interval.start.isInCalendarRange() || !interval.end().isInCalendarRange() || interval.duration < 0)
        return;
    if (covers(m_wantedRange, interval))
        return;
    m_wantedRange = united(m_wantedRange, interval);
    readWantedRange();
}

// What a read of added days started from: its result is published only onto the events it was read next to.
struct CalendarStore::RangeRead {
    quint64 eventsGeneration = 0;
    std::optional<LoadSource> source;
    core::DateInterval from;
    core::DateInterval to;
};

void CalendarStore::readWantedRange() {
    if (m_rangeRead || covers(m_loadedRange, m_wantedRange))
        return;
    const RangeRead read{m_eventsGeneration, currentLoadSource(), m_loadedRange, m_wantedRange};
    const std::optional<QStringList> calendarIDs = enabledPlatformCalendarIDs();
    if (m_eventAccess != model::AccessStatus::fullAccess || (calendarIDs && calendarIDs->isEmpty())) {
        finishRangeRead(read);
        return;
    }
    // Only the days added at either end are read; when both ends grow, the whole window is, and the
    // events already loaded are left out of the result.
    const bool earlier = read.to.start < read.from.start;
    const bool later = read.to.end() > read.from.end();
    const core::Date start = earlier ? read.to.start : read.from.end();
    const core::Date end = later ? read.to.end() : read.from.start;
    // The window's events are merged with the added days here too: with tens of thousands of them, moving them
    // into one list holds the main thread longer than a frame.
    QFuture<std::shared_ptr<std::vector<model::ODEvent>>> merged =
        m_ek.fetchEvents(start, end, calendarIDs)
            .then(QtFuture::Launch::Async,
                  [from = read.from, basis = m_events](const std::vector<platform::PlatformEvent>& fetched) mutable {
                      // Let go before the result is handed over: from then on the main thread may change the list.
                      const std::shared_ptr<const std::vector<model::ODEvent>> published =
                          std::exchange(basis, nullptr);
                      std::vector<model::ODEvent> events;
                      for (const platform::PlatformEvent& e : fetched)
                          if (!isReadFor(e, from))
                              events.push_back(model::ODEvent::fromPlatform(e));
                      if (events.empty())
                          return std::shared_ptr<std::vector<model::ODEvent>>();
                      return std::make_shared<std::vector<model::ODEvent>>(ordering::mergeArrangedCopying(
                          *published, ordering::arrangeFetchedEvents(std::move(events), core::Calendar())));
                  });
    m_rangeRead = std::make_unique<QFutureWatcher<std::shared_ptr<std::vector<model::ODEvent>>>>();
    connect(m_rangeRead.get(), &QFutureWatcherBase::finished, this, [this, read] { finishRangeRead(read); });
    m_rangeRead->setFuture(merged);
}

void CalendarStore::finishRangeRead(const RangeRead& read) {
    std::shared_ptr<std::vector<model::ODEvent>> merged;
    if (m_rangeRead) {
        QFuture<std::shared_ptr<std::vector<model::ODEvent>>> future = m_rangeRead->future();
        if (future.resultCount() > 0)
            merged = future.takeResult();
        m_rangeRead.release()->deleteLater();
    }
    const auto dataOf = [](std::optional<LoadSource> source) {
        if (source)
            source->range = {};
        return source;
    };
    // The events were read anew, the window moved with the day, or the data changed while the added days were
    // read: they are read again, next to what is published now.
    if (read.eventsGeneration != m_eventsGeneration || read.from != m_loadedRange ||
        dataOf(read.source) != dataOf(currentLoadSource())) {
        readWantedRange();
        return;
    }
    if (merged)
        m_events = std::move(merged);
    m_loadedRange = read.to;
    if (m_loadedFrom)
        m_loadedFrom->range = read.to;
    emit loadedRangeChanged();
    emit eventsChanged();
    readWantedRange();
}

std::vector<model::ODEvent> CalendarStore::takeEvents() {
    if (m_rangeRead || m_events.use_count() > 1)
        return *m_events;
    return std::move(*m_events);
}

void CalendarStore::handleDayChanged() {
    // The window is fixed at start-up otherwise: after weeks of uptime there would
    // be no upcoming events, no countdown and no alerts.
    const core::DateInterval around = windowAround(core::Date::now());
    if (!covers(m_loadedRange, around)) {
        m_loadedRange = united(m_loadedRange, around);
        m_wantedRange = united(m_wantedRange, m_loadedRange);
        emit loadedRangeChanged();
    }
    scheduleReload();
}

std::optional<QStringList> CalendarStore::enabledPlatformCalendarIDs() const {
    if (!m_enabledCalendarIDs)
        return std::nullopt;
    QStringList ids;
    for (const auto& c : m_ek.calendars(platform::EntityType::Event))
        if (m_enabledCalendarIDs->contains(c.calendarIdentifier))
            ids << c.calendarIdentifier;
    return ids;
}

std::vector<model::ODEvent> CalendarStore::fetchEvents(const core::DateInterval& interval) const {
    return readEvents(interval, {});
}

std::vector<model::ODEvent> CalendarStore::readEvents(const core::DateInterval& interval,
                                                      const std::vector<model::ODEvent>& earlier,
                                                      const QSet<QString>* onlyEvents) const {
    if (m_eventAccess != model::AccessStatus::fullAccess)
        return {};
    const std::optional<QStringList> calendarIDs = enabledPlatformCalendarIDs();
    if (calendarIDs && calendarIDs->isEmpty())
        return {};
    QHash<QString, const model::ODEvent*> earlierById;
    earlierById.reserve(static_cast<qsizetype>(earlier.size()));
    for (const model::ODEvent& e : earlier)
        earlierById.insert(e.id, &e);
    std::vector<model::ODEvent> events;
    const std::vector<platform::PlatformEvent> read =
        onlyEvents ? m_ek.eventsOfItems(interval.start, interval.end(), calendarIDs, *onlyEvents)
                   : m_ek.events(interval.start, interval.end(), calendarIDs);
    for (const auto& e : read)
        events.push_back(model::ODEvent::fromPlatform(
            e, earlierById.isEmpty() ? nullptr : earlierById.value(model::ODEvent::idOf(e))));
    return ordering::arrangeFetchedEvents(std::move(events), core::Calendar());
}

void CalendarStore::loadReminders() {
    const quint64 generation = ++m_reminderFetchGeneration;
    QPointer<CalendarStore> self(this);
    m_ek.fetchIncompleteReminders(
        std::nullopt, [self, generation](const std::optional<std::vector<platform::PlatformReminder>>& fetched) {
            if (!self || generation != self->m_reminderFetchGeneration)
                return;
            // Access may have been withdrawn while the fetch ran.
            if (self->m_ek.authorizationStatus(platform::EntityType::Reminder) !=
                platform::AuthorizationStatus::FullAccess)
                return;
            std::vector<model::ODReminder> reminders;
            for (const auto& r : fetched.value_or(std::vector<platform::PlatformReminder>{}))
                if (r.dueDateComponents)
                    reminders.push_back(model::ODReminder::fromPlatform(r));
            ordering::sortReminders(reminders);
            self->setReminders(std::move(reminders));
        });
}

void CalendarStore::setReminders(std::vector<model::ODReminder> reminders) {
    m_reminders = std::move(reminders);
    emit remindersChanged();
}

// --- Queries -----------------------------------------------------------------------------------

std::optional<model::ODEvent> CalendarStore::event(const QString& id) const {
    const auto it = std::find_if(m_events->begin(), m_events->end(), [&](const auto& e) { return e.id == id; });
    return it == m_events->end() ? std::nullopt : std::optional(*it);
}

std::optional<model::ODCalendar> CalendarStore::calendar(const QString& id) const {
    const auto it = std::find_if(m_calendars.begin(), m_calendars.end(), [&](const auto& c) { return c.id == id; });
    return it == m_calendars.end() ? std::nullopt : std::optional(*it);
}

std::optional<model::ODCalendar> CalendarStore::reminderList(const QString& id) const {
    const auto it =
        std::find_if(m_reminderLists.begin(), m_reminderLists.end(), [&](const auto& c) { return c.id == id; });
    return it == m_reminderLists.end() ? std::nullopt : std::optional(*it);
}

std::vector<model::ODCalendar> CalendarStore::writableCalendars() const {
    std::vector<model::ODCalendar> result;
    // A subscription is replaced from its feed: an event put there would not last.
    std::copy_if(m_calendars.begin(), m_calendars.end(), std::back_inserter(result),
                 [](const auto& c) { return c.allowsModifications && !c.isSubscribed; });
    return result;
}

std::vector<model::ODCalendar> CalendarStore::writableReminderLists() const {
    std::vector<model::ODCalendar> result;
    std::copy_if(m_reminderLists.begin(), m_reminderLists.end(), std::back_inserter(result),
                 [](const auto& c) { return c.allowsModifications; });
    return result;
}

std::optional<QString> CalendarStore::defaultCalendarID() const {
    if (m_eventAccess != model::AccessStatus::fullAccess && m_eventAccess != model::AccessStatus::writeOnly)
        return std::nullopt;
    const auto c = m_ek.defaultCalendarForNewEvents();
    return c ? std::optional(c->calendarIdentifier) : std::nullopt;
}

std::optional<QString> CalendarStore::calendarForNewEvents(
    std::initializer_list<std::optional<QString>> preferred) const {
    const std::vector<model::ODCalendar> writable = writableCalendars();
    const auto isWritable = [&](const std::optional<QString>& id) {
        return id && std::any_of(writable.begin(), writable.end(),
                                 [&](const model::ODCalendar& calendar) { return calendar.id == *id; });
    };
    for (const std::optional<QString>& candidate : preferred)
        if (isWritable(candidate))
            return candidate;
    if (const std::optional<QString> platformDefault = defaultCalendarID(); isWritable(platformDefault))
        return platformDefault;
    if (writable.empty())
        return std::nullopt;
    return writable.front().id;
}

std::optional<QString> CalendarStore::defaultReminderListID() const {
    if (m_reminderAccess != model::AccessStatus::fullAccess)
        return std::nullopt;
    const auto c = m_ek.defaultCalendarForNewReminders();
    return c ? std::optional(c->calendarIdentifier) : std::nullopt;
}

std::vector<model::ODEvent> CalendarStore::events(core::Date day, const core::Calendar& calendar) const {
    const core::Date dayStart = calendar.startOfDay(day);
    const core::Date dayEnd = addDays(calendar, 1, dayStart);
    if (dayStart < m_loadedRange.start || dayEnd > m_loadedRange.end())
        return fetchEvents(core::DateInterval{dayStart, dayEnd - dayStart});
    std::vector<model::ODEvent> result;
    std::copy_if(m_events->begin(), m_events->end(), std::back_inserter(result),
                 [&](const model::ODEvent& e) { return e.start < dayEnd && e.end > dayStart; });
    ordering::sortDayEvents(result);
    return result;
}

std::optional<model::ODEvent> CalendarStore::nextEvent(core::Date date, bool includeOngoing) const {
    for (const model::ODEvent& e : *m_events) {
        if (e.isAllDay || e.isDeclined())
            continue;
        if (e.start > date || (includeOngoing && e.start <= date && e.end > date))
            return e;
    }
    return std::nullopt;
}

}  // namespace store
