#pragma once

#include "imageimport/extraction/ExtractionRecords.h"

#include <QString>
#include <QStringList>

namespace imageimport {

// Turns the recognised text of one picture into an extraction, by rules, word lists
// and patterns. A value made for one import: it holds only what reading dates needs.
// The finders it drives live in this folder, one class per kind of fact; their
// patterns are compiled once, on first use, safely from any thread.
class EventCandidateExtractor {
public:
    EventCandidateExtractor(core::Date now, core::Calendar calendar, bool monthFirst);

    core::Date now() const { return m_context.now; }
    const core::Calendar& calendar() const { return m_context.calendar; }
    bool monthFirst() const { return m_context.monthFirst; }
    const ExtractionContext& context() const { return m_context; }

    // The parts of a line between visual separators; the review screen marks the
    // found parts of the recognised text by them.
    static QStringList segments(const QString& text);

private:
    ExtractionContext m_context;
};

}  // namespace imageimport
