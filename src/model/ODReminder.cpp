#include "model/ODReminder.h"

#include "core/Calendar.h"
#include "model/ODCalendar.h"
#include "model/ValueHash.h"

namespace model {

ODReminder ODReminder::fromPlatform(const platform::PlatformReminder& source) {
    ODReminder reminder;
    reminder.id = source.calendarItemIdentifier;
    reminder.title = source.title && !source.title->isEmpty() ? *source.title : QStringLiteral("Untitled");
    if (source.dueDateComponents) {
        reminder.due = core::Calendar::current().date(*source.dueDateComponents);
        reminder.hasDueTime = source.dueDateComponents->hour.has_value();
    }
    if (source.calendar) {
        reminder.listTitle = source.calendar->title;
        reminder.color = source.calendar->color.value_or(kDefaultCalendarColor);
    } else {
        reminder.color = kDefaultCalendarColor;
    }
    reminder.priority = source.priority;
    return reminder;
}

bool ODReminder::isOverdue(core::Date now) const {
    if (!due) {
        return false;
    }
    if (hasDueTime) {
        return *due < now;
    }
    return *due < core::Calendar::current().startOfDay(now);
}

size_t qHash(const ODReminder& reminder, size_t hashSeed) noexcept {
    return ValueHasher(hashSeed)
        .add(reminder.id)
        .add(reminder.title)
        .add(reminder.due)
        .add(reminder.hasDueTime)
        .add(reminder.listTitle)
        .add(reminder.color)
        .add(reminder.priority)
        .result();
}

}  // namespace model
