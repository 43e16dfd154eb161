#pragma once

#include "core/Regex.h"

#include <QString>

#include <optional>

// Small helpers shared by the finders of the extractor.
namespace imageimport::patterns {

inline constexpr core::Regex::Options kCaseInsensitive = core::Regex::Option::CaseInsensitive;

// One of the extractor's constant patterns. They are fixed texts, so one that does
// not compile is a programming error and stops the program at its first use.
core::Regex compile(const QString& pattern, core::Regex::Options options = {});

// A capture group's text; nothing when the group took no part.
std::optional<QString> group(const core::RegexMatch& match, int index);

// A whole decimal number of ASCII digits only. Patterns match digits of every
// script, but only these are read as numbers; too many digits give nothing too.
std::optional<int> asciiNumber(const QString& text);
std::optional<int> asciiNumber(const std::optional<QString>& text);

// Ranges that share at least one unit; ranges that only touch do not overlap.
bool overlaps(core::TextRange a, core::TextRange b);

}  // namespace imageimport::patterns
