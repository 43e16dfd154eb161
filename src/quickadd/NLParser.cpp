#include "quickadd/NLParser.h"

#include "quickadd/ParserText.h"

#include <algorithm>

namespace quickadd {
namespace {

// Words that may stand before a date, time, duration or calendar and go with it.
constexpr WordSet<6> kConnectors{{u"at", u"@", u"on", u"for", u"from", u"by"}};
// Words that end a place: "at Cafe Roma with Sam".
constexpr WordSet<6> kLocationStops{{u"with", u"and", u"about", u"re", u"for", u"to"}};

bool isTitleEdge(QChar c) {
    return c == u' ' || c == u',' || c == u';' || c == u'-' || c == QChar(0x2013);
}

int minutes(NLParser::HM hm) { return hm.hour * 60 + hm.minute; }

bool startsUpperCase(const QString& text) {
    if (text.isEmpty())
        return false;
    const QChar c = text[0];
    if (c.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate())
        return QChar::isUpper(QChar::surrogateToUcs4(c, text[1]));
    return c.isUpper();
}

}  // namespace

model::EventDraft NLParser::Result::draft() const {
    return model::EventDraft(title.isEmpty() ? QStringLiteral("New event") : title, start, end, isAllDay, location,
                             std::nullopt, std::nullopt, calendarID);
}

std::optional<std::pair<int, QString>> NLParser::matchCalendar(const Words& words, int index,
                                                               std::vector<QString>& squashedTitles) const {
    if (index < 0 || static_cast<size_t>(index) >= words.size() || calendars.empty())
        return std::nullopt;
    const QString& word = words[static_cast<size_t>(index)];
    if (!word.startsWith(u'/') && !word.startsWith(u'#'))
        return std::nullopt;
    const QString key = squash(QStringView(word).mid(1));
    if (key.isEmpty())
        return std::nullopt;
    // Once per line, on its first slash word: a line may hold many.
    if (squashedTitles.empty()) {
        squashedTitles.reserve(calendars.size());
        for (const CalendarRef& ref : calendars)
            squashedTitles.push_back(squash(ref.title));
    }
    // An exact title beats one that begins with the key, which beats one that contains it;
    // among equals the earlier calendar wins.
    std::optional<size_t> beginning;
    std::optional<size_t> containing;
    for (size_t c = 0; c < calendars.size(); ++c) {
        const qsizetype at = squashedTitles[c].indexOf(key);
        if (at < 0)
            continue;
        if (at == 0 && squashedTitles[c].size() == key.size())
            return std::pair{1, calendars[c].id};
        std::optional<size_t>& kind = at == 0 ? beginning : containing;
        if (!kind)
            kind = c;
    }
    if (const auto found = beginning ? beginning : containing)
        return std::pair{1, calendars[*found].id};
    return std::nullopt;
}

core::Date NLParser::at(HM hm, core::Date day) const {
    return calendar.dateBySettingTime(hm.hour, hm.minute, 0, day).value_or(day);
}

core::Date NLParser::nextWholeHour() const {
    const auto hour = calendar.dateInterval(core::CalendarUnit::Hour, now);
    if (!hour)
        return now;
    // An hour on from the start of this one is the next whole hour, unless the
    // zone shifts by part of an hour in between; then walk on to minute 0.
    core::Date next = hour->end();
    for (int step = 0; step < 3; ++step) {
        const int minute = calendar.component(core::CalendarUnit::Minute, next);
        if (minute == 0)
            return next;
        next += (60 - minute) * 60.0;
    }
    return now;
}

struct NLParser::Line {
    const QString& text;
    std::vector<Word> words;
    Words lower;
    std::vector<bool> consumed;
    int n = 0;

    std::optional<QString> calendarID;
    bool allDay = false;
    std::optional<core::Date> date;
    std::optional<HM> time;
    std::optional<HM> endTime;
    std::optional<double> duration;
    std::optional<QString> location;
    std::vector<Token> tokens;
    std::vector<QString> squashedTitles;  // of the parser's calendars, once a slash word needs them

    Line(const QString& line, std::vector<Word> tokenized)
        : text(line), words(std::move(tokenized)), consumed(words.size(), false), n(static_cast<int>(words.size())) {
        lower.reserve(words.size());
        for (const Word& word : words)
            lower.push_back(word.lower);
    }

    const QString& word(int index) const { return lower[static_cast<size_t>(index)]; }
    bool isConsumed(int index) const { return consumed[static_cast<size_t>(index)]; }

    // Marks words first...last as used and records them as one token.
    void take(TokenKind kind, int first, int last) {
        for (int k = first; k <= last; ++k)
            consumed[static_cast<size_t>(k)] = true;
        const qsizetype from = words[static_cast<size_t>(first)].range.location;
        const qsizetype to = words[static_cast<size_t>(last)].range.end();
        tokens.push_back({kind, {from, to - from}, text.mid(from, to - from)});
    }

