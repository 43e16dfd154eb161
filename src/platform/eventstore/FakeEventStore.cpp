#include "platform/eventstore/FakeEventStore.h"

#include "core/Calendar.h"
#include "core/Locale.h"

#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

using Code = EventStoreError::Code;

// Occurrences are named in whole seconds, as event ids carry them.
double wholeSeconds(core::Date date) {
    return std::trunc(date.secondsSince1970());
}

bool overlaps(const PlatformEvent& event, core::Date start, core::Date end) {
    const core::Date s = event.startDate.value_or(core::Date());
    const core::Date e = std::max(s, event.endDate.value_or(s));
    if (s >= end) {
        return false;
    }
    return e > start || (e == s && s >= start);
}

// A runaway rule must not hang a test.
constexpr int kMaxExpansionSteps = 100000;

}  // namespace

FakeEventStore::FakeEventStore(QObject* parent) : EventStore(parent) {}

FakeEventStore::~FakeEventStore() = default;

// --- Set-up ---------------------------------------------------------------------------------------

PlatformCalendar FakeEventStore::addCalendar(EntityType entity, const QString& title, std::optional<core::Color> color,
                                             std::optional<QString> sourceTitle, bool allowsModifications,
                                             bool isSubscribed) {
    PlatformCalendar calendar;
    calendar.calendarIdentifier = newIdentifier(QStringLiteral("cal-"));
    calendar.title = title;
    calendar.color = color;
    calendar.sourceTitle = std::move(sourceTitle);
    calendar.allowsContentModifications = allowsModifications;
    calendar.isSubscribed = isSubscribed;
    m_calendars.push_back({calendar, entity});
    return calendar;
}

void FakeEventStore::setCalendarAllowsModifications(const QString& calendarIdentifier, bool allows) {
    for (auto& entry : m_calendars) {
        if (entry.calendar.calendarIdentifier == calendarIdentifier) {
            entry.calendar.allowsContentModifications = allows;
        }
    }
}

void FakeEventStore::removeCalendar(const QString& calendarIdentifier) {
    std::erase_if(m_calendars,
                  [&](const CalendarEntry& entry) { return entry.calendar.calendarIdentifier == calendarIdentifier; });
}

void FakeEventStore::setDefaultCalendarForNewEvents(const std::optional<QString>& calendarIdentifier) {
    m_defaultEventCalendar = calendarIdentifier;
}

void FakeEventStore::setDefaultCalendarForNewReminders(const std::optional<QString>& calendarIdentifier) {
    m_defaultReminderList = calendarIdentifier;
}

PlatformEvent FakeEventStore::addEvent(PlatformEvent event) {
    if (event.eventIdentifier.isEmpty()) {
        event.eventIdentifier = newIdentifier(QStringLiteral("E"));
    }
    if (event.calendarItemIdentifier.isEmpty()) {
        event.calendarItemIdentifier = newIdentifier(QStringLiteral("I"));
    }
    if (!event.calendarItemExternalIdentifier) {
        event.calendarItemExternalIdentifier = event.eventIdentifier + QStringLiteral("@fake.invalid");
    }
    if (event.calendar) {
        if (const CalendarEntry* entry = findCalendar(event.calendar->calendarIdentifier)) {
            event.calendar = entry->calendar;
        }
    }
    if (!event.endDate) {
        event.endDate = event.startDate;
    }
    event.occurrenceDate = event.startDate;
    event.isDetached = false;
    event.revision = newIdentifier(QStringLiteral("rev-"));
    Series series{event, {}, {}};
    m_committed.series.push_back(series);
    m_working.series.push_back(series);
    return withCurrentCalendar(event);
}

PlatformReminder FakeEventStore::addReminder(PlatformReminder reminder) {
    if (reminder.calendarItemIdentifier.isEmpty()) {
        reminder.calendarItemIdentifier = newIdentifier(QStringLiteral("R"));
    }
    if (!reminder.calendarItemExternalIdentifier) {
        reminder.calendarItemExternalIdentifier = reminder.calendarItemIdentifier + QStringLiteral("@fake.invalid");
    }
    reminder.revision = newIdentifier(QStringLiteral("rev-"));
    m_committed.reminders.push_back(reminder);
    m_working.reminders.push_back(reminder);
    return withCurrentCalendar(reminder);
}

