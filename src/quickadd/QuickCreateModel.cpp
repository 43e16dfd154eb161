#include "quickadd/QuickCreateModel.h"

#include "core/CharacterClass.h"
#include "core/Clock.h"
#include "core/ClockTimer.h"
#include "core/Locale.h"
#include "design/values/ODFormat.h"
#include "design/values/Theme.h"
#include "platform/eventstore/EventStoreError.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"
#include "store/EventOrdering.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace quickadd {

namespace {

constexpr double kDefaultLength = 3600;
constexpr int kDefaultHour = 9;

// A line of one word that names nothing: parsed, it gives the default start and length.
const QString kPlaceholderWord = u"x"_s;

// The day the date arithmetic gives, or the plain count of seconds where the
// calendar yields none (at the edge of its range): a draft always has an end.
core::Date addingDays(const core::Calendar& calendar, int days, core::Date date) {
    if (const std::optional<core::Date> moved = calendar.dateByAdding(core::CalendarUnit::Day, days, date))
        return *moved;
    return date + days * 86400.0;
}

core::Date nextMinute(core::Date instant) {
    return core::Date(std::floor(instant.secondsSince1970() / 60.0) * 60.0 + 60.0);
}

// All-day first, then by start: the order of the preview.
int sortKey(bool isAllDay) {
    return isAllDay ? 0 : 1;
}

}  // namespace

QuickCreateModel::QuickCreateModel(store::CalendarStore& store, app::AppState& appState,
                                   const app::AppSettings& settings, QObject* parent)
    : QObject(parent), m_store(store), m_appState(appState), m_settings(settings) {
    reparse();
    updateDraft();
    // Every reload publishes the events last, after the calendars, whose names
    // feed the parse; "now" moves on between reloads too.
    connect(&m_store, &store::CalendarStore::eventsChanged, this, [this] {
        m_loadedDay.reset();
        reparse();
        updateDraft();
        loadDay(m_draft.start);
    });
    connect(&m_settings, &app::AppSettings::defaultCalendarIDChanged, this, &QuickCreateModel::updateDraft);
    connect(&m_minuteTick, &core::ClockTimer::timeout, this, &QuickCreateModel::minutePassed);
}

QuickCreateModel::~QuickCreateModel() {
    // The handler points at this object; the state outlives it.
    m_appState.removeEscapeHandler(m_escapeToken);
}

// --- Lifecycle ------------------------------------------------------------------------------------

void QuickCreateModel::appear() {
    if (const std::optional<QString> handed = m_appState.quickCreateText()) {
        m_appState.setQuickCreateText(std::nullopt);
        setText(*handed);
    }
    m_escapeToken = m_appState.installEscapeHandler([this] { return handleEscape(); });
    loadDay(m_draft.start);
    m_minuteTick.startAt(nextMinute(core::Date::now()));
}

void QuickCreateModel::disappear() {
    m_appState.removeEscapeHandler(m_escapeToken);
    m_escapeToken = 0;
    m_minuteTick.stop();
}

void QuickCreateModel::minutePassed() {
    reparse();
    updateDraft();
    m_minuteTick.startAt(nextMinute(core::Date::now()));
}

bool QuickCreateModel::handleEscape() {
    if (!m_openCard)
        return false;
    setOpenCard(std::nullopt);
    return true;
}

// --- The line -------------------------------------------------------------------------------------

void QuickCreateModel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    reparse();
    emit textChanged();
    updateDraft();
}

bool QuickCreateModel::isBlank() const {
    // Any white space: a pasted line break alone is as empty as a space.
    bool blank = true;
    core::chars::forEachCodePoint(m_text, [&](char32_t c) { blank = blank && core::chars::isWhitespace(c); });
    return blank;
}

