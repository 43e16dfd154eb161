#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"

#include <QString>

namespace design {

// The short labels of dates and lengths that the screens show.
class ODFormat {
public:
    ODFormat() = delete;

    // The date in the current locale's best pattern for a template ("EEEdMMM",
    // "jmm": weekday, day and month in the locale's order; hours and minutes in
    // its 12- or 24-hour habit), in the given zone.
    static QString format(core::Date date, const QString& skeleton, const core::TimeZone& zone);
    // The start and end in hours and minutes ("jmm"), in the given zone: "9:00 AM – 10:30 AM".
    static QString timeRange(core::Date start, core::Date end, const core::TimeZone& zone);

    // A length in seconds, rounded to whole minutes: "45m", "1h 30m", "2h",
    // whole days as "1d". A length that is not finite, or too large to count in
    // whole minutes, reads "0m".
    static QString duration(double seconds);
};

}  // namespace design