void FakeEventStore::setAuthorizationStatus(EntityType entity, AuthorizationStatus status) {
    (entity == EntityType::Event ? m_eventAccess : m_reminderAccess) = status;
}

void FakeEventStore::setAccessAnswer(EntityType entity, AuthorizationStatus statusAfterwards, bool granted,
                                     std::optional<QString> message) {
    (entity == EntityType::Event ? m_eventAnswer : m_reminderAnswer) =
        AccessAnswer{statusAfterwards, granted, std::move(message)};
}

// --- Failures -------------------------------------------------------------------------------------

void FakeEventStore::failNext(Operation operation, const EventStoreError& error) {
    m_failNext.insert_or_assign(operation, error);
}

void FakeEventStore::failAlways(Operation operation, const std::optional<EventStoreError>& error) {
    if (error) {
        m_failAlways.insert_or_assign(operation, *error);
    } else {
        m_failAlways.erase(operation);
    }
}

void FakeEventStore::checkFailure(Operation operation) {
    ++m_calls[operation];
    if (auto it = m_failNext.find(operation); it != m_failNext.end()) {
        const EventStoreError error = it->second;
        m_failNext.erase(it);
        throw error;
    }
    if (auto it = m_failAlways.find(operation); it != m_failAlways.end()) {
        throw it->second;
    }
}

int FakeEventStore::callCount(Operation operation) const {
    const auto it = m_calls.find(operation);
    return it == m_calls.end() ? 0 : it->second;
}

// --- Reminder fetches -----------------------------------------------------------------------------

void FakeEventStore::setHoldReminderFetches(bool hold) {
    m_holdFetches = hold;
}

void FakeEventStore::releaseReminderFetch(int index) {
    if (index < 0 || index >= pendingReminderFetchCount()) {
        return;
    }
    HeldFetch fetch = std::move(m_heldFetches[static_cast<size_t>(index)]);
    m_heldFetches.erase(m_heldFetches.begin() + index);
    fetch.completion(std::move(fetch.answer));
}

// --- Observation ----------------------------------------------------------------------------------

void FakeEventStore::simulateExternalChange() {
    QMetaObject::invokeMethod(this, &EventStore::changed, Qt::QueuedConnection);
}

std::vector<PlatformEvent> FakeEventStore::committedEvents() const {
    std::vector<PlatformEvent> result;
    for (const Series& series : m_committed.series) {
        result.push_back(withCurrentCalendar(series.master));
    }
    return result;
}

std::vector<PlatformReminder> FakeEventStore::committedReminders() const {
    std::vector<PlatformReminder> result;
    for (const PlatformReminder& reminder : m_committed.reminders) {
        result.push_back(withCurrentCalendar(reminder));
    }
    return result;
}

// --- Access ---------------------------------------------------------------------------------------

AuthorizationStatus FakeEventStore::authorizationStatus(EntityType entity) const {
    return entity == EntityType::Event ? m_eventAccess : m_reminderAccess;
}

void FakeEventStore::requestFullAccess(EntityType entity, AccessCompletion completion) {
    std::optional<QString> failure;
    try {
        checkFailure(Operation::RequestAccess);
    } catch (const EventStoreError& error) {
        failure = error.errorDescription();
    }
    QTimer::singleShot(0, this, [this, entity, failure, completion = std::move(completion)] {
        if (failure) {
            completion(false, failure);
            return;
        }
        const AccessAnswer answer = entity == EntityType::Event ? m_eventAnswer : m_reminderAnswer;
        setAuthorizationStatus(entity, answer.status);
        completion(answer.granted, answer.message);
    });
}

bool FakeEventStore::hasAccess(EntityType entity) const {
    return authorizationStatus(entity) == AuthorizationStatus::FullAccess;
}

// --- Calendars ------------------------------------------------------------------------------------

std::vector<PlatformCalendar> FakeEventStore::calendars(EntityType entity) const {
    std::vector<PlatformCalendar> result;
    if (!hasAccess(entity)) {
        return result;
    }
    for (const auto& entry : m_calendars) {
        if (entry.entity == entity) {
            result.push_back(entry.calendar);
        }
    }
    return result;
}

