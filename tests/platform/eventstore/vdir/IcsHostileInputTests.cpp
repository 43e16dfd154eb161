#include "IcsTestSupport.h"

#include <gtest/gtest.h>

using namespace vdirtest;

namespace {

// Components nested a few hundred thousand levels deep fit well under the file size limit.
TEST(IcsHostileInput, DeeplyNestedComponentsAreRefusedWithoutCrashing) {
    constexpr int kDepth = 400000;
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:deep\r\nDTSTART:20240101T100000Z\r\n";
    text.reserve(text.size() + kDepth * 26);
    for (int i = 0; i < kDepth; ++i)
        text += "BEGIN:VALARM\r\n";
    for (int i = 0; i < kDepth; ++i)
        text += "END:VALARM\r\n";
    text += "END:VEVENT\r\nEND:VCALENDAR\r\n";
    const ParsedSeries deep(text);
    EXPECT_FALSE(deep.file.problem.isEmpty());

    const ParsedSeries usual(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"), QStringLiteral("DTSTART:20240101T100000Z"),
             QStringLiteral("BEGIN:VALARM"), QStringLiteral("TRIGGER:-PT5M"), QStringLiteral("END:VALARM"),
             QStringLiteral("END:VEVENT")}));
    EXPECT_TRUE(usual.file.problem.isEmpty());
    EXPECT_EQ(usual.file.components.size(), 1u);
}

}  // namespace

namespace {

// libical walks a sub-daily rule step by step until a step passes every filter; when none ever does it searched
// for many seconds (hourly) to forever (minutely, secondly), freezing every reload.
TEST(IcsHostileInput, SubDailyRulesThatCanNeverMatchDoNotHang) {
    for (const char* rule : {"FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30;COUNT=3", "FREQ=MINUTELY;BYYEARDAY=366;BYMONTH=1",
                             "FREQ=SECONDLY;BYMONTH=4;BYMONTHDAY=31"}) {
        const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:never"),
                                  QStringLiteral("DTSTART:20240101T100000Z"),
                                  QStringLiteral("RRULE:") + QLatin1String(rule), QStringLiteral("END:VEVENT")}));
        EXPECT_EQ(s.starts(utc(2023, 12, 1), utc(2024, 3, 1)), std::vector<core::Date>{utc(2024, 1, 1, 10)}) << rule;
    }
    const ParsedSeries hourly(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:h"), QStringLiteral("DTSTART:20240101T090000Z"),
             QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=8;COUNT=3"), QStringLiteral("END:VEVENT")}));
    EXPECT_EQ(hourly.starts(utc(2023, 12, 1), utc(2024, 3, 1)).size(), 3u);
}

}  // namespace
