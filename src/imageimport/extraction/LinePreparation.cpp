#include "imageimport/extraction/LinePreparation.h"

#include "core/CharacterClass.h"
#include "imageimport/extraction/PatternSupport.h"

#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

struct LinePatterns {
    // Words a ticket prints alone as the label of the value below it.
    QSet<QString> singleLabels{u"FLIGHT"_s,  u"FLT"_s,     u"GATE"_s,   u"SEAT"_s,    u"DATE"_s,
                               u"DEPARTURE"_s, u"DEPART"_s, u"DEPARTS"_s, u"ARRIVAL"_s, u"ARRIVE"_s,
                               u"ARRIVES"_s, u"BOARDING"_s, u"TERMINAL"_s, u"PNR"_s,    u"FROM"_s,
                               u"TO"_s,      u"TIME"_s,    u"ZONE"_s,   u"GROUP"_s,   u"CLASS"_s};
    QSet<QString> phraseLabels{u"BOARDING TIME"_s, u"BOOKING REF"_s,      u"BOOKING REFERENCE"_s,
                               u"BOOKING CODE"_s,  u"CONFIRMATION CODE"_s, u"FLIGHT NO"_s,
                               u"FLIGHT NUMBER"_s, u"DEPARTURE TIME"_s,   u"ARRIVAL TIME"_s};
    core::Regex segmentSplit = patterns::compile(uR"(\s*(?:·|•|\||\t|\s{2,}|\s[–—-]\s)\s*)"_s);
    // Anchored at the end: only what stands right before a time labels it. The word
    // boundary keeps "end" in "Weekend" and "sta" in "Pasta" from counting as labels.
    core::Regex timeLabel = patterns::compile(
        uR"(\b(doors(?:\s+open)?|depart(?:ure|s)?|dep\.?|etd|std|boarding|boards?|arriv(?:al|es|e)|arr\.?|eta|sta|starts?|begins?|ends?|finish(?:es)?|check-?in|gate\s+closes|kick-?off|show(?:time)?|until|till)\s*(?:time)?\s*[:\-–]?\s*(?:at\s+|from\s+)?$)"_s,
        patterns::kCaseInsensitive);
};

const LinePatterns& shared() {
    static const LinePatterns set;
    return set;
}

QString capitalizedLabel(const QString& label) { return core::chars::capitalizedFirst(label.toLower()); }

std::optional<QString> canonicalLabel(const QString& word) {
    const auto starts = [&word](QStringView prefix) { return word.startsWith(prefix); };
    if (starts(u"door"))
        return u"Doors"_s;
    if (starts(u"dep") || word == u"etd" || word == u"std")
        return u"Departs"_s;
    if (starts(u"board"))
        return u"Boarding"_s;
    if (starts(u"arr") || word == u"eta" || word == u"sta")
        return u"Arrives"_s;
    if (starts(u"start") || starts(u"begin"))
        return u"Starts"_s;
    if (starts(u"end") || starts(u"finish") || word == u"until" || word == u"till")
        return u"Ends"_s;
    if (starts(u"check"))
        return u"Check-in"_s;
    if (starts(u"gate"))
        return u"Gate closes"_s;
    if (starts(u"kick"))
        return u"Kick-off"_s;
    if (starts(u"show"))
        return u"Show"_s;
    return std::nullopt;
}

}  // namespace

