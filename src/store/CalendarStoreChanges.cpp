// The changing operations of CalendarStore: create, update and delete events,
// create and complete reminders.

#include "store/CalendarStore.h"

#include "model/CalendarStoreError.h"
#include "model/RecurrenceOption.h"

#include <algorithm>
#include <cmath>

namespace store {
namespace {

QString quoted(const QString& prefix, const QString& title) {
    return prefix + QStringLiteral("\u201C") + title + QStringLiteral("\u201D");
}

std::vector<double> relativeOffsets(const std::vector<platform::PlatformAlarm>& alarms) {
    std::vector<double> offsets;
    for (const auto& alarm : alarms)
        offsets.push_back(alarm.relativeOffset);
    return offsets;
}

bool hasEventWriteAccess(model::AccessStatus access) {
    return access == model::AccessStatus::fullAccess || access == model::AccessStatus::writeOnly;
}

}  // namespace

std::optional<QString> CalendarStore::undoLabel() const {
    if (m_undoStack.empty())
        return std::nullopt;
    return m_undoStack.back().label;
}

void CalendarStore::pushUndo(const QString& label, UndoAction action) {
    m_undoStack.push_back(UndoEntry{QUuid::createUuid(), label, std::move(action)});
    emit undoStackChanged();
}

void CalendarStore::apply(const model::EventDraft& draft, platform::PlatformEvent& event,
                          model::DraftFields fields) const {
    using model::DraftField;
    if (fields.testFlag(DraftField::title))
        event.title = draft.title;
    if (fields.testFlag(DraftField::times)) {
        event.isAllDay = draft.isAllDay;
        event.startDate = draft.start;
        event.endDate = std::max(draft.start, draft.end);
    }
    if (fields.testFlag(DraftField::location))
        event.location = draft.location;
    if (fields.testFlag(DraftField::notes))
        event.notes = draft.notes;
    if (fields.testFlag(DraftField::url))
        event.url = draft.url;
    if (draft.calendarID && fields.testFlag(DraftField::calendar)) {
        if (auto calendar = m_ek.calendar(*draft.calendarID))
            event.calendar = *calendar;
    }
    // Alarms the draft did not change are left alone, so alarms at a fixed date survive.
    if (fields.testFlag(DraftField::alerts) && relativeOffsets(event.alarms) != draft.alarmOffsets) {
        event.alarms.clear();
        for (double offset : draft.alarmOffsets)
            event.alarms.push_back(platform::PlatformAlarm{offset, std::nullopt});
    }
    if (draft.recurrence) {
        event.recurrenceRules.clear();
        if (auto rule = model::recurrenceRule(*draft.recurrence))
            event.recurrenceRules.push_back(*rule);
    }
}

platform::PlatformEvent CalendarStore::createPlatformEvent(const model::EventDraft& draft) {
    if (!hasEventWriteAccess(m_eventAccess))
        throw model::CalendarStoreError::notAuthorized();
    platform::PlatformEvent event;
    apply(draft, event);
    if (!event.calendar)
        event.calendar = m_ek.defaultCalendarForNewEvents();
    if (!event.calendar)
        throw model::CalendarStoreError::noWritableCalendar();
    return m_ek.saveEvent(event, platform::Span::ThisEvent, true);
}

model::ODEvent CalendarStore::create(const model::EventDraft& draft) {
    const platform::PlatformEvent saved = createPlatformEvent(draft);
    const model::ODEvent event = model::ODEvent::fromPlatform(saved);
    pushUndo(quoted(QStringLiteral("Created "), draft.title), CreatedEvent{event.eventIdentifier});
    reload();
    return event;
}

platform::PlatformEvent CalendarStore::platformEvent(const QString& id) const {
    const model::ODEvent::ParsedID parsed = model::ODEvent::parseID(m_undoReferences.resolve(id));
    if (!parsed.seconds) {
        if (auto event = m_ek.event(parsed.identifier))
            return *event;
        throw model::CalendarStoreError::notFound();
    }
    // An occurrence is named by its series and its original date, wherever it has
    // been moved to since; a number that is no date names nothing.
    const double seconds = *parsed.seconds;
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e12)
        throw model::CalendarStoreError::notFound();
    if (auto event = m_ek.event(parsed.identifier, core::Date(seconds)))
        return *event;
    throw model::CalendarStoreError::notFound();
}

void CalendarStore::update(QString id, const model::EventDraft& draft, model::EditSpan span) {
    save(platformEvent(id), draft, span, model::kAllDraftFields);
}

