#include "imageimport/review/ImageReviewModel.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/flow/ImageImportSession.h"
#include "platform/eventstore/EventStoreError.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"
#include "store/CalendarStore.h"

#include <QPointer>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {

namespace {

// Nothing but white space, line breaks included: a pasted line break alone is
// as empty as a space, and would otherwise be saved as an invisible title.
bool isBlank(const QString& text) {
    bool blank = true;
    core::chars::forEachCodePoint(text, [&](char32_t c) { blank = blank && core::chars::isWhitespace(c); });
    return blank;
}

QString titleOr(const QString& title, const QString& fallback) {
    return isBlank(title) ? fallback : core::chars::trimmedBlanks(title);
}

}  // namespace

ImageReviewModel::ImageReviewModel(ImageExtraction extraction, QUuid resultID, store::CalendarStore& store,
                                   app::AppState& appState, const app::AppSettings& settings, QObject* parent)
    : QObject(parent),
      m_extraction(std::move(extraction)),
      m_resultID(resultID),
      m_store(store),
      m_appState(appState),
      m_settings(settings) {
    fillFromExtraction();
}

ImageReviewModel::~ImageReviewModel() { disappear(); }

void ImageReviewModel::fillFromExtraction() {
    m_kind = m_extraction.kind;
    m_title = m_extraction.title;
    m_location = m_extraction.location.value_or(QString());
    m_notes = m_extraction.notes;
    m_duration = m_extraction.duration.value_or(kDefaultDuration);
    if (m_extraction.dates.empty())
        return;
    const DateCandidate& first = m_extraction.dates.front();
    m_selectedID = first.id;
    m_appliedID = first.id;
    m_day = first.day;
    if (first.hour) {
        m_time = TimeOfDay{*first.hour, first.minute.value_or(0)};
        m_remindAt = *m_time;
    }
    if (const auto length = candidateLength(first))
        m_duration = *length;
}

// --- Lifecycle -------------------------------------------------------------------------------------

void ImageReviewModel::appear() {
    if (m_escapeToken)
        return;
    m_escapeToken = m_appState.installEscapeHandler([this] {
        if (!m_openCard)
            return false;
        setOpenCard(std::nullopt);
        return true;
    });
}

void ImageReviewModel::disappear() {
    if (m_escapeToken)
        m_appState.removeEscapeHandler(*m_escapeToken);
    m_escapeToken.reset();
}

// --- What the user changes ---------------------------------------------------------------------------

void ImageReviewModel::chooseKind(Kind kind) {
    m_kind = kind;
    m_openCard.reset();
    notify();
}

void ImageReviewModel::setTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    notify();
}

void ImageReviewModel::chooseTime(std::optional<TimeOfDay> time) {
    m_time = time;
    m_timeEdited = true;
    notify();
}

void ImageReviewModel::chooseDuration(double seconds) {
    m_duration = seconds;
    m_durationEdited = true;
    notify();
}

void ImageReviewModel::chooseCalendar(const std::optional<QString>& calendarID) {
    m_calendarID = calendarID;
    notify();
}

void ImageReviewModel::setLocation(const QString& location) {
    if (location == m_location)
        return;
    m_location = location;
    notify();
}

void ImageReviewModel::setNotes(const QString& notes) {
    if (notes == m_notes)
        return;
    m_notes = notes;
    notify();
}

void ImageReviewModel::chooseRemindAt(TimeOfDay time) {
    m_remindAt = time;
    m_remindEdited = true;
    notify();
}

void ImageReviewModel::chooseList(const std::optional<QString>& listID) {
    m_listID = listID;
    notify();
}

void ImageReviewModel::choosePriority(int priority) {
    m_priority = priority;
    notify();
}

void ImageReviewModel::setShowText(bool show) {
    if (show == m_showText)
        return;
    m_showText = show;
    notify();
}

void ImageReviewModel::setOpenCard(std::optional<Card> card) {
    if (card == m_openCard)
        return;
    m_openCard = card;
    notify();
}

void ImageReviewModel::toggleCard(Card card) {
    setOpenCard(m_openCard == card ? std::nullopt : std::optional(card));
}

void ImageReviewModel::cardDismissed(Card card) {
    if (m_openCard == card)
        setOpenCard(std::nullopt);
}

void ImageReviewModel::setErrorText(const std::optional<QString>& text) {
    if (text == m_errorText)
        return;
    m_errorText = text;
    notify();
}

void ImageReviewModel::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    notify();
}

// --- What follows from it ----------------------------------------------------------------------------

const DateCandidate* ImageReviewModel::candidate(std::optional<int> id) const {
    if (!id)
        return nullptr;
    const auto found = std::find_if(m_extraction.dates.begin(), m_extraction.dates.end(),
                                    [&](const DateCandidate& c) { return c.id == *id; });
    return found == m_extraction.dates.end() ? nullptr : &*found;
}

// Only a candidate with both ends has a length of its own; the day alone is not a start.
std::optional<double> ImageReviewModel::candidateLength(const DateCandidate& candidate) const {
    if (!candidate.hour)
        return std::nullopt;
    const auto begin = candidate.start(m_calendar);
    const auto finish = candidate.end(m_calendar);
    if (!begin || !finish)
        return std::nullopt;
    return *finish - *begin;
}

