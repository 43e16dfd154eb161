#include "quickadd/NLParser.h"

#include "quickadd/ParserText.h"

#include <cmath>

namespace quickadd {
namespace {

// ASCII digits only: ICU's \d also takes other scripts' digits, which the
// number conversion then cannot read.
const core::Regex& durationRegex() {
    static const core::Regex regex(
        QStringLiteral(R"(^([0-9]+(?:\.[0-9]+)?)(m|min|mins|minute|minutes|h|hr|hrs|hour|hours)$)"));
    return regex;
}

const core::Regex& hmRegex() {
    static const core::Regex regex(QStringLiteral(R"(^([0-9]+)h([0-9]{1,2})m?$)"));
    return regex;
}

constexpr WordSet<4> kMeridiemWords{{u"am", u"pm", u"a.m.", u"p.m."}};
constexpr WordSet<6> kRangeSeparators{{u"-", u"\u2013", u"to", u"until", u"till", u"til"}};
// A bare hour ("5") is a time only after one of these.
constexpr WordSet<4> kTimeConnectors{{u"at", u"@", u"by", u"from"}};
// A bare range ("2-3") is a range only after one of these.
constexpr WordSet<2> kRangeConnectors{{u"from", u"at"}};

constexpr QChar kEnDash(0x2013);

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool startsWithDigit(QStringView word) { return !word.isEmpty() && isDigit(word[0]); }

// A cheap test that a word could match a duration pattern at all; most words of
// a line are none and never reach the regular expression.
bool mayBeDuration(QStringView word) {
    return startsWithDigit(word) && (word.back().isLetter() || word.contains(u'h'));
}

int twelveHour(int hour, QChar meridiem) { return hour % 12 + (meridiem == u'p' ? 12 : 0); }


// Digits with an optional fraction ("15", "1.5", ".5"): no sign, exponent or "inf".
std::optional<double> plainDecimal(QStringView word) {
    qsizetype digits = 0;
    bool point = false;
    for (const QChar c : word) {
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || word.endsWith(u'.'))
        return std::nullopt;
    bool ok = false;
    const double value = word.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

std::optional<NLParser::RawTime> NLParser::rawTime(QStringView text) {
    if (text == u"noon" || text == u"midday")
        return RawTime{12, 0, u'p', true, false};
    if (text == u"midnight")
        return RawTime{0, 0, QChar(), true, true};
    // One or two hour digits, optionally ":" or "." and two minute digits, then
    // optionally am, pm, a.m., p.m., a or p. Read by hand rather than by a regular
    // expression: this runs for most words of every line typed or recognised.
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digitAt = [&](qsizetype k) { return k < n && isDigit(text[k]); };
    const auto digitValue = [&](qsizetype k) { return text[k].unicode() - u'0'; };
    if (!digitAt(0))
        return std::nullopt;
    RawTime time;
    time.h = digitValue(i++);
    if (digitAt(i))
        time.h = time.h * 10 + digitValue(i++);
    bool hasMinutes = false;
    if (i < n && (text[i] == u':' || text[i] == u'.') && digitAt(i + 1) && digitAt(i + 2)) {
        time.m = digitValue(i + 1) * 10 + digitValue(i + 2);
        hasMinutes = true;
        i += 3;
    }
    while (i < n && text[i].isSpace())
        ++i;
    const QStringView meridiem = text.mid(i);
    if (!meridiem.isEmpty()) {
        if (meridiem != u"am" && meridiem != u"pm" && meridiem != u"a.m." && meridiem != u"p.m." &&
            meridiem != u"a" && meridiem != u"p")
            return std::nullopt;
        time.meridiem = meridiem[0];
    }
    // "9.30" is more often a price or a version than a time; "9.30pm" is a time.
    if (hasMinutes && time.meridiem.isNull() && text.contains(u'.') && !text.contains(u':'))
        return std::nullopt;
    if (time.m > 59)
        return std::nullopt;
    if (time.meridiem.isNull() ? time.h > 23 : time.h < 1 || time.h > 12)
        return std::nullopt;
    time.hasColon = hasMinutes;
    time.leadingZero = text.startsWith(u'0');
    return time;
}

NLParser::Match<NLParser::RawTime> NLParser::readTime(const Words& words, int index) {
    const auto n = words.size();
    const auto i = static_cast<size_t>(index);
    if (index < 0 || i >= n)
        return std::nullopt;
    const auto time = rawTime(words[i]);
    if (i + 1 < n && kMeridiemWords.contains(words[i + 1]) && time && time->meridiem.isNull()) {
        // "13 pm" is no time at all, not a 13 with a stray word after it.
        if (time->h < 1 || time->h > 12)
            return std::nullopt;
        RawTime withMeridiem = *time;
        withMeridiem.meridiem = words[i + 1][0];
        return std::pair{2, withMeridiem};
    }
    if (!time)
        return std::nullopt;
    return std::pair{1, *time};
}

NLParser::Match<NLParser::HM> NLParser::matchTime(const Words& words, int index, QStringView connector) {
    const auto read = readTime(words, index);
    if (!read)
        return std::nullopt;
    const auto& [count, time] = *read;
    if (!time.meridiem.isNull())
        return std::pair{count, HM{twelveHour(time.h, time.meridiem), time.m}};
    if (!time.hasColon && !kTimeConnectors.contains(connector))
        return std::nullopt;
    // Nobody meets at five in the morning by default: 1 to 6 mean the afternoon
    // unless written with a leading zero.
    const bool afternoon = time.h >= 1 && time.h <= 6 && !time.leadingZero;
    return std::pair{count, HM{afternoon ? time.h + 12 : time.h, time.m}};
}

NLParser::Match<NLParser::TimeRange> NLParser::matchTimeRange(const Words& words, int index,
                                                              QStringView connector) {
    const auto n = words.size();
    const auto i = static_cast<size_t>(index);
    if (index < 0 || i >= n)
        return std::nullopt;

    std::optional<RawTime> s;
    std::optional<RawTime> e;
    int count = 0;
    // One word, "2-3pm" or "9:30–10:30", or a word ending in the dash: "9am- 5pm".
    if (words[i].contains(u'-') || words[i].contains(kEnDash)) {
        QString v = words[i];
        v.replace(kEnDash, u'-');
        if (const QStringList pieces = v.split(u'-'); pieces.size() == 2) {
            const auto first = rawTime(pieces[0]);
            if (const auto second = rawTime(pieces[1]); first && second) {
                s = first;
                e = second;
                count = 1;
            } else if (first && pieces[1].isEmpty()) {
                if (const auto next = readTime(words, index + 1)) {
                    s = first;
                    e = next->second;
                    count = 1 + next->first;
                }
            }
        }
    }
    if (!s) {
        const auto first = readTime(words, index);
        if (!first)
            return std::nullopt;
        const size_t j = i + static_cast<size_t>(first->first);
        if (j >= n)
            return std::nullopt;
        if (kRangeSeparators.contains(words[j])) {
            // "9 to 5", "9am until 11am", "9 am - 5 pm".
            if (const auto second = readTime(words, static_cast<int>(j) + 1)) {
                s = first->second;
                e = second->second;
                count = first->first + 1 + second->first;
            }
        }
        if (!s && (words[j].startsWith(u'-') || words[j].startsWith(kEnDash))) {
            // "9am -5pm".
            if (const auto second = rawTime(QStringView(words[j]).mid(1))) {
                s = first->second;
                e = second;
                count = first->first + 1;
            }
        }
        if (!s)
            return std::nullopt;
    }

    const auto twentyFourHour = [](const RawTime& t) { return t.hasColon && (t.h >= 13 || t.leadingZero); };
    const QChar ms = s->meridiem;
    const QChar me = e->meridiem;
    int startHour = 0;
    int endHour = 0;
    if (!ms.isNull() && !me.isNull()) {
        startHour = twelveHour(s->h, ms);
        endHour = twelveHour(e->h, me);
    } else if (!ms.isNull()) {
        // "10am-2": the end takes the start's half of the day, or the other one
        // when it would not come after the start.
        startHour = twelveHour(s->h, ms);
        if (twentyFourHour(*e)) {
            endHour = e->h;
        } else {
            endHour = twelveHour(e->h, ms);
            if (startHour * 60 + s->m >= endHour * 60 + e->m)
                endHour = ms == u'a' ? e->h % 12 + 12 : e->h % 12;
        }
    } else if (!me.isNull()) {
        // "11-1pm": the start takes the end's half of the day unless that puts it after the end.
        endHour = twelveHour(e->h, me);
        if (twentyFourHour(*s)) {
            startHour = s->h;
        } else {
            startHour = twelveHour(s->h, me);
            if (startHour * 60 + s->m >= endHour * 60 + e->m)
                startHour = me == u'p' ? s->h % 12 : s->h % 12 + 12;
        }
    } else {
        // "2-3" alone is more likely a score or a count than a meeting.
        if (!s->hasColon && !e->hasColon && !kRangeConnectors.contains(connector))
            return std::nullopt;
        startHour = s->h >= 1 && s->h <= 6 && !s->leadingZero ? s->h + 12 : s->h;
        endHour = e->h;
        if (!twentyFourHour(*e) && startHour * 60 + s->m >= e->h * 60 + e->m && e->h < 12)
            endHour = e->h + 12;
    }
    return std::pair{count, TimeRange{HM{startHour, s->m}, HM{endHour, e->m}}};
}

NLParser::Match<double> NLParser::matchDuration(const Words& words, int index, QStringView connector) {
    const auto n = words.size();
    const auto i = static_cast<size_t>(index);
    if (index < 0 || i >= n)
        return std::nullopt;
    const QString& w = words[i];
    const auto result = [](int count, double seconds) -> Match<double> {
        if (const auto valid = model::sensibleEventLength(seconds))
            return std::pair{count, *valid};
        return std::nullopt;
    };

    if (mayBeDuration(w)) {
        if (const auto match = hmRegex().firstMatch(w)) {
            const auto hours = decimalInteger(match->captured(1));
            const auto minutes = decimalInteger(match->captured(2));
            if (!hours || !minutes)
                return std::nullopt;
            return result(1, static_cast<double>(*hours) * 3600 + static_cast<double>(*minutes) * 60);
        }
        if (const auto match = durationRegex().firstMatch(w)) {
            const auto amount = plainDecimal(match->captured(1));
            const auto unit = unitSeconds(match->captured(2));
            if (!amount || !unit)
                return std::nullopt;
            return result(1, *amount * *unit);
        }
    }

    if (i + 1 < n) {
        if (const auto unit = unitSeconds(words[i + 1])) {
            if (const auto amount = plainDecimal(w); amount && *amount > 0)
                return result(2, *amount * *unit);
            if (connector == u"for") {
                if (const auto count = number(w))
                    return result(2, static_cast<double>(*count) * *unit);
            }
        }
    }

    if (connector == u"for" && w == u"half" && i + 2 < n && (words[i + 1] == u"an" || words[i + 1] == u"a") &&
        (words[i + 2] == u"hour" || words[i + 2] == u"hr"))
        return std::pair{3, 1800.0};
    return std::nullopt;
}

}  // namespace quickadd
