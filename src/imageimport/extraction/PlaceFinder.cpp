#include "imageimport/extraction/PlaceFinder.h"

#include "core/CharacterClass.h"
#include "core/Locale.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/PatternSupport.h"
#include "imageimport/extraction/TitleCleanup.h"
#include "platform/datadetector/DataDetector.h"
#include "quickadd/NLParser.h"

#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

struct PlacePatterns {
    // Upper case matters outside the street type: "12 high street" is left to the detector.
    core::Regex address = patterns::compile(
        uR"(\b\d{1,5}[A-Za-z]?,?\s+(?:[\p{Lu}][\p{L}'’.\-]*\s+){0,4}(?i:Rd|Road|St|Street|Ave|Avenue|Ln|Lane|Blvd|Boulevard|Way|Dr|Drive|Pl|Place|Sq|Square|Ct|Court|Terrace|Row|Hill|Gardens|Grove|Close|Crescent|Parade|Walk|Mews|Highway|Hwy|Pkwy|Parkway|Strasse|Straße|Rue|Calle|Via)\b\.?(?:,\s*[\p{L}\d][\p{L}\d '’.\-]*)*)"_s);
    core::Regex venue = patterns::compile(uR"(^(?:live\s+)?(?:at|@)\s+(.{2,40})$)"_s, patterns::kCaseInsensitive);
    core::Regex lineBreak = patterns::compile(u"[\\n\\r\\x{0085}\\x{2028}\\x{2029}]"_s);
    QSet<QString> placeWords{u"studio"_s,  u"studios"_s,  u"hall"_s,    u"centre"_s,  u"center"_s,     u"café"_s,
                             u"cafe"_s,    u"bar"_s,      u"club"_s,    u"theatre"_s, u"theater"_s,    u"park"_s,
                             u"church"_s,  u"hotel"_s,    u"restaurant"_s, u"gallery"_s, u"arena"_s,   u"stadium"_s,
                             u"library"_s, u"museum"_s,   u"house"_s,   u"pub"_s,     u"room"_s,       u"clinic"_s,
                             u"school"_s,  u"campus"_s,   u"market"_s,  u"kitchen"_s, u"bistro"_s,     u"tavern"_s,
                             u"lounge"_s,  u"venue"_s,    u"cinema"_s,  u"academy"_s};
};

const PlacePatterns& shared() {
    static const PlacePatterns set;
    return set;
}

bool startsUpperCase(const QString& word) { return core::chars::isUppercase(core::chars::firstCodePoint(word)); }

// Spaces and commas both end a word here: "Royal Albert Hall, London".
QStringList placeWordsOf(const QString& segment) {
    QStringList words;
    for (const QString& piece : segment.split(u' ', Qt::SkipEmptyParts))
        words.append(piece.split(u',', Qt::SkipEmptyParts));
    return words;
}

}  // namespace

const core::Regex& PlaceFinder::venueRe() { return shared().venue; }

std::optional<Found> PlaceFinder::findAddress(const QStringList& lines, const platform::DataDetector* detector) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QString& segment : LinePreparation::segments(lines[i])) {
            if (const auto match = shared().address.firstMatch(segment))
                return Found{core::chars::trimmedOf(match->captured(), u" ,."), static_cast<int>(i)};
        }
    }
    if (!detector)
        return std::nullopt;
    const QString joined = lines.join(u'\n');
    const auto matches = detector->matches(joined, platform::DataDetector::Kind::address);
    if (matches.empty())
        return std::nullopt;
    const core::TextRange range = matches.front().range;
    QStringList parts;
    for (const QString& part : LinePreparation::split(joined.mid(range.location, range.length), shared().lineBreak)) {
        const QString trimmed = core::chars::trimmedBlanks(part);
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    const QString text = parts.join(u", "_s);
    if (core::chars::characterCount(text) > 90 || !core::chars::containsNumber(text))
        return std::nullopt;
    return Found{text, static_cast<int>(QStringView(joined).left(range.location).count(u'\n'))};
}

std::optional<Venue> PlaceFinder::findVenue(const QStringList& lines, core::Date now, const core::Calendar& calendar) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QString& segment : LinePreparation::segments(lines[i])) {
            const auto match = shared().venue.firstMatch(segment);
            const auto name = match ? patterns::group(*match, 1) : std::nullopt;
            if (!name)
                continue;
            const QString trimmed = core::chars::trimmedOf(*name, u" .,!");
            // "at 7pm" is a time; "at !!" names nothing.
            if (trimmed.isEmpty() || core::chars::containsNumber(trimmed))
                continue;
            return Venue{TitleCleanup::titleCaseIfShouting(trimmed), static_cast<int>(i), segment};
        }
    }
    const quickadd::NLParser parser{now, calendar, 3600, {},
                                    quickadd::NLParser::localePrefersMonthFirst(core::Locale::current())};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto parsed = parser.parse(lines[i]);
        if (!parsed || !parsed->location || core::chars::containsNumber(*parsed->location))
            continue;
        if (parsed->location->split(u' ', Qt::SkipEmptyParts).size() < 6)
            return Venue{TitleCleanup::titleCaseIfShouting(*parsed->location), static_cast<int>(i), lines[i]};
    }
    return std::nullopt;
}

std::optional<Found> PlaceFinder::findPlaceLine(const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QString& segment : LinePreparation::segments(lines[i])) {
            const QStringList words = placeWordsOf(segment);
            if (words.isEmpty() || words.size() > 6 || core::chars::containsNumber(segment) ||
                !std::all_of(words.cbegin(), words.cend(), startsUpperCase))
                continue;
            if (std::any_of(words.cbegin(), words.cend(),
                            [](const QString& word) { return shared().placeWords.contains(word.toLower()); }))
                return Found{segment, static_cast<int>(i)};
        }
    }
    return std::nullopt;
}

}  // namespace imageimport