std::optional<PlatformCalendar> FakeEventStore::calendar(const QString& calendarIdentifier) const {
    const CalendarEntry* entry = findCalendar(calendarIdentifier);
    if (!entry || !hasAccess(entry->entity)) {
        return std::nullopt;
    }
    return entry->calendar;
}

std::optional<PlatformCalendar> FakeEventStore::defaultCalendarForNewEvents() const {
    return m_defaultEventCalendar ? calendar(*m_defaultEventCalendar) : std::nullopt;
}

std::optional<PlatformCalendar> FakeEventStore::defaultCalendarForNewReminders() const {
    return m_defaultReminderList ? calendar(*m_defaultReminderList) : std::nullopt;
}

const FakeEventStore::CalendarEntry* FakeEventStore::findCalendar(const QString& identifier) const {
    for (const auto& entry : m_calendars) {
        if (entry.calendar.calendarIdentifier == identifier) {
            return &entry;
        }
    }
    return nullptr;
}

PlatformCalendar FakeEventStore::writableCalendarFor(const std::optional<PlatformCalendar>& wanted,
                                                     EntityType entity) const {
    if (!wanted) {
        throw EventStoreError(Code::InvalidItem, QStringLiteral("The item has no calendar."));
    }
    const CalendarEntry* entry = findCalendar(wanted->calendarIdentifier);
    if (!entry) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    if (entry->entity != entity) {
        throw EventStoreError::wrongKindOfCalendar();
    }
    if (!entry->calendar.allowsContentModifications) {
        throw EventStoreError::withDefaultMessage(Code::ReadOnly);
    }
    return entry->calendar;
}

// --- Events ---------------------------------------------------------------------------------------

FakeEventStore::Series* FakeEventStore::findSeries(const QString& eventIdentifier) {
    for (Series& series : m_working.series) {
        if (series.master.eventIdentifier == eventIdentifier) {
            return &series;
        }
    }
    return nullptr;
}

const FakeEventStore::Series* FakeEventStore::findSeries(const QString& eventIdentifier) const {
    return const_cast<FakeEventStore*>(this)->findSeries(eventIdentifier);
}

