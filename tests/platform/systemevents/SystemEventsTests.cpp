#include "platform/systemevents/LinuxSystemEvents.h"
#include "platform/systemevents/WallClockWatch.h"

#include "TestEnvironment.h"

#include "core/Calendar.h"
#include "core/ZoneFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::WallClockWatch;

namespace {

core::Date berlin(int y, int mo, int d, int h, int mi) {
    return *core::Calendar::current().date(core::DateComponents{y, mo, d, h, mi, 0, {}, {}, {}});
}

WallClockWatch::Observation at(core::Date now, double slept = 0, const char* zone = "Europe/Berlin") {
    return {now, QString::fromUtf8(zone), slept};
}

}  // namespace

TEST(WallClockWatch, DayChangesOnceAtMidnightAndNotBetween) {
    WallClockWatch watch(at(berlin(2024, 6, 10, 23, 58)));
    EXPECT_FALSE(watch.look(at(berlin(2024, 6, 10, 23, 59))).dayChanged);
    EXPECT_TRUE(watch.look(at(berlin(2024, 6, 11, 0, 0))).dayChanged);
    EXPECT_FALSE(watch.look(at(berlin(2024, 6, 11, 0, 1))).dayChanged);
}

TEST(WallClockWatch, SleepingThroughMidnightIsAResumeAndANewDay) {
    WallClockWatch watch(at(berlin(2024, 6, 10, 22, 0), 100));
    const auto changes = watch.look(at(berlin(2024, 6, 11, 7, 30), 100 + 9.5 * 3600));
    EXPECT_TRUE(changes.resumed);
    EXPECT_TRUE(changes.dayChanged);
    const auto next = watch.look(at(berlin(2024, 6, 11, 7, 31), 100 + 9.5 * 3600));
    EXPECT_FALSE(next.resumed);
    EXPECT_FALSE(next.dayChanged);
}

TEST(WallClockWatch, ANewTimeZoneIsAlsoADayChange) {
    WallClockWatch watch(at(berlin(2024, 6, 10, 12, 0)));
    const auto changes = watch.look(at(berlin(2024, 6, 10, 12, 1), 0, "Asia/Tokyo"));
    EXPECT_TRUE(changes.timeZoneChanged);
    EXPECT_TRUE(changes.dayChanged);
    EXPECT_FALSE(watch.look(at(berlin(2024, 6, 10, 12, 2), 0, "Asia/Tokyo")).timeZoneChanged);
}

TEST(LinuxSystemEvents, ReadsTheSystemState) {
    testsupport::ScopedTimeZone zone("Asia/Tokyo");
    EXPECT_TRUE(platform::LinuxSystemEvents::zoneSignature().startsWith(QStringLiteral("Asia/Tokyo")));
    platform::LinuxSystemEvents events;  // works without a system bus
}

TEST(LinuxSystemEvents, ACopiedZoneFileRewrittenInPlaceIsANewZone) {
    const QTemporaryDir etc;
    const QString localtime = etc.filePath(QStringLiteral("localtime"));
    testsupport::ScopedSystemZoneFile system(localtime);
    testsupport::copyZoneFileInPlace(localtime, "Europe/Berlin");
    const QString before = platform::LinuxSystemEvents::zoneSignature();
    testsupport::copyZoneFileInPlace(localtime, "America/New_York");
    EXPECT_NE(platform::LinuxSystemEvents::zoneSignature(), before);
}