bool ImageReviewModel::dateFound() const {
    if (m_dateEdited)
        return false;
    const DateCandidate* applied = candidate(m_selectedID);
    return applied && applied->day && m_day;
}

bool ImageReviewModel::timeFound() const {
    if (m_timeEdited)
        return false;
    const DateCandidate* applied = candidate(m_appliedID);
    return applied && applied->hour && m_time;
}

bool ImageReviewModel::durationFound() const {
    if (m_durationEdited)
        return false;
    const DateCandidate* applied = candidate(m_appliedID);
    return (applied && candidateLength(*applied)) || m_extraction.duration;
}

bool ImageReviewModel::remindFound() const {
    if (m_remindEdited)
        return false;
    const DateCandidate* applied = candidate(m_appliedID);
    return applied && applied->hour;
}

std::optional<QString> ImageReviewModel::defaultCalendarID() const {
    return m_store.calendarForNewEvents({m_settings.defaultCalendarID()});
}

std::optional<core::Date> ImageReviewModel::onDay(core::Date day, TimeOfDay time) const {
    return m_calendar.dateBySettingTime(time.hour, time.minute, 0, day);
}

std::optional<core::Date> ImageReviewModel::start() const {
    if (!m_day)
        return std::nullopt;
    if (!m_time)
        return m_calendar.startOfDay(*m_day);
    return onDay(*m_day, *m_time);
}

std::optional<model::EventDraft> ImageReviewModel::eventDraft() const {
    const std::optional<core::Date> begin = start();
    if (!m_day || !begin)
        return std::nullopt;
    model::EventDraft draft;
    draft.title = titleOr(m_title, u"New event"_s);
    const QString place = core::chars::trimmedBlanks(m_location);
    draft.location = isBlank(place) ? std::nullopt : std::optional<QString>(place);
    draft.notes = m_notes.isEmpty() ? std::nullopt : std::optional<QString>(m_notes);
    draft.url = m_extraction.url;
    draft.calendarID = currentCalendarID();
    draft.alarmOffsets = {};
    draft.recurrence = std::nullopt;
    if (m_time) {
        draft.isAllDay = false;
        draft.start = *begin;
        draft.end = *begin + std::max(kShortestEvent, m_duration);
    } else {
        draft.isAllDay = true;
        draft.start = m_calendar.startOfDay(*m_day);
        const auto next = m_calendar.dateByAdding(core::CalendarUnit::Day, 1, draft.start);
        draft.end = next.value_or(draft.start + 86400) - 1;
    }
    return draft;
}

std::optional<model::ReminderDraft> ImageReviewModel::reminderDraft() const {
    if (!m_day)
        return std::nullopt;
    model::ReminderDraft draft;
    draft.title = titleOr(m_title, u"New reminder"_s);
    draft.due = *m_day;
    // The store takes the hour and minute on the due day: put them there, not on today.
    draft.remindAt = onDay(*m_day, m_remindAt).value_or(*m_day);
    draft.notes = m_notes.isEmpty() ? std::nullopt : std::optional<QString>(m_notes);
    draft.url = m_extraction.url;
    draft.listID = m_listID ? m_listID : m_store.defaultReminderListID();
    draft.priority = m_priority;
    return draft;
}

// --- Ways out and choices ------------------------------------------------------------------------------

void ImageReviewModel::add() {
    if (!canAdd() || !m_day) {
        if (!m_day)
            setOpenCard(m_kind == Kind::event ? Card::date : Card::due);
        return;
    }
    setErrorText(std::nullopt);
    if (m_kind == Kind::event) {
        const std::optional<model::EventDraft> draft = eventDraft();
        if (!draft)
            return;
        try {
            m_store.create(*draft);
        } catch (const platform::LocalizedError& error) {
            setErrorText(error.errorDescription());
            return;
        }
        finish(draft->start);
        return;
    }

    const model::ReminderDraft draft = *reminderDraft();
    setBusy(true);
    if (m_store.reminderAccess() == model::AccessStatus::fullAccess) {
        saveReminder(draft);
        return;
    }
    // The answer comes from a window of its own, maybe long after: by then the
    // user may have left this review (Escape, a click on the tray, a newer image).
    // The add they pressed still happens; only the screen it would move is gone.
    QPointer<ImageReviewModel> self(this);
    m_store.requestRemindersAccess([self, &store = m_store, draft](bool) {
        if (self) {
            self->saveReminder(draft);
            return;
        }
        if (const std::optional<QString> failure = storeReminder(store, draft))
            store.setLastError(failure);
    });
}

std::optional<QString> ImageReviewModel::storeReminder(store::CalendarStore& store, const model::ReminderDraft& draft) {
    if (store.reminderAccess() != model::AccessStatus::fullAccess)
        return remindersAccessMessage();
    try {
        store.createReminder(draft);
    } catch (const platform::LocalizedError& error) {
        return error.errorDescription();
    }
    return std::nullopt;
}

