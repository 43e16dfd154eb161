#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/MeetingLink.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

namespace imageimport {

// One visual row of recognised text: its pieces left to right, joined by two spaces.
struct RecognizedLine {
    QString text;
    // The tallest piece of the row as a fraction of the image height (0 to 1);
    // large heading text stands out by it.
    double height = 0;

    bool operator==(const RecognizedLine&) const = default;
};

// One date proposal of an extraction.
struct DateCandidate {
    // Identity within one extraction; the review screen keeps the chosen one by it.
    int id = 0;
    // The start of the day; absent for a time that no date could be paired with.
    std::optional<core::Date> day;
    std::optional<int> hour;  // 24-hour clock
    std::optional<int> minute;  // absent means :00
    std::optional<int> endHour;
    std::optional<int> endMinute;  // absent means :00
    // The label that stood with the time ("Doors", "Departs" ...).
    std::optional<QString> label;
    // The day was read from a relative or worded expression, not a written date.
    bool isRelative = false;
    // The prepared line the candidate was found in.
    int line = 0;

    // The day at the start time; the day itself without an hour; nothing without a day.
    std::optional<core::Date> start(const core::Calendar& calendar) const;
    // Only with an end hour. An end at or before the start falls on the next day,
    // so 22:00 to 01:00 ends after midnight.
    std::optional<core::Date> end(const core::Calendar& calendar) const;

    bool operator==(const DateCandidate&) const = default;
};

// What a boarding pass or flight confirmation says.
struct FlightDetails {
    std::optional<QString> number;
    std::optional<QString> origin;       // airport code
    std::optional<QString> destination;  // airport code
    std::optional<QString> originName;
    std::optional<QString> destinationCity;
    std::optional<QString> departure;  // "HH:MM"
    std::optional<QString> arrival;    // "HH:MM"
    std::optional<QString> terminal;
    std::optional<QString> gate;
    std::optional<QString> seat;
    std::optional<QString> bookingRef;

    // One labelled line per known field, for the notes of the event.
    QStringList noteLines() const;

    bool operator==(const FlightDetails&) const = default;
};

// Everything the extractor learned from one picture.
struct ImageExtraction {
    enum class Kind { event, reminder };

    QString title;
    // Best first.
    std::vector<DateCandidate> dates;
    std::optional<double> duration;  // seconds
    std::optional<QString> location;
    std::optional<QUrl> url;
    std::optional<model::MeetingLink> meeting;
    Kind kind = Kind::event;
    // The deadline wording that made this a reminder.
    std::optional<QString> reminderTrigger;
    std::optional<QString> amount;
    std::optional<FlightDetails> flight;
    // The prepared lines joined with line feeds.
    QString recognizedText;
    QString notes;

    // Whether the best candidate has a day; later candidates do not count.
    bool hasDate() const;
    // One line on what was found, e.g. "Found 2 dates, 1 time, 1 place".
    QString summary() const;

    bool operator==(const ImageExtraction&) const = default;
};

}  // namespace imageimport
