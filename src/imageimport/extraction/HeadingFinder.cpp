#include "imageimport/extraction/HeadingFinder.h"

#include "core/CharacterClass.h"
#include "core/Locale.h"
#include "imageimport/extraction/FactFinders.h"
#include "imageimport/extraction/LinePreparation.h"
#include "imageimport/extraction/PlaceFinder.h"
#include "imageimport/extraction/TitleCleanup.h"
#include "platform/datadetector/DataDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

qsizetype wordCount(const QString& text) { return text.split(u' ', Qt::SkipEmptyParts).size(); }

void addRange(std::vector<core::TextRange>& ranges, qsizetype at, qsizetype length) {
    if (at >= 0 && length > 0)
        ranges.push_back({at, length});
}

double letterShare(const QString& text) {
    const qsizetype characters = core::chars::characterCount(text);
    return characters == 0 ? 0.0
                           : static_cast<double>(core::chars::characterCount(core::chars::letters(text))) / characters;
}

std::optional<QString> verbFor(const QString& trigger, bool hasAmount) {
    const QString lower = trigger.toLower();
    if (lower.startsWith(u"pay"))
        return u"Pay"_s;
    if (lower.startsWith(u"submit"))
        return u"Submit"_s;
    if (lower.startsWith(u"renew") || lower.startsWith(u"expir"))
        return u"Renew"_s;
    if (hasAmount)
        return u"Pay"_s;
    return std::nullopt;
}

}  // namespace

HeadingFinder::HeadingFinder(const ExtractionContext& context, const platform::DataDetector* detector)
    : m_scanner(context, detector),
      m_localeParser{context.now, context.calendar, 3600, {},
                     quickadd::NLParser::localePrefersMonthFirst(core::Locale::current())},
      m_detector(detector) {}

HeadingFinder::Residual HeadingFinder::residual(const QString& text, const std::optional<Found>& address,
                                                const std::optional<Venue>& venue) const {
    std::vector<core::TextRange> ranges;
    const LineHits hits = m_scanner.scan(text, 0);
    for (const DateHit& hit : hits.dates)
        ranges.push_back(hit.range);
    for (const TimeHit& hit : hits.times)
        ranges.push_back(hit.range);
    for (const core::RegexMatch& match : FactFinders::amountRe().allMatches(text))
        ranges.push_back(match.range());
    if (m_detector) {
        for (const auto& link : m_detector->matches(text, platform::DataDetector::Kind::link))
            ranges.push_back(link.range);
    }
    // An empty address or venue name would stand for nothing in the text.
    if (address && !address->text.isEmpty())
        addRange(ranges, text.indexOf(address->text), address->text.size());
    if (venue && !venue->name.isEmpty())
        addRange(ranges, text.indexOf(venue->name, 0, Qt::CaseInsensitive), venue->name.size());

    const QString blanked = LinePreparation::blank(text, ranges);
    const auto parsed = m_localeParser.parse(blanked);
    // A name that holds a worded time keeps it: the parser would take it out of the title.
    const bool readSomething = parsed && std::any_of(parsed->tokens.cbegin(), parsed->tokens.cend(), [&](const auto& token) {
        return !LinePreparation::isWordedTimeInAName(blanked, token.range);
    });
    const QString remainder = readSomething ? parsed->title : blanked;
    return {TitleCleanup::cleanResidual(remainder), !ranges.empty()};
}

std::optional<QString> HeadingFinder::heading(const std::vector<RecognizedLine>& lines, std::optional<int> dateLine,
                                              const std::optional<Found>& address,
                                              const std::optional<Venue>& venue) const {
    if (lines.empty())
        return std::nullopt;
    const double maxHeight =
        std::max_element(lines.cbegin(), lines.cend(), [](const RecognizedLine& a, const RecognizedLine& b) {
            return a.height < b.height;
        })->height;

    std::optional<QString> held;
    double heldScore = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i);
        for (const QString& segment : LinePreparation::segments(lines[i].text)) {
            if (venue && segment == venue->segment && PlaceFinder::venueRe().matches(segment))
                continue;
            if (address && (segment.contains(address->text) || address->text.contains(segment)))
                continue;
            const Residual rest = residual(segment, address, venue);
            const qsizetype n = wordCount(rest.text);
            if (rest.text.isEmpty() || n == 0 || !core::chars::containsLetter(rest.text))
                continue;

            double score = n == 1 ? 0.5 : n <= 6 ? 2.0 : n <= 9 ? 0.5 : -3.0;
            if (maxHeight > 0)
                score += 3.0 * lines[i].height / maxHeight;
            if (dateLine)
                score -= 0.35 * std::abs(line - *dateLine);
            score -= 0.1 * line;
            if (TitleCleanup::boilerplate().matches(segment))
                score -= 3.0;
            if (core::chars::isLowercase(core::chars::firstCodePoint(rest.text)) && !rest.hadTokens)
                score -= 0.75;
            if (rest.hadTokens && n < 5)
                score += 0.5;
            if (letterShare(rest.text) < 0.6)
                score -= 2.0;
            if (rest.text.contains(u'@') || rest.text.contains(u'/'))
                score -= 2.0;
            if (!address && PlaceFinder::findPlaceLine({segment}))
                score -= 1.5;

            // On equal scores the earlier segment stays.
            if (!held || score > heldScore) {
                held = rest.text;
                heldScore = score;
            }
        }
    }
    if (!held)
        return std::nullopt;
    return TitleCleanup::titleCaseIfShouting(*held);
}

QString HeadingFinder::reminderTitle(const Trigger& trigger, const QString& heading, const QStringList& lines,
                                     const std::optional<QString>& amount) const {
    const std::optional<QString> verb = verbFor(trigger.text, amount.has_value());

    QString rest;
    if (trigger.line >= 0 && trigger.line < lines.size()) {
        const QString& line = lines[trigger.line];
        const LineHits hits = m_scanner.scan(line, trigger.line);
        std::vector<core::TextRange> ranges;
        for (const DateHit& hit : hits.dates)
            ranges.push_back(hit.range);
        for (const TimeHit& hit : hits.times)
            ranges.push_back(hit.range);
        rest = LinePreparation::blank(line, ranges);
    }
    if (!trigger.text.isEmpty())
        rest.replace(trigger.text, u" "_s, Qt::CaseInsensitive);
    if (amount && !amount->isEmpty())
        rest.replace(*amount, u" "_s);
    std::vector<core::TextRange> amounts;
    for (const core::RegexMatch& match : FactFinders::amountRe().allMatches(rest))
        amounts.push_back(match.range());
    const QString residual = TitleCleanup::cleanResidual(LinePreparation::blank(rest, amounts));

    const QString object = !residual.isEmpty() && wordCount(residual) <= 6 ? residual : heading;
    if (!verb)
        return object;
    if (object.isEmpty())
        return *verb;
    if (object.toLower().startsWith(verb->toLower()))
        return object;
    return *verb + u' ' + TitleCleanup::lowerFirstUnlessAcronym(object);
}

}  // namespace imageimport