NLParser QuickCreateModel::parser(bool withCalendars) const {
    std::vector<NLParser::CalendarRef> calendars;
    if (withCalendars) {
        for (const model::ODCalendar& calendar : m_store.writableCalendars())
            calendars.push_back({calendar.id, calendar.title});
    }
    return NLParser{.now = core::Clock::current().now(),
                    .calendar = m_calendar,
                    .defaultDuration = kDefaultLength,
                    .calendars = std::move(calendars),
                    .monthFirst = NLParser::localePrefersMonthFirst(core::Locale::current())};
}

void QuickCreateModel::reparse() {
    m_parsed = parser(true).parse(m_text);
    if (!m_parsed)
        m_fallback = *parser(false).parse(kPlaceholderWord);
}

std::set<NLParser::TokenKind> QuickCreateModel::tokenKinds() const {
    std::set<NLParser::TokenKind> kinds;
    if (m_parsed) {
        for (const NLParser::Token& token : m_parsed->tokens)
            kinds.insert(token.kind);
    }
    return kinds;
}

std::vector<QuickCreateModel::Highlight> QuickCreateModel::highlights() const {
    std::vector<Highlight> result;
    if (m_parsed) {
        for (const NLParser::Token& token : m_parsed->tokens)
            result.push_back({token.range, highlightColor(token.kind)});
    }
    return result;
}

core::Color QuickCreateModel::highlightColor(NLParser::TokenKind kind) {
    using design::Theme;
    switch (kind) {
        case NLParser::TokenKind::date:
            return Theme::sky();
        case NLParser::TokenKind::time:
        case NLParser::TokenKind::allDay:
            return Theme::flame();
        case NLParser::TokenKind::duration:
            return Theme::green();
        case NLParser::TokenKind::calendar:
            return Theme::amber();
        case NLParser::TokenKind::location:
            return Theme::teal();
    }
    return Theme::flame();
}

// --- Choices ----------------------------------------------------------------------------------------

template <class Change>
void QuickCreateModel::changeOverrides(Change&& change) {
    change();
    emit overridesChanged();
    updateDraft();
}

template <class T>
void QuickCreateModel::setOverride(std::optional<T>& field, std::optional<T> value) {
    if (field == value)
        return;
    changeOverrides([&] { field = std::move(value); });
}

void QuickCreateModel::setDateOverride(std::optional<core::Date> date) {
    setOverride(m_dateOverride, date);
}

void QuickCreateModel::setTimeOverride(std::optional<core::Date> time) {
    setOverride(m_timeOverride, time);
}

void QuickCreateModel::setAllDayOverride(std::optional<bool> allDay) {
    setOverride(m_allDayOverride, allDay);
}

void QuickCreateModel::setDurationOverride(std::optional<double> seconds) {
    setOverride(m_durationOverride, seconds);
}

void QuickCreateModel::setCalendarOverride(std::optional<QString> calendarID) {
    setOverride(m_calendarOverride, std::move(calendarID));
}

void QuickCreateModel::setOpenCard(std::optional<Card> card) {
    if (card == m_openCard)
        return;
    m_openCard = card;
    emit openCardChanged();
}

// --- The cards ------------------------------------------------------------------------------------

QuickCreateModel::CardFace QuickCreateModel::face(Card card) const {
    const std::set<NLParser::TokenKind> kinds = tokenKinds();
    const auto has = [&](NLParser::TokenKind kind) { return kinds.contains(kind); };
    const core::TimeZone zone = core::TimeZone::current();
    switch (card) {
        case Card::date:
            return {design::ODFormat::format(m_draft.start, u"EEEdMMM"_s, zone),
                    has(NLParser::TokenKind::date) || m_dateOverride.has_value(), std::nullopt};
        case Card::time:
            return {m_draft.isAllDay ? u"All day"_s : design::ODFormat::format(m_draft.start, u"jmm"_s, zone),
                    has(NLParser::TokenKind::time) || has(NLParser::TokenKind::allDay) || m_timeOverride.has_value(),
                    std::nullopt};
        case Card::duration:
            return {m_draft.isAllDay ? dayCount(m_draft) : design::ODFormat::duration(m_draft.end - m_draft.start),
                    has(NLParser::TokenKind::duration) || m_durationOverride.has_value(), std::nullopt};
    }
    return {};
}

