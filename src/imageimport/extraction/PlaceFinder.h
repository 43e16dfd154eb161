#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "core/Regex.h"
#include "imageimport/extraction/ExtractionRecords.h"

#include <QStringList>

#include <optional>

namespace platform {
class DataDetector;
}

namespace imageimport {

// Where an event takes place: a street address, a venue introduced by "at" or "@",
// or a line that merely names a place. Each finder gives the first hit in reading
// order. Stateless.
class PlaceFinder {
public:
    PlaceFinder() = delete;

    // A house number, capitalised words and a street type in one segment; failing
    // that, the detector's first address over all lines (lines joined with ", "),
    // unless it holds no digit or runs past 90 characters. `detector` may be null.
    static std::optional<Found> findAddress(const QStringList& lines, const platform::DataDetector* detector);
    // "at The Jazz Cafe" as a whole segment; failing that, the place the quick-add
    // parser reads in a line. Names with digits are no venues.
    static std::optional<Venue> findVenue(const QStringList& lines, core::Date now, const core::Calendar& calendar);
    // A segment of at most six capitalised words, no digits, one of them a place word
    // ("Royal Festival Hall", "Riverside Studios").
    static std::optional<Found> findPlaceLine(const QStringList& lines);

    // A whole segment "at ..." or "live at ..."; group 1 is the name.
    static const core::Regex& venueRe();
};

}  // namespace imageimport
