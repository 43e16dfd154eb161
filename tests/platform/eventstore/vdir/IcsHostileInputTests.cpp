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

    const ParsedSeries usual(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"),
                                  QStringLiteral("DTSTART:20240101T100000Z"), QStringLiteral("BEGIN:VALARM"),
                                  QStringLiteral("TRIGGER:-PT5M"), QStringLiteral("END:VALARM"),
                                  QStringLiteral("END:VEVENT")}));
    EXPECT_TRUE(usual.file.problem.isEmpty());
    EXPECT_EQ(usual.file.components.size(), 1u);
}

}  // namespace
