#include "platform/datadetector/DetectionRules.h"

#include "core/CharacterClass.h"
#include "core/Regex.h"

#include <QHash>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace platform::detection {
namespace {

using core::chars::asciiNumber;

#define ORBITDAY_WEEKDAY u"(?:monday|tuesday|wednesday|thursday|friday|saturday|sunday)"
#define ORBITDAY_MONTH                                                                                            \
    u"(jan(?:uary)?|feb(?:ruary)?|mar(?:ch)?|apr(?:il)?|may|june?|july?|aug(?:ust)?|sep(?:t(?:ember)?)?|oct(?:ober)?|" \
    u"nov(?:ember)?|dec(?:ember)?)"

struct DateRules {
    static core::Regex compile(const QString& pattern) {
        return core::Regex(pattern, core::Regex::Option::CaseInsensitive);
    }
    core::Regex relative = compile(uR"(\b(?:the\s+)?(day\s+after\s+tomorrow|today|tonight|tomorrow|yesterday)\b)"_s);
    // Weekday names only written out: "Sat" and "Sun" are words of their own too.
    core::Regex weekday = compile(uR"(\b(?:(this|next|coming)\s+)?(monday|tuesday|wednesday|thursday|friday|saturday|sunday)\b)"_s);
    core::Regex inDays = compile(uR"(\bin\s+(\d{1,3}|a|one|two|three|four|five|six|seven)\s+(days?|weeks?)\b)"_s);
    core::Regex iso = compile(uR"(\b(\d{4})-(\d{1,2})-(\d{1,2})\b)"_s);
    // Full stops only with a year: "12.30" is a time.
    core::Regex numeric = compile(uR"((?<![\d/.:])\b(\d{1,2})([/.])(\d{1,2})(?:\2(\d{4}|\d{2}))?\b(?![/.:]?\d))"_s);
    core::Regex dayMonth = compile(QStringLiteral(u"\\b(?:" ORBITDAY_WEEKDAY u",?\\s+)?(\\d{1,2})(?:st|nd|rd|th)?\\s*(?:of\\s+)?" ORBITDAY_MONTH
                                                  u"\\b\\.?(?:,?\\s+(\\d{4})\\b)?"));
    core::Regex monthDay = compile(QStringLiteral(u"\\b(?:" ORBITDAY_WEEKDAY u",?\\s+)?" ORBITDAY_MONTH
                                                  u"\\b\\.?\\s+(\\d{1,2})(?:st|nd|rd|th)?\\b(?:,?\\s+(\\d{4})\\b)?"));
    core::Regex monthYear = compile(QStringLiteral(u"\\b" ORBITDAY_MONTH u"\\s+(\\d{4})\\b"));
};

#undef ORBITDAY_WEEKDAY
#undef ORBITDAY_MONTH

const DateRules& rules() {
    static const DateRules set;
    return set;
}

std::optional<int> monthNumber(const QString& name) {
    static const QHash<QString, int> table{{u"jan"_s, 1}, {u"feb"_s, 2},  {u"mar"_s, 3},  {u"apr"_s, 4},
                                           {u"may"_s, 5}, {u"jun"_s, 6},  {u"jul"_s, 7},  {u"aug"_s, 8},
                                           {u"sep"_s, 9}, {u"oct"_s, 10}, {u"nov"_s, 11}, {u"dec"_s, 12}};
    const auto it = table.constFind(name.left(3).toLower());
    return it == table.cend() ? std::nullopt : std::optional<int>(*it);
}

std::optional<int> smallCount(const QString& word) {
    static const QHash<QString, int> words{{u"a"_s, 1},    {u"one"_s, 1}, {u"two"_s, 2},   {u"three"_s, 3},
                                           {u"four"_s, 4}, {u"five"_s, 5}, {u"six"_s, 6}, {u"seven"_s, 7}};
    if (const auto it = words.constFind(word.toLower()); it != words.cend())
        return *it;
    return asciiNumber(word);
}

class Reader {
public:
    explicit Reader(const DateReference& reference)
        : m_reference(reference), m_today(reference.calendar.startOfDay(reference.now)) {}

    // Noon of the day, so that the day survives a reading in a neighbouring zone.
    std::optional<core::Date> noon(core::Date day) const { return m_reference.calendar.dateBySettingTime(12, 0, 0, day); }

    std::optional<core::Date> daysFromToday(int days) const {
        const auto day = m_reference.calendar.dateByAdding(core::CalendarUnit::Day, days, m_today);
        return day ? noon(*day) : std::nullopt;
    }

    // The next day of that weekday (1 Sunday ... 7 Saturday), today included unless `strictlyAfter`.
    std::optional<core::Date> nextWeekday(int weekday, bool strictlyAfter) const {
        const int today = m_reference.calendar.component(core::CalendarUnit::Weekday, m_today);
        int ahead = (weekday - today + 7) % 7;
        if (ahead == 0 && strictlyAfter)
            ahead = 7;
        return daysFromToday(ahead);
    }

