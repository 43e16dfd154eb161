#include "quickadd/NLParser.h"

#include "quickadd/ParserText.h"

namespace quickadd {
namespace {

constexpr WordSet<3> kToday{{u"today", u"tonight", u"tod"}};
constexpr WordSet<5> kTomorrow{{u"tomorrow", u"tmr", u"tmrw", u"tomorow", u"tommorow"}};
// The three-word "day after ..." takes only the common spellings.
constexpr WordSet<3> kTomorrowAfterDayAfter{{u"tomorrow", u"tmr", u"tmrw"}};

constexpr WordTable<int, 18> kWeekdays{{{
    {u"sun", 1}, {u"sunday", 1},
    {u"mon", 2}, {u"monday", 2},
    {u"tue", 3}, {u"tues", 3}, {u"tuesday", 3},
    {u"wed", 4}, {u"weds", 4}, {u"wednesday", 4},
    {u"thu", 5}, {u"thur", 5}, {u"thurs", 5}, {u"thursday", 5},
    {u"fri", 6}, {u"friday", 6},
    {u"sat", 7}, {u"saturday", 7},
}}};

constexpr WordTable<int, 24> kMonths{{{
    {u"jan", 1}, {u"january", 1}, {u"feb", 2}, {u"february", 2}, {u"mar", 3}, {u"march", 3},
    {u"apr", 4}, {u"april", 4}, {u"may", 5}, {u"jun", 6}, {u"june", 6}, {u"jul", 7}, {u"july", 7},
    {u"aug", 8}, {u"august", 8}, {u"sep", 9}, {u"sept", 9}, {u"september", 9},
    {u"oct", 10}, {u"october", 10}, {u"nov", 11}, {u"november", 11}, {u"dec", 12}, {u"december", 12},
}}};

// Years a typed numeric or ISO date may name; anything else is a typo, not a plan.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2200;

constexpr qint64 kLongestDaysAhead = 399;

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<int> monthNumber(QStringView word) {
    if (word.endsWith(u'.'))
        word.chop(1);
    return kMonths.find(word);
}

// "12 nov", "nov 12th" and the like, with an optional year after them.
struct DayMonth {
    int day = 0;
    int month = 0;
    std::optional<int> year;
    int count = 2;
};

std::optional<DayMonth> dayAndMonthName(const std::vector<QString>& words, size_t i) {
    if (i + 1 >= words.size())
        return std::nullopt;
    DayMonth found;
    if (const auto day = NLParser::dayNumber(words[i]), month = monthNumber(words[i + 1]); day && month) {
        found.day = *day;
        found.month = *month;
    } else if (const auto month2 = monthNumber(words[i]), day2 = NLParser::dayNumber(words[i + 1]); month2 && day2) {
        found.day = *day2;
        found.month = *month2;
    } else {
        return std::nullopt;
    }
    if (i + 2 < words.size()) {
        found.year = NLParser::year(words[i + 2]);
        if (found.year)
            found.count = 3;
    }
    return found;
}

}  // namespace

const core::DateComponents& NLParser::Today::components() {
    if (!m_components)
        m_components = m_calendar.components(m_now);
    return *m_components;
}

core::Date NLParser::Today::startPlus(int days) {
    const core::DateComponents& c = components();
    // The calendar carries a day beyond the month's end into the next month, which
    // is adding days; midnight, or the first moment of a day that skips it.
    if (const auto date = m_calendar.date({.year = c.year, .month = c.month, .day = c.day.value_or(1) + days}))
        return *date;
    return m_calendar.startOfDay(m_now + days * 86400.0);
}

core::Date NLParser::addingDays(int days, core::Date day) const {
    // Adding keeps the wall time; on a day that starts later than midnight the
    // result is brought back to that day's start.
    if (const auto later = calendar.dateByAdding(core::CalendarUnit::Day, days, day))
        return calendar.startOfDay(*later);
    return calendar.startOfDay(day + days * 86400.0);
}

std::optional<core::Date> NLParser::resolve(int day, int month, std::optional<int> year, Today& today) const {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    if (year && (*year < kFirstYear || *year > kLastYear))
        return std::nullopt;
    const core::DateComponents& current = today.components();
    const int y = year.value_or(current.year.value_or(kFirstYear));
    // The parser's calendar is always Gregorian, so month lengths are known without asking
    // it; 31 April is no day, and 29 February is never moved on to a later leap year.
    if (day > daysInMonth(y, month))
        return std::nullopt;
    const bool passed = !year && std::pair{month, day} < std::pair{current.month.value_or(1), current.day.value_or(1)};
    const int resolvedYear = passed ? y + 1 : y;
    if (day > daysInMonth(resolvedYear, month))
        return std::nullopt;
    return calendar.date({.year = resolvedYear, .month = month, .day = day});
}

NLParser::Match<core::Date> NLParser::matchDate(const Words& words, int index, Today& today) const {
    const auto n = words.size();
    const auto i = static_cast<size_t>(index);
    if (index < 0 || i >= n)
        return std::nullopt;
    const QString& w = words[i];

    if (kToday.contains(w))
        return std::pair{1, today.startPlus(0)};
    if (kTomorrow.contains(w))
        return std::pair{1, today.startPlus(1)};
    if (w == u"yesterday")
        return std::pair{1, today.startPlus(-1)};
    if (w == u"day" && i + 2 < n && words[i + 1] == u"after" && kTomorrowAfterDayAfter.contains(words[i + 2]))
        return std::pair{3, today.startPlus(2)};
    if (w == u"next" && i + 1 < n && words[i + 1] == u"week")
        return std::pair{2, today.startPlus(7)};
    if (w == u"in" && i + 2 < n) {
        const auto count = number(words[i + 1]);
        if (count && *count >= 1 && *count <= kLongestDaysAhead) {
            const int days = static_cast<int>(*count);
            const QString& unit = words[i + 2];
            if (unit == u"day" || unit == u"days")
                return std::pair{3, today.startPlus(days)};
            if (unit == u"week" || unit == u"weeks")
                return std::pair{3, today.startPlus(7 * days)};
        }
    }

    {
        const bool modified = (w == u"next" || w == u"this") && i + 1 < n;
        const size_t k = modified ? i + 1 : i;
        if (const auto target = kWeekdays.find(words[k])) {
            const int current = today.components().weekday.value_or(1);
            int delta = (*target - current + 7) % 7;
            if (delta == 0 && w == u"next")
                delta = 7;
            return std::pair{static_cast<int>(k - i) + 1, today.startPlus(delta)};
        }
    }

    if (const auto found = dayAndMonthName(words, i)) {
        if (const auto day = resolve(found->day, found->month, found->year, today))
            return std::pair{found->count, *day};
    }

    if (const QStringList pieces = w.count(u'-') >= 2 ? w.split(u'-', Qt::SkipEmptyParts) : QStringList();
        pieces.size() == 3 && pieces[0].size() == 4) {
        const auto y = decimalInteger(pieces[0]), m = decimalInteger(pieces[1]), d = decimalInteger(pieces[2]);
        if (y && m && d && *y >= kFirstYear && *y <= kLastYear && *m >= 1 && *m <= 12 && *d >= 1 && *d <= 31) {
            if (const auto day = resolve(static_cast<int>(*d), static_cast<int>(*m), static_cast<int>(*y), today))
                return std::pair{1, *day};
        }
    }

    const qsizetype slashes = w.count(u'/');
    if (slashes != 1 && slashes != 2)
        return std::nullopt;
    const QStringList pieces = w.split(u'/');
    if (pieces.size() != 2 && pieces.size() != 3)
        return std::nullopt;
    const auto shortNumber = [](const QString& piece) -> std::optional<int> {
        if (piece.isEmpty() || piece.size() > 2)
            return std::nullopt;
        const auto value = decimalInteger(piece);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    };
    const auto a = shortNumber(pieces[0]), b = shortNumber(pieces[1]);
    if (!a || !b)
        return std::nullopt;
    int month = monthFirst ? *a : *b;
    int day = monthFirst ? *b : *a;
    if (month >= 13 && day < 13)
        std::swap(month, day);
    std::optional<int> y;
    if (pieces.size() == 3) {
        // A signed year is no year; "26" is short for 2026.
        const bool signedYear = pieces[2].startsWith(u'+') || pieces[2].startsWith(u'-');
        const auto written = decimalInteger(pieces[2]);
        if (signedYear || !written || *written > kLastYear)
            return std::nullopt;
        y = static_cast<int>(*written < 100 ? *written + 2000 : *written);
    }
    if (const auto resolved = resolve(day, month, y, today))
        return std::pair{1, *resolved};
    return std::nullopt;
}

}  // namespace quickadd
