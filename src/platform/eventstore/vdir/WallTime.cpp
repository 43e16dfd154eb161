#include "platform/eventstore/vdir/WallTime.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>

#include <cmath>

namespace platform::vdir {

qint64 daysFromCivil(int year, int month, int day) {
    // Normalise an overflowing month first so callers may step by months freely.
    qint64 y = year;
    qint64 m = month - 1;
    y += m >= 0 ? m / 12 : (m - 11) / 12;
    m = ((m % 12) + 12) % 12 + 1;
    y -= m <= 2 ? 1 : 0;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 mp = (m + 9) % 12;
    const qint64 doy = (153 * mp + 2) / 5;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (day - 1);
}

WallTime civilFromDays(qint64 days) {
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const qint64 d = doy - (153 * mp + 2) / 5 + 1;
    const qint64 m = mp < 10 ? mp + 3 : mp - 9;
    const qint64 y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    WallTime wall;
    wall.year = static_cast<int>(y);
    wall.month = static_cast<int>(m);
    wall.day = static_cast<int>(d);
    return wall;
}

WallTime addDays(const WallTime& wall, qint64 days) {
    WallTime result = civilFromDays(daysFromCivil(wall.year, wall.month, wall.day) + days);
    result.hour = wall.hour;
    result.minute = wall.minute;
    result.second = wall.second;
    return result;
}

namespace {

double localSeconds(const WallTime& wall) {
    return static_cast<double>(daysFromCivil(wall.year, wall.month, wall.day)) * 86400.0 + wall.hour * 3600.0 +
           wall.minute * 60.0 + wall.second;
}

}  // namespace

core::Date wallToDate(const WallTime& wall, const core::TimeZone& zone) {
    const double local = localSeconds(wall);
    const icu::TimeZone& tz = zone.icu();
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    if (const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&tz)) {
        basic->getOffsetFromLocal(local * 1000.0, UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER, raw, dst, status);
    } else {
        tz.getOffset(local * 1000.0, true, raw, dst, status);
    }
    if (U_FAILURE(status))
        return core::Date(local);
    return core::Date(local - (raw + dst) / 1000.0);
}

WallTime dateToWall(core::Date date, const core::TimeZone& zone) {
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone.icu().getOffset(date.toUDate(), false, raw, dst, status);
    const double offset = U_SUCCESS(status) ? (raw + dst) / 1000.0 : 0.0;
    const auto local = static_cast<qint64>(std::floor(date.secondsSince1970() + offset));
    const qint64 days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const qint64 secondOfDay = local - days * 86400;
    WallTime wall = civilFromDays(days);
    wall.hour = static_cast<int>(secondOfDay / 3600);
    wall.minute = static_cast<int>(secondOfDay / 60 % 60);
    wall.second = static_cast<int>(secondOfDay % 60);
    return wall;
}

}  // namespace platform::vdir
