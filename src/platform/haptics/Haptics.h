#pragma once

namespace platform {

// Feedback felt through a force-sensing pointing device.
class Haptics {
public:
    enum class Pattern {
        // The pointer lined up with something: a day of the month grid.
        alignment,
    };

    virtual ~Haptics() = default;
    virtual void perform(Pattern pattern) = 0;
};

// Desktops here offer no force feedback for the pointer: nothing is felt.
class NoHaptics final : public Haptics {
public:
    void perform(Pattern) override {}
};

}  // namespace platform
