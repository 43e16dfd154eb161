#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/ODReminder.h"

#include <QString>

#include <vector>

namespace popover {

// What the reminders section lists and the words it shows them with. The
// section works on the current day, never on the day selected in the grid.
class DueReminders {
public:
    DueReminders() = delete;

    // Rows shown while the list is collapsed.
    static constexpr int kCollapsedRows = 3;

    // The reminders due before tomorrow (overdue ones however old), in the given
    // order; undated ones never.
    static std::vector<model::ODReminder> items(const std::vector<model::ODReminder>& reminders, core::Date now,
                                                const core::Calendar& calendar);

    // "Overdue", "Today" for a date-only reminder, else its short time.
    static QString dueLabel(const model::ODReminder& reminder, core::Date now);
    // How many rows show of `count` due items.
    static int visibleCount(int count, bool expanded);
    // Whether the list has a show-more button at all.
    static bool hasMoreButton(int count) { return count > kCollapsedRows; }
    // "Show less" while expanded, else "+2 more".
    static QString moreButtonText(int count, bool expanded);
    // The header's count: "2 left".
    static QString countText(int count);
};

}  // namespace popover
