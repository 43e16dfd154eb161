// Reversing the newest change. Every step is staged without committing and
// committed at once, so an undo takes effect whole or not at all.

#include "store/CalendarStore.h"

#include "core/Overloaded.h"
#include "model/CalendarStoreError.h"

namespace store {

struct CalendarStore::UndoOutcome {
    // (old id, event that now stands for it)
    std::vector<std::pair<QString, platform::PlatformEvent>> replacements;
    // (old id, snapshot, event): the occurrence keeps its seconds under a new identifier.
    struct Reidentification {
        QString oldID;
        EventUndoSnapshot snapshot;
        platform::PlatformEvent event;
    };
    std::vector<Reidentification> reidentifications;
};

namespace {

QString lastPiece(const QString& id) {
    const qsizetype bar = id.lastIndexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : id.mid(bar + 1);
}

}  // namespace

platform::PlatformCalendar CalendarStore::writableCalendar(const QString& calendarID) const {
    if (m_eventAccess != model::AccessStatus::fullAccess)
        throw model::CalendarStoreError::notAuthorized();
    const auto calendar = m_ek.calendar(calendarID);
    if (!calendar || !calendar->allowsContentModifications)
        throw model::CalendarStoreError::noWritableCalendar();
    return *calendar;
}

void CalendarStore::restore(const EventUndoSnapshot& snapshot, platform::PlatformEvent& event,
                            bool includeRecurrence) const {
    snapshot.restore(event, writableCalendar(snapshot.calendarID), includeRecurrence);
}

void CalendarStore::restoreChanged(const EventUndoSnapshot& snapshot, const EventUndoSnapshot& changedTo,
                                   platform::PlatformEvent& event) const {
    snapshot.restoreChanged(event, writableCalendar(snapshot.calendarID), changedTo);
}

platform::PlatformEvent CalendarStore::existingEvent(const EventUndoSnapshot& snapshot) const {
    try {
        const platform::PlatformEvent event = platformEvent(snapshot.eventID);
        if (event.startDate == snapshot.start)
            return event;
    } catch (const platform::LocalizedError&) {
    }
    if (auto event = m_ek.event(snapshot.identifier); event && event->startDate == snapshot.start)
        return *event;
    for (const platform::PlatformEvent& event : m_ek.events(snapshot.start - 1, snapshot.start + 1, std::nullopt)) {
        if (event.startDate != snapshot.start || !event.calendar ||
            event.calendar->calendarIdentifier != snapshot.calendarID)
            continue;
        const bool sameIdentifier = model::ODEvent::identifierOf(event) == snapshot.identifier;
        const bool sameExternal = snapshot.externalIdentifier && event.calendarItemExternalIdentifier &&
                                  *event.calendarItemExternalIdentifier == *snapshot.externalIdentifier;
        if (sameIdentifier || sameExternal)
            return event;
    }
    throw model::CalendarStoreError::notFound();
}

void CalendarStore::reverse(const UndoAction& action, UndoOutcome& outcome) {
    using platform::Span;
    std::visit(
        core::Overloaded{
            [&](const CreatedEvent& created) {
                int removed = 0;
                for (const QString& identifier : m_undoReferences.identifiersRelatedTo(created.eventIdentifier)) {
                    if (auto event = m_ek.event(identifier)) {
                        m_ek.removeEvent(*event, Span::FutureEvents, false);
                        ++removed;
                    }
                }
                if (removed == 0)
                    throw model::CalendarStoreError::notFound();
            },
            [&](const DeletedEvent& deleted) {
                if (deleted.stored) {
                    writableCalendar(deleted.snapshot.calendarID);
                    try {
                        // Same identifiers: every id a screen holds finds the event again.
                        m_ek.restoreItem(*deleted.stored, false);
                        return;
                    } catch (const platform::EventStoreError& error) {
                        // Changed elsewhere since: only the later occurrences of a series can still be laid
                        // back onto what stands there now.
                        if (error.code() != platform::EventStoreError::Code::Conflict || !deleted.seriesRoot)
                            throw;
                    }
                }
                if (!deleted.seriesRoot) {
                    platform::PlatformEvent event;
                    restore(deleted.snapshot, event, deleted.span == model::EditSpan::futureEvents);
                    outcome.replacements.emplace_back(deleted.snapshot.eventID,
                                                      m_ek.saveEvent(event, Span::ThisEvent, false));
                    return;
                }
                // Restoring the first event's rules brings the deleted occurrences back.
                platform::PlatformEvent event = existingEvent(*deleted.seriesRoot);
                restore(*deleted.seriesRoot, event, true);
                outcome.replacements.emplace_back(deleted.seriesRoot->eventID,
                                                  m_ek.saveEvent(event, Span::FutureEvents, false));
            },
            [&](const UpdatedEvent& updated) {
                platform::PlatformEvent event = platformEvent(updated.eventID);
                if (!updated.seriesRoot) {
                    const bool future = updated.span == model::EditSpan::futureEvents;
                    if (updated.saved)
                        restoreChanged(updated.previous, *updated.saved, event);
                    else
                        restore(updated.previous, event, future);
                    const platform::PlatformEvent saved = m_ek.saveEvent(event, model::toPlatformSpan(updated.span), false);
                    outcome.replacements.emplace_back(updated.previous.eventID, saved);
                    outcome.replacements.emplace_back(updated.eventID, saved);
                    return;
                }
                const EventUndoSnapshot& root = *updated.seriesRoot;
                std::optional<platform::PlatformEvent> series;
                if (root.start < updated.previous.start) {
                    // The edit split the series: the part before it still exists under the root's identifier.
                    if (auto found = m_ek.event(root.identifier); found && found->hasRecurrenceRules())
                        series = found;
                    else
                        series = existingEvent(root);
                } else {
                    series = m_ek.event(updated.seriesIdentifier).value_or(event);
                }
                QSet<QString> toClear = m_undoReferences.identifiersRelatedTo(updated.seriesIdentifier);
                toClear.insert(model::ODEvent::identifierOf(event));
                try {
                    toClear.insert(model::ODEvent::identifierOf(platformEvent(root.eventID)));
                } catch (const platform::LocalizedError&) {
                }
                const QString seriesIdentifier = model::ODEvent::identifierOf(*series);
                for (const QString& identifier : toClear) {
                    if (identifier == seriesIdentifier)
                        continue;
                    if (auto stale = m_ek.event(identifier))
                        m_ek.removeEvent(*stale, Span::FutureEvents, false);
                }
                restore(root, *series, true);
                const platform::PlatformEvent saved = m_ek.saveEvent(*series, Span::FutureEvents, false);
                outcome.replacements.emplace_back(root.eventID, saved);
                outcome.reidentifications.push_back({updated.eventID, updated.previous, saved});
            },
            [&](const CompletedReminder& completed) {
                platform::PlatformReminder reminder = platformReminder(completed.id);
                reminder.isCompleted = false;
                reminder.completionDate.reset();
                m_ek.saveReminder(reminder, false);
            },
            [&](const CreatedReminder& created) { m_ek.removeReminder(platformReminder(created.id), false); },
        },
        action);
}

void CalendarStore::undo() {
    if (m_undoStack.empty())
        return;
    UndoOutcome outcome;
    try {
        reverse(m_undoStack.back().action, outcome);
        m_ek.commit();
    } catch (...) {
        m_ek.reset();
        reload();
        throw;
    }
    for (const auto& [oldID, event] : outcome.replacements)
        m_undoReferences.rememberReplacement(oldID, model::ODEvent::idOf(event));
    for (const auto& r : outcome.reidentifications) {
        const QString newID = model::ODEvent::identifierOf(r.event) + QLatin1Char('|') +
                              lastPiece(r.snapshot.eventID);
        m_undoReferences.rememberReplacement(r.snapshot.eventID, newID);
        m_undoReferences.rememberReplacement(r.oldID, newID);
    }
    m_undoStack.pop_back();
    emit undoStackChanged();
    reload();
}

}  // namespace store
