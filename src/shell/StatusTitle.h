#pragma once

#include "core/Date.h"
#include "model/ODEvent.h"

#include <QString>

#include <optional>

namespace store {
class CalendarStore;
}

namespace app {

class AppSettings;

// What the tray item shows at a moment, before anything is drawn.
struct StatusPresentation {
    // The text next to the icon; empty in the icon mode.
    QString title;
    // A countdown ("Standup in 5m", "Standup now") drawn as a pill image.
    std::optional<QString> pill;
    // Room left of the pill, so that it stands apart from the date.
    int pillLeadingGap = 0;
    // The icon mode without a countdown shows the calendar symbol.
    bool calendarSymbol = false;
    // The next event and its time; none without a next event.
    std::optional<QString> toolTip;
    QString accessibleText;

    bool operator==(const StatusPresentation&) const = default;
};

StatusPresentation statusPresentation(const store::CalendarStore& store, const AppSettings& settings, core::Date now);

// "45m", "1h", "2h 5m"; below an hour (also zero and below) the minutes alone.
QString formatMinutes(int minutes);

// A title short enough for the tray, counted in user-perceived characters: whole
// below 15, else its first word when that is below 15, else the first 13
// characters and an ellipsis.
QString shortTitle(const QString& title);

// "<title> now" for a meeting that began less than five minutes ago and goes
// on; else "<title> in <minutes>" for the next timed event within `leadTime`
// seconds (never with a lead time of zero or less); else none.
std::optional<QString> countdownText(const store::CalendarStore& store, core::Date now, double leadTime);

// The next timed event that starts later on the day of `now`.
std::optional<model::ODEvent> nextToday(const store::CalendarStore& store, core::Date now);

// A time of day as the user's locale writes it short ("9:30 AM", "09:30").
QString shortTime(core::Date date);

}  // namespace app
