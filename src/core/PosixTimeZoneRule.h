#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace core {

// The rule a zone file ends with, in the TZ-variable form ("CET-1CEST,M3.5.0,M10.5.0/3"): what the zone does
// after its last listed transition.
struct PosixTimeZoneRule {
    // When a switch happens: a weekday of a month ("M3.5.0": the last Sunday of March), or a day of the year
    // that ignores 29 February ("J60": 1 March), at a local time of day that may lie outside 0-24 h.
    struct Day {
        enum class Kind { WeekdayOfMonth, DayOfYear };
        Kind kind = Kind::WeekdayOfMonth;
        int month = 0;    // 1-12
        int week = 0;     // 1-4, 5 = the last one
        int weekday = 0;  // 0 = Sunday
        int dayOfYear = 0;
        int secondsIntoDay = 2 * 3600;
    };
    struct Daylight {
        QString name;
        int secondsFromGMT = 0;
        Day start;  // standard to daylight, at standard time
        Day end;    // daylight to standard, at daylight time
    };

    QString standardName;
    int secondsFromGMT = 0;
    std::optional<Daylight> daylight;

    // nullopt for text that is not such a rule, and for the rare forms not handled (daylight without a rule, or
    // days counted with 29 February).
    static std::optional<PosixTimeZoneRule> parse(QByteArrayView text);
    // The rule at the end of a zone file's contents (format version 2 and later); nullopt when it has none.
    static std::optional<PosixTimeZoneRule> fromZoneFile(QByteArrayView contents);
};

}  // namespace core
