#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "core/Locale.h"
#include "core/Regex.h"
#include "model/Drafts.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace quickadd {

// Reads one line of plain English ("Standup tomorrow 9:30 for 15m /work") into
// the parts of an event. A value: build it with all five fields and parse as
// often as needed; parsing has no side effects. Copies are independent and may
// be used on any thread, but one instance is not for concurrent use (its
// calendar is not).
class NLParser {
public:
    struct CalendarRef {
        QString id;
        QString title;
        bool operator==(const CalendarRef&) const = default;
    };

    struct Word {
        QString raw;    // as typed, without trailing ",;!?"
        QString lower;  // raw, lowercased
        core::TextRange range;  // of raw, in UTF-16 units of the parsed text
        bool operator==(const Word&) const = default;
    };

    enum class TokenKind { date, time, duration, calendar, allDay, location };

    struct Token {
        TokenKind kind = TokenKind::date;
        core::TextRange range;  // UTF-16 units of the parsed text, so a text field can colour it as it is
        QString text;
        bool operator==(const Token&) const = default;
    };

    struct Result {
        QString title;
        core::Date start;
        core::Date end;
        bool isAllDay = false;
        std::optional<QString> calendarID;
        std::optional<QString> location;
        bool hasDate = false;
        bool hasTime = false;
        bool hasDuration = false;
        std::vector<Token> tokens;  // ordered by where they start

        // The event to create: untitled lines become "New event".
        model::EventDraft draft() const;
        bool operator==(const Result&) const = default;
    };

    // An hour of the day (0...23) and a minute (0...59).
    struct HM {
        int hour = 0;
        int minute = 0;
        bool operator==(const HM&) const = default;
    };

    core::Date now;
    core::Calendar calendar;
    double defaultDuration = 3600;  // seconds
    std::vector<CalendarRef> calendars;  // tried in this order
    bool monthFirst = true;  // numeric dates such as 4/5 read month first

    // nullopt only when the text holds no word.
    std::optional<Result> parse(const QString& text) const;

    // Words split at white space, with trailing ",;!?" dropped.
    static std::vector<Word> tokenize(const QString& text);
    // Lowercased letters and digits only: "Work / Team-2" is "workteam2".
    static QString squash(QStringView text);
    // A decimal integer, or one of the count words ("a", "two", "ten"...).
    static std::optional<qint64> number(QStringView word);
    // A day of the month, 1...31, with an optional ordinal suffix and trailing ".".
    static std::optional<int> dayNumber(QStringView word);
    // Exactly four digits from 1900 to 2200.
    static std::optional<int> year(QStringView word);
    // Seconds of a minute or hour unit word.
    static std::optional<double> unitSeconds(QStringView word);
    // Whether the locale writes the month before the day in a numeric date.
    // Safe to call from any thread.
    static bool localePrefersMonthFirst(const core::Locale& locale);

private:
    using Words = std::vector<QString>;
    template <typename T>
    using Match = std::optional<std::pair<int, T>>;

    // One written time before morning or afternoon is inferred.
    struct RawTime {
        int h = 0;
        int m = 0;
        QChar meridiem;  // 'a', 'p', or null
        bool hasColon = false;
        bool leadingZero = false;
    };
    struct TimeRange {
        HM start;
        HM end;
    };

    // `squashedTitles`: the calendars' squashed titles, filled on first need.
    std::optional<std::pair<int, QString>> matchCalendar(const Words& words, int index,
                                                         std::vector<QString>& squashedTitles) const;

    // Today's date, read from the calendar on first use: most words are no date,
    // and calendar arithmetic is the dearest part of a parse.
    class Today {
    public:
        Today(const core::Calendar& calendar, core::Date now) : m_calendar(calendar), m_now(now) {}
        // The start of the day `days` calendar days after today (before, when negative).
        core::Date startPlus(int days);
        const core::DateComponents& components();

    private:
        const core::Calendar& m_calendar;
        core::Date m_now;
        std::optional<core::DateComponents> m_components;
    };

    Match<core::Date> matchDate(const Words& words, int index, Today& today) const;
    std::optional<core::Date> resolve(int day, int month, std::optional<int> year, Today& today) const;
    core::Date addingDays(int days, core::Date day) const;

    static std::optional<RawTime> rawTime(QStringView text);
    static Match<RawTime> readTime(const Words& words, int index);
    static Match<HM> matchTime(const Words& words, int index, QStringView connector);
    static Match<TimeRange> matchTimeRange(const Words& words, int index, QStringView connector);
    static Match<double> matchDuration(const Words& words, int index, QStringView connector);

    // One parse: the words of the line and what has been made of them so far.
    struct Line;
    void recogniseParts(Line& line, Today& today) const;
    static void findPlace(Line& line);
    void placeInTime(const Line& line, Today& today, Result& result) const;

    core::Date at(HM hm, core::Date day) const;
    core::Date nextWholeHour() const;
};

}  // namespace quickadd
