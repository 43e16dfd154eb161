#include "VdirFixture.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vdirtest;
using platform::PlatformEvent;
using platform::vdir::VdirEventStore;

namespace {

const QStringList kLunch{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:lunch"), QStringLiteral("SUMMARY:Lunch"),
                         QStringLiteral("DTSTART:20240603T110000Z"), QStringLiteral("DTEND:20240603T120000Z"),
                         QStringLiteral("END:VEVENT")};

// Runs `work` while a watchdog frees whatever it blocks on: after a grace period every FIFO is opened for writing
// and closed at once, which hands a blocked reader end-of-file. Returns whether that had to happen.
bool blockedOnFifos(const QStringList& fifos, const std::function<void()>& work) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool blocked = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(blocked ? 50 : 10000), [&] { return done; })) {
            blocked = true;
            for (const QString& fifo : fifos) {
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
        }
    });
    work();
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    return blocked;
}

}  // namespace

// A folder is the user's, but anything can sit in it: a FIFO where a metadata file belongs must not stop the store
// from opening (a read of a FIFO waits for a writer that never comes).
TEST(VdirHostileFolder, FifosInPlaceOfMetadataFilesDoNotBlockOpening) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/lunch.ics"), kLunch);
    vdir.write(QStringLiteral("acme/team/displayname"), "Team");
    QStringList fifos;
    for (const QString& name : {QStringLiteral("home/color"), QStringLiteral("home/displayname"),
                                QStringLiteral("home/owner"), QStringLiteral("home/components"),
                                QStringLiteral("acme/owner"), QStringLiteral("acme/displayname")}) {
        fifos << vdir.path(name);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifos.last()).constData(), 0644), 0);
    }
    platform::FakePrivacy privacy;
    std::vector<PlatformEvent> events;
    std::vector<platform::PlatformCalendar> calendars;
    EXPECT_FALSE(blockedOnFifos(fifos, [&] {
        VdirEventStore store(privacy, vdir.root);
        events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
        calendars = store.calendars(platform::EntityType::Event);
    }));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events.front().calendar->title, QStringLiteral("home")) << "a FIFO gives no title";
    ASSERT_EQ(calendars.size(), 2u);
    EXPECT_EQ(calendars.front().sourceTitle, QStringLiteral("acme"));
}