std::vector<core::Date> FakeEventStore::occurrenceStarts(const Series& series, core::Date from,
                                                         core::Date until) const {
    std::vector<core::Date> result;
    const PlatformEvent& master = series.master;
    if (!master.startDate) {
        return result;
    }
    const core::Date first = *master.startDate;
    if (!master.hasRecurrenceRules()) {
        if (first >= from && first < until) {
            result.push_back(first);
        }
        return result;
    }
    const PlatformRecurrenceRule& rule = master.recurrenceRules.front();
    const core::Calendar calendar(master.timeZone.value_or(core::TimeZone::current()), core::Locale::current());
    const int interval = std::max(1, rule.interval);
    core::Date lastAllowed = core::Date::distantFuture();
    int countLimit = std::numeric_limits<int>::max();
    if (rule.end) {
        if (rule.end->endDate) {
            lastAllowed = *rule.end->endDate;
        } else if (rule.end->occurrenceCount > 0) {
            countLimit = rule.end->occurrenceCount;
        }
    }

    // Candidates in increasing order; the callback answers false to stop.
    int produced = 0;
    auto take = [&](core::Date candidate) {
        if (candidate > lastAllowed || candidate >= until || produced >= countLimit) {
            return false;
        }
        ++produced;
        const double key = wholeSeconds(candidate);
        const bool excluded = std::find(series.excluded.begin(), series.excluded.end(), key) != series.excluded.end();
        if (!excluded && candidate >= from) {
            result.push_back(candidate);
        }
        return true;
    };

    using Frequency = PlatformRecurrenceRule::Frequency;
    const bool byWeekday = rule.frequency == Frequency::Weekly && rule.daysOfTheWeek && !rule.daysOfTheWeek->empty();
    if (byWeekday) {
        std::vector<int> weekdays;
        for (const auto& day : *rule.daysOfTheWeek) {
            weekdays.push_back(day.dayOfWeek);
        }
        std::sort(weekdays.begin(), weekdays.end());
        weekdays.erase(std::unique(weekdays.begin(), weekdays.end()), weekdays.end());
        // Weeks are counted from the rule's first day of the week (Monday unless it
        // says otherwise), as the calendar files count them: every other week from a
        // Saturday still holds the Sunday after it.
        const int weekStart = rule.firstDayOfTheWeek >= 1 && rule.firstDayOfTheWeek <= 7 ? rule.firstDayOfTheWeek : 2;
        const auto sinceWeekStart = [weekStart](int weekday) { return (weekday - weekStart + 7) % 7; };
        const int firstOffset = sinceWeekStart(calendar.component(core::CalendarUnit::Weekday, first));
        std::sort(weekdays.begin(), weekdays.end(),
                  [&](int a, int b) { return sinceWeekStart(a) < sinceWeekStart(b); });
        for (int week = 0; week < kMaxExpansionSteps; ++week) {
            bool more = true;
            for (int weekday : weekdays) {
                const auto day = calendar.dateByAdding(
                    core::CalendarUnit::Day, week * 7 * interval + sinceWeekStart(weekday) - firstOffset, first);
                if (!day || *day < first) {
                    continue;
                }
                if (!take(*day)) {
                    more = false;
                    break;
                }
            }
            if (!more) {
                break;
            }
        }
        return result;
    }

    core::CalendarUnit unit = core::CalendarUnit::Day;
    int step = interval;
    switch (rule.frequency) {
        case Frequency::Daily:
            break;
        case Frequency::Weekly:
            step = 7 * interval;
            break;
        case Frequency::Monthly:
            unit = core::CalendarUnit::Month;
            break;
        case Frequency::Yearly:
            unit = core::CalendarUnit::Year;
            break;
    }
    // Adding months clamps 31 January to 28 February; the calendar files skip such
    // months instead, and so does this store.
    const int firstDay = calendar.component(core::CalendarUnit::Day, first);
    for (int n = 0; n < kMaxExpansionSteps; ++n) {
        const auto candidate = n == 0 ? std::optional<core::Date>(first) : calendar.dateByAdding(unit, n * step, first);
        if (candidate && unit != core::CalendarUnit::Day &&
            calendar.component(core::CalendarUnit::Day, *candidate) != firstDay) {
            continue;
        }
        if (!candidate || !take(*candidate)) {
            break;
        }
    }
    return result;
}

bool FakeEventStore::isOccurrence(const Series& series, core::Date occurrenceDate) const {
    const double key = wholeSeconds(occurrenceDate);
    for (core::Date start : occurrenceStarts(series, core::Date(key), core::Date(key + 1))) {
        if (wholeSeconds(start) == key) {
            return true;
        }
    }
    return false;
}

PlatformEvent FakeEventStore::occurrence(const Series& series, core::Date occurrenceDate) const {
    if (auto it = series.overrides.find(wholeSeconds(occurrenceDate)); it != series.overrides.end()) {
        return withCurrentCalendar(it->second);
    }
    PlatformEvent event = series.master;
    const core::Date start = event.startDate.value_or(occurrenceDate);
    const double duration = event.endDate.value_or(start) - start;
    event.startDate = occurrenceDate;
    event.endDate = occurrenceDate + duration;
    event.occurrenceDate = occurrenceDate;
    event.isDetached = false;
    return withCurrentCalendar(event);
}

PlatformEvent FakeEventStore::withCurrentCalendar(PlatformEvent event) const {
    if (event.calendar) {
        if (const CalendarEntry* entry = findCalendar(event.calendar->calendarIdentifier)) {
            event.calendar = entry->calendar;
        }
    }
    return event;
}

PlatformReminder FakeEventStore::withCurrentCalendar(PlatformReminder reminder) const {
    if (reminder.calendar) {
        if (const CalendarEntry* entry = findCalendar(reminder.calendar->calendarIdentifier)) {
            reminder.calendar = entry->calendar;
        }
    }
    return reminder;
}

