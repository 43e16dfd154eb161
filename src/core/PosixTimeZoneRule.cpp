#include "core/PosixTimeZoneRule.h"

#include <cctype>

namespace core {
namespace {

class Reader {
public:
    explicit Reader(QByteArrayView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    bool take(char c) {
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }

    // "<+0330>" or a run of at least three letters.
    std::optional<QString> name() {
        const qsizetype start = m_pos;
        if (take('<')) {
            while (!atEnd() && (std::isalnum(static_cast<unsigned char>(peek())) || peek() == '+' || peek() == '-'))
                ++m_pos;
            const QByteArrayView inside = m_text.sliced(start + 1, m_pos - start - 1);
            if (!take('>') || inside.isEmpty())
                return std::nullopt;
            return QString::fromLatin1(inside);
        }
        while (!atEnd() && std::isalpha(static_cast<unsigned char>(peek())))
            ++m_pos;
        if (m_pos - start < 3)
            return std::nullopt;
        return QString::fromLatin1(m_text.sliced(start, m_pos - start));
    }

    std::optional<int> number(int maximum) {
        int value = 0;
        int digits = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek())) && digits < 4) {
            value = value * 10 + (peek() - '0');
            ++digits;
            ++m_pos;
        }
        if (digits == 0 || value > maximum)
            return std::nullopt;
        return value;
    }

    // [+-]hh[:mm[:ss]] in seconds.
    std::optional<int> duration(int maximumHours) {
        int sign = 1;
        if (take('-'))
            sign = -1;
        else
            take('+');
        const auto hours = number(maximumHours);
        if (!hours)
            return std::nullopt;
        int seconds = *hours * 3600;
        if (take(':')) {
            const auto minutes = number(59);
            if (!minutes)
                return std::nullopt;
            seconds += *minutes * 60;
            if (take(':')) {
                const auto secs = number(59);
                if (!secs)
                    return std::nullopt;
                seconds += *secs;
            }
        }
        return sign * seconds;
    }

    std::optional<PosixTimeZoneRule::Day> day() {
        PosixTimeZoneRule::Day day;
        if (take('M')) {
            const auto month = number(12);
            if (!month || *month < 1 || !take('.'))
                return std::nullopt;
            const auto week = number(5);
            if (!week || *week < 1 || !take('.'))
                return std::nullopt;
            const auto weekday = number(6);
            if (!weekday)
                return std::nullopt;
            day.month = *month;
            day.week = *week;
            day.weekday = *weekday;
        } else if (take('J')) {
            const auto dayOfYear = number(365);
            if (!dayOfYear || *dayOfYear < 1)
                return std::nullopt;
            day.kind = PosixTimeZoneRule::Day::Kind::DayOfYear;
            day.dayOfYear = *dayOfYear;
        } else {
            return std::nullopt;
        }
        if (take('/')) {
            // Times beyond a day are allowed: "/50" is two days later at 02:00.
            const auto time = duration(167);
            if (!time)
                return std::nullopt;
            day.secondsIntoDay = *time;
        }
        return day;
    }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

}  // namespace

std::optional<PosixTimeZoneRule> PosixTimeZoneRule::parse(QByteArrayView text) {
    Reader in(text);
    PosixTimeZoneRule rule;
    const auto standardName = in.name();
    const auto standardOffset = standardName ? in.duration(24) : std::nullopt;
    if (!standardOffset)
        return std::nullopt;
    rule.standardName = *standardName;
    // The text counts hours west of Greenwich.
    rule.secondsFromGMT = -*standardOffset;
    if (in.atEnd())
        return rule;

    Daylight daylight;
    const auto daylightName = in.name();
    if (!daylightName)
        return std::nullopt;
    daylight.name = *daylightName;
    daylight.secondsFromGMT = rule.secondsFromGMT + 3600;
    if (in.peek() != ',') {
        const auto offset = in.duration(24);
        if (!offset)
            return std::nullopt;
        daylight.secondsFromGMT = -*offset;
    }
    if (!in.take(','))
        return std::nullopt;
    const auto start = in.day();
    if (!start || !in.take(','))
        return std::nullopt;
    const auto end = in.day();
    if (!end || !in.atEnd())
        return std::nullopt;
    daylight.start = *start;
    daylight.end = *end;
    rule.daylight = daylight;
    return rule;
}

std::optional<PosixTimeZoneRule> PosixTimeZoneRule::fromZoneFile(QByteArrayView contents) {
    // "TZif", a version byte, ...; from version 2 on the file ends with "\n<rule>\n".
    if (contents.size() < 6 || !contents.startsWith("TZif") || contents[4] < '2' || !contents.endsWith('\n'))
        return std::nullopt;
    const QByteArrayView withoutLast = contents.chopped(1);
    const qsizetype newline = withoutLast.lastIndexOf('\n');
    if (newline < 0)
        return std::nullopt;
    const QByteArrayView footer = withoutLast.sliced(newline + 1);
    if (footer.isEmpty())
        return std::nullopt;
    return parse(footer);
}

}  // namespace core
