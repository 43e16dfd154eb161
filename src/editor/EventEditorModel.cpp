#include "editor/EventEditorModel.h"

#include "editor/EditorDrafts.h"
#include "editor/EditorSpan.h"
#include "editor/EditorTexts.h"
#include "model/CalendarStoreError.h"
#include "platform/eventstore/EventStoreError.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <QMetaObject>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace editor {

namespace {

std::optional<QString> optionalText(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// Only spaces and tabs: a pasted link keeps its line breaks, which then make it no link.
QString trimmedOfBlanks(const QString& text) {
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.sliced(from, to - from);
}

}  // namespace

EventEditorModel::EventEditorModel(std::optional<QString> eventID, std::optional<core::Date> initialStart,
                                   store::CalendarStore& store, app::AppState& appState,
                                   const app::AppSettings& settings, QObject* parent)
    : QObject(parent),
      m_eventID(std::move(eventID)),
      m_initialStart(initialStart),
      m_store(store),
      m_appState(appState),
      m_settings(settings) {}

EventEditorModel::~EventEditorModel() {
    // The handler points at this object; the state outlives it.
    m_appState.removeEscapeHandler(m_escapeToken);
}

// --- Lifecycle ------------------------------------------------------------------------------------

void EventEditorModel::appear() {
    m_escapeToken = m_appState.installEscapeHandler([this] { return handleEscape(); });
    if (!m_loaded)
        load();
}

void EventEditorModel::disappear() {
    m_appState.removeEscapeHandler(m_escapeToken);
    m_escapeToken = 0;
}

void EventEditorModel::load() {
    m_loaded = true;
    if (m_eventID) {
        m_event = m_store.event(*m_eventID);
        if (!m_event) {
            m_missing = true;
            emit missingChanged();
            emit loadedChanged();
            return;
        }
        m_draft = model::EventDraft::fromEvent(*m_event);
        m_recurrence = m_originalRecurrence = m_event->recurrence;
    } else {
        loadNewDraft();
    }
    m_urlText = link::displayText(m_draft.url);
    m_original = m_draft;
    emit eventChanged();
    emit draftChanged();
    emit recurrenceChanged();
    emit urlTextChanged();
    emit loadedChanged();
}

void EventEditorModel::loadNewDraft() {
    if (const std::optional<model::EventDraft> pending = m_appState.pendingDraft()) {
        m_draft = *pending;
        // One hand-over serves one editor.
        m_appState.setPendingDraft(std::nullopt);
    } else {
        m_draft = newDraft(m_initialStart.value_or(core::Date::now()));
    }
    m_recurrence = m_draft.recurrence.value_or(model::RecurrenceOption::none);
    m_originalRecurrence = model::RecurrenceOption::none;
    m_draft.calendarID = m_store.calendarForNewEvents({m_draft.calendarID, m_settings.defaultCalendarID()});
    // After the screen has built its title field.
    QMetaObject::invokeMethod(
        this, [this] { setTitleFocused(true); }, Qt::QueuedConnection);
}

// --- Derived values -------------------------------------------------------------------------------

bool EventEditorModel::readOnly() const {
    return m_event && !m_event->canEdit;
}

std::optional<core::TimeZone> EventEditorModel::foreignTimeZone() const {
    if (!m_event || !m_event->timeZone)
        return std::nullopt;
    // Zones that agree at that moment show the same clock, whatever they are called.
    const core::TimeZone& zone = *m_event->timeZone;
    if (zone.secondsFromGMT(m_draft.start) == core::TimeZone::current().secondsFromGMT(m_draft.start))
        return std::nullopt;
    return zone;
}

core::TimeZone EventEditorModel::editingTimeZone() const {
    return foreignTimeZone().value_or(core::TimeZone::current());
}

core::Calendar EventEditorModel::dayCalendar() const {
    // The event's own clock even while it agrees with this computer's: a season
    // later they part, and a day counted on this computer's clock would move a
    // Lagos 09:00 to 08:00 across Berlin's change to summer time.
    core::Calendar calendar;
    calendar.setTimeZone(m_event && m_event->timeZone ? *m_event->timeZone : core::TimeZone::current());
    return calendar;
}

core::Date EventEditorModel::sameDayOnDayCalendar(core::Date day) const {
    // The screen's clock agrees with the day calendar's at the draft's start, but
    // not necessarily at a moment picked weeks away.
    core::Calendar shown;
    shown.setTimeZone(editingTimeZone());
    const core::DateComponents picked = shown.components(day);
    core::DateComponents noon;
    noon.year = picked.year;
    noon.month = picked.month;
    noon.day = picked.day;
    noon.hour = 12;
    return dayCalendar().date(noon).value_or(day);
}

core::Calendar EventEditorModel::editingCalendar() const {
    // Its weeks start on the day the popover's month grid starts them.
    core::Calendar calendar = m_settings.calendar();
    calendar.setTimeZone(editingTimeZone());
    return calendar;
}

bool EventEditorModel::isMultiDay() const {
    return span::isMultiDay(m_draft, dayCalendar());
}

std::optional<model::MeetingLink> EventEditorModel::meeting() const {
    return model::MeetingLinkDetector::detect(link::parse(trimmedOfBlanks(m_urlText)), m_draft.location, m_draft.notes);
}

std::optional<QUrl> EventEditorModel::normalizedURL() const {
    // Re-parsing the text of a loaded link could change it ("mailto:" would gain
    // "https://", odd escapes would be redone): an untouched field keeps it as it is.
    if (urlTextIsUnchanged())
        return m_original.url;
    return link::normalize(m_urlText).url;
}

bool EventEditorModel::urlTextIsInvalid() const {
    return !urlTextIsUnchanged() && link::normalize(m_urlText).invalid;
}

bool EventEditorModel::urlTextIsUnchanged() const {
    return m_urlText.trimmed() == link::displayText(m_original.url).trimmed();
}

bool EventEditorModel::hasChanges() const {
    return m_draft != m_original || m_recurrence != m_originalRecurrence || normalizedURL() != m_original.url;
}

model::EventDraft EventEditorModel::finalDraft() const {
    model::EventDraft draft = m_draft;
    // A title the user left alone stays as stored, spaces and all.
    if (!m_eventID || m_draft.title != m_original.title)
        draft.title = m_draft.title.trimmed();
    if (draft.title.isEmpty())
        draft.title = m_eventID ? m_original.title : u"New event"_s;
    draft.url = normalizedURL();
    draft.end = std::max(draft.start, draft.end);
    // Without a change the repetition is not written, so a rule this editor cannot
    // show (every third Tuesday) survives an edit of the title.
    const model::RecurrenceOption unchanged = m_eventID ? m_originalRecurrence : model::RecurrenceOption::none;
    draft.recurrence = m_recurrence == unchanged ? std::nullopt : std::optional(m_recurrence);
    return draft;
}

std::optional<model::ODCalendar> EventEditorModel::calendar() const {
    if (!m_draft.calendarID)
        return std::nullopt;
    return m_store.calendar(*m_draft.calendarID);
}

QString EventEditorModel::calendarTitle() const {
    if (const auto known = calendar())
        return known->title;
    if (m_event)
        return m_event->calendarTitle;
    return u"Calendar"_s;
}

bool EventEditorModel::canChangeCalendar() const {
    // Moving one occurrence of a series to another calendar is not offered.
    return !readOnly() && !(m_eventID && m_event && m_event->isRecurring);
}

QString EventEditorModel::alertLabel() const {
    return texts::alertLabel(m_draft.alarmOffsets, m_draft.isAllDay);
}

std::optional<double> EventEditorModel::currentAlert() const {
    if (m_draft.alarmOffsets.empty())
        return std::nullopt;
    return m_draft.alarmOffsets.front();
}

std::optional<QString> EventEditorModel::timeZoneChip() const {
    const auto zone = foreignTimeZone();
    if (!zone)
        return std::nullopt;
    return texts::timeZoneChip(*zone, m_draft.start, m_draft.isAllDay, core::TimeZone::current());
}

std::optional<QString> EventEditorModel::timeZoneHelp() const {
    const auto zone = foreignTimeZone();
    if (!zone)
        return std::nullopt;
    return texts::timeZoneHelp(*zone, m_draft.start, m_draft.end, core::TimeZone::current());
}

bool EventEditorModel::canShowLocationOnMap() const {
    return m_draft.location && !m_draft.location->isEmpty() && !model::MeetingLinkDetector::detect(*m_draft.location);
}

int EventEditorModel::lengthInMinutes() const {
    return span::lengthInMinutes(m_draft);
}

// --- Edits ----------------------------------------------------------------------------------------

template <class Edit>
void EventEditorModel::editDraft(Edit&& edit) {
    if (readOnly())
        return;
    model::EventDraft draft = m_draft;
    edit(draft);
    setDraft(draft);
}

void EventEditorModel::setDraft(const model::EventDraft& draft) {
    if (draft == m_draft)
        return;
    m_draft = draft;
    emit draftChanged();
}

void EventEditorModel::setTitle(const QString& title) {
    editDraft([&](model::EventDraft& d) { d.title = title; });
}

void EventEditorModel::setLocation(const QString& location) {
    editDraft([&](model::EventDraft& d) { d.location = optionalText(location); });
}

void EventEditorModel::setNotes(const QString& notes) {
    editDraft([&](model::EventDraft& d) { d.notes = optionalText(notes); });
}

void EventEditorModel::setURLText(const QString& text) {
    if (readOnly() || text == m_urlText)
        return;
    m_urlText = text;
    emit urlTextChanged();
}

void EventEditorModel::setCalendarID(const QString& calendarID) {
    if (!canChangeCalendar())
        return;
    editDraft([&](model::EventDraft& d) { d.calendarID = calendarID; });
}

void EventEditorModel::setRecurrence(model::RecurrenceOption recurrence) {
    if (readOnly() || recurrence == m_recurrence)
        return;
    m_recurrence = recurrence;
    emit recurrenceChanged();
}

void EventEditorModel::chooseAlert(std::optional<double> offset) {
    editDraft([&](model::EventDraft& d) { d.alarmOffsets = offset ? std::vector{*offset} : std::vector<double>{}; });
}

void EventEditorModel::setAllDay(bool allDay) {
    const core::Calendar calendar = dayCalendar();
    editDraft([&](model::EventDraft& d) { span::setAllDay(d, allDay, calendar); });
}

void EventEditorModel::moveDay(core::Date day) {
    const core::Calendar calendar = dayCalendar();
    const core::Date target = sameDayOnDayCalendar(day);
    editDraft([&](model::EventDraft& d) { span::moveDay(d, target, calendar); });
}

void EventEditorModel::setStartKeepingDuration(core::Date start) {
    editDraft([&](model::EventDraft& d) { span::setStartKeepingDuration(d, start); });
}

void EventEditorModel::setEnd(core::Date end) {
    const core::Calendar calendar = dayCalendar();
    editDraft([&](model::EventDraft& d) { span::setEnd(d, end, calendar); });
}

void EventEditorModel::chooseEnd(core::Date end) {
    if (!m_draft.isAllDay) {
        setEnd(end);
        return;
    }
    const core::Calendar calendar = dayCalendar();
    const core::Date day = sameDayOnDayCalendar(end);
    editDraft([&](model::EventDraft& d) { span::setAllDayEnd(d, day, calendar); });
}

void EventEditorModel::setLengthInMinutes(int minutes) {
    editDraft([&](model::EventDraft& d) { span::setLengthInMinutes(d, minutes); });
}

// --- Pop-overs and focus --------------------------------------------------------------------------

void EventEditorModel::setFlag(bool& flag, bool value, void (EventEditorModel::*changed)()) {
    if (flag == value)
        return;
    flag = value;
    emit(this->*changed)();
}

void EventEditorModel::setShowTime(bool shown) {
    if (!(shown && readOnly()))
        setFlag(m_showTime, shown, &EventEditorModel::showTimeChanged);
}

void EventEditorModel::setShowStart(bool shown) {
    if (!(shown && readOnly()))
        setFlag(m_showStart, shown, &EventEditorModel::showStartChanged);
}

void EventEditorModel::setShowEnd(bool shown) {
    if (!(shown && readOnly()))
        setFlag(m_showEnd, shown, &EventEditorModel::showEndChanged);
}

void EventEditorModel::setShowAttendees(bool shown) {
    setFlag(m_showAttendees, shown, &EventEditorModel::showAttendeesChanged);
}

void EventEditorModel::setTitleFocused(bool focused) {
    setFlag(m_titleFocused, focused, &EventEditorModel::titleFocusedChanged);
}

// --- Actions --------------------------------------------------------------------------------------

void EventEditorModel::save() {
    if (!m_loaded || m_missing || readOnly() || m_prompt)
        return;
    setErrorText(std::nullopt);
    if (!checkURL())
        return;
    if (!m_eventID) {
        const model::EventDraft draft = finalDraft();
        if (runStoreCall([&] { m_store.create(draft); })) {
            // The main screen opens on the new event's day.
            m_appState.setSelectedDate(core::Calendar::current().startOfDay(draft.start));
            m_appState.setDisplayedMonth(draft.start);
            leave();
        }
        return;
    }
    if (!hasChanges()) {
        leave();
        return;
    }
    const bool repeating = m_event && m_event->isRecurring;
    const bool recurrenceChanged = m_recurrence != m_originalRecurrence;
    if (repeating && !recurrenceChanged) {
        setTitleFocused(false);
        setPrompt(Prompt::save);
        return;
    }
    // A new repetition always starts from this occurrence on.
    performUpdate(repeating || recurrenceChanged ? model::EditSpan::futureEvents : model::EditSpan::thisEvent);
}

void EventEditorModel::requestDelete() {
    if (readOnly() || !m_eventID || m_prompt)
        return;
    if (!m_event || !m_event->isRecurring) {
        performDelete(model::EditSpan::thisEvent);
        return;
    }
    setTitleFocused(false);
    setPrompt(Prompt::deleteEvent);
}

void EventEditorModel::performUpdate(model::EditSpan span) {
    if (!m_eventID || !checkURL())
        return;
    const model::EventDraft draft = finalDraft();
    const bool saved = runStoreCall([&] {
        try {
            m_store.update(*m_eventID, draft, span, m_original);
        } catch (const model::EditConflictError& conflict) {
            // The user has seen that another program changed these: the next save puts the user's values over
            // what it wrote.
            m_original = model::withFields(m_original, conflict.current(), conflict.fields());
            throw;
        }
    });
    if (saved)
        leave();
}

void EventEditorModel::performDelete(model::EditSpan span) {
    if (!m_eventID)
        return;
    if (runStoreCall([&] { m_store.deleteEvent(*m_eventID, span); }))
        leave();
}

void EventEditorModel::choosePromptSpan(model::EditSpan span) {
    if (!m_prompt)
        return;
    const Prompt answered = *m_prompt;
    setPrompt(std::nullopt);
    if (answered == Prompt::deleteEvent)
        performDelete(span);
    else
        performUpdate(span);
}

void EventEditorModel::cancelPrompt() {
    setPrompt(std::nullopt);
}

QString EventEditorModel::promptActionTitle() const {
    return m_prompt == Prompt::deleteEvent ? u"Delete"_s : u"Save"_s;
}

void EventEditorModel::close() {
    leave();
}

bool EventEditorModel::handleEscape() {
    if (m_prompt) {
        setPrompt(std::nullopt);
        return true;
    }
    if (!(m_showTime || m_showStart || m_showEnd || m_showAttendees))
        return false;
    setShowTime(false);
    setShowStart(false);
    setShowEnd(false);
    setShowAttendees(false);
    return true;
}

void EventEditorModel::setPrompt(std::optional<Prompt> prompt) {
    if (prompt == m_prompt)
        return;
    m_prompt = prompt;
    emit promptChanged();
}

void EventEditorModel::setErrorText(const std::optional<QString>& text) {
    if (text == m_errorText)
        return;
    m_errorText = text;
    emit errorTextChanged();
}

bool EventEditorModel::checkURL() {
    if (!urlTextIsInvalid())
        return true;
    // Saving would drop the event's link without a word; the user fixes or clears the text.
    setErrorText(u"The video link is not a valid URL."_s);
    return false;
}

template <class Call>
bool EventEditorModel::runStoreCall(Call&& call) {
    try {
        call();
        return true;
    } catch (const platform::LocalizedError& error) {
        setErrorText(error.errorDescription());
        return false;
    }
}

void EventEditorModel::leave() {
    m_appState.setRoute(app::PopoverRoute::main());
}

}  // namespace editor
