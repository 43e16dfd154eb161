#pragma once

#include "imageimport/extraction/ExtractionRecords.h"
#include "imageimport/extraction/ImageExtraction.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace imageimport {

// Turns the date and time hits of all lines into scored date proposals: each time
// paired with the date it most likely belongs to, unclaimed dates as all-day
// proposals, duplicates dropped, the best first and the rest in reading order.
class CandidateBuilder {
public:
    explicit CandidateBuilder(ExtractionContext context);

    // Ids are 0, 1, 2 ... in list order. An "Ends" or "Arrives" time gives no proposal
    // of its own but may become the end of the best one.
    std::vector<DateCandidate> buildCandidates(const std::vector<DateHit>& dates, const std::vector<TimeHit>& times,
                                               const QStringList& lines) const;

    // A day, a time, a written (not relative) date and a main label count for a
    // proposal; an early label ("Doors"), a day already past count against it; a
    // date on a line with deadline wording counts for it.
    static double score(const DateCandidate& candidate, bool explicitPast, bool deadline);

    // The index of the date `time` belongs to: the nearest one left of it on its line
    // (else the line's first), or, with none on its line, the nearest within four
    // lines, one above beating one below.
    static std::optional<size_t> dateFor(const TimeHit& time, const std::vector<DateHit>& dates);

private:
    ExtractionContext m_context;
};

}  // namespace imageimport
