#include "popover/MonthNavigation.h"

#include "core/DateFormat.h"
#include "state/AppSettings.h"
#include "state/AppState.h"

namespace popover {

using namespace Qt::Literals::StringLiterals;

void MonthNavigation::shiftMonth(int months, app::AppState& appState, const app::AppSettings& settings) {
    const core::Calendar calendar = settings.calendar();
    const core::Date month = appState.displayedMonth();
    appState.setDisplayedMonth(calendar.dateByAdding(core::CalendarUnit::Month, months, month).value_or(month));
}

bool MonthNavigation::isShowingToday(const app::AppState& appState, const app::AppSettings& settings,
                                     core::Date now) {
    const core::Calendar calendar = settings.calendar();
    return calendar.isDate(appState.displayedMonth(), now, core::CalendarUnit::Month) &&
           calendar.isDateInSameDay(appState.selectedDate(), now);
}

QString MonthNavigation::monthTitle(core::Date month) {
    return core::DateFormat::formatTemplate(month, u"MMMM"_s);
}

QString MonthNavigation::yearTitle(core::Date month) {
    return core::DateFormat::formatTemplate(month, u"y"_s);
}

}  // namespace popover