void ImageReviewModel::saveReminder(const model::ReminderDraft& draft) {
    if (const std::optional<QString> failure = storeReminder(m_store, draft)) {
        setErrorText(failure);
        setBusy(false);
        return;
    }
    QPointer<ImageReviewModel> self(this);
    // A newer image's review keeps the screen.
    if (isStillShown())
        finish(draft.due);
    // Leaving the import route ends the review, and with it this model.
    if (self)
        setBusy(false);
}

void ImageReviewModel::askForRemindersAccess() {
    // Once refused, the question is not put again and the answer comes at once:
    // without the message the chip would seem to do nothing.
    QPointer<ImageReviewModel> self(this);
    m_store.requestRemindersAccess([self](bool granted) {
        if (!self)
            return;
        if (!granted)
            self->setErrorText(remindersAccessMessage());
        else if (self->m_errorText == remindersAccessMessage())
            self->setErrorText(std::nullopt);
    });
}

bool ImageReviewModel::isStillShown() const {
    const ImageImportSession& session = m_appState.imageImport();
    return m_appState.route().is(app::PopoverRoute::Kind::imageImport) &&
           session.phase().kind == ImageImportSession::Phase::Kind::review && session.resultID() == m_resultID;
}

void ImageReviewModel::finish(core::Date date) {
    m_appState.setSelectedDate(m_calendar.startOfDay(date));
    m_appState.setDisplayedMonth(date);
    m_appState.setRoute(app::PopoverRoute::main());
}

void ImageReviewModel::moreDetails() {
    if (m_kind == Kind::reminder) {
        setShowText(true);
        return;
    }
    const std::optional<model::EventDraft> draft = eventDraft();
    if (!draft) {
        setOpenCard(Card::date);
        return;
    }
    m_appState.setPendingDraft(*draft);
    m_appState.setRoute(app::PopoverRoute::eventCreate(draft->start));
}

void ImageReviewModel::pick(const DateCandidate& picked) {
    m_selectedID = picked.id;
    m_appliedID = picked.id;
    m_day = picked.day;
    m_dateEdited = m_timeEdited = m_durationEdited = m_remindEdited = false;
    if (!picked.hour) {
        m_time.reset();
        m_remindAt = kDefaultRemindAt;
    } else {
        m_time = TimeOfDay{*picked.hour, picked.minute.value_or(0)};
        m_remindAt = *m_time;
        m_duration = candidateLength(picked).value_or(m_extraction.duration.value_or(kDefaultDuration));
    }
    notify();
}

void ImageReviewModel::pickDay(core::Date date) {
    m_day = m_calendar.startOfDay(date);
    m_dateEdited = true;
    m_selectedID.reset();
    notify();
}

// --- What the event's cards choose ---------------------------------------------------------------------

void ImageReviewModel::chooseDayInCard(core::Date date) {
    m_openCard.reset();
    pickDay(date);
}

void ImageReviewModel::setAllDay(bool allDay) {
    if (allDay)
        chooseTime(std::nullopt);
    else
        chooseTime(m_time.value_or(kDefaultStart));
}

void ImageReviewModel::chooseQuickTime(TimeOfDay time) {
    m_openCard.reset();
    chooseTime(time);
}

void ImageReviewModel::chooseLength(int minutes) {
    m_openCard.reset();
    // A length means a start: an all-day event would otherwise ignore it.
    if (!m_time) {
        m_time = kDefaultStart;
        m_timeEdited = true;
    }
    chooseDuration(minutes * 60.0);
}

std::optional<int> ImageReviewModel::lengthMinutes() const {
    const double minutes = std::trunc(m_duration / 60);
    if (!std::isfinite(minutes) || std::abs(minutes) > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(minutes);
}

std::optional<QString> ImageReviewModel::currentCalendarID() const {
    return m_calendarID ? m_calendarID : defaultCalendarID();
}

// --- Texts ---------------------------------------------------------------------------------------------

QString ImageReviewModel::titlePlaceholder() const {
    return m_kind == Kind::event ? u"Event title"_s : u"Reminder title"_s;
}

QString ImageReviewModel::addTitle() const { return m_kind == Kind::event ? u"Add event"_s : u"Add reminder"_s; }

QString ImageReviewModel::moreDetailsAccessibleName() const {
    return m_kind == Kind::event ? u"More details, opens the full editor"_s : u"More details, edit the notes"_s;
}

QString ImageReviewModel::statusLine() const {
    if (m_kind == m_extraction.kind)
        return m_extraction.summary();
    return m_kind == Kind::reminder ? u"Switched to a reminder"_s : u"Switched to an event"_s;
}

QString ImageReviewModel::recognisedTextPreview() const {
    QStringList pieces;
    for (const QString& line : m_extraction.recognizedText.split(u'\n'))
        pieces += EventCandidateExtractor::segments(line);
    return pieces.join(u" \u00B7 "_s);
}

QString ImageReviewModel::remindersAccessMessage() {
    return u"Orbitday needs access to Reminders. Turn it on in "_s + app::words::privacyRemindersPath() + u"."_s;
}

QString ImageReviewModel::noDateMessage() {
    return u"No date in this image. We filled in the rest. Pick a day below."_s;
}

}  // namespace imageimport
