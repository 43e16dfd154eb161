#include "popover/AgendaSection.h"

#include "store/CalendarStore.h"

#include <algorithm>

namespace popover {

namespace {

AgendaSection::Kind kindOf(core::Date date, core::Date now, const core::Calendar& calendar) {
    const core::Date today = calendar.startOfDay(now);
    if (date == today)
        return AgendaSection::Kind::today;
    if (date == calendar.dateByAdding(core::CalendarUnit::Day, 1, today))
        return AgendaSection::Kind::tomorrow;
    return AgendaSection::Kind::other;
}

// Declined events take no part: the user is not going, so nothing clashes with them.
void markOverlaps(AgendaSection& section) {
    std::vector<const model::ODEvent*> candidates;
    for (const model::ODEvent& event : section.timed)
        if (!event.isDeclined())
            candidates.push_back(&event);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const model::ODEvent& a = *candidates[i];
        for (size_t j = i + 1; j < candidates.size(); ++j) {
            const model::ODEvent& b = *candidates[j];
            // Touching ends do not overlap.
            if (!(b.start < a.end) || section.overlaps.contains(b.id))
                continue;
            section.overlaps.insert(b.id, a.title);
            if (!section.overlaps.contains(a.id))
                section.overlapped.insert(a.id);
        }
    }
}

std::optional<model::ODEvent> firstNotDeclined(const std::vector<model::ODEvent>& events) {
    const auto it = std::find_if(events.begin(), events.end(), [](const model::ODEvent& e) { return !e.isDeclined(); });
    return it == events.end() ? std::nullopt : std::optional(*it);
}

}  // namespace

AgendaSection AgendaSection::build(core::Date day, const store::CalendarStore& store, core::Date now,
                                   const core::Calendar& calendar) {
    return build(day, store.events(calendar.startOfDay(day), calendar), now, calendar);
}

AgendaSection AgendaSection::build(core::Date day, const std::vector<model::ODEvent>& dayEvents, core::Date now,
                                   const core::Calendar& calendar) {
    AgendaSection section;
    section.date = calendar.startOfDay(day);
    section.kind = kindOf(section.date, now, calendar);

    std::vector<model::ODEvent> timed;
    for (const model::ODEvent& event : dayEvents)
        (event.isAllDay ? section.allDay : timed).push_back(event);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const model::ODEvent& a, const model::ODEvent& b) { return a.start < b.start; });

    if (section.kind == Kind::today) {
        for (model::ODEvent& event : timed)
            (event.end <= now ? section.earlier : section.timed).push_back(std::move(event));
        if (const auto first = firstNotDeclined(section.timed))
            section.highlightID = first->id;
    } else {
        section.timed = std::move(timed);
    }
    markOverlaps(section);
    return section;
}

std::optional<model::ODEvent> AgendaSection::highlighted() const {
    if (!highlightID)
        return std::nullopt;
    const auto it = std::find_if(timed.begin(), timed.end(),
                                 [this](const model::ODEvent& e) { return e.id == *highlightID; });
    return it == timed.end() ? std::nullopt : std::optional(*it);
}

std::optional<model::ODEvent> AgendaSection::primaryEvent() const {
    if (auto event = highlighted())
        return event;
    if (auto event = firstNotDeclined(timed))
        return event;
    if (!timed.empty())
        return timed.front();
    if (!allDay.empty())
        return allDay.front();
    if (!earlier.empty())
        return earlier.back();
    return std::nullopt;
}

}  // namespace popover