QuickCreateModel::CardFace QuickCreateModel::calendarFace() const {
    const bool active = tokenKinds().contains(NLParser::TokenKind::calendar) || m_calendarOverride.has_value();
    const std::optional<model::ODCalendar> calendar = m_store.calendar(m_draft.calendarID.value_or(QString()));
    if (!calendar)
        return {u"Default"_s, active, std::nullopt};
    return {calendar->title, active, calendar->color};
}

std::vector<QuickCreateModel::CalendarChoice> QuickCreateModel::calendarChoices() const {
    std::vector<CalendarChoice> choices;
    for (const model::ODCalendar& calendar : m_store.writableCalendars())
        choices.push_back({calendar.id, calendar.title, calendar.color, m_draft.calendarID == calendar.id});
    return choices;
}

void QuickCreateModel::toggleCard(Card card) {
    setOpenCard(m_openCard == card ? std::nullopt : std::optional(card));
}

void QuickCreateModel::cardDismissed(Card card) {
    // Opening another card closes this one's pop-over too: that one stays open.
    if (m_openCard == card)
        setOpenCard(std::nullopt);
}

void QuickCreateModel::chooseDay(core::Date day) {
    setDateOverride(day);
}

void QuickCreateModel::setAllDay(bool allDay) {
    changeOverrides([&] {
        if (!allDay && !m_timeOverride)
            m_timeOverride = m_calendar.dateBySettingTime(kDefaultHour, 0, 0, m_draft.start);
        m_allDayOverride = allDay;
    });
}

void QuickCreateModel::chooseTime(core::Date time) {
    changeOverrides([&] {
        m_timeOverride = time;
        m_allDayOverride = false;
    });
}

std::vector<core::Date> QuickCreateModel::quickHours() const {
    std::vector<core::Date> hours;
    for (const int hour : {9, 12, 13, 15, 18}) {
        if (const std::optional<core::Date> time = m_calendar.dateBySettingTime(hour, 0, 0, m_draft.start))
            hours.push_back(*time);
    }
    return hours;
}

void QuickCreateModel::chooseQuickHour(core::Date time) {
    chooseTime(time);
    setOpenCard(std::nullopt);
}

std::optional<int> QuickCreateModel::selectedDurationMinutes() const {
    if (m_draft.isAllDay)
        return std::nullopt;
    return static_cast<int>((m_draft.end - m_draft.start) / 60);
}

void QuickCreateModel::chooseDuration(int minutes) {
    changeOverrides([&] {
        m_durationOverride = minutes * 60.0;
        m_allDayOverride = false;
    });
    setOpenCard(std::nullopt);
}

// --- The draft ----------------------------------------------------------------------------------

std::optional<QString> QuickCreateModel::defaultCalendarID() const {
    return m_store.calendarForNewEvents({m_settings.defaultCalendarID()});
}

void QuickCreateModel::updateDraft() {
    model::EventDraft draft = computeDraft();
    if (draft == m_draft)
        return;
    m_draft = std::move(draft);
    emit draftChanged();
    // Typing "tomorrow" or picking a day moves the preview; another hour of the same day does not.
    loadDay(m_draft.start);
}

