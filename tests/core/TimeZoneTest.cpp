#include "TestEnvironment.h"
#include "core/Calendar.h"
#include "core/DateFormat.h"
#include "core/PosixTimeZoneRule.h"
#include "core/TimeZone.h"
#include "core/ZoneFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

// The explicit transitions of the zone files end in 2037; the zones go on by the
// rule each file ends with. Expected values from the tz database through an
// independent reader (Python's zoneinfo).
TEST(TimeZone, DaylightSavingGoesOnAfter2037) {
    struct Transition {
        const char* zone;
        qint64 at;
        int before;
        int after;
    };
    const Transition transitions[] = {
        {"America/New_York", 2152162800, -18000, -14400},   // 2038-03-14T07:00:00+00:00
        {"America/New_York", 2172722400, -14400, -18000},   // 2038-11-07T06:00:00+00:00
        {"America/New_York", 4076636400, -18000, -14400},   // 2099-03-08T07:00:00+00:00
        {"America/New_York", 4097196000, -14400, -18000},   // 2099-11-01T06:00:00+00:00
        {"Europe/Berlin", 2153350800, 3600, 7200},          // 2038-03-28T01:00:00+00:00
        {"Europe/Berlin", 2172099600, 7200, 3600},          // 2038-10-31T01:00:00+00:00
        {"Europe/Berlin", 4078429200, 3600, 7200},          // 2099-03-29T01:00:00+00:00
        {"Europe/Berlin", 4096573200, 7200, 3600},          // 2099-10-25T01:00:00+00:00
        {"Europe/Dublin", 2153350800, 0, 3600},             // 2038-03-28T01:00:00+00:00
        {"Europe/Dublin", 2172099600, 3600, 0},             // 2038-10-31T01:00:00+00:00
        {"Europe/Dublin", 4078429200, 0, 3600},             // 2099-03-29T01:00:00+00:00
        {"Europe/Dublin", 4096573200, 3600, 0},             // 2099-10-25T01:00:00+00:00
        {"Australia/Lord_Howe", 2153919600, 39600, 37800},  // 2038-04-03T15:00:00+00:00
        {"Australia/Lord_Howe", 2169646200, 37800, 39600},  // 2038-10-02T15:30:00+00:00
        {"Australia/Lord_Howe", 4078998000, 39600, 37800},  // 2099-04-04T15:00:00+00:00
        {"Australia/Lord_Howe", 4094724600, 37800, 39600},  // 2099-10-03T15:30:00+00:00
        {"America/Santiago", 2153962800, -10800, -14400},   // 2038-04-04T03:00:00+00:00
        {"America/Santiago", 2167272000, -14400, -10800},   // 2038-09-05T04:00:00+00:00
        {"America/Santiago", 4079041200, -10800, -14400},   // 2099-04-05T03:00:00+00:00
        {"America/Santiago", 4092350400, -14400, -10800},   // 2099-09-06T04:00:00+00:00
        {"America/Nuuk", 2153350800, -7200, -3600},         // 2038-03-28T01:00:00+00:00
        {"America/Nuuk", 2172099600, -3600, -7200},         // 2038-10-31T01:00:00+00:00
        {"America/Nuuk", 4078429200, -7200, -3600},         // 2099-03-29T01:00:00+00:00
        {"America/Nuuk", 4096573200, -3600, -7200},         // 2099-10-25T01:00:00+00:00
        {"Pacific/Chatham", 2153916000, 49500, 45900},      // 2038-04-03T14:00:00+00:00
        {"Pacific/Chatham", 2169036000, 45900, 49500},      // 2038-09-25T14:00:00+00:00
        {"Pacific/Chatham", 4078994400, 49500, 45900},      // 2099-04-04T14:00:00+00:00
        {"Pacific/Chatham", 4094114400, 45900, 49500},      // 2099-09-26T14:00:00+00:00
        {"Asia/Gaza", 2153260800, 7200, 10800},             // 2038-03-27T00:00:00+00:00
        {"Asia/Gaza", 2168982000, 10800, 7200},             // 2038-09-24T23:00:00+00:00
        {"Asia/Gaza", 4078339200, 7200, 10800},             // 2099-03-28T00:00:00+00:00
        {"Asia/Gaza", 4096479600, 10800, 7200},             // 2099-10-23T23:00:00+00:00
        {"Antarctica/Troll", 2153350800, 0, 7200},          // 2038-03-28T01:00:00+00:00
        {"Antarctica/Troll", 2172099600, 7200, 0},          // 2038-10-31T01:00:00+00:00
        {"Antarctica/Troll", 4078429200, 0, 7200},          // 2099-03-29T01:00:00+00:00
        {"Antarctica/Troll", 4096573200, 7200, 0},          // 2099-10-25T01:00:00+00:00
    };
    for (const Transition& t : transitions) {
        const auto zone = TimeZone::withIdentifier(QString::fromLatin1(t.zone));
        ASSERT_TRUE(zone) << t.zone;
        EXPECT_EQ(zone->secondsFromGMT(Date(static_cast<double>(t.at - 1))), t.before) << t.zone << " " << t.at;
        EXPECT_EQ(zone->secondsFromGMT(Date(static_cast<double>(t.at))), t.after) << t.zone << " " << t.at;
    }
    const auto newYork = TimeZone::withIdentifier(QStringLiteral("America/New_York"));
    EXPECT_EQ(newYork->secondsFromGMT(utc(2038, 7, 1, 12)), -4 * 3600);
    EXPECT_TRUE(newYork->isDaylightSavingTime(utc(2038, 7, 1, 12)));
    EXPECT_EQ(newYork->secondsFromGMT(utc(2100, 7, 1, 12)), -4 * 3600);
}

