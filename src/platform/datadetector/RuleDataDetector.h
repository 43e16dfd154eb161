#pragma once

#include "platform/datadetector/DataDetector.h"

namespace platform {

// A data detector of our own, by rules over regular expressions. Links: addresses
// with a scheme, "www." addresses, bare host names under common top-level domains
// ("zoom.us/j/123"), and e-mail addresses (as mailto: links).
class RuleDataDetector final : public DataDetector {
public:
    std::vector<Match> matches(const QString& text, Kinds kinds) const override;

private:
    static std::vector<Match> links(const QString& text);
};

}  // namespace platform
