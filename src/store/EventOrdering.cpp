#include "store/EventOrdering.h"

#include <QSet>

#include <algorithm>
#include <iterator>

namespace store::ordering {
namespace {

int compareCodePoints(const QString& a, const QString& b) {
    const QList<uint> x = a.normalized(QString::NormalizationForm_C).toUcs4();
    const QList<uint> y = b.normalized(QString::NormalizationForm_C).toUcs4();
    if (std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end()))
        return -1;
    return x == y ? 0 : 1;
}

QString duplicateKey(const model::ODEvent& event, const core::Calendar& calendar) {
    // Full precision so that different days never share a key.
    return event.title.toLower() + QLatin1Char('|') +
           QString::number(calendar.startOfDay(event.start).secondsSince1970(), 'g', 17);
}

bool startsEarlier(const model::ODEvent& a, const model::ODEvent& b) {
    if (a.start != b.start)
        return a.start < b.start;
    return a.isAllDay && !b.isAllDay;
}

// The arranged order: by start, all-day first, editable first.
bool arrangedBefore(const model::ODEvent& a, const model::ODEvent& b) {
    if (startsEarlier(a, b) || startsEarlier(b, a))
        return startsEarlier(a, b);
    return a.canEdit && !b.canEdit;
}

}  // namespace

void sortCalendars(std::vector<model::ODCalendar>& calendars) {
    std::stable_sort(calendars.begin(), calendars.end(), [](const model::ODCalendar& a, const model::ODCalendar& b) {
        const int source = compareCodePoints(a.sourceTitle, b.sourceTitle);
        return source != 0 ? source < 0 : compareCodePoints(a.title, b.title) < 0;
    });
}

std::vector<model::ODEvent> arrangeFetchedEvents(std::vector<model::ODEvent> events, const core::Calendar& calendar) {
    std::stable_sort(events.begin(), events.end(),
                     [](const model::ODEvent& a, const model::ODEvent& b) { return a.canEdit && !b.canEdit; });
    QSet<QString> seen;
    std::vector<model::ODEvent> kept;
    kept.reserve(events.size());
    for (model::ODEvent& event : events) {
        if (!event.isAllDay) {
            kept.push_back(std::move(event));
            continue;
        }
        const QString key = duplicateKey(event, calendar);
        if (!event.canEdit && seen.contains(key))
            continue;
        seen.insert(key);
        kept.push_back(std::move(event));
    }
    std::stable_sort(kept.begin(), kept.end(), startsEarlier);
    return kept;
}

namespace {

// The events from `begin` to `end`, copied or moved as their iterators give them, merged with `second`.
template <class Iterator>
std::vector<model::ODEvent> mergedWith(Iterator begin, Iterator end, std::size_t size,
                                       std::vector<model::ODEvent> second) {
    std::vector<model::ODEvent> merged;
    merged.reserve(size + second.size());
    std::merge(begin, end, std::make_move_iterator(second.begin()), std::make_move_iterator(second.end()),
               std::back_inserter(merged), arrangedBefore);
    return merged;
}

}  // namespace

std::vector<model::ODEvent> mergeArranged(std::vector<model::ODEvent> first, std::vector<model::ODEvent> second) {
    return mergedWith(std::make_move_iterator(first.begin()), std::make_move_iterator(first.end()), first.size(),
                      std::move(second));
}

std::vector<model::ODEvent> mergeArrangedCopying(const std::vector<model::ODEvent>& first,
                                                 std::vector<model::ODEvent> second) {
    return mergedWith(first.begin(), first.end(), first.size(), std::move(second));
}

void sortDayEvents(std::vector<model::ODEvent>& events) {
    std::stable_sort(events.begin(), events.end(), [](const model::ODEvent& a, const model::ODEvent& b) {
        if (a.isAllDay != b.isAllDay)
            return a.isAllDay;
        return a.start < b.start;
    });
}

void sortReminders(std::vector<model::ODReminder>& reminders) {
    std::stable_sort(reminders.begin(), reminders.end(), [](const model::ODReminder& a, const model::ODReminder& b) {
        return a.due.value_or(core::Date::distantFuture()) < b.due.value_or(core::Date::distantFuture());
    });
}

}  // namespace store::ordering
