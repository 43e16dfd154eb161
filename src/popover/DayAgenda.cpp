#include "popover/DayAgenda.h"

#include "core/DateFormat.h"
#include "popover/PopoverFormat.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace popover {

using namespace Qt::Literals::StringLiterals;

core::Date DayAgenda::minuteOf(core::Date instant) {
    return core::Date(std::floor(instant.secondsSince1970() / 60.0) * 60.0);
}

core::Date DayAgenda::nextMinute(core::Date instant) {
    return minuteOf(instant) + 60.0;
}

std::vector<AgendaSection> DayAgenda::sections(core::Date selectedDay, const store::CalendarStore& store,
                                               core::Date now, const core::Calendar& calendar) {
    std::vector<AgendaSection> result{AgendaSection::build(selectedDay, store, now, calendar)};
    const AgendaSection& first = result.front();
    if (first.kind != AgendaSection::Kind::today)
        return result;
    if (const auto nextDay = calendar.dateByAdding(core::CalendarUnit::Day, 1, first.date)) {
        AgendaSection second = AgendaSection::build(*nextDay, store, now, calendar);
        if (!second.isEmpty())
            result.push_back(std::move(second));
    }
    return result;
}

bool DayAgenda::noCalendarsEnabled(const store::CalendarStore& store, const app::AppSettings& settings) {
    if (store.eventAccess() != model::AccessStatus::fullAccess)
        return false;
    const auto& calendars = store.calendars();
    // While the calendars are still being read there are none yet, and nothing to switch on.
    if (calendars.empty())
        return !store.isLoading();
    const auto& enabled = settings.enabledCalendarIDs();
    if (!enabled)
        return false;
    return std::none_of(calendars.begin(), calendars.end(),
                        [&](const model::ODCalendar& calendar) { return enabled->contains(calendar.id); });
}

QString DayAgenda::headerTitle(const AgendaSection& section, core::Date now, const core::Calendar& calendar) {
    switch (section.kind) {
        case AgendaSection::Kind::today:
            return u"Today"_s;
        case AgendaSection::Kind::tomorrow:
            return u"Tomorrow"_s;
        case AgendaSection::Kind::other:
            break;
    }
    return PopoverFormat::relativeDay(section.date, now, calendar);
}

QString DayAgenda::emptyTitle(AgendaSection::Kind kind) {
    switch (kind) {
        case AgendaSection::Kind::today:
            return u"Nothing on today"_s;
        case AgendaSection::Kind::tomorrow:
            return u"Nothing on tomorrow"_s;
        case AgendaSection::Kind::other:
            break;
    }
    return u"Nothing on"_s;
}

std::optional<QString> DayAgenda::trailingNote(const AgendaSection& section) {
    switch (section.kind) {
        case AgendaSection::Kind::other:
            if (section.timed.size() + section.allDay.size() <= 2)
                return u"Nothing else on. Go outside."_s;
            return std::nullopt;
        case AgendaSection::Kind::tomorrow:
            return std::nullopt;
        case AgendaSection::Kind::today:
            if (!section.timed.empty())
                return std::nullopt;
            return PopoverFormat::emptyDayCopy(section.date).replace(u"Nothing on."_s, u"Nothing else on."_s);
    }
    return std::nullopt;
}

std::optional<model::ODEvent> DayAgenda::nextEvent(const AgendaSection& section, core::Date now,
                                                   const store::CalendarStore& store, const core::Calendar& calendar) {
    if (section.date < calendar.startOfDay(now))
        return std::nullopt;
    const auto nextDay = calendar.dateByAdding(core::CalendarUnit::Day, 1, section.date);
    if (section.kind == AgendaSection::Kind::today) {
        const bool tomorrowBusy = nextDay && !store.events(*nextDay, calendar).empty();
        if (tomorrowBusy)
            return std::nullopt;
        return store.nextEvent(now, false);
    }
    if (!nextDay)
        return store.nextEvent(now, false);
    // The store looks strictly after its date; an event at the very stroke of
    // midnight belongs to the next day and must be offered, so ask from just
    // before it. Nothing can start in between: this section's day is empty.
    const double justBefore = std::nextafter(nextDay->secondsSince1970(), -std::numeric_limits<double>::infinity());
    return store.nextEvent(core::Date(justBefore), false);
}

QString DayAgenda::nextEventTime(const model::ODEvent& event) {
    return core::DateFormat::formatTemplate(event.start, u"EEEdMMMjmm"_s);
}

QString DayAgenda::earlierCount(int count) {
    return QString::number(count) + u" earlier"_s;
}

QString DayAgenda::earlierTitles(const std::vector<model::ODEvent>& events) {
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(events.size()));
    for (const model::ODEvent& event : events)
        titles << event.title;
    return titles.join(u" \u00B7 "_s);
}

QString DayAgenda::earlierAccessibleLabel(int count, bool expanded) {
    return (expanded ? u"Hide "_s : u"Show "_s) + QString::number(count) + u" earlier events"_s;
}

QString DayAgenda::allDaySymbol(const QString& title) {
    const QString lower = title.toLower();
    for (const QString& word : {u"trip"_s, u"flight"_s, u"travel"_s, u"vacation"_s, u"holiday"_s})
        if (lower.contains(word))
            return u"airplane"_s;
    if (lower.contains(u"birthday"_s))
        return u"gift"_s;
    return u"calendar"_s;
}

QString DayAgenda::allDayRange(const model::ODEvent& event, core::Date day, const core::Calendar& calendar) {
    const core::Date first = calendar.startOfDay(event.start);
    // An all-day event ends at the following midnight (or the second before
    // it): that instant belongs to the day before.
    const core::Date lastInstant = event.end > event.start ? event.end - 1.0 : event.start;
    const core::Date last = calendar.startOfDay(lastInstant);
    const int total = calendar.daysBetween(first, last) + 1;
    if (total < 2)
        return u"All day"_s;
    const int index = calendar.daysBetween(first, calendar.startOfDay(day)) + 1;
    return PopoverFormat::weekdayDay(first) + u" \u2192 "_s + PopoverFormat::weekdayDay(last) + u" \u00B7 day "_s +
           QString::number(index) + u" of "_s + QString::number(total);
}

}  // namespace popover