std::vector<RecognizedLine> LinePreparation::prepare(const std::vector<RecognizedLine>& recognized) {
    std::vector<RecognizedLine> lines;
    for (const RecognizedLine& line : recognized) {
        const QString text = core::chars::trimmedBlanks(line.text);
        if (!text.isEmpty())
            lines.push_back({text, line.height});
    }

    std::vector<RecognizedLine> result;
    size_t i = 0;
    while (i < lines.size()) {
        if (i + 1 == lines.size()) {
            result.push_back(lines[i]);
            break;
        }
        const RecognizedLine& value = lines[i + 1];
        QStringList labels;
        for (const QString& word : core::chars::splitAtWhitespace(lines[i].text))
            labels.append(core::chars::trimmedOf(word.toUpper(), u":"));
        const QString key = labels.join(u' ');
        const QStringList values = core::chars::splitAtWhitespace(value.text);

        const bool allSingle = std::all_of(labels.cbegin(), labels.cend(),
                                           [](const QString& label) { return shared().singleLabels.contains(label); });
        if (labels.size() >= 2 && allSingle && values.size() == labels.size()) {
            QStringList pairs;
            for (qsizetype k = 0; k < labels.size(); ++k)
                pairs.append(capitalizedLabel(labels[k]) + u' ' + values[k]);
            result.push_back({pairs.join(u"  "_s), value.height});
            i += 2;
            continue;
        }
        const bool labelLine =
            (labels.size() == 1 && shared().singleLabels.contains(key)) || shared().phraseLabels.contains(key);
        if (labelLine && values.size() <= 4) {
            result.push_back({lines[i].text + u' ' + value.text, value.height});
            i += 2;
            continue;
        }
        result.push_back(lines[i]);
        ++i;
    }
    return result;
}

QStringList LinePreparation::segments(const QString& text) {
    QStringList result;
    for (const QString& piece : split(text, shared().segmentSplit)) {
        const QString trimmed = core::chars::trimmedBlanks(piece);
        if (!trimmed.isEmpty())
            result.append(trimmed);
    }
    return result;
}

QStringList LinePreparation::split(const QString& text, const core::Regex& pattern) {
    QStringList pieces;
    qsizetype from = 0;
    for (const core::RegexMatch& match : pattern.allMatches(text)) {
        const core::TextRange range = match.range();
        pieces.append(text.mid(from, range.location - from));
        from = range.end();
    }
    pieces.append(text.mid(from));
    return pieces;
}

std::optional<QString> LinePreparation::label(core::TextRange before, const QString& text) {
    if (before.location < 0)
        return std::nullopt;
    // A label is at most five words ("doors open time : at") before the time, so only
    // the last few words are searched: searching the whole line again for every time
    // made long lines quadratic. The window starts after white space, so a word
    // boundary at its start is one in the line too.
    qsizetype start = std::min(before.location, text.size());
    for (int words = 0; words < 8 && start > 0; ++words) {
        while (start > 0 && text[start - 1].isSpace())
            --start;
        while (start > 0 && !text[start - 1].isSpace())
            --start;
    }
    const auto matches = shared().timeLabel.allMatches(text.mid(start, std::min(before.location, text.size()) - start));
    if (matches.empty())
        return std::nullopt;
    const auto word = patterns::group(matches.back(), 1);
    return word ? canonicalLabel(word->toLower()) : std::nullopt;
}

int LinePreparation::hour12(int hour, const std::optional<QString>& suffix) {
    if (!suffix || suffix->isEmpty())
        return hour;
    return hour % 12 + (suffix->front().toLower() == u'p' ? 12 : 0);
}

QString LinePreparation::blank(const QString& text, const std::vector<core::TextRange>& ranges) {
    QString result = text;
    for (const core::TextRange& range : ranges) {
        if (range.location >= 0 && range.length >= 0 && range.end() <= result.size())
            result.replace(range.location, range.length, QString(range.length, u' '));
    }
    return result;
}

namespace {

bool startsUpper(QStringView word) { return core::chars::isUppercase(core::chars::firstCodePoint(word)); }

}  // namespace

bool LinePreparation::isWordedTimeInAName(const QString& line, core::TextRange range) {
    const QStringView word = QStringView(line).mid(range.location, range.length);
    if (!startsUpper(word) || core::chars::containsNumber(word))
        return false;
    const QStringView before = QStringView(line).left(range.location).trimmed();
    const QStringView after = QStringView(line).mid(range.location + range.length).trimmed();
    const QStringView previous = before.mid(before.lastIndexOf(u' ') + 1);
    const qsizetype nextEnd = after.indexOf(u' ');
    const QStringView next = nextEnd < 0 ? after : after.left(nextEnd);
    return startsUpper(previous) || startsUpper(next);
}

}  // namespace imageimport
