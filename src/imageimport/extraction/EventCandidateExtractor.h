#pragma once

#include "imageimport/extraction/ExtractionRecords.h"
#include "imageimport/extraction/ImageExtraction.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace platform {
class DataDetector;
}

namespace imageimport {

// Turns the recognised text of one picture into an extraction, by rules, word lists
// and patterns. A value made for one import: it holds only what reading dates needs
// and the data detector its finders share. The finders it drives live in this folder,
// one class per kind of fact; their patterns are compiled once, on first use, safely
// from any thread. One extractor is not for use on two threads at once.
class EventCandidateExtractor {
public:
    // Without a detector, links, addresses and the last-resort dates are not looked for.
    EventCandidateExtractor(core::Date now, core::Calendar calendar, bool monthFirst,
                            std::shared_ptr<const platform::DataDetector> detector = nullptr);

    core::Date now() const { return m_context.now; }
    const core::Calendar& calendar() const { return m_context.calendar; }
    bool monthFirst() const { return m_context.monthFirst; }
    const ExtractionContext& context() const { return m_context; }

    // Everything found in the rows, in one result. Never fails: rows without usable
    // text give an empty title, no dates and an empty recognised text.
    ImageExtraction extract(const std::vector<RecognizedLine>& lines) const;

    // The parts of a line between visual separators; the review screen marks the
    // found parts of the recognised text by them.
    static QStringList segments(const QString& text);

private:
    ExtractionContext m_context;
    std::shared_ptr<const platform::DataDetector> m_detector;
};

}  // namespace imageimport
