#pragma once

#include "core/Regex.h"
#include "imageimport/extraction/ImageExtraction.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace imageimport {

// Tidies recognised rows before anything is searched, and the small line helpers
// every finder shares. Stateless; safe on any thread.
class LinePreparation {
public:
    LinePreparation() = delete;

    // Trims the rows, drops empty ones, and joins a label row with the value row under
    // it ("GATE" above "B22" becomes "GATE B22"; a row of labels above as many values
    // becomes "Flight BA117  Gate 22  Seat 14A").
    static std::vector<RecognizedLine> prepare(const std::vector<RecognizedLine>& lines);

    // The parts of a line between visual separators (middle dots, bullets, bars, tabs,
    // runs of spaces, a spaced dash), trimmed, empty ones dropped.
    static QStringList segments(const QString& text);
    // The pieces between the matches of `pattern`; always one more than the matches.
    static QStringList split(const QString& text, const core::Regex& pattern);

    // The canonical label ("Doors", "Departs", "Ends" ...) written right in front of
    // the time that starts at `before.location`; nothing when none stands there.
    static std::optional<QString> label(core::TextRange before, const QString& text);
    // A 12-hour clock hour on the 24-hour clock; without a suffix the hour as it is.
    static int hour12(int hour, const std::optional<QString>& suffix);
    // The text with each range replaced by as many spaces, so other ranges stay valid.
    // Ranges outside the text are left alone.
    static QString blank(const QString& text, const std::vector<core::TextRange>& ranges);
    // "The Midnight Echoes", "Noon Market": a worded time written as part of a name, a
    // capitalised word beside other capitalised words, is no time. "doors at midnight",
    // "Lunch at Noon" and a line of "Midnight" alone keep theirs.
    static bool isWordedTimeInAName(const QString& line, core::TextRange range);
};

}  // namespace imageimport
