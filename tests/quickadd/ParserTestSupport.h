#pragma once

#include "quickadd/NLParser.h"

#include "core/Calendar.h"

#include <gtest/gtest.h>

#include <optional>

namespace quickadd::testing {

inline core::Calendar berlin() {
    return core::Calendar(*core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin")),
                          core::Locale(QStringLiteral("en_US")));
}

inline core::Date local(int y, int mo, int d, int h = 0, int mi = 0) {
    return *berlin().date({.year = y, .month = mo, .day = d, .hour = h, .minute = mi});
}

// Wednesday 11 March 2026, 10:15 in Berlin, month-first dates, no calendars.
inline NLParser parserAt(core::Date now = local(2026, 3, 11, 10, 15), bool monthFirst = true,
                         std::vector<NLParser::CalendarRef> calendars = {}) {
    return NLParser{.now = now, .calendar = berlin(), .defaultDuration = 3600,
                    .calendars = std::move(calendars), .monthFirst = monthFirst};
}

inline NLParser::Result parsed(const NLParser& parser, const QString& line) {
    const auto result = parser.parse(line);
    EXPECT_TRUE(result.has_value()) << line.toStdString();
    return result.value_or(NLParser::Result{});
}

// The text of the first token of that kind, or nothing.
inline std::optional<QString> tokenText(const NLParser::Result& result, NLParser::TokenKind kind) {
    for (const auto& token : result.tokens) {
        if (token.kind == kind)
            return token.text;
    }
    return std::nullopt;
}

// Wall-clock hour and minute of a moment in Berlin.
inline NLParser::HM wallTime(core::Date date) {
    const auto cal = berlin();
    return {cal.component(core::CalendarUnit::Hour, date), cal.component(core::CalendarUnit::Minute, date)};
}

}  // namespace quickadd::testing

namespace quickadd {
inline void PrintTo(const NLParser::HM& hm, std::ostream* os) { *os << hm.hour << ':' << hm.minute; }
}  // namespace quickadd

namespace core {
inline void PrintTo(const Date& date, std::ostream* os) { *os << toIsoString(date).toStdString(); }
}  // namespace core
