#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "platform/datadetector/DataDetector.h"

#include <QString>

#include <vector>

// The rules of RuleDataDetector, one function per kind of data. Each returns its
// matches in text order; they may overlap until withoutOverlaps() settles them.
namespace platform::detection {

// Addresses with a scheme, "www." addresses, bare host names under common top-level
// domains ("zoom.us/j/123"), and e-mail addresses (as mailto: links).
std::vector<DataDetector::Match> links(const QString& text);

// What a written day is read against: "tomorrow", "Friday" and dates without a
// year count from `now`; `monthFirst` orders a purely numeric date.
struct DateReference {
    core::Date now;
    core::Calendar calendar;
    bool monthFirst = true;
};

// Days written in words or numbers: "today", "tomorrow", "next Friday", "in 3 days",
// "14 June", "June 14th, 2025", "June 2025", "14/6", "14.06.2025", "2025-06-14". Each
// match carries noon of its day in the reference calendar.
std::vector<DataDetector::Match> dates(const QString& text, const DateReference& reference);

// Postal addresses: a house number and a street ("221B Baker Street", "12 high st",
// "Hauptstraße 5"), with the town and postcode that follow on the same line after
// commas or on the next line ("London NW1 6XE", "Springfield, IL 62704", "10115 Berlin").
std::vector<DataDetector::Match> addresses(const QString& text);

// The earliest match wins, then the longest; a match that overlaps a kept one is dropped.
std::vector<DataDetector::Match> withoutOverlaps(std::vector<DataDetector::Match> matches);

}  // namespace platform::detection
