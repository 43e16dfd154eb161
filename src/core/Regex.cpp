#include "core/Regex.h"

#include "core/IcuString.h"

#include <unicode/regex.h>

namespace core {
namespace {

uint32_t toIcuFlags(Regex::Options options) {
    uint32_t flags = 0;
    if (options & Regex::Option::CaseInsensitive)
        flags |= UREGEX_CASE_INSENSITIVE;
    if (options & Regex::Option::Multiline)
        flags |= UREGEX_MULTILINE;
    if (options & Regex::Option::DotMatchesLineSeparators)
        flags |= UREGEX_DOTALL;
    if (options & Regex::Option::Comments)
        flags |= UREGEX_COMMENTS;
    return flags;
}

// Bounds the work one match may do, so a pathological pattern on user text
// (an OCR result, a typed line) fails instead of hanging the caller.
constexpr int32_t kMatchTimeLimit = 2000;

RegexMatch makeMatch(const QString& text, const icu::RegexMatcher& matcher) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t groups = matcher.groupCount();
    std::vector<TextRange> ranges;
    ranges.reserve(static_cast<size_t>(groups) + 1);
    for (int32_t g = 0; g <= groups; ++g) {
        const int32_t start = matcher.start(g, status);
        const int32_t end = matcher.end(g, status);
        ranges.push_back(start < 0 || U_FAILURE(status) ? TextRange{} : TextRange{start, end - start});
    }
    return RegexMatch(text, std::move(ranges));
}

// A matcher over `input` with the work limit set; null when ICU refuses.
std::unique_ptr<icu::RegexMatcher> matcherFor(const icu::RegexPattern& pattern, const icu::UnicodeString& input) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    if (U_FAILURE(status))
        return nullptr;
    matcher->setTimeLimit(kMatchTimeLimit, status);
    return matcher;
}

}  // namespace

RegexMatch::RegexMatch(QString text, std::vector<TextRange> groups)
    : m_text(std::move(text)), m_groups(std::move(groups)) {}

TextRange RegexMatch::range(int group) const {
    if (group < 0 || static_cast<size_t>(group) >= m_groups.size())
        return {};
    return m_groups[static_cast<size_t>(group)];
}

QString RegexMatch::captured(int group) const {
    const TextRange r = range(group);
    return r.isValid() ? m_text.mid(r.location, r.length) : QString();
}

Regex::Regex(const QString& pattern, Options options) : m_source(pattern) {
    UParseError parseError{};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu_string::copy(pattern), toIcuFlags(options), parseError, status));
    if (U_FAILURE(status)) {
        m_error = QStringLiteral("%1 at offset %2").arg(QString::fromLatin1(u_errorName(status))).arg(parseError.offset);
        return;
    }
    m_pattern = std::move(compiled);
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

std::optional<RegexMatch> Regex::firstMatch(const QString& text, qsizetype from) const {
    if (!m_pattern || from < 0 || from > text.size())
        return std::nullopt;
    const icu::UnicodeString input = icu_string::alias(text);
    const auto matcher = matcherFor(*m_pattern, input);
    UErrorCode status = U_ZERO_ERROR;
    if (!matcher || !matcher->find(static_cast<int64_t>(from), status) || U_FAILURE(status))
        return std::nullopt;
    return makeMatch(text, *matcher);
}

std::vector<RegexMatch> Regex::allMatches(const QString& text) const {
    std::vector<RegexMatch> result;
    if (!m_pattern)
        return result;
    const icu::UnicodeString input = icu_string::alias(text);
    const auto matcher = matcherFor(*m_pattern, input);
    if (!matcher)
        return result;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher->find(status) && U_SUCCESS(status))
        result.push_back(makeMatch(text, *matcher));
    return result;
}

bool Regex::matchesEntirely(const QString& text) const {
    if (!m_pattern)
        return false;
    const icu::UnicodeString input = icu_string::alias(text);
    const auto matcher = matcherFor(*m_pattern, input);
    UErrorCode status = U_ZERO_ERROR;
    return matcher && matcher->matches(status) && U_SUCCESS(status);
}

QString Regex::replaceAll(const QString& text, const QString& replacement) const {
    if (!m_pattern)
        return text;
    const icu::UnicodeString input = icu_string::alias(text);
    const auto matcher = matcherFor(*m_pattern, input);
    if (!matcher)
        return text;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString result = matcher->replaceAll(icu_string::copy(replacement), status);
    return U_SUCCESS(status) ? icu_string::toQString(result) : text;
}

}  // namespace core