std::vector<PlatformEvent> FakeEventStore::events(core::Date start, core::Date end,
                                                  const std::optional<QStringList>& calendarIdentifiers) const {
    std::vector<PlatformEvent> result;
    if (!hasAccess(EntityType::Event)) {
        return result;
    }
    for (const Series& series : m_working.series) {
        const auto& calendar = series.master.calendar;
        if (!calendar || !findCalendar(calendar->calendarIdentifier)) {
            continue;
        }
        if (calendarIdentifiers && !calendarIdentifiers->contains(calendar->calendarIdentifier)) {
            continue;
        }
        if (!series.master.hasRecurrenceRules()) {
            if (overlaps(series.master, start, end)) {
                result.push_back(withCurrentCalendar(series.master));
            }
            continue;
        }
        // Occurrences that start before the window may still reach into it.
        const double longest = [&] {
            double duration =
                series.master.endDate.value_or(core::Date()) - series.master.startDate.value_or(core::Date());
            for (const auto& [key, detached] : series.overrides) {
                duration = std::max(
                    duration, detached.endDate.value_or(core::Date()) - detached.startDate.value_or(core::Date()));
            }
            return std::max(0.0, duration);
        }();
        for (core::Date occurrenceDate : occurrenceStarts(series, start - longest - 1, end)) {
            if (series.overrides.count(wholeSeconds(occurrenceDate)) != 0) {
                continue;  // detached occurrences are listed below, wherever they moved
            }
            PlatformEvent event = occurrence(series, occurrenceDate);
            if (overlaps(event, start, end)) {
                result.push_back(std::move(event));
            }
        }
        for (const auto& [key, detached] : series.overrides) {
            if (overlaps(detached, start, end)) {
                result.push_back(withCurrentCalendar(detached));
            }
        }
    }
    std::stable_sort(result.begin(), result.end(), [](const PlatformEvent& a, const PlatformEvent& b) {
        return a.startDate.value_or(core::Date()) < b.startDate.value_or(core::Date());
    });
    return result;
}

std::optional<PlatformEvent> FakeEventStore::event(const QString& eventIdentifier) const {
    if (!hasAccess(EntityType::Event)) {
        return std::nullopt;
    }
    const Series* series = findSeries(eventIdentifier);
    if (!series) {
        return std::nullopt;
    }
    return occurrence(*series, series->master.startDate.value_or(core::Date()));
}

std::optional<PlatformEvent> FakeEventStore::event(const QString& eventIdentifier, core::Date occurrenceDate) const {
    if (!hasAccess(EntityType::Event)) {
        return std::nullopt;
    }
    const Series* series = findSeries(eventIdentifier);
    if (!series) {
        return std::nullopt;
    }
    const double key = wholeSeconds(occurrenceDate);
    if (auto it = series->overrides.find(key); it != series->overrides.end()) {
        return withCurrentCalendar(it->second);
    }
    for (core::Date start : occurrenceStarts(*series, core::Date(key), core::Date(key + 1))) {
        if (wholeSeconds(start) == key) {
            return occurrence(*series, start);
        }
    }
    return std::nullopt;
}

std::optional<PlatformCalendarItem> FakeEventStore::calendarItem(const QString& calendarItemIdentifier) const {
    if (hasAccess(EntityType::Event)) {
        for (const Series& series : m_working.series) {
            if (series.master.calendarItemIdentifier == calendarItemIdentifier) {
                return PlatformCalendarItem(*event(series.master.eventIdentifier));
            }
        }
    }
    if (hasAccess(EntityType::Reminder)) {
        for (const PlatformReminder& reminder : m_working.reminders) {
            if (reminder.calendarItemIdentifier == calendarItemIdentifier) {
                return PlatformCalendarItem(withCurrentCalendar(reminder));
            }
        }
    }
    return std::nullopt;
}

