#include "platform/datadetector/DetectionRules.h"

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace platform::detection {
namespace {

constexpr core::Regex::Options kCaseInsensitive = core::Regex::Option::CaseInsensitive;

// Everything up to white space, an angle bracket or a quote belongs to a link;
// punctuation that ends the sentence is trimmed afterwards.
const core::Regex& schemeRe() {
    static const core::Regex re(uR"re(\b(?:https?|ftp)://[^\s<>"]+)re"_s, kCaseInsensitive);
    return re;
}

const core::Regex& mailtoRe() {
    static const core::Regex re(uR"re(\bmailto:[^\s<>"]+)re"_s, kCaseInsensitive);
    return re;
}

const core::Regex& emailRe() {
    static const core::Regex re(
        uR"re((?<![\w.+\-])[a-z0-9._%+\-]+@(?:[a-z0-9](?:[a-z0-9\-]*[a-z0-9])?\.)+[a-z]{2,}(?![\w\-]))re"_s,
        kCaseInsensitive);
    return re;
}

const core::Regex& wwwRe() {
    static const core::Regex re(uR"re((?<![\w.@/\-])www\.[a-z0-9\-]+(?:\.[a-z0-9\-]+)+(?:[/?#][^\s<>"]*)?)re"_s,
                                kCaseInsensitive);
    return re;
}

// Bare host names only under domains common enough that a word with a full stop
// ("e.g", "St.Paul", "photo.jpg") is not taken for one.
const core::Regex& bareHostRe() {
    static const core::Regex re(
        uR"re((?<![\w.@/\-])(?:[a-z0-9](?:[a-z0-9\-]*[a-z0-9])?\.)+(?:com|org|net|edu|gov|io|co|uk|us|eu|de|fr|es|nl|ch|ie|ca|au|app|dev|tv|info|biz|gg|ly|jp)(?![\w\-])(?:[/?#][^\s<>"]*)?)re"_s,
        kCaseInsensitive);
    return re;
}

// Sentence punctuation after a link, and a closing bracket that opens nowhere in it.
qsizetype trimmedLength(QStringView link) {
    qsizetype length = link.size();
    while (length > 0) {
        const QChar last = link[length - 1];
        const QStringView kept = link.left(length);
        const auto unbalanced = [&kept](QChar open, QChar close) { return kept.count(close) > kept.count(open); };
        if (QStringView(u".,;:!?'\"").contains(last) || (last == u')' && unbalanced(u'(', u')')) ||
            (last == u']' && unbalanced(u'[', u']')) || (last == u'}' && unbalanced(u'{', u'}')))
            --length;
        else
            break;
    }
    return length;
}

}  // namespace

std::vector<DataDetector::Match> links(const QString& text) {
    using Match = DataDetector::Match;
    std::vector<Match> found;
    const auto collect = [&](const core::Regex& pattern, const QString& prefix, bool needsHost) {
        for (const core::RegexMatch& m : pattern.allMatches(text)) {
            const core::TextRange whole = m.range();
            const core::TextRange range{whole.location, trimmedLength(QStringView(text).mid(whole.location, whole.length))};
            const QUrl url(prefix + text.mid(range.location, range.length), QUrl::TolerantMode);
            if (range.length > 0 && url.isValid() && (!needsHost || !url.host().isEmpty()))
                found.push_back({DataDetector::Kind::link, range, url});
        }
    };
    collect(schemeRe(), QString(), true);
    collect(mailtoRe(), QString(), false);
    collect(emailRe(), u"mailto:"_s, false);
    collect(wwwRe(), u"http://"_s, true);
    collect(bareHostRe(), u"http://"_s, true);

    // A host inside an address with a scheme or an e-mail address is no link of its own.
    return withoutOverlaps(std::move(found));
}

std::vector<DataDetector::Match> withoutOverlaps(std::vector<DataDetector::Match> matches) {
    using Match = DataDetector::Match;
    std::stable_sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.range.location != b.range.location ? a.range.location < b.range.location
                                                    : a.range.length > b.range.length;
    });
    std::vector<Match> result;
    for (Match& match : matches) {
        if (result.empty() || match.range.location >= result.back().range.end())
            result.push_back(std::move(match));
    }
    return result;
}

}  // namespace platform::detection
