#pragma once

#include "core/Calendar.h"
#include "core/Color.h"
#include "core/Date.h"
#include "imageimport/extraction/ImageExtraction.h"
#include "imageimport/review/ReminderChoices.h"

#include <QString>

#include <optional>
#include <vector>

namespace imageimport {

// What a field chip shows; a value the user set has no tag.
struct ChipFace {
    QString value;
    std::optional<ValueTag> tag;
    // Drawn as if its card were open, to ask for the missing value.
    bool highlight = false;

    bool operator==(const ChipFace&) const = default;
};

// What the calendar chip shows, and one row of its menu.
struct CalendarFace {
    QString value;
    std::optional<core::Color> dot;

    bool operator==(const CalendarFace&) const = default;
};
struct CalendarChoice {
    QString id;
    QString title;
    core::Color color;
    bool checked = false;
};

// The faces of the event's chips, from the review's state.
ChipFace eventDateFace(const ImageReviewModel& review);
ChipFace eventTimeFace(const ImageReviewModel& review);
ChipFace eventDurationFace(const ImageReviewModel& review);
// "Default" without a dot while the calendar the event goes to is none the store has.
CalendarFace calendarFace(const ImageReviewModel& review);
// The calendars that take new events, the current one checked.
std::vector<CalendarChoice> calendarChoices(const ImageReviewModel& review);

// One tap on a day: today, tomorrow and the first Saturday after tomorrow, each
// at its start, as of `now`.
struct QuickDay {
    QString title;
    core::Date day;
};
std::vector<QuickDay> quickDays(const core::Calendar& calendar, core::Date now);

// The candidates that have a day, in the extraction's order.
std::vector<DateCandidate> datedCandidates(const ImageExtraction& extraction);
// A candidate as its pill reads: a labelled time on the image's main day needs
// no day ("Doors 19:00"); elsewhere the day and the time ("Sat, Mar 14 · 10:00").
QString pillLabel(const ImageExtraction& extraction, const DateCandidate& candidate, const core::Calendar& calendar);

}  // namespace imageimport
