#include "imageimport/extraction/PatternSupport.h"

#include "core/CharacterClass.h"

#include <QtGlobal>

#include <algorithm>

namespace imageimport::patterns {

core::Regex compile(const QString& pattern, core::Regex::Options options) {
    core::Regex regex(pattern, options);
    if (!regex.isValid())
        qFatal("extraction pattern does not compile (%s): %s", qUtf8Printable(regex.errorString()),
               qUtf8Printable(pattern));
    return regex;
}

std::optional<QString> group(const core::RegexMatch& match, int index) {
    if (!match.range(index).isValid())
        return std::nullopt;
    return match.captured(index);
}

std::optional<int> asciiNumber(const QString& text) { return core::chars::asciiNumber(text); }

std::optional<int> asciiNumber(const std::optional<QString>& text) {
    return text ? asciiNumber(*text) : std::nullopt;
}

bool overlaps(core::TextRange a, core::TextRange b) {
    return std::min(a.end(), b.end()) - std::max(a.location, b.location) > 0;
}

}  // namespace imageimport::patterns
