#pragma once

#include "platform/datadetector/DataDetector.h"

namespace platform {

// A data detector of our own, by rules over regular expressions (DetectionRules.h
// lists what each kind reads). Dates are read against the current clock, calendar
// and locale at the time of the call.
class RuleDataDetector final : public DataDetector {
public:
    std::vector<Match> matches(const QString& text, Kinds kinds) const override;
};

}  // namespace platform
