#include "core/Clock.h"
#include "core/Color.h"
#include "core/Date.h"

#include <QHash>

#include <gtest/gtest.h>

using core::Color;
using core::Date;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(Date, ArithmeticComparisonAndHashing) {
    const Date a(1000.5);
    EXPECT_EQ(a + 10, Date(1010.5));
    EXPECT_EQ((a + 10) - a, 10.0);
    EXPECT_LT(a, a + 0.001);
    EXPECT_EQ(Date::fromUDate(a.toUDate()), a);
    EXPECT_EQ(Date::fromQDateTime(a.toQDateTime()), a);
    EXPECT_EQ(qHash(Date(0.0)), qHash(Date(-0.0)));
    QHash<Date, int> byDate{{a, 1}};
    EXPECT_EQ(byDate.value(Date(1000.5)), 1);
    EXPECT_FALSE(Date(std::numeric_limits<double>::infinity()).isFinite());
    // Beyond the calendar range there is no QDateTime (the conversion to
    // milliseconds would overflow).
    for (double s : {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300}) {
        EXPECT_FALSE(Date(s).isInCalendarRange());
        EXPECT_FALSE(Date(s).toQDateTime().isValid());
        EXPECT_EQ(core::toIsoString(Date(s)), QString());
    }
}

TEST(Clock, TestClockIsInstalledForTheScopeOnly) {
    const Date real = Date::now();
    {
        core::ScopedTestClock clock(Date(86400));
        EXPECT_EQ(Date::now(), Date(86400));
        clock.advance(90);
        EXPECT_EQ(Date::now(), Date(86490));
        clock.set(Date(5));
        EXPECT_EQ(Date::now(), Date(5));
    }
    EXPECT_GE(Date::now(), real);
}

TEST(Color, HexParsing) {
    EXPECT_EQ(Color::fromHex(u"#F6F7F81A"_s), Color::rgb(0xF6, 0xF7, 0xF8, 26));
    EXPECT_EQ(Color::fromHex(u"F6F7F81A"_s)->alpha, 26);
    EXPECT_EQ(Color::fromHex(u"#0a84ff"_s), Color::rgb(10, 132, 255));
    EXPECT_EQ(Color::fromHex(u"0A84FF"_s)->alpha, 255);
    for (const QString& bad : {u""_s, u"#"_s, u"#12345"_s, u"#1234567"_s, u"#GG0000"_s, u"##123456"_s, u"#123456789"_s})
        EXPECT_FALSE(Color::fromHex(bad)) << bad.toStdString();
    EXPECT_EQ(Color::rgb(10, 132, 255).toHex(), u"#0A84FF"_s);
    EXPECT_EQ(Color::rgb(246, 247, 248, 26).toHex(), u"#F6F7F81A"_s);
    EXPECT_NE(qHash(Color::rgb(1, 2, 3)), qHash(Color::rgb(1, 2, 3, 4)));
    EXPECT_EQ(Color::rgb(0, 0, 0).withAlpha(0.5).alpha, 128);
}

}  // namespace