TEST(PosixTimeZoneRule, FormsZoneFilesEndWith) {
    using core::PosixTimeZoneRule;
    const auto chatham = PosixTimeZoneRule::parse("<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45");
    ASSERT_TRUE(chatham && chatham->daylight);
    EXPECT_EQ(chatham->standardName, QStringLiteral("+1245"));
    EXPECT_EQ(chatham->secondsFromGMT, 12 * 3600 + 45 * 60);
    EXPECT_EQ(chatham->daylight->secondsFromGMT, 13 * 3600 + 45 * 60) << "an hour ahead when not given";
    EXPECT_EQ(chatham->daylight->start.week, 5);
    EXPECT_EQ(chatham->daylight->end.secondsIntoDay, 3 * 3600 + 45 * 60);

    const auto nuuk = PosixTimeZoneRule::parse("<-02>2<-01>,M3.5.0/-1,M10.5.0/0");
    ASSERT_TRUE(nuuk && nuuk->daylight);
    EXPECT_EQ(nuuk->secondsFromGMT, -2 * 3600);
    EXPECT_EQ(nuuk->daylight->start.secondsIntoDay, -3600);
    const auto julian = PosixTimeZoneRule::parse("XST5XDT4,J60/0,J300");
    ASSERT_TRUE(julian && julian->daylight);
    EXPECT_EQ(julian->daylight->start.dayOfYear, 60);
    EXPECT_EQ(julian->daylight->end.secondsIntoDay, 2 * 3600);
    EXPECT_FALSE(PosixTimeZoneRule::parse("<+0330>-3:30")->daylight);

    for (const char* broken :
         {"", "C", "CET", "CET-1CEST", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0", "CET-1CEST,M3.6.0,M10.5.0",
          "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,J0,J300", "CET-1CEST,59,300", "<>-1", "<+01-1", "CET-99",
          "CET-1CEST,M3.5.0/200,M10.5.0", "CET-1CEST,M3.5.0,M10.5.0 trailing", "CET-1:99"})
        EXPECT_FALSE(PosixTimeZoneRule::parse(broken)) << broken;
    EXPECT_FALSE(PosixTimeZoneRule::fromZoneFile("TZif1...\nCET-1\n")) << "version 1 files have no rule";
    EXPECT_FALSE(PosixTimeZoneRule::fromZoneFile("TZif2...\nCET-1")) << "cut short";
}