model::EventDraft QuickCreateModel::computeDraft() const {
    const NLParser::Result& parsed = m_parsed ? *m_parsed : m_fallback;
    model::EventDraft draft = parsed.draft();
    if (!m_parsed)
        draft.title.clear();

    bool allDay = m_allDayOverride.value_or(parsed.isAllDay);
    // A picked time or length makes a timed event of an all-day line, unless
    // the all-day switch itself was set.
    if ((m_timeOverride || m_durationOverride) && !m_allDayOverride)
        allDay = false;
    const core::Date day = m_calendar.startOfDay(m_dateOverride.value_or(parsed.start));

    draft.isAllDay = allDay;
    if (!allDay) {
        std::optional<core::Date> source = m_timeOverride;
        if (!source && !parsed.isAllDay)
            source = parsed.start;
        if (!source)
            source = m_calendar.dateBySettingTime(kDefaultHour, 0, 0, day);
        const int hour = source ? m_calendar.component(core::CalendarUnit::Hour, *source) : kDefaultHour;
        const int minute = source ? m_calendar.component(core::CalendarUnit::Minute, *source) : 0;
        draft.start = m_calendar.dateBySettingTime(hour, minute, 0, day).value_or(day);
        const double length = m_durationOverride.value_or(parsed.isAllDay ? kDefaultLength : parsed.end - parsed.start);
        draft.end = draft.start + length;
    } else {
        // The whole span moves to the chosen day, its number of days kept.
        const int extraDays = parsed.isAllDay ? std::max(0, m_calendar.daysBetween(parsed.start, parsed.end)) : 0;
        draft.start = day;
        draft.end = addingDays(m_calendar, extraDays + 1, day) - 1;
    }
    draft.calendarID =
        m_calendarOverride ? m_calendarOverride : (parsed.calendarID ? parsed.calendarID : defaultCalendarID());
    return draft;
}

std::vector<model::ODEvent> QuickCreateModel::conflicts() const {
    std::vector<model::ODEvent> result;
    if (m_draft.isAllDay)
        return result;
    // Strictly: one ending as the other begins is no clash.
    std::copy_if(m_dayEvents.begin(), m_dayEvents.end(), std::back_inserter(result), [&](const model::ODEvent& e) {
        return !e.isAllDay && e.start < m_draft.end && e.end > m_draft.start;
    });
    return result;
}

QString QuickCreateModel::dayCount(const model::EventDraft& draft) {
    const core::Calendar calendar;
    const int days = calendar.daysBetween(draft.start, draft.end + 1);
    if (days >= 2)
        return QString::number(days) + u" days"_s;
    return u"1 day"_s;
}

// --- The day ----------------------------------------------------------------------------------------

void QuickCreateModel::loadDay(core::Date day) {
    const core::Date start = m_calendar.startOfDay(day);
    if (m_loadedDay == start)
        return;
    m_loadedDay = start;
    std::vector<model::ODEvent> events = m_store.events(start, m_calendar);
    store::ordering::sortDayEvents(events);
    m_dayEvents = std::move(events);
    emit dayEventsChanged();
}

void QuickCreateModel::flash(const QString& eventID) {
    setFlashID(eventID);
    core::ClockTimer::singleShotAt(core::Clock::current().now() + kFlashSeconds, this, [this, eventID] {
        // A later flash of the same row ends at the first timer that still finds it.
        if (m_flashID == eventID)
            setFlashID(std::nullopt);
    });
}

void QuickCreateModel::setFlashID(std::optional<QString> id) {
    if (id == m_flashID)
        return;
    m_flashID = std::move(id);
    emit flashIDChanged();
}