PlatformEvent FakeEventStore::saveEvent(const PlatformEvent& event, Span span, bool commit) {
    checkFailure(Operation::SaveEvent);
    const AuthorizationStatus access = authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        throw EventStoreError::withDefaultMessage(Code::AccessDenied);
    }
    if (!event.startDate) {
        throw EventStoreError(Code::InvalidItem, QStringLiteral("The event has no start date."));
    }
    PlatformEvent saved = event;
    saved.calendar = writableCalendarFor(event.calendar, EntityType::Event);
    if (!saved.endDate) {
        saved.endDate = saved.startDate;
    }
    if (*saved.endDate < *saved.startDate) {
        throw EventStoreError(Code::InvalidItem, QStringLiteral("The start date must be before the end date."));
    }
    saved.revision = newIdentifier(QStringLiteral("rev-"));

    if (event.eventIdentifier.isEmpty()) {
        saved.eventIdentifier = newIdentifier(QStringLiteral("E"));
        saved.calendarItemIdentifier = newIdentifier(QStringLiteral("I"));
        if (!saved.calendarItemExternalIdentifier) {
            saved.calendarItemExternalIdentifier = saved.eventIdentifier + QStringLiteral("@fake.invalid");
        }
        saved.occurrenceDate = saved.startDate;
        saved.isDetached = false;
        m_working.series.push_back(Series{saved, {}, {}});
        finish(commit);
        return withCurrentCalendar(saved);
    }

    Series* series = findSeries(event.eventIdentifier);
    if (!series) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    if (!event.revision.isEmpty() && event.revision != series->master.revision) {
        bool matchesOverride = false;
        for (const auto& [key, detached] : series->overrides) {
            matchesOverride = matchesOverride || detached.revision == event.revision;
        }
        if (!matchesOverride) {
            throw EventStoreError::withDefaultMessage(Code::Conflict);
        }
    }
    const PlatformEvent& master = series->master;
    if (!series->master.calendar || !findCalendar(master.calendar->calendarIdentifier) ||
        !findCalendar(master.calendar->calendarIdentifier)->calendar.allowsContentModifications) {
        throw EventStoreError::withDefaultMessage(Code::ReadOnly);
    }
    saved.eventIdentifier = master.eventIdentifier;
    saved.calendarItemIdentifier = master.calendarItemIdentifier;
    saved.calendarItemExternalIdentifier = master.calendarItemExternalIdentifier;

    if (!master.hasRecurrenceRules()) {
        saved.occurrenceDate = saved.startDate;
        saved.isDetached = false;
        *series = Series{saved, {}, {}};
        finish(commit);
        return *this->event(saved.eventIdentifier);
    }

    const core::Date occurrenceDate = event.occurrenceDate.value_or(*master.startDate);
    const double key = wholeSeconds(occurrenceDate);
    std::optional<core::Date> exactDate;
    if (auto it = series->overrides.find(key); it != series->overrides.end()) {
        exactDate = it->second.occurrenceDate;
    } else {
        for (core::Date start : occurrenceStarts(*series, core::Date(key), core::Date(key + 1))) {
            if (wholeSeconds(start) == key) {
                exactDate = start;
            }
        }
    }
    if (!exactDate) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }

    if (span == Span::ThisEvent) {
        saved.recurrenceRules = master.recurrenceRules;
        saved.occurrenceDate = exactDate;
        saved.isDetached = true;
        series->overrides.insert_or_assign(key, saved);
        finish(commit);
        return withCurrentCalendar(saved);
    }

    saved.occurrenceDate = saved.startDate;
    saved.isDetached = false;
    if (key <= wholeSeconds(*master.startDate)) {
        // The whole series changes; detached occurrences survive only when the pattern stayed.
        const bool patternKept = saved.startDate == master.startDate && saved.recurrenceRules == master.recurrenceRules;
        Series replaced{saved, patternKept ? series->excluded : std::vector<double>{},
                        patternKept ? series->overrides : std::map<double, PlatformEvent>{}};
        *series = std::move(replaced);
        finish(commit);
        return *this->event(saved.eventIdentifier);
    }

    // A later occurrence: the series ends before it and the rest becomes a new series.
    PlatformRecurrenceRule& rule = series->master.recurrenceRules.front();
    rule.end = PlatformRecurrenceEnd{*exactDate - 1, 0};
    std::erase_if(series->excluded, [&](double excludedKey) { return excludedKey >= key; });
    std::erase_if(series->overrides, [&](const auto& entry) { return entry.first >= key; });
    series->master.revision = newIdentifier(QStringLiteral("rev-"));
    saved.eventIdentifier = newIdentifier(QStringLiteral("E"));
    saved.calendarItemIdentifier = newIdentifier(QStringLiteral("I"));
    saved.calendarItemExternalIdentifier = saved.eventIdentifier + QStringLiteral("@fake.invalid");
    m_working.series.push_back(Series{saved, {}, {}});
    finish(commit);
    return *this->event(saved.eventIdentifier);
}

