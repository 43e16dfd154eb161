#pragma once

#include "core/Calendar.h"
#include "imageimport/extraction/ExtractionRecords.h"
#include "imageimport/extraction/ImageExtraction.h"

#include <QStringList>

// Dates for extraction tests, read in the pinned test zone with a Gregorian calendar.
namespace extractiontest {

inline core::Calendar calendar() { return core::Calendar(); }

inline core::Date day(int year, int month, int dayOfMonth) {
    return *calendar().date({.year = year, .month = month, .day = dayOfMonth});
}

inline core::Date at(int year, int month, int dayOfMonth, int hour, int minute = 0) {
    return *calendar().date({.year = year, .month = month, .day = dayOfMonth, .hour = hour, .minute = minute});
}

// Tuesday 10 June 2025, mid-morning: "today" of most cases.
inline core::Date tuesday10June2025() { return at(2025, 6, 10, 10, 30); }

// A date proposal with only the given parts.
inline imageimport::DateCandidate candidate(std::optional<core::Date> onDay, std::optional<int> hour = {},
                                            std::optional<int> minute = {}, std::optional<int> endHour = {},
                                            std::optional<int> endMinute = {}) {
    imageimport::DateCandidate c;
    c.day = onDay;
    c.hour = hour;
    c.minute = minute;
    c.endHour = endHour;
    c.endMinute = endMinute;
    return c;
}

inline imageimport::ExtractionContext context(core::Date now = tuesday10June2025(), bool monthFirst = false) {
    return {now, calendar(), monthFirst};
}

}  // namespace extractiontest