QuickCreateModel::Preview QuickCreateModel::preview() const {
    QSet<QString> overlapping;
    for (const model::ODEvent& event : conflicts())
        overlapping.insert(event.id);

    std::vector<PreviewItem> items;
    items.reserve(m_dayEvents.size() + 1);
    for (const model::ODEvent& event : m_dayEvents)
        items.push_back({event.id, event.title, event.start, event.end, event.isAllDay, event.color, false,
                         overlapping.contains(event.id)});

    const std::optional<model::ODCalendar> calendar = m_store.calendar(m_draft.calendarID.value_or(QString()));
    const PreviewItem added{
        kNewItemID,       m_draft.title.isEmpty() ? u"New event"_s : m_draft.title, m_draft.start, m_draft.end,
        m_draft.isAllDay, calendar ? calendar->color : design::Theme::amber(),      true,          false};
    // After every row that sorts with it or before it.
    const auto later = std::find_if(items.begin(), items.end(), [&](const PreviewItem& item) {
        return std::pair(sortKey(item.isAllDay), item.start) > std::pair(sortKey(added.isAllDay), added.start);
    });
    const int insertion = static_cast<int>(later - items.begin());
    items.insert(later, added);

    std::optional<int> revealed;
    if (m_flashID) {
        const auto found =
            std::find_if(items.begin(), items.end(), [&](const PreviewItem& item) { return item.id == *m_flashID; });
        if (found != items.end())
            revealed = static_cast<int>(found - items.begin());
    }

    Preview preview;
    for (const int index : previewIndices(static_cast<int>(items.size()), insertion, revealed, kPreviewRows))
        preview.rows.push_back(items[static_cast<size_t>(index)]);
    if (items.size() == 1)
        preview.closingLine = u"Nothing else that day. Free as a bird."_s;
    else if (items.back().isNew)
        preview.closingLine = u"Then nothing else. Go outside."_s;
    return preview;
}

QString QuickCreateModel::timeRange(core::Date start, core::Date end) {
    return design::ODFormat::timeRange(start, end, core::TimeZone::current());
}

QString QuickCreateModel::conflictText(const model::ODEvent& first, int count) {
    QString text = u"Overlaps \u201c"_s + first.title + u"\u201d "_s + timeRange(first.start, first.end);
    if (count >= 2)
        text += u" +"_s + QString::number(count - 1);
    return text;
}

QString QuickCreateModel::dayHeading(core::Date day) {
    return design::ODFormat::format(day, u"EEEdMMM"_s, core::TimeZone::current()).toUpper();
}

std::vector<int> QuickCreateModel::previewIndices(int count, int around, std::optional<int> revealing, int max) {
    std::vector<int> indices;
    if (count <= 0 || max <= 0)
        return indices;
    if (max >= count) {
        for (int i = 0; i < count; ++i)
            indices.push_back(i);
        return indices;
    }
    const int first = std::clamp(around - max / 2, 0, count - max);
    for (int i = first; i < first + max; ++i)
        indices.push_back(i);
    if (!revealing || (*revealing >= first && *revealing < first + max) || *revealing < 0 || *revealing >= count)
        return indices;
    // The farthest from the new row goes; of two as far, the lower one.
    const auto farthest = std::max_element(indices.begin(), indices.end(), [&](int a, int b) {
        const int da = std::abs(a - around);
        const int db = std::abs(b - around);
        return da < db || (da == db && a > b);
    });
    *farthest = *revealing;
    std::sort(indices.begin(), indices.end());
    return indices;
}

// --- Ways out -------------------------------------------------------------------------------------

void QuickCreateModel::add() {
    if (isBlank())
        return;
    const model::EventDraft draft = m_draft;
    try {
        m_store.create(draft);
    } catch (const platform::LocalizedError& error) {
        setErrorText(error.errorDescription());
        return;
    }
    m_appState.setSelectedDate(m_calendar.startOfDay(draft.start));
    m_appState.setDisplayedMonth(draft.start);
    m_appState.setRoute(app::PopoverRoute::main());
}

void QuickCreateModel::moreDetails() {
    model::EventDraft draft = m_draft;
    if (isBlank())
        draft.title.clear();
    draft.location = m_parsed ? m_parsed->location : std::nullopt;
    m_appState.setPendingDraft(draft);
    m_appState.setRoute(app::PopoverRoute::eventCreate(draft.start));
}

void QuickCreateModel::setErrorText(const std::optional<QString>& text) {
    if (text == m_errorText)
        return;
    m_errorText = text;
    emit errorTextChanged();
}

}  // namespace quickadd
