#include "platform/eventstore/vdir/WallTime.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/tzrule.h>
#include <unicode/tztrans.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

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

qint64 wallSeconds(const WallTime& wall) {
    return daysFromCivil(wall.year, wall.month, wall.day) * 86400 + wall.hour * 3600 + wall.minute * 60 + wall.second;
}

WallTime wallFromSeconds(qint64 seconds) {
    const qint64 days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const qint64 secondOfDay = seconds - days * 86400;
    WallTime wall = civilFromDays(days);
    wall.hour = static_cast<int>(secondOfDay / 3600);
    wall.minute = static_cast<int>(secondOfDay / 60 % 60);
    wall.second = static_cast<int>(secondOfDay % 60);
    return wall;
}

namespace {

double localSeconds(const WallTime& wall) {
    return static_cast<double>(daysFromCivil(wall.year, wall.month, wall.day)) * 86400.0 + wall.hour * 3600.0 +
           wall.minute * 60.0 + wall.second;
}

// Asking an ICU zone built from the tz database for an offset walks its transition list; with two centuries of
// transitions that dominated reading a calendar. The offsets are copied once per zone into a sorted table.
constexpr double kTableStart = -2208988800.0;  // 1900-01-01
constexpr double kTableEnd = 4102444800.0;     // 2100-01-01
constexpr size_t kMaxTransitions = 10000;

struct OffsetTable {
    explicit OffsetTable(const core::TimeZone& zone) : keepAlive(zone) {
        const icu::TimeZone& tz = zone.icu();
        initial = offsetAt(tz, kTableStart);
        const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&tz);
        if (!basic)
            return;
        icu::TimeZoneTransition transition;
        UDate base = kTableStart * 1000.0;
        while (times.size() < kMaxTransitions && basic->getNextTransition(base, false, transition) &&
               transition.getTime() < kTableEnd * 1000.0) {
            base = transition.getTime();
            const icu::TimeZoneRule* to = transition.getTo();
            times.push_back(base / 1000.0);
            offsets.push_back(to ? (to->getRawOffset() + to->getDSTSavings()) / 1000 : offsetAt(tz, base / 1000.0));
        }
    }

    static int offsetAt(const icu::TimeZone& tz, double seconds) {
        int32_t raw = 0;
        int32_t dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        tz.getOffset(seconds * 1000.0, false, raw, dst, status);
        return U_SUCCESS(status) ? (raw + dst) / 1000 : 0;
    }

    int at(double utcSeconds) const {
        const auto it = std::upper_bound(times.begin(), times.end(), utcSeconds);
        return it == times.begin() ? initial : offsets[static_cast<size_t>(it - times.begin() - 1)];
    }

    core::TimeZone keepAlive;  // so that the zone's address cannot be reused by another zone
    int initial = 0;
    std::vector<double> times;
    std::vector<int> offsets;
};

const OffsetTable& tableFor(const core::TimeZone& zone) {
    // A few recently used tables per thread spare the lock: a reload alternates between a handful of zones.
    struct Recent {
        const icu::TimeZone* zone = nullptr;
        const OffsetTable* table = nullptr;
    };
    thread_local std::array<Recent, 8> recent{};
    thread_local size_t next = 0;
    const icu::TimeZone* key = &zone.icu();
    for (const Recent& r : recent)
        if (r.zone == key)
            return *r.table;

    static std::mutex mutex;
    static std::unordered_map<const icu::TimeZone*, std::unique_ptr<OffsetTable>> tables;
    std::lock_guard lock(mutex);
    auto& slot = tables[key];
    if (!slot)
        slot = std::make_unique<OffsetTable>(zone);
    recent[next] = {key, slot.get()};
    next = (next + 1) % recent.size();
    return *slot;
}

}  // namespace

core::Date wallToDate(const WallTime& wall, const core::TimeZone& zone) {
    const double local = localSeconds(wall);
    const OffsetTable& table = tableFor(zone);
    // The offsets on either side of any change near this wall time; zones do not change twice within two days.
    const int before = table.at(local - 86400.0);
    const int after = table.at(local + 86400.0);
    if (before == after)
        return core::Date(local - before);
    const bool beforeFits = table.at(local - before) == before;
    const bool afterFits = table.at(local - after) == after;
    if (beforeFits && afterFits)  // repeated wall time: the first of the two moments
        return core::Date(local - std::max(before, after));
    if (afterFits && !beforeFits)
        return core::Date(local - after);
    return core::Date(local - before);  // fits before the change, or skipped: read with the offset before it
}

WallTime dateToWall(core::Date date, const core::TimeZone& zone) {
    const double offset = tableFor(zone).at(date.secondsSince1970());
    return wallFromSeconds(static_cast<qint64>(std::floor(date.secondsSince1970() + offset)));
}

}  // namespace platform::vdir
