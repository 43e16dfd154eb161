#include "imageimport/extraction/PatternSupport.h"

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

std::optional<int> asciiNumber(const QString& text) {
    // Nine digits always fit an int; the patterns never read more than four.
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<int> asciiNumber(const std::optional<QString>& text) {
    return text ? asciiNumber(*text) : std::nullopt;
}

bool overlaps(core::TextRange a, core::TextRange b) {
    return std::min(a.end(), b.end()) - std::max(a.location, b.location) > 0;
}

}  // namespace imageimport::patterns
