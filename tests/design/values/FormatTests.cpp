#include "design/values/FontWeight.h"
#include "design/values/ODFormat.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using design::ODFormat;

TEST(DurationLabel, RoundsToWholeMinutesWithHalvesAwayFromZero) {
    EXPECT_EQ(ODFormat::duration(0), u"0m");
    EXPECT_EQ(ODFormat::duration(29), u"0m");
    EXPECT_EQ(ODFormat::duration(30), u"1m");
    EXPECT_EQ(ODFormat::duration(-29), u"0m");  // never "-0m"
    EXPECT_EQ(ODFormat::duration(-30), u"-1m");
    EXPECT_EQ(ODFormat::duration(-300), u"-5m");
    EXPECT_EQ(ODFormat::duration(2700), u"45m");
}

TEST(DurationLabel, SwitchesToHoursAndDaysAtTheirBoundaries) {
    EXPECT_EQ(ODFormat::duration(3569), u"59m");
    EXPECT_EQ(ODFormat::duration(3570), u"1h");  // 59.5 minutes round up to the hour
    EXPECT_EQ(ODFormat::duration(3599), u"1h");
    EXPECT_EQ(ODFormat::duration(5400), u"1h 30m");
    EXPECT_EQ(ODFormat::duration(7200), u"2h");
    EXPECT_EQ(ODFormat::duration(86400), u"1d");
    EXPECT_EQ(ODFormat::duration(86429), u"1d");
    EXPECT_EQ(ODFormat::duration(86430), u"24h 1m");
    EXPECT_EQ(ODFormat::duration(90000), u"25h");
    EXPECT_EQ(ODFormat::duration(91800), u"25h 30m");
    EXPECT_EQ(ODFormat::duration(172800), u"2d");
}

TEST(DurationLabel, ReadsZeroForWhatCannotBeCountedInMinutes) {
    EXPECT_EQ(ODFormat::duration(std::numeric_limits<double>::quiet_NaN()), u"0m");
    EXPECT_EQ(ODFormat::duration(std::numeric_limits<double>::infinity()), u"0m");
    EXPECT_EQ(ODFormat::duration(-std::numeric_limits<double>::infinity()), u"0m");
    EXPECT_EQ(ODFormat::duration(1e300), u"0m");
    EXPECT_EQ(ODFormat::duration(-1e300), u"0m");
    EXPECT_EQ(ODFormat::duration(std::numeric_limits<double>::max()), u"0m");
    // The largest counts that still print exactly.
    EXPECT_EQ(ODFormat::duration(60.0 * 1440 * 6254999482459), u"6254999482459d");
    EXPECT_EQ(ODFormat::duration(-60.0 * 9007199254740992.0), u"-9007199254740992m");
}

TEST(DateLabel, OneInstantInTwoZonesGivesTwoHours) {
    const core::Date instant(1700000000);  // 2023-11-14 22:13 UTC
    const auto tokyo = core::TimeZone::withIdentifier(QStringLiteral("Asia/Tokyo"));
    const auto berlin = core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin"));
    ASSERT_TRUE(tokyo && berlin);
    testsupport::ScopedLocale locale("en_GB");
    EXPECT_EQ(ODFormat::format(instant, QStringLiteral("jmm"), *tokyo), u"07:13");
    EXPECT_EQ(ODFormat::format(instant, QStringLiteral("jmm"), *berlin), u"23:13");
    EXPECT_EQ(ODFormat::format(instant, QStringLiteral("EEEdMMM"), *tokyo), u"Wed, 15 Nov");
    EXPECT_EQ(ODFormat::format(instant, QStringLiteral("EEEdMMM"), *berlin), u"Tue, 14 Nov");
}

TEST(DateLabel, HourTemplateFollowsTheLocalesClock) {
    const core::Date instant(1700000000);
    const auto berlin = core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin"));
    ASSERT_TRUE(berlin);
    {
        testsupport::ScopedLocale locale("en_US");
        EXPECT_EQ(ODFormat::format(instant, QStringLiteral("jmm"), *berlin), u"11:13\u202FPM");
    }
    {
        testsupport::ScopedLocale locale("en_GB");
        EXPECT_EQ(ODFormat::format(instant, QStringLiteral("jmm"), *berlin), u"23:13");
    }
}

TEST(TextFaces, EveryWeightFallsOnOneOfTheFourFaces) {
    using design::FontWeight;
    EXPECT_EQ(design::avenirName(FontWeight::heavy), u"AvenirNext-Bold");
    EXPECT_EQ(design::avenirName(FontWeight::black), u"AvenirNext-Bold");
    EXPECT_EQ(design::avenirName(FontWeight::semibold), u"AvenirNext-DemiBold");
    EXPECT_EQ(design::avenirName(FontWeight::medium), u"AvenirNext-Medium");
    EXPECT_EQ(design::avenirName(FontWeight::light), u"AvenirNext-Regular");
    EXPECT_EQ(design::avenirName(FontWeight::ultraLight), u"AvenirNext-Regular");
}

}  // namespace
