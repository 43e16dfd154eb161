#include "popover/DueReminders.h"

#include "popover/PopoverFormat.h"

#include <algorithm>

namespace popover {

std::vector<model::ODReminder> DueReminders::items(const std::vector<model::ODReminder>& reminders, core::Date now,
                                                   const core::Calendar& calendar) {
    const core::Date bound = calendar.dateByAdding(core::CalendarUnit::Day, 1, calendar.startOfDay(now)).value_or(now);
    std::vector<model::ODReminder> due;
    std::copy_if(reminders.begin(), reminders.end(), std::back_inserter(due),
                 [&](const model::ODReminder& r) { return r.due.value_or(core::Date::distantFuture()) < bound; });
    return due;
}

QString DueReminders::dueLabel(const model::ODReminder& reminder, core::Date now) {
    if (reminder.isOverdue(now))
        return QStringLiteral("Overdue");
    if (!reminder.hasDueTime || !reminder.due)
        return QStringLiteral("Today");
    return PopoverFormat::time(*reminder.due);
}

int DueReminders::visibleCount(int count, bool expanded) {
    return expanded ? count : std::min(count, kCollapsedRows);
}

QString DueReminders::moreButtonText(int count, bool expanded) {
    if (expanded)
        return QStringLiteral("Show less");
    return QStringLiteral("+%1 more").arg(std::max(0, count - kCollapsedRows));
}

QString DueReminders::countText(int count) {
    return QStringLiteral("%1 left").arg(count);
}

}  // namespace popover
