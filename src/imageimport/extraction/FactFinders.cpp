#include "imageimport/extraction/FactFinders.h"

#include "imageimport/extraction/PatternSupport.h"
#include "model/EventLength.h"
#include "platform/datadetector/DataDetector.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

struct FactPatterns {
    core::Regex duration = patterns::compile(
        uR"(\b(?:duration|length|lasts?|for)\s*:?\s*(\d+(?:\.\d+)?)\s*(minutes?|mins?|hours?|hrs?|h)\b)"_s,
        patterns::kCaseInsensitive);
    // The number is taken whole: "$1200" is never "$120", nor "1250.00 EUR" "250.00
    // EUR". A number that goes on in a way no amount does ("€1.250,00") gives no
    // amount rather than a wrong one.
    core::Regex amount = patterns::compile(
        uR"((?:[£$€]\s?(?:\d{1,3}(?:,\d{3})+|\d+)(?:\.\d{2})?(?![.,]?\d)|(?<![\d.,])(?:\d{1,3}(?:,\d{3})+|\d+)\.\d{2}\s?(?:GBP|USD|EUR)))"_s,
        patterns::kCaseInsensitive);
    core::Regex amountContext =
        patterns::compile(uR"(\b(due|total|amount|balance|pay|owed|charge)\b)"_s, patterns::kCaseInsensitive);
};

const FactPatterns& shared() {
    static const FactPatterns set;
    return set;
}

}  // namespace

const core::Regex& FactFinders::amountRe() { return shared().amount; }

std::optional<double> FactFinders::findDuration(const QString& text) {
    const auto match = shared().duration.firstMatch(text);
    if (!match)
        return std::nullopt;
    bool ok = false;
    const double number = match->captured(1).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    // "Duration: 99999999999 hours" is no event's length: the review falls back to its own.
    return model::sensibleEventLength(number * (match->captured(2).toLower().startsWith(u'm') ? 60.0 : 3600.0));
}

std::vector<QUrl> FactFinders::findLinks(const QString& text, const platform::DataDetector* detector) {
    std::vector<QUrl> links;
    if (!detector)
        return links;
    for (const platform::DataDetector::Match& match : detector->matches(text, platform::DataDetector::Kind::link)) {
        const QString scheme = match.url.scheme();
        if (match.url.isValid() && (scheme == u"http" || scheme == u"https"))
            links.push_back(match.url);
    }
    return links;
}

std::optional<QString> FactFinders::findAmount(const QStringList& lines) {
    std::optional<QString> first;
    for (const QString& line : lines) {
        const auto matches = amountRe().allMatches(line);
        if (matches.empty())
            continue;
        if (shared().amountContext.matches(line))
            return matches.front().captured().remove(u' ');
        if (!first)
            first = matches.front().captured().remove(u' ');
    }
    return first;
}

}  // namespace imageimport