// Dublin's zone file calls summer time standard and winter a negative saving;
// Lord Howe saves half an hour. Both must be named from the offset they have.
TEST(TimeZone, NamesFollowTheOffsetOfTheMoment) {
    const auto dublin = TimeZone::withIdentifier(QStringLiteral("Europe/Dublin"));
    const auto lordHowe = TimeZone::withIdentifier(QStringLiteral("Australia/Lord_Howe"));
    ASSERT_TRUE(dublin && lordHowe);
    const Date winter = utc(2026, 1, 1, 12);
    const Date summer = utc(2026, 7, 1, 12);
    EXPECT_EQ(dublin->abbreviation(winter), QStringLiteral("GMT"));
    EXPECT_EQ(dublin->abbreviation(summer), QStringLiteral("GMT+1"));
    EXPECT_FALSE(dublin->isDaylightSavingTime(winter));
    EXPECT_TRUE(dublin->isDaylightSavingTime(summer));
    EXPECT_EQ(lordHowe->abbreviation(winter), QStringLiteral("GMT+11"));
    EXPECT_EQ(lordHowe->abbreviation(summer), QStringLiteral("GMT+10:30"));
    EXPECT_EQ(TimeZone::withIdentifier(QStringLiteral("America/New_York"))->abbreviation(summer),
              QStringLiteral("EDT"));

    const auto longName = [](const TimeZone& zone, Date date) {
        return core::DateFormat::fromPattern(QStringLiteral("zzzz"), core::Locale(QStringLiteral("en_US")), zone)
            ->format(date);
    };
    EXPECT_EQ(longName(*dublin, winter), QStringLiteral("Greenwich Mean Time"));
    EXPECT_EQ(longName(*dublin, summer), QStringLiteral("Irish Standard Time"));
    EXPECT_EQ(longName(*dublin, utc(2050, 1, 1, 12)), QStringLiteral("Greenwich Mean Time"));
    EXPECT_EQ(longName(*lordHowe, winter), QStringLiteral("Lord Howe Daylight Time"));
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

// Some systems keep a copy of the zone's file as /etc/localtime instead of a link,
// and change zones by copying another file over it.
TEST(TimeZone, TheSystemZoneIsReadAfreshFromACopiedZoneFile) {
    const QTemporaryDir etc;
    const QString localtime = etc.filePath(QStringLiteral("localtime"));
    testsupport::ScopedSystemZoneFile system(localtime);
    testsupport::copyZoneFileInPlace(localtime, "America/New_York");
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("America/New_York"));
    const auto inodeOf = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st.st_ino;
    };
    const auto inode = inodeOf(localtime);

    testsupport::copyZoneFileInPlace(localtime, "Asia/Kolkata");
    ASSERT_EQ(inodeOf(localtime), inode);
    TimeZone::resetCurrent();
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Asia/Kolkata"));

    // The name kept beside the copy is taken when it still describes the copy.
    const auto nameBeside = [&](const QByteArray& id) {
        QFile named(etc.filePath(QStringLiteral("timezone")));
        ASSERT_TRUE(named.open(QIODevice::WriteOnly | QIODevice::Truncate));
        named.write(id + "\n");
    };
    nameBeside("Asia/Calcutta");
    TimeZone::resetCurrent();
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Asia/Calcutta"));
    nameBeside("Europe/Paris");
    TimeZone::resetCurrent();
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Asia/Kolkata"));

    QFile::remove(localtime);
    ASSERT_TRUE(QFile::link(core::zonefiles::folder() + QStringLiteral("/Europe/Lisbon"), localtime));
    TimeZone::resetCurrent();
    EXPECT_EQ(TimeZone::current().identifier(), QStringLiteral("Europe/Lisbon"));
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
