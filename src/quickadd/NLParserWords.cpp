#include "quickadd/NLParser.h"

#include "quickadd/ParserText.h"

#include "core/DateFormat.h"

namespace quickadd {
namespace {

// Code point at i (a surrogate pair read as one), and its length in UTF-16 units.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

bool isTrailingPunctuation(QChar c) {
    return c == u',' || c == u';' || c == u'!' || c == u'?';
}

constexpr WordTable<int, 10> kNumberWords{{{
    {u"a", 1}, {u"an", 1}, {u"one", 1}, {u"two", 2}, {u"three", 3},
    {u"four", 4}, {u"five", 5}, {u"six", 6}, {u"seven", 7}, {u"ten", 10},
}}};

constexpr WordTable<double, 10> kUnitWords{{{
    {u"m", 60}, {u"min", 60}, {u"mins", 60}, {u"minute", 60}, {u"minutes", 60},
    {u"h", 3600}, {u"hr", 3600}, {u"hrs", 3600}, {u"hour", 3600}, {u"hours", 3600},
}}};

}  // namespace

std::optional<qint64> decimalInteger(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // ASCII only: other scripts' digits are not numbers a line is written with here.
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        // Accumulate towards the sign so that the lowest value is reachable.
        if (negative ? __builtin_mul_overflow(value, 10, &value) || __builtin_sub_overflow(value, digit, &value)
                     : __builtin_mul_overflow(value, 10, &value) || __builtin_add_overflow(value, digit, &value))
            return std::nullopt;
    }
    return value;
}

std::vector<NLParser::Word> NLParser::tokenize(const QString& text) {
    std::vector<Word> words;
    const QStringView view(text);
    qsizetype i = 0;
    const qsizetype n = view.size();
    while (i < n) {
        auto [cp, len] = codePointAt(view, i);
        if (QChar::isSpace(cp)) {
            i += len;
            continue;
        }
        const qsizetype start = i;
        while (i < n) {
            std::tie(cp, len) = codePointAt(view, i);
            if (QChar::isSpace(cp))
                break;
            i += len;
        }
        qsizetype end = i;
        while (end > start && isTrailingPunctuation(view[end - 1]))
            --end;
        if (end == start)
            continue;
        Word word;
        word.raw = text.mid(start, end - start);
        word.lower = word.raw.toLower();
        word.range = {start, end - start};
        words.push_back(std::move(word));
    }
    return words;
}

QString NLParser::squash(QStringView text) {
    const QString lower = text.toString().toLower();
    QString result;
    result.reserve(lower.size());
    for (qsizetype i = 0; i < lower.size();) {
        const auto [cp, len] = codePointAt(lower, i);
        // Combining marks go too: a title with a decomposed accent is still found by its plain letters.
        if (QChar::isLetterOrNumber(cp))
            result.append(QStringView(lower).mid(i, len));
        i += len;
    }
    return result;
}

std::optional<qint64> NLParser::number(QStringView word) {
    if (const auto value = decimalInteger(word))
        return value;
    if (const auto value = kNumberWords.find(word))
        return *value;
    return std::nullopt;
}

std::optional<int> NLParser::dayNumber(QStringView word) {
    if (word.endsWith(u'.'))
        word.chop(1);
    for (const QStringView suffix : {u"st", u"nd", u"rd", u"th"}) {
        if (word.endsWith(suffix))
            word.chop(2);
    }
    if (word.isEmpty() || word.size() > 2)
        return std::nullopt;
    const auto value = decimalInteger(word);
    if (!value || *value < 1 || *value > 31)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<int> NLParser::year(QStringView word) {
    if (word.size() != 4)
        return std::nullopt;
    const auto value = decimalInteger(word);
    if (!value || *value < 1900 || *value > 2200)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> NLParser::unitSeconds(QStringView word) {
    return kUnitWords.find(word);
}

bool NLParser::localePrefersMonthFirst(const core::Locale& locale) {
    QString format = core::DateFormat::bestPattern(QStringLiteral("Md"), locale);
    if (format.isEmpty())
        format = QStringLiteral("M/d");
    const qsizetype month = format.indexOf(u'M');
    const qsizetype day = format.indexOf(u'd');
    if (month < 0 || day < 0)
        return true;
    return month < day;
}

}  // namespace quickadd
