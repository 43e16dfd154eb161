#include "TestEnvironment.h"
#include "core/Calendar.h"
#include "core/TimeZone.h"

#include <QDir>
#include <QDirIterator>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

using core::Date;
using core::TimeZone;

namespace {

Date utc(int y, int mo, int d, int h = 0, int mi = 0) {
    return Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC));
}

TEST(TimeZone, RulesComeFromTheSystemDatabaseNotIcusOlderCopy) {
    // Mexico abolished daylight saving in late 2022; ICU 72's own data still shifts it.
    const auto mexico = TimeZone::withIdentifier(QStringLiteral("America/Mexico_City"));
    ASSERT_TRUE(mexico);
    EXPECT_EQ(mexico->secondsFromGMT(utc(2025, 6, 15, 12)), -6 * 3600);
    EXPECT_FALSE(mexico->isDaylightSavingTime(utc(2025, 6, 15, 12)));
    // Still right for the years it did observe it.
    EXPECT_EQ(mexico->secondsFromGMT(utc(2019, 6, 15, 12)), -5 * 3600);

    // A zone created after ICU's copy was made.
    const auto juarez = TimeZone::withIdentifier(QStringLiteral("America/Ciudad_Juarez"));
    ASSERT_TRUE(juarez);
    EXPECT_EQ(juarez->identifier(), QStringLiteral("America/Ciudad_Juarez"));
    EXPECT_EQ(juarez->secondsFromGMT(utc(2025, 1, 15, 12)), -7 * 3600);
    EXPECT_EQ(juarez->secondsFromGMT(utc(2025, 7, 15, 12)), -6 * 3600);
}

TEST(TimeZone, OffsetsMatchTheSystemDatabaseAcrossTransitions) {
    for (const char* id : {"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "Asia/Kolkata",
                           "Europe/Dublin", "Pacific/Apia", "America/St_Johns"}) {
        const auto zone = TimeZone::withIdentifier(QString::fromLatin1(id));
        ASSERT_TRUE(zone) << id;
        const QTimeZone reference{QByteArray(id)};
        for (Date d = utc(1990, 1, 1); d < utc(2035, 1, 1); d += 86400 * 13 + 3599)
            ASSERT_EQ(zone->secondsFromGMT(d), reference.offsetFromUtc(d.toQDateTime())) << id << " " << core::toIsoString(d).toStdString();
    }
}

TEST(TimeZone, IdentifiersThatArePathsOpenNoFile) {
    // An id comes from calendar files; "..", "." and empty parts would let it read any
    // file (a FIFO would hang the lookup), even when the path ends at a real zone.
    for (const char* id : {"../../../usr/share/zoneinfo/Europe/Paris", "Europe/../Europe/Paris", "Europe/./Paris",
                           "Europe//Paris", "/Europe/Paris", "Europe/Paris/"})
        EXPECT_FALSE(TimeZone::withIdentifier(QString::fromLatin1(id))) << id;
    for (const char* id : {"Etc/GMT+5", "America/Port-au-Prince", "America/Argentina/Buenos_Aires", "UTC"})
        EXPECT_TRUE(TimeZone::withIdentifier(QString::fromLatin1(id))) << id;
}

TEST(TimeZone, UnknownIdentifiersAreRejectedAndCurrentFollowsTz) {
    EXPECT_FALSE(TimeZone::withIdentifier(QStringLiteral("Mars/Olympus_Mons")));
    EXPECT_FALSE(TimeZone::withIdentifier(QString()));
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Europe/Berlin"));
    {
        testsupport::ScopedTimeZone tz(":America/New_York");
        EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("America/New_York"));
    }
    {
        testsupport::ScopedTimeZone tz("/usr/share/zoneinfo/Asia/Tokyo");
        EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Asia/Tokyo"));
    }
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Europe/Berlin"));
}

TEST(TimeZone, FixedOffsetsAndEquality) {
    const TimeZone plusOneThirty = TimeZone::fixedOffset(5400);
    EXPECT_EQ(plusOneThirty.secondsFromGMT(utc(2025, 7, 1)), 5400);
    EXPECT_EQ(plusOneThirty.identifier(), QStringLiteral("GMT+0130"));
    EXPECT_EQ(TimeZone::fixedOffset(-18000).identifier(), QStringLiteral("GMT-0500"));
    EXPECT_EQ(*TimeZone::withIdentifier(QStringLiteral("Europe/Paris")),
              *TimeZone::withIdentifier(QStringLiteral("Europe/Paris")));
    EXPECT_FALSE(*TimeZone::withIdentifier(QStringLiteral("Europe/Paris")) ==
                 *TimeZone::withIdentifier(QStringLiteral("Europe/Berlin")));
}

TEST(TimeZone, FixedOffsetsOfWildNumbersStayWithinADay) {
    for (int seconds : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        const TimeZone zone = TimeZone::fixedOffset(seconds);
        EXPECT_EQ(std::abs(zone.secondsFromGMT(utc(2025, 7, 1))), 86400) << seconds;
        EXPECT_EQ(zone.identifier(), seconds > 0 ? QStringLiteral("GMT+2400") : QStringLiteral("GMT-2400"));
    }
}

}  // namespace
