#pragma once

#include "platform/haptics/Haptics.h"

#include <vector>

namespace platform {

// Records every pattern asked for.
class FakeHaptics : public Haptics {
public:
    void perform(Pattern pattern) override { performed.push_back(pattern); }

    std::vector<Pattern> performed;
};

}  // namespace platform