void CalendarStore::update(QString id, const model::EventDraft& edited, model::EditSpan span,
                           const model::EventDraft& basis) {
    platform::PlatformEvent event = platformEvent(id);
    const model::EventDraft current = model::EventDraft::fromEvent(model::ODEvent::fromPlatform(event));
    const model::DraftFields changed = model::differingFields(basis, edited);
    const model::DraftFields conflicting =
        changed & model::differingFields(basis, current) & model::differingFields(current, edited);
    if (conflicting)
        throw model::EditConflictError(conflicting, current);
    save(std::move(event), edited, span, changed);
}

void CalendarStore::save(platform::PlatformEvent event, const model::EventDraft& draft, model::EditSpan span,
                         model::DraftFields fields) {
    const EventUndoSnapshot previous = EventUndoSnapshot::of(event);
    std::optional<EventUndoSnapshot> seriesRoot;
    if (span == model::EditSpan::futureEvents) {
        seriesRoot = previous;
        const QString identifier = model::ODEvent::identifierOf(event);
        if (event.hasRecurrenceRules() && !identifier.isEmpty()) {
            if (auto first = m_ek.event(identifier))
                seriesRoot = EventUndoSnapshot::of(*first);
        }
    }
    apply(draft, event, fields);
    const platform::PlatformEvent saved = m_ek.saveEvent(event, model::toPlatformSpan(span), true);
    const QString newID = model::ODEvent::idOf(saved);
    m_undoReferences.rememberReplacement(previous.eventID, newID);
    pushUndo(quoted(QStringLiteral("Edited "), previous.title),
             UpdatedEvent{newID, model::ODEvent::identifierOf(saved), previous, span, seriesRoot,
                          EventUndoSnapshot::of(saved)});
    reload();
}

void CalendarStore::deleteEvent(QString id, model::EditSpan span) {
    const platform::PlatformEvent event = platformEvent(id);
    const EventUndoSnapshot snapshot = EventUndoSnapshot::of(event);
    std::optional<EventUndoSnapshot> seriesRoot;
    if (span == model::EditSpan::futureEvents && event.hasRecurrenceRules()) {
        if (auto first = m_ek.event(snapshot.identifier); first && first->startDate < event.startDate)
            seriesRoot = EventUndoSnapshot::of(*first);
    }
    std::optional<platform::StoredItem> stored = m_ek.storedItem(event.eventIdentifier);
    m_ek.removeEvent(event, model::toPlatformSpan(span), true);
    pushUndo(quoted(QStringLiteral("Deleted "), snapshot.title),
             DeletedEvent{snapshot, span, seriesRoot, std::move(stored)});
    reload();
}

platform::PlatformReminder CalendarStore::platformReminder(const QString& id) const {
    const auto item = m_ek.calendarItem(id);
    if (!item || !std::holds_alternative<platform::PlatformReminder>(*item))
        throw model::CalendarStoreError::notFound();
    return std::get<platform::PlatformReminder>(*item);
}

void CalendarStore::completeReminder(QString id) {
    platform::PlatformReminder reminder = platformReminder(id);
    reminder.isCompleted = true;
    reminder.completionDate = core::Date::now();
    m_ek.saveReminder(reminder, true);
    // A fetch that started before the completion would bring the reminder back.
    invalidateReminderFetches();
    std::vector<model::ODReminder> remaining = m_reminders;
    std::erase_if(remaining, [&](const model::ODReminder& r) { return r.id == id; });
    setReminders(std::move(remaining));
    pushUndo(quoted(QStringLiteral("Completed "), reminder.title.value_or(QString())), CompletedReminder{id});
}

void CalendarStore::createReminder(const model::ReminderDraft& draft) {
    if (m_reminderAccess != model::AccessStatus::fullAccess)
        throw model::CalendarStoreError::notAuthorized();
    platform::PlatformReminder reminder;
    reminder.title = draft.title;
    reminder.notes = draft.notes;
    reminder.url = draft.url;
    reminder.priority = draft.priority;
    if (draft.listID)
        reminder.calendar = m_ek.calendar(*draft.listID);
    if (!reminder.calendar)
        reminder.calendar = m_ek.defaultCalendarForNewReminders();
    if (!reminder.calendar)
        throw model::CalendarStoreError::noWritableCalendar();

    const core::Calendar calendar;
    const core::DateComponents dueDay = calendar.components(draft.due);
    core::DateComponents due{.year = dueDay.year, .month = dueDay.month, .day = dueDay.day};
    if (draft.remindAt) {
        const core::DateComponents at = calendar.components(*draft.remindAt);
        due.hour = at.hour;
        due.minute = at.minute;
        if (auto alarmDate = calendar.date(due))
            reminder.alarms.push_back(platform::PlatformAlarm{0, *alarmDate});
    }
    reminder.dueDateComponents = due;
    const platform::PlatformReminder saved = m_ek.saveReminder(reminder, true);
    pushUndo(quoted(QStringLiteral("Added reminder "), draft.title), CreatedReminder{saved.calendarItemIdentifier});
    reload();
}

}  // namespace store
