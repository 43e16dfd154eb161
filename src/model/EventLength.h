#pragma once

#include <cmath>
#include <optional>

namespace model {

// A length of an event written in text (a typed line, a flyer) stands for one only
// between a minute and a year: under a minute there is nothing to show or save,
// and beyond a year it is typing or reading noise ("for 9000000 min").
inline constexpr double kShortestEventLength = 60;
inline constexpr double kLongestEventLength = 366.0 * 24 * 3600;

inline std::optional<double> sensibleEventLength(double seconds) {
    if (!std::isfinite(seconds) || seconds < kShortestEventLength || seconds > kLongestEventLength)
        return std::nullopt;
    return seconds;
}

}  // namespace model
