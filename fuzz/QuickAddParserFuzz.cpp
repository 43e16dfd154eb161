// The quick-add parser over any line: typed text, pasted text, or lines that text
// recognition read from an image. Beyond not crashing, every result must be an
// event a user could have meant.
//
// Input: one byte of set-up (zone, reference instant, date order, text encoding),
// then the line.

#include "quickadd/NLParser.h"

#include <QDateTime>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

using quickadd::NLParser;

namespace {

// Zones whose days are not all 24 hours long, or whose offsets are not whole hours.
constexpr std::array kZones{"Europe/Berlin",       "America/New_York", "Asia/Kolkata", "Australia/Lord_Howe",
                            "UTC",                 "America/Sao_Paulo", "Pacific/Apia", "Asia/Kathmandu"};

core::Date utc(int y, int mo, int d, int h = 0, int mi = 0) {
    return core::Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc()));
}

// Reference instants: an ordinary morning, both European clock changes, the day
// Samoa skipped, a day without midnight in Brazil, a leap-day eve, and the edges of
// the years dates may name.
const std::array<core::Date, 8>& instants() {
    static const std::array<core::Date, 8> list{utc(2026, 3, 11, 9, 15),   utc(2025, 3, 30, 0, 30),
                                                utc(2025, 10, 26, 0, 30),  utc(2011, 12, 29, 12),
                                                utc(2018, 11, 3, 12),      utc(2028, 2, 28, 23, 59),
                                                utc(2199, 12, 31, 12),     utc(1900, 1, 1, 12)};
    return list;
}

std::vector<NLParser>& parsers() {
    static std::vector<NLParser> list = [] {
        std::vector<NLParser> built;
        for (const char* zone : kZones) {
            built.push_back(NLParser{
                .now = {},
                .calendar = core::Calendar(*core::TimeZone::withIdentifier(QString::fromLatin1(zone)),
                                           core::Locale(QStringLiteral("en_US"))),
                .defaultDuration = 3600,
                .calendars = {{QStringLiteral("work"), QStringLiteral("Work / Team-2")},
                              {QStringLiteral("home"), QStringLiteral("\U0001F3E0 Home")},
                              {QStringLiteral("empty"), QString()}},
                .monthFirst = true,
            });
        }
        return built;
    }();
    return list;
}

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    parsers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t setup = data[0];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const qsizetype bytes = static_cast<qsizetype>(size - 1);
    QString text;
    if (setup & 0x10) {
        // Raw UTF-16, lone surrogates and all.
        text.resize(bytes / 2);
        std::memcpy(text.data(), rest, static_cast<size_t>(bytes / 2) * 2);
    } else {
        text = QString::fromUtf8(rest, bytes);
    }

    NLParser& parser = parsers()[setup & 0x07];
    parser.now = instants()[(setup >> 5) & 0x07];
    parser.monthFirst = (setup & 0x08) != 0;

    const auto result = parser.parse(text);
    check(result.has_value() == !NLParser::tokenize(text).empty());
    if (!result)
        return 0;

    qsizetype previousEnd = 0;
    for (const auto& token : result->tokens) {
        check(token.range.location >= previousEnd && token.range.length > 0 && token.range.end() <= text.size());
        check(text.mid(token.range.location, token.range.length) == token.text);
        previousEnd = token.range.end();
    }

    // A plausible event: a timed one lasts a minute at least, any one a year at most, and it
    // lies between the earliest and latest days a line can name.
    const double day = 86400;
    const double length = result->end - result->start;
    check(length > 0 && (result->isAllDay || length >= 60) && length <= 367 * day);
    const core::Date earliest = std::min(parser.now, utc(1900, 1, 1)) - 2 * day;
    const core::Date latest = std::max(parser.now + 2800 * day, utc(2201, 1, 1)) + 2 * day;
    check(result->start >= earliest && result->start <= latest);
    if (!result->hasDuration && !result->hasTime && !result->isAllDay)
        check(length == parser.defaultDuration);
    check(!result->draft().title.isEmpty());

    check(parser.parse(text) == result);
    return 0;
}