    // The words nothing was made of, joined, without separators at either end.
    QString title() const {
        QStringList kept;
        for (size_t k = 0; k < words.size(); ++k) {
            if (!consumed[k])
                kept << words[k].raw;
        }
        const QString joined = kept.join(u' ');
        qsizetype first = 0;
        qsizetype end = joined.size();
        while (first < end && isTitleEdge(joined[first]))
            ++first;
        while (end > first && isTitleEdge(joined[end - 1]))
            --end;
        return joined.mid(first, end - first);
    }
};

void NLParser::recogniseParts(Line& line, Today& today) const {
    const int n = line.n;
    // Each kind is taken once, by the first part of the line that reads as it.
    const auto recognise = [&](int a, QStringView connector) -> std::optional<std::pair<int, TokenKind>> {
        if (!line.calendarID) {
            if (auto found = matchCalendar(line.lower, a, line.squashedTitles)) {
                line.calendarID = std::move(found->second);
                return std::pair{found->first, TokenKind::calendar};
            }
        }
        if (!line.allDay) {
            const QString& w = line.word(a);
            const int used = w == u"allday" || w == u"all-day"                     ? 1
                             : w == u"all" && a + 1 < n && line.word(a + 1) == u"day" ? 2
                                                                                      : 0;
            if (used > 0) {
                line.allDay = true;
                return std::pair{used, TokenKind::allDay};
            }
        }
        if (!line.date) {
            if (const auto found = matchDate(line.lower, a, today)) {
                line.date = found->second;
                return std::pair{found->first, TokenKind::date};
            }
        }
        if (!line.time) {
            if (const auto range = matchTimeRange(line.lower, a, connector)) {
                line.time = range->second.start;
                line.endTime = range->second.end;
                return std::pair{range->first, TokenKind::time};
            }
            if (const auto found = matchTime(line.lower, a, connector)) {
                line.time = found->second;
                return std::pair{found->first, TokenKind::time};
            }
        }
        if (!line.duration) {
            if (const auto first = matchDuration(line.lower, a, connector)) {
                auto [count, seconds] = *first;
                // "1h 30m" and "for 1 hour 30 min" are one duration.
                if (const auto second = matchDuration(line.lower, a + count, {});
                    second && seconds + second->second <= kLongestDuration) {
                    count += second->first;
                    seconds += second->second;
                }
                line.duration = seconds;
                return std::pair{count, TokenKind::duration};
            }
        }
        return std::nullopt;
    };

    for (int i = 0; i < n;) {
        if (line.isConsumed(i)) {
            ++i;
            continue;
        }
        // A connector ("at", "for"...) goes with what follows it when that is recognised.
        const bool connector = i + 1 < n && kConnectors.contains(line.word(i));
        std::optional<std::pair<int, TokenKind>> found;
        int a = i + 1;
        if (connector)
            found = recognise(a, line.word(i));
        if (!found)
            found = recognise(a = i, {});
        if (!found) {
            ++i;
            continue;
        }
        if (a != i)
            line.consumed[static_cast<size_t>(i)] = true;
        line.take(found->second, a, a + found->first - 1);
        i = a + found->first;
    }
}

void NLParser::findPlace(Line& line) {
    const int n = line.n;
    for (int j = 0; j < n; ++j) {
        if (line.isConsumed(j))
            continue;
        const QString& raw = line.words[static_cast<size_t>(j)].raw;
        int start = -1;
        if ((line.word(j) == u"at" || line.word(j) == u"@") && j + 1 < n && !line.isConsumed(j + 1) &&
            startsUpperCase(line.words[static_cast<size_t>(j) + 1].raw)) {
            start = j + 1;
        } else if (raw.startsWith(u'@') && raw.size() > 1) {
            start = j;
        } else {
            continue;
        }
        int last = start;
        while (last + 1 < n && !line.isConsumed(last + 1) && !kLocationStops.contains(line.word(last + 1)))
            ++last;
        const qsizetype from = line.words[static_cast<size_t>(start)].range.location;
        QString place = line.text.mid(from, line.words[static_cast<size_t>(last)].range.end() - from);
        if (place.startsWith(u'@'))
            place.remove(0, 1);
        place = place.trimmed();
        if (place.isEmpty())
            continue;
        line.location = place;
        if (start != j)
            line.consumed[static_cast<size_t>(j)] = true;
        line.take(TokenKind::location, start, last);
        return;
    }
}

void NLParser::placeInTime(const Line& line, Today& today, Result& result) const {
    if (line.allDay || (line.date && !line.time && !line.duration)) {
        result.start = line.date ? *line.date : today.startPlus(0);
        result.end = addingDays(1, result.start) - 1;
        result.isAllDay = true;
    } else if (line.date && !line.time) {
        result.start = at({9, 0}, *line.date);
        result.end = result.start + *line.duration;
    } else if (line.time) {
        result.start = at(*line.time, line.date.value_or(now));
        // A time without a date that has passed today means tomorrow.
        if (!line.date && result.start < now)
            result.start = at(*line.time, today.startPlus(1));
        if (line.endTime) {
            result.end = at(*line.endTime, result.start);
            if (result.end <= result.start) {
                const int written = minutes(*line.endTime) - minutes(*line.time);
                // A range forward on the clock ends on its own day: only a skipped hour ("2-3am" when
                // 02:00 becomes 03:00) puts both ends at one instant, and then the range keeps its length.
                // "10pm-1am" ends on the next day.
                result.end = written > 0 ? result.start + written * 60.0
                                         : at(*line.endTime, addingDays(1, calendar.startOfDay(result.start)));
            }
        } else {
            result.end = result.start + line.duration.value_or(defaultDuration);
        }
    } else {
        result.start = nextWholeHour();
        result.end = result.start + line.duration.value_or(defaultDuration);
    }
}

std::optional<NLParser::Result> NLParser::parse(const QString& text) const {
    Line line(text, tokenize(text));
    if (line.words.empty())
        return std::nullopt;
    Today today(calendar, now);
    recogniseParts(line, today);
    findPlace(line);

    Result result;
    result.title = line.title();
    placeInTime(line, today, result);
    result.calendarID = line.calendarID;
    result.location = line.location;
    result.hasDate = line.date.has_value();
    result.hasTime = line.time.has_value();
    result.hasDuration = line.endTime.has_value() || line.duration.has_value();
    std::stable_sort(line.tokens.begin(), line.tokens.end(),
                     [](const Token& a, const Token& b) { return a.range.location < b.range.location; });
    result.tokens = std::move(line.tokens);
    return result;
}

}  // namespace quickadd
