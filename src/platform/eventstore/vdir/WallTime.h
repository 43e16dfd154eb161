#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"

#include <QtGlobal>

namespace platform::vdir {

// A calendar date and clock time as written in a file, before any zone is applied.
struct WallTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const WallTime&) const = default;
};

// Days since 1970-01-01 of a proleptic Gregorian date (months and days may overflow).
qint64 daysFromCivil(int year, int month, int day);
WallTime civilFromDays(qint64 days);
WallTime addDays(const WallTime& wall, qint64 days);
// Seconds since 1970-01-01 00:00 on the wall clock, as if no zone applied, and back.
qint64 wallSeconds(const WallTime& wall);
WallTime wallFromSeconds(qint64 seconds);

// The moment a wall time names in a zone. A time skipped by a DST change is read with the offset before the
// change (02:30 becomes 03:30), a repeated one as its first occurrence, which is how iCalendar defines them.
// Goes through ICU offsets only: the zone's own rules, never libical's zone code, which is far too slow here.
core::Date wallToDate(const WallTime& wall, const core::TimeZone& zone);
WallTime dateToWall(core::Date date, const core::TimeZone& zone);

}  // namespace platform::vdir
