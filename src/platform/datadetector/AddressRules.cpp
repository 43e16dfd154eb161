#include "platform/datadetector/DetectionRules.h"

#include "core/Regex.h"

using namespace Qt::Literals::StringLiterals;

namespace platform::detection {
namespace {

// A street line: a house number, up to four words and a street type in any case
// ("221B Baker Street", "12 high st"), or a continental street name with its number
// after it ("Hauptstraße 5"). Then the parts after commas on the same line, and a
// next line that reads as a town or postcode ("London NW1 6XE", "Springfield, IL
// 62704", "10115 Berlin"). Words stay within their line: [ \t] rather than \s.
#define ORBITDAY_STREET_TYPE                                                                                      \
    u"(?i:road|rd|street|st|avenue|ave|lane|ln|boulevard|blvd|way|drive|dr|place|pl|square|sq|court|ct|terrace|" \
    u"row|hill|gardens|grove|close|crescent|parade|walk|mews|highway|hwy|parkway|pkwy|circle|quay|wharf|"        \
    u"embankment|strasse|straße|rue|calle|via)"
#define ORBITDAY_POSTCODE u"(?:[A-Z]{1,2}\\d[A-Z\\d]?[ \\t]*\\d[A-Z]{2}|[A-Z]{2}[ \\t]+\\d{5}(?:-\\d{4})?)"
#define ORBITDAY_PART u"[\\p{L}\\d][\\p{L}\\d'’.\\-]*"
#define ORBITDAY_NAME u"\\p{Lu}[\\p{L}'’.\\-]*"
#define ORBITDAY_TOWN_LINE                                                                                   \
    u"(?:" ORBITDAY_NAME u"(?:[ \\t]+" ORBITDAY_NAME u"){0,3}(?:,?[ \\t]+" ORBITDAY_POSTCODE u")?"           \
    u"|\\d{4,5}[ \\t]+" ORBITDAY_NAME u"(?:[ \\t]+" ORBITDAY_NAME u"){0,2}|" ORBITDAY_POSTCODE u")"

const core::Regex& addressRe() {
    static const core::Regex re(QStringLiteral(
        u"(?:\\b\\d{1,5}[A-Za-z]?,?[ \\t]+(?:[\\p{L}'’.\\-]+[ \\t]+){0,4}?" ORBITDAY_STREET_TYPE u"\\b\\.?"
        u"|\\b\\p{Lu}[\\p{L}\\-]*(?i:straße|strasse|str\\.|weg|gasse|platz|allee|damm|ring|ufer)[ \\t]+\\d{1,4}[a-z]?\\b)"
        u"(?:[ \\t]*,[ \\t]*" ORBITDAY_PART u"(?:[ \\t]+" ORBITDAY_PART u"){0,4}){0,3}"
        u"(?:[ \\t]*\\r?\\n[ \\t]*" ORBITDAY_TOWN_LINE u"(?![\\p{L}\\d]))?"));
    return re;
}

#undef ORBITDAY_STREET_TYPE
#undef ORBITDAY_POSTCODE
#undef ORBITDAY_NAME
#undef ORBITDAY_PART
#undef ORBITDAY_TOWN_LINE

}  // namespace

std::vector<DataDetector::Match> addresses(const QString& text) {
    std::vector<DataDetector::Match> found;
    for (const core::RegexMatch& m : addressRe().allMatches(text)) {
        core::TextRange range = m.range();
        // Sentence punctuation after the last part is no part of the address.
        while (range.length > 0 && QStringView(u" \t.,;:!?").contains(text[range.end() - 1]))
            --range.length;
        if (range.length > 0)
            found.push_back({DataDetector::Kind::address, range});
    }
    return found;
}

}  // namespace platform::detection
