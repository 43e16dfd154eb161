#pragma once

#include "core/Date.h"

#include <QString>

namespace app {
class AppSettings;
class AppState;
}  // namespace app

namespace popover {

// How the month header and the popover's keys move through months, and what
// the header says. All arithmetic is in the settings' calendar.
class MonthNavigation {
public:
    MonthNavigation() = delete;

    // Moves the displayed month by n months (a day the target month lacks becomes
    // its last day). The selected day stays where it is.
    static void shiftMonth(int months, app::AppState& appState, const app::AppSettings& settings);
    // The current month is shown and today is selected: "Today" has nothing to do.
    static bool isShowingToday(const app::AppState& appState, const app::AppSettings& settings, core::Date now);

    // The month's full name ("March") and the year ("2026") of the displayed month.
    static QString monthTitle(core::Date month);
    static QString yearTitle(core::Date month);
};

}  // namespace popover
