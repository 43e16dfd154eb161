#pragma once

#include "imageimport/extraction/ExtractionRecords.h"

#include <QString>

#include <optional>
#include <vector>

namespace imageimport {

// Reads the written calendar dates of a line ("2025-06-14", "Sat 14/06/25",
// "14th of June", "June 14, 2025", "14/6") and settles which day each one means.
class DateScanner {
public:
    explicit DateScanner(ExtractionContext context);

    // The dates of one prepared line, most specific pattern first: ISO dates, numeric
    // dates with a year, day-month and month-day names, then a bare "d/m". A match that
    // overlaps a date already taken is dropped, so the more specific reading wins.
    std::vector<DateHit> scanDates(const QString& text, int line) const;

    // The start of the day that the numbers mean, or nothing when they make no valid
    // day (31 April, 29 February of a common year, month 13). Without a year: the
    // nearest one not in the past, a written weekday choosing between this year and
    // the next. Two-digit years are in this century.
    std::optional<core::Date> resolve(int day, int month, std::optional<int> year, std::optional<int> weekday) const;

private:
    std::optional<core::Date> validDay(int year, int month, int day) const;

    ExtractionContext m_context;
};

}  // namespace imageimport
