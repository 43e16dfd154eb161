#include "imageimport/extraction/TitleCleanup.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/PatternSupport.h"

#include <QSet>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

struct TitlePatterns {
    core::Regex trigger = patterns::compile(
        uR"(\b(pay(?:ment)?\s+(?:by|before|due)|due(?:\s+(?:by|on|date))?|deadline|submit(?:\s+by)?|renew(?:al)?(?:\s+by)?|expir(?:es|y|ation|e)(?:\s+(?:on|date))?)\b)"_s,
        patterns::kCaseInsensitive);
    core::Regex titleLabel = patterns::compile(
        uR"(^(?:topic|subject|event|title|what|meeting|re)\s*:\s*(.{2,80})$)"_s, patterns::kCaseInsensitive);
    core::Regex boilerplate = patterns::compile(
        uR"(\b(confirm(?:ed|ation)?|reminder|dear|hi|hello|thank|thanks|invoice|account|receipt|order|phone|tel|email|www|http|passenger|boarding pass|unsubscribe|inviting you|join|meeting id|passcode|reply|sent from|copyright|©|ref(?:erence)?|amount|total|balance|page)\b)"_s,
        patterns::kCaseInsensitive);

    // Words that may stand at the edge of left-over text without being part of a name.
    QSet<QString> labelWords{u"time"_s,  u"date"_s,    u"when"_s,    u"where"_s,  u"doors"_s, u"venue"_s,
                             u"location"_s, u"starts"_s, u"start"_s, u"from"_s,   u"until"_s, u"till"_s,
                             u"at"_s,    u"on"_s,      u"by"_s,      u"@"_s,      u"for"_s,   u"and"_s,
                             u"the"_s,   u"open"_s,    u"opens"_s,   u"ends"_s,   u"to"_s,    u"-"_s,
                             u"–"_s,     u"—"_s,       u"pay"_s,     u"due"_s,    u"duration"_s, u"minutes"_s,
                             u"mins"_s};
    // Stay lower case inside a title.
    QSet<QString> smallWords{u"of"_s, u"the"_s, u"and"_s, u"at"_s, u"in"_s, u"on"_s,
                             u"for"_s, u"a"_s,  u"to"_s,  u"de"_s, u"du"_s};
    QStringList appointmentNouns{u"appointment"_s, u"reservation"_s, u"consultation"_s,
                                 u"interview"_s,   u"viewing"_s,     u"check-up"_s};
};

const TitlePatterns& shared() {
    static const TitlePatterns set;
    return set;
}

bool isEdgeLabel(const QString& word) {
    const QString trimmed = core::chars::trimmedOf(word.toLower(), u":,.;!·|•()[]");
    return trimmed.isEmpty() || shared().labelWords.contains(trimmed);
}

}  // namespace

const core::Regex& TitleCleanup::triggerRe() { return shared().trigger; }

const core::Regex& TitleCleanup::boilerplate() { return shared().boilerplate; }

std::optional<Trigger> TitleCleanup::findTrigger(const QStringList& lines, std::optional<int> preferLine) {
    std::optional<Trigger> first;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const core::RegexMatch& match : triggerRe().allMatches(lines[i])) {
            const Trigger trigger{match.captured(1), static_cast<int>(i)};
            if (preferLine && trigger.line == *preferLine)
                return trigger;
            if (!first)
                first = trigger;
        }
    }
    return first;
}

std::optional<QString> TitleCleanup::labelledTitle(const QStringList& lines) {
    for (const QString& line : lines) {
        const auto match = shared().titleLabel.firstMatch(line);
        if (!match)
            continue;
        const QString title = core::chars::trimmedBlanks(match->captured(1));
        if (!title.isEmpty())
            return title;
    }
    return std::nullopt;
}

QString TitleCleanup::titleCaseIfShouting(const QString& text) {
    const QString letters = core::chars::letters(text);
    if (core::chars::characterCount(letters) < 4 || letters.toUpper() != letters)
        return text;
    QStringList words = text.toLower().split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i == 0 || !shared().smallWords.contains(words[i]))
            words[i] = core::chars::capitalizedFirst(words[i]);
    }
    return words.join(u' ');
}

namespace {

// The text without bracket pairs that hold only white space: what is left of
// "Lena Morrow <lena@example.com>" once the address is taken out of it.
QString withoutEmptyBrackets(const QString& text) {
    static constexpr std::array<std::pair<char16_t, char16_t>, 3> kPairs{{{u'<', u'>'}, {u'(', u')'}, {u'[', u']'}}};
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        for (const auto& [open, close] : kPairs) {
            if (out[i] != QChar(open))
                continue;
            qsizetype j = i + 1;
            while (j < out.size() && out[j].isSpace())
                ++j;
            if (j < out.size() && out[j] == QChar(close))
                out.replace(i, j - i + 1, QString(j - i + 1, u' '));
        }
    }
    return out;
}

}  // namespace

QString TitleCleanup::cleanResidual(const QString& text) {
    const QStringList words = core::chars::splitAtWhitespace(withoutEmptyBrackets(text));
    qsizetype first = 0;
    qsizetype last = words.size();
    while (first < last && isEdgeLabel(words[first]))
        ++first;
    while (last > first && isEdgeLabel(words[last - 1]))
        --last;
    return core::chars::trimmedOf(words.mid(first, last - first).join(u' '), u" ,;:-–—·|");
}

QString TitleCleanup::lowerFirstUnlessAcronym(const QString& text) {
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (QString& word : words) {
        const bool acronym = core::chars::characterCount(word) >= 2 && word.toUpper() == word &&
                             core::chars::containsLetter(word);
        if (!acronym)
            word = word.toLower();
    }
    return words.join(u' ');
}

std::optional<QString> TitleCleanup::appointmentNoun(const QString& text) {
    const QString lower = text.toLower();
    for (const QString& noun : shared().appointmentNouns) {
        if (lower.contains(noun))
            return noun;
    }
    return std::nullopt;
}

}  // namespace imageimport