void FakeEventStore::removeEvent(const PlatformEvent& event, Span span, bool commit) {
    checkFailure(Operation::RemoveEvent);
    const AuthorizationStatus access = authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        throw EventStoreError::withDefaultMessage(Code::AccessDenied);
    }
    Series* series = findSeries(event.eventIdentifier);
    if (!series) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    const PlatformEvent& master = series->master;
    const CalendarEntry* calendar = master.calendar ? findCalendar(master.calendar->calendarIdentifier) : nullptr;
    if (!calendar || !calendar->calendar.allowsContentModifications) {
        throw EventStoreError::withDefaultMessage(Code::ReadOnly);
    }
    const double key = wholeSeconds(event.occurrenceDate.value_or(master.startDate.value_or(core::Date())));
    const bool wholeSeries =
        !master.hasRecurrenceRules() || (span == Span::FutureEvents && key <= wholeSeconds(*master.startDate));
    if (wholeSeries) {
        const QString identifier = master.eventIdentifier;
        std::erase_if(m_working.series,
                      [&](const Series& candidate) { return candidate.master.eventIdentifier == identifier; });
    } else if (series->overrides.count(key) == 0 && !isOccurrence(*series, core::Date(key))) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    } else if (span == Span::ThisEvent) {
        series->excluded.push_back(key);
        series->overrides.erase(key);
        series->master.revision = newIdentifier(QStringLiteral("rev-"));
    } else {
        series->master.recurrenceRules.front().end = PlatformRecurrenceEnd{core::Date(key - 1), 0};
        std::erase_if(series->excluded, [&](double excludedKey) { return excludedKey >= key; });
        std::erase_if(series->overrides, [&](const auto& entry) { return entry.first >= key; });
        series->master.revision = newIdentifier(QStringLiteral("rev-"));
    }
    finish(commit);
}

std::optional<StoredItem> FakeEventStore::storedItem(const QString& eventIdentifier) const {
    const Series* series = hasAccess(EntityType::Event) ? findSeries(eventIdentifier) : nullptr;
    if (!series) {
        return std::nullopt;
    }
    m_storedCopies.push_back(*series);
    return StoredItem{eventIdentifier, QStringLiteral("fake"), QByteArray::number(m_storedCopies.size() - 1),
                      series->master.revision};
}

PlatformEvent FakeEventStore::restoreItem(const StoredItem& item, bool commit) {
    checkFailure(Operation::SaveEvent);
    const AuthorizationStatus access = authorizationStatus(EntityType::Event);
    if (access != AuthorizationStatus::FullAccess && access != AuthorizationStatus::WriteOnly) {
        throw EventStoreError::withDefaultMessage(Code::AccessDenied);
    }
    bool known = false;
    const qsizetype index = item.content.toLongLong(&known);
    if (!known || index < 0 || index >= static_cast<qsizetype>(m_storedCopies.size())) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    const Series copy = m_storedCopies[static_cast<size_t>(index)];
    writableCalendarFor(copy.master.calendar, EntityType::Event);
    // Made again elsewhere since (a sync tool re-adds an item under a new identifier): that one stays.
    const std::optional<QString>& external = copy.master.calendarItemExternalIdentifier;
    if (external && std::any_of(m_working.series.begin(), m_working.series.end(), [&](const Series& other) {
            return other.master.eventIdentifier != item.eventIdentifier &&
                   other.master.calendarItemExternalIdentifier == external;
        })) {
        throw EventStoreError::withDefaultMessage(Code::Conflict);
    }
    std::erase_if(m_working.series,
                  [&](const Series& candidate) { return candidate.master.eventIdentifier == item.eventIdentifier; });
    m_working.series.push_back(copy);
    finish(commit);
    return this->event(item.eventIdentifier).value_or(copy.master);
}

// --- Reminders ------------------------------------------------------------------------------------

