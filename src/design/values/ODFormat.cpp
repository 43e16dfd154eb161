#include "design/values/ODFormat.h"

#include "core/DateFormat.h"

#include <cmath>
#include <cstdint>

namespace design {

namespace {

// Beyond 2^53 a double no longer holds every whole number, so minute counts
// past it would print digits the input never had.
constexpr double kLargestExactMinutes = 9007199254740992.0;

}  // namespace

QString ODFormat::format(core::Date date, const QString& skeleton, const core::TimeZone& zone) {
    return core::DateFormat::formatTemplate(date, skeleton, zone);
}

QString ODFormat::timeRange(core::Date start, core::Date end, const core::TimeZone& zone) {
    const QString hoursAndMinutes = QStringLiteral("jmm");
    return format(start, hoursAndMinutes, zone) + QStringLiteral(" \u2013 ") + format(end, hoursAndMinutes, zone);
}

QString ODFormat::duration(double seconds) {
    const double roundedMinutes = std::round(seconds / 60.0);  // halves away from zero
    if (!std::isfinite(roundedMinutes) || std::fabs(roundedMinutes) > kLargestExactMinutes)
        return QStringLiteral("0m");
    const auto minutes = static_cast<std::int64_t>(roundedMinutes);
    if (minutes < 60)
        return QString::number(minutes) + QLatin1Char('m');
    if (minutes % 1440 == 0)
        return QString::number(minutes / 1440) + QLatin1Char('d');
    const std::int64_t hours = minutes / 60;
    const std::int64_t rest = minutes % 60;
    if (rest == 0)
        return QString::number(hours) + QLatin1Char('h');
    return QString::number(hours) + QStringLiteral("h ") + QString::number(rest) + QLatin1Char('m');
}

}  // namespace design
