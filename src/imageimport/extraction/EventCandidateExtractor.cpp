#include "imageimport/extraction/EventCandidateExtractor.h"

#include "imageimport/extraction/LinePreparation.h"

#include <utility>

namespace imageimport {

EventCandidateExtractor::EventCandidateExtractor(core::Date now, core::Calendar calendar, bool monthFirst)
    : m_context{now, std::move(calendar), monthFirst} {}

QStringList EventCandidateExtractor::segments(const QString& text) { return LinePreparation::segments(text); }

}  // namespace imageimport
