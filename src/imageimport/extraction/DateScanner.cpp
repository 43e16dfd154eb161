#include "imageimport/extraction/DateScanner.h"

#include "imageimport/extraction/PatternSupport.h"

#include <QHash>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

#define ORBITDAY_WEEKDAY \
    u"(mon(?:day)?|tue(?:s(?:day)?)?|wed(?:nesday)?|thu(?:r(?:s(?:day)?)?)?|fri(?:day)?|sat(?:urday)?|sun(?:day)?)"
#define ORBITDAY_MONTH                                                                                            \
    u"(jan(?:uary)?|feb(?:ruary)?|mar(?:ch)?|apr(?:il)?|may|june?|july?|aug(?:ust)?|sep(?:t(?:ember)?)?|oct(?:ober)?|" \
    u"nov(?:ember)?|dec(?:ember)?)"

// Compiled together on first use; the function-local static makes that safe
// from several threads at once.
struct DatePatterns {
    core::Regex iso = patterns::compile(uR"(\b(\d{4})-(\d{1,2})-(\d{1,2})\b)"_s, patterns::kCaseInsensitive);
    core::Regex numeric = patterns::compile(
        QStringLiteral(u"(?<![\\d/.:-])\\b(?:" ORBITDAY_WEEKDAY
                       u"\\.?,?\\s+)?(\\d{1,2})([/.\\-])(\\d{1,2})\\3(\\d{4}|\\d{2})\\b(?![/.:-]?\\d)"),
        patterns::kCaseInsensitive);
    core::Regex dayMonth = patterns::compile(
        QStringLiteral(u"\\b(?:" ORBITDAY_WEEKDAY u"\\.?,?\\s+)?(\\d{1,2})(?:st|nd|rd|th)?\\s*(?:of\\s+)?" ORBITDAY_MONTH
                       u"\\b\\.?(?:,?\\s+(\\d{4})\\b)?"),
        patterns::kCaseInsensitive);
    core::Regex monthDay = patterns::compile(
        QStringLiteral(u"\\b(?:" ORBITDAY_WEEKDAY u"\\.?,?\\s+)?" ORBITDAY_MONTH
                       u"\\b\\.?\\s+(\\d{1,2})(?:st|nd|rd|th)?\\b(?:,?\\s+(\\d{4})\\b)?"),
        patterns::kCaseInsensitive);
    core::Regex slash = patterns::compile(uR"((?<![\d/.:£$€-])\b(\d{1,2})/(\d{1,2})\b(?![/.:]?\d))"_s,
                                          patterns::kCaseInsensitive);
};

const DatePatterns& shared() {
    static const DatePatterns set;
    return set;
}

#undef ORBITDAY_WEEKDAY
#undef ORBITDAY_MONTH

// Names are looked up by their first three letters: "Sept" and "September" are "sep".
const QHash<QString, int>& months() {
    static const QHash<QString, int> table{{u"jan"_s, 1}, {u"feb"_s, 2},  {u"mar"_s, 3},  {u"apr"_s, 4},
                                           {u"may"_s, 5}, {u"jun"_s, 6},  {u"jul"_s, 7},  {u"aug"_s, 8},
                                           {u"sep"_s, 9}, {u"oct"_s, 10}, {u"nov"_s, 11}, {u"dec"_s, 12}};
    return table;
}

// Numbered as the calendar numbers weekdays: 1 is Sunday.
const QHash<QString, int>& weekdays() {
    static const QHash<QString, int> table{{u"sun"_s, 1}, {u"mon"_s, 2}, {u"tue"_s, 3}, {u"wed"_s, 4},
                                           {u"thu"_s, 5}, {u"fri"_s, 6}, {u"sat"_s, 7}};
    return table;
}

std::optional<int> lookUp(const QHash<QString, int>& table, const std::optional<QString>& name) {
    if (!name)
        return std::nullopt;
    const auto it = table.constFind(name->toLower().left(3));
    return it == table.cend() ? std::nullopt : std::optional<int>(*it);
}

}  // namespace

DateScanner::DateScanner(ExtractionContext context) : m_context(std::move(context)) {}