void FakeEventStore::fetchIncompleteReminders(const std::optional<QStringList>& calendarIdentifiers,
                                              RemindersCompletion completion) {
    std::optional<std::vector<PlatformReminder>> answer;
    try {
        checkFailure(Operation::FetchReminders);
        answer.emplace();
        if (hasAccess(EntityType::Reminder)) {
            for (const PlatformReminder& reminder : m_working.reminders) {
                const bool inList =
                    reminder.calendar && findCalendar(reminder.calendar->calendarIdentifier) &&
                    (!calendarIdentifiers || calendarIdentifiers->contains(reminder.calendar->calendarIdentifier));
                if (inList && !reminder.isCompleted) {
                    answer->push_back(withCurrentCalendar(reminder));
                }
            }
        }
    } catch (const EventStoreError&) {
        answer.reset();
    }
    if (m_holdFetches) {
        m_heldFetches.push_back(HeldFetch{std::move(answer), std::move(completion)});
        return;
    }
    QTimer::singleShot(0, this, [answer = std::move(answer), completion = std::move(completion)]() mutable {
        completion(std::move(answer));
    });
}

PlatformReminder FakeEventStore::saveReminder(const PlatformReminder& reminder, bool commit) {
    checkFailure(Operation::SaveReminder);
    if (!hasAccess(EntityType::Reminder)) {
        throw EventStoreError::withDefaultMessage(Code::AccessDenied);
    }
    PlatformReminder saved = reminder;
    saved.calendar = writableCalendarFor(reminder.calendar, EntityType::Reminder);
    saved.revision = newIdentifier(QStringLiteral("rev-"));
    if (reminder.calendarItemIdentifier.isEmpty()) {
        saved.calendarItemIdentifier = newIdentifier(QStringLiteral("R"));
        if (!saved.calendarItemExternalIdentifier) {
            saved.calendarItemExternalIdentifier = saved.calendarItemIdentifier + QStringLiteral("@fake.invalid");
        }
        m_working.reminders.push_back(saved);
        finish(commit);
        return saved;
    }
    auto it = std::find_if(m_working.reminders.begin(), m_working.reminders.end(), [&](const PlatformReminder& r) {
        return r.calendarItemIdentifier == reminder.calendarItemIdentifier;
    });
    if (it == m_working.reminders.end()) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    if (!reminder.revision.isEmpty() && reminder.revision != it->revision) {
        throw EventStoreError::withDefaultMessage(Code::Conflict);
    }
    *it = saved;
    finish(commit);
    return saved;
}

void FakeEventStore::removeReminder(const PlatformReminder& reminder, bool commit) {
    checkFailure(Operation::RemoveReminder);
    if (!hasAccess(EntityType::Reminder)) {
        throw EventStoreError::withDefaultMessage(Code::AccessDenied);
    }
    const auto removed = std::erase_if(m_working.reminders, [&](const PlatformReminder& r) {
        return r.calendarItemIdentifier == reminder.calendarItemIdentifier;
    });
    if (removed == 0) {
        throw EventStoreError::withDefaultMessage(Code::NotFound);
    }
    finish(commit);
}

// --- Transactions ---------------------------------------------------------------------------------

void FakeEventStore::finish(bool commitNow) {
    m_staged = true;
    if (!commitNow) {
        return;
    }
    try {
        commit();
    } catch (const EventStoreError&) {
        // As the file store does: a change meant to be written at once must not
        // linger to be read, or written by a later commit. Not counted as a reset:
        // the caller did not ask for one.
        m_working = m_committed;
        m_staged = false;
        throw;
    }
}

void FakeEventStore::commit() {
    checkFailure(Operation::Commit);
    const bool hadChanges = m_staged;
    m_committed = m_working;
    m_staged = false;
    ++m_commitCount;
    if (hadChanges) {
        // As on the platform, the change notice arrives after the call has returned.
        QMetaObject::invokeMethod(this, &EventStore::changed, Qt::QueuedConnection);
    }
}

void FakeEventStore::reset() {
    m_working = m_committed;
    m_staged = false;
    ++m_resetCount;
}

void FakeEventStore::refreshSources() {
    ++m_refreshCount;
}

QString FakeEventStore::newIdentifier(const QString& prefix) {
    return prefix + QString::number(m_nextIdentifier++);
}

}  // namespace platform