    std::optional<core::Date> validDay(int year, int month, int dayOfMonth) const {
        if (month < 1 || month > 12 || dayOfMonth < 1 || dayOfMonth > 31)
            return std::nullopt;
        const auto date = m_reference.calendar.date({.year = year, .month = month, .day = dayOfMonth, .hour = 12});
        if (!date || m_reference.calendar.component(core::CalendarUnit::Day, *date) != dayOfMonth)
            return std::nullopt;
        return date;
    }

    // Without a year: this year's day unless it is past, else next year's.
    std::optional<core::Date> day(std::optional<int> year, int month, int dayOfMonth) const {
        if (year)
            return validDay(*year < 100 ? *year + 2000 : *year, month, dayOfMonth);
        const int thisYear = m_reference.calendar.component(core::CalendarUnit::Year, m_today);
        for (const int y : {thisYear, thisYear + 1}) {
            if (const auto date = validDay(y, month, dayOfMonth); date && *date >= m_today)
                return date;
        }
        return validDay(thisYear, month, dayOfMonth);
    }

    bool monthFirst() const { return m_reference.monthFirst; }

private:
    const DateReference& m_reference;
    core::Date m_today;
};

}  // namespace

std::vector<DataDetector::Match> dates(const QString& text, const DateReference& reference) {
    std::vector<DataDetector::Match> found;
    const Reader read(reference);
    const auto each = [&](const core::Regex& pattern, auto toDate) {
        for (const core::RegexMatch& m : pattern.allMatches(text)) {
            if (const std::optional<core::Date> date = toDate(m))
                found.push_back({DataDetector::Kind::date, m.range(), QUrl(), date, std::nullopt});
        }
    };
    const auto year = [](const core::RegexMatch& m, int group) {
        return m.range(group).isValid() ? asciiNumber(m.captured(group)) : std::nullopt;
    };

    each(rules().relative, [&](const core::RegexMatch& m) {
        const QString word = m.captured(1).toLower();
        const int days = word.startsWith(u"day") ? 2 : word == u"tomorrow" ? 1 : word == u"yesterday" ? -1 : 0;
        return read.daysFromToday(days);
    });
    each(rules().weekday, [&](const core::RegexMatch& m) {
        static const QStringList names{u"sunday"_s,   u"monday"_s, u"tuesday"_s, u"wednesday"_s,
                                       u"thursday"_s, u"friday"_s, u"saturday"_s};
        const int weekday = static_cast<int>(names.indexOf(m.captured(2).toLower())) + 1;
        return read.nextWeekday(weekday, m.captured(1).compare(u"next", Qt::CaseInsensitive) == 0);
    });
    each(rules().inDays, [&](const core::RegexMatch& m) {
        const auto count = smallCount(m.captured(1));
        if (!count)
            return std::optional<core::Date>();
        return read.daysFromToday(*count * (m.captured(2).startsWith(u'w', Qt::CaseInsensitive) ? 7 : 1));
    });
    each(rules().iso, [&](const core::RegexMatch& m) -> std::optional<core::Date> {
        const auto y = asciiNumber(m.captured(1)), month = asciiNumber(m.captured(2)), d = asciiNumber(m.captured(3));
        return y && month && d ? read.validDay(*y, *month, *d) : std::nullopt;
    });
    each(rules().numeric, [&](const core::RegexMatch& m) -> std::optional<core::Date> {
        const auto first = asciiNumber(m.captured(1)), second = asciiNumber(m.captured(3));
        const bool slash = m.captured(2) == u"/";
        const auto y = year(m, 4);
        if (!first || !second || (!slash && !y))
            return std::nullopt;
        int d = read.monthFirst() && slash ? *second : *first;
        int month = read.monthFirst() && slash ? *first : *second;
        if (month > 12 && d <= 12)
            std::swap(d, month);
        return read.day(y, month, d);
    });
    each(rules().dayMonth, [&](const core::RegexMatch& m) -> std::optional<core::Date> {
        const auto d = asciiNumber(m.captured(1));
        const auto month = monthNumber(m.captured(2));
        return d && month ? read.day(year(m, 3), *month, *d) : std::nullopt;
    });
    each(rules().monthDay, [&](const core::RegexMatch& m) -> std::optional<core::Date> {
        const auto month = monthNumber(m.captured(1));
        const auto d = asciiNumber(m.captured(2));
        return d && month ? read.day(year(m, 3), *month, *d) : std::nullopt;
    });
    each(rules().monthYear, [&](const core::RegexMatch& m) -> std::optional<core::Date> {
        const auto month = monthNumber(m.captured(1));
        const auto y = asciiNumber(m.captured(2));
        return month && y ? read.validDay(*y, *month, 1) : std::nullopt;
    });
    return withoutOverlaps(std::move(found));
}

}  // namespace platform::detection