std::vector<DateHit> DateScanner::scanDates(const QString& text, int line) const {
    std::vector<DateHit> hits;
    const auto add = [&](core::TextRange range, std::optional<core::Date> day, bool explicitYear) {
        if (!day)
            return;
        for (const DateHit& taken : hits) {
            if (patterns::overlaps(range, taken.range))
                return;
        }
        hits.push_back({range, *day, line, false, explicitYear});
    };
    // A slash date follows the locale's order; dots and hyphens are always day first.
    // A "month" above 12 next to a "day" that could be a month was written the other way.
    const auto ordered = [this](int first, int second, bool slash) {
        auto [day, month] = m_context.monthFirst && slash ? std::pair{second, first} : std::pair{first, second};
        if (month >= 13 && day <= 12)
            std::swap(day, month);
        return std::pair{day, month};
    };
    using patterns::asciiNumber;
    using patterns::group;

    for (const core::RegexMatch& m : shared().iso.allMatches(text)) {
        const auto year = asciiNumber(group(m, 1));
        const auto month = asciiNumber(group(m, 2));
        const auto day = asciiNumber(group(m, 3));
        if (year && month && day)
            add(m.range(), resolve(*day, *month, year, std::nullopt), true);
    }
    for (const core::RegexMatch& m : shared().numeric.allMatches(text)) {
        const auto first = asciiNumber(group(m, 2));
        const auto second = asciiNumber(group(m, 4));
        const auto year = asciiNumber(group(m, 5));
        if (!first || !second || !year)
            continue;
        const auto [day, month] = ordered(*first, *second, m.captured(3) == u"/");
        add(m.range(), resolve(day, month, year, lookUp(weekdays(), group(m, 1))), true);
    }
    for (const core::RegexMatch& m : shared().dayMonth.allMatches(text)) {
        const auto day = asciiNumber(group(m, 2));
        const auto month = lookUp(months(), group(m, 3));
        if (!day || !month)
            continue;
        const auto year = asciiNumber(group(m, 4));
        add(m.range(), resolve(*day, *month, year, lookUp(weekdays(), group(m, 1))), year.has_value());
    }
    for (const core::RegexMatch& m : shared().monthDay.allMatches(text)) {
        const auto month = lookUp(months(), group(m, 2));
        const auto day = asciiNumber(group(m, 3));
        if (!day || !month)
            continue;
        const auto year = asciiNumber(group(m, 4));
        add(m.range(), resolve(*day, *month, year, lookUp(weekdays(), group(m, 1))), year.has_value());
    }
    for (const core::RegexMatch& m : shared().slash.allMatches(text)) {
        const auto first = asciiNumber(group(m, 1));
        const auto second = asciiNumber(group(m, 2));
        if (!first || !second)
            continue;
        const auto [day, month] = ordered(*first, *second, true);
        add(m.range(), resolve(day, month, std::nullopt, std::nullopt), false);
    }
    return hits;
}

std::optional<core::Date> DateScanner::validDay(int year, int month, int day) const {
    const core::Calendar& calendar = m_context.calendar;
    const auto date = calendar.date(core::DateComponents{.year = year, .month = month, .day = day});
    // The calendar rolls 31 April over into May; such a day does not exist.
    if (!date || calendar.component(core::CalendarUnit::Day, *date) != day)
        return std::nullopt;
    return calendar.startOfDay(*date);
}

std::optional<core::Date> DateScanner::resolve(int day, int month, std::optional<int> year,
                                               std::optional<int> weekday) const {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    if (year)
        return validDay(*year < 100 ? *year + 2000 : *year, month, day);

    const core::Calendar& calendar = m_context.calendar;
    const core::Date today = calendar.startOfDay(m_context.now);
    const int thisYear = calendar.component(core::CalendarUnit::Year, today);
    std::vector<core::Date> candidates;
    for (const int y : {thisYear, thisYear + 1}) {
        if (const auto date = validDay(y, month, day))
            candidates.push_back(*date);
    }
    if (weekday) {
        for (const core::Date date : candidates) {
            if (date >= today && calendar.component(core::CalendarUnit::Weekday, date) == *weekday)
                return date;
        }
    }
    for (const core::Date date : candidates) {
        if (date >= today)
            return date;
    }
    if (!candidates.empty())
        return candidates.front();
    return std::nullopt;
}

}  // namespace imageimport
