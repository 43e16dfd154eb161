#pragma once

#include "imageimport/extraction/ExtractionRecords.h"

#include <QSet>
#include <QString>

#include <vector>

namespace imageimport {

// Reads the clock times and time ranges of a line ("19:30-23:00", "7-9pm", "19h30",
// "noon"), each with the label written in front of it. Stateless.
class TimeScanner {
public:
    TimeScanner() = delete;

    // The times of one prepared line in the order they stand on it. Nothing may
    // overlap `excluding` (the line's dates), so no digit of a date becomes a time.
    static std::vector<TimeHit> scanTimes(const QString& text, int line, const std::vector<core::TextRange>& excluding);

    // Labels of times that come before the main event ("Doors", "Boarding" ...).
    static const QSet<QString>& secondaryLabels();
    // Labels of times that end the event ("Ends", "Arrives").
    static const QSet<QString>& endLabels();
};

}  // namespace imageimport
