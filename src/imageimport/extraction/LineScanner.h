#pragma once

#include "imageimport/extraction/DateScanner.h"
#include "imageimport/extraction/ExtractionRecords.h"
#include "quickadd/NLParser.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace platform {
class DataDetector;
}

namespace imageimport {

// The dates and times of one line: the written patterns first, then the quick-add
// parser over what they left, so that "tomorrow" or "at 7" still give a day or a time.
struct LineHits {
    std::vector<DateHit> dates;
    std::vector<TimeHit> times;
};

class LineScanner {
public:
    // `detector` may be null: there is then no date detector to fall back on.
    LineScanner(const ExtractionContext& context, const platform::DataDetector* detector);

    // Pattern hits first. The parser adds a worded day only to a line without a written
    // date, and a time only to a line without a pattern time.
    LineHits scan(const QString& line, int index) const;

    // The last resort for days: what the date detector reads in the lines, when it reads
    // a word or a slash and a valid calendar day. Every hit counts as relative.
    std::vector<DateHit> detectorDates(const QStringList& lines) const;

private:
    ExtractionContext m_context;
    DateScanner m_dates;
    quickadd::NLParser m_parser;
    const platform::DataDetector* m_detector;
};

}  // namespace imageimport
