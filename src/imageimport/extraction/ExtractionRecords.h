#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "core/Regex.h"

#include <QString>

#include <optional>

// The records the finders of the extractor hand each other. Every `line` is an
// index into the prepared lines, from 0; every range counts UTF-16 units of that line.
namespace imageimport {

using core::TextRange;

// What the finders need to read dates: "today" and the past test, the calendar of
// all day arithmetic, and whether a purely numeric date is read month first.
struct ExtractionContext {
    core::Date now;
    core::Calendar calendar;
    bool monthFirst = false;
};

// A clock time or time range found in one line.
struct TimeHit {
    TextRange range;
    int hour = 0;  // 24-hour clock
    int minute = 0;
    std::optional<int> endHour;
    std::optional<int> endMinute;
    // The canonical label written before the time ("Doors", "Departs" ...).
    std::optional<QString> label;
    int line = 0;

    bool operator==(const TimeHit&) const = default;
};

// A calendar day found in one line.
struct DateHit {
    TextRange range;
    core::Date day;  // the start of the day
    int line = 0;
    // Found only by a fallback reading of worded or relative expressions; written
    // dates score higher.
    bool isRelative = false;
    bool explicitYear = false;

    bool operator==(const DateHit&) const = default;
};

// A deadline phrase as written ("due by", "Payment due").
struct Trigger {
    QString text;
    int line = 0;

    bool operator==(const Trigger&) const = default;
};

// A venue and the segment (or whole line) it was named in.
struct Venue {
    QString name;
    int line = 0;
    QString segment;

    bool operator==(const Venue&) const = default;
};

// A place as found (an address or a line naming a place) and its line.
struct Found {
    QString text;
    int line = 0;

    bool operator==(const Found&) const = default;
};

}  // namespace imageimport
