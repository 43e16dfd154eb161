#include "VdirFixture.h"

#include "platform/eventstore/vdir/VdirFileSystem.h"
#include "platform/eventstore/vdir/VdirFileWrites.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isSymlink(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

platform::EventStoreError::Code saveFailure(VdirEventStore& store, PlatformEvent event) {
    event.title = QStringLiteral("Changed");
    try {
        store.saveEvent(event, platform::Span::ThisEvent, true);
    } catch (const platform::EventStoreError& error) {
        return error.code();
    }
    ADD_FAILURE() << "the save went through";
    return platform::EventStoreError::Code::Other;
}

}  // namespace

// An item that is a symbolic link may lead anywhere: an edit would rewrite a file outside the calendars.
TEST(VdirHostileFolder, ItemsThatAreSymbolicLinksAreReadButNeverWritten) {
    TempVdir vdir;
    const QString outside = QFileInfo(vdir.root).path() + QStringLiteral("/outside");
    QDir().mkpath(outside);
    const QByteArray secret = ics(kLunch);
    QFile file(outside + QStringLiteral("/secret.ics"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(secret) == secret.size());
    file.close();
    QDir().mkpath(vdir.path(QStringLiteral("home")));
    const QString link = vdir.path(QStringLiteral("home/x.ics"));
    ASSERT_EQ(::symlink("../../outside/secret.ics", QFile::encodeName(link).constData()), 0);

    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    const auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_FALSE(events.front().calendar->allowsContentModifications);
    EXPECT_EQ(saveFailure(store, events.front()), platform::EventStoreError::Code::ReadOnly);
    EXPECT_EQ(contentOf(outside + QStringLiteral("/secret.ics")), secret);
    EXPECT_TRUE(isSymlink(link));
}

// The folder may change between the scan and the save: a file read as a plain item, then swapped for a link to
// the same bytes elsewhere (a hard link keeps even its stamp), is still refused when the save comes.
TEST(VdirHostileFolder, AnItemSwappedForALinkAfterTheScanIsNotWrittenThrough) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const QString item = vdir.path(QStringLiteral("home/x.ics"));
    const QString outside = QFileInfo(vdir.root).path() + QStringLiteral("/outside.ics");
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    const auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);
    ASSERT_TRUE(events.front().calendar->allowsContentModifications);

    ASSERT_EQ(::link(QFile::encodeName(item).constData(), QFile::encodeName(outside).constData()), 0);
    ASSERT_EQ(::unlink(QFile::encodeName(item).constData()), 0);
    ASSERT_EQ(::symlink("../../outside.ics", QFile::encodeName(item).constData()), 0);
    EXPECT_EQ(saveFailure(store, events.front()), platform::EventStoreError::Code::ReadOnly);
    EXPECT_EQ(contentOf(outside), ics(kLunch));
    EXPECT_TRUE(isSymlink(item));
}

namespace {

// The most memory this process ever held, in KiB.
long peakMemoryKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

// A file replaced by a huge one after it was read is a conflict found from its stamp; reading it whole first cost
// as much memory as the file is large.
TEST(VdirHostileFolder, AnItemSwappedForAHugeFileIsRefusedWithoutReadingIt) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const QString item = vdir.path(QStringLiteral("home/x.ics"));
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    const auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);

    constexpr off_t kHuge = 256 * 1024 * 1024;  // sparse: it takes no room on disk
    const QString swap = vdir.path(QStringLiteral("home/.swap"));
    const int fd = ::open(QFile::encodeName(swap).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, kHuge), 0);
    ::close(fd);
    ASSERT_EQ(::rename(QFile::encodeName(swap).constData(), QFile::encodeName(item).constData()), 0);

    const long before = peakMemoryKiB();
    EXPECT_EQ(saveFailure(store, events.front()), platform::EventStoreError::Code::Conflict);
    EXPECT_LT(peakMemoryKiB() - before, 32 * 1024) << "KiB more at the peak";
    EXPECT_EQ(QFileInfo(item).size(), kHuge);
}

// Some programs rewrite a file in place and put its old modification time back. The file is then the same inode
// with the same mtime, but not the same size: still a change an edit must not overwrite.
TEST(VdirHostileFolder, AnInPlaceRewriteThatRestoresTheModificationTimeIsStillAConflict) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const QString item = vdir.path(QStringLiteral("home/x.ics"));
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    const auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);

    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(item).constData(), &before), 0);
    QStringList theirs = kLunch;
    theirs.replace(2, QStringLiteral("SUMMARY:Lunch with Sam"));
    QFile file(item);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
    file.write(ics(theirs));
    file.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(item).constData(), times, 0), 0);
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(item).constData(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);

    EXPECT_EQ(saveFailure(store, events.front()), platform::EventStoreError::Code::Conflict);
    EXPECT_EQ(contentOf(item), ics(theirs));
}

namespace {

QStringList hiddenEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

// A process killed while it writes leaves its temporary file behind. Temporaries of ours that no running process
// is writing any more are removed when the store opens; anything else in the folder stays.
TEST(VdirHostileFolder, TemporariesOfAWriterThatIsGoneAreRemovedAtTheNextStart) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const QString stale = QStringLiteral("home/.orbitday-%1-k3Xq9z.tmp").arg(gone);
    const QString live = QStringLiteral("home/.orbitday-%1-a1b2c3.tmp").arg(::getppid());
    vdir.write(stale, "BEGIN:VCALENDAR\r\n");
    vdir.write(live, "BEGIN:VCALENDAR\r\n");
    vdir.write(QStringLiteral("home/.other.tmp"), "theirs");
    vdir.write(QStringLiteral("home/.orbitday-notes.tmp"), "not a temporary of ours");

    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(hiddenEntries(vdir.path(QStringLiteral("home"))),
              QStringList({QStringLiteral(".orbitday-%1-a1b2c3.tmp").arg(::getppid()), QStringLiteral(".orbitday-notes.tmp"),
                           QStringLiteral(".other.tmp"), QStringLiteral("x.ics")}));
}

// Killed at each step of an edit in turn, the writer leaves the item as it was or as it was to be, and nothing in
// the folder but hidden temporaries, which the next start removes.
TEST(VdirHostileFolder, AnEditKilledAtAnyStepLeavesTheOldOrTheNewItemAndNothingVisible) {
    for (int killAt = 1;; ++killAt) {
        TempVdir vdir;
        vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int steps = 0;
            platform::vdir::setWriteStepHookForTesting([&] {
                if (++steps == killAt)
                    ::kill(::getpid(), SIGKILL);
            });
            platform::FakePrivacy privacy;
            VdirEventStore store(privacy, vdir.root);
            auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
            events.front().title = QStringLiteral("Changed");
            store.saveEvent(events.front(), platform::Span::ThisEvent, true);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status);
        QStringList visible = QDir(vdir.path(QStringLiteral("home"))).entryList(QDir::Files);
        EXPECT_EQ(visible, QStringList{QStringLiteral("x.ics")}) << "killed at step " << killAt;

        platform::FakePrivacy privacy;
        VdirEventStore store(privacy, vdir.root);
        const auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
        ASSERT_EQ(events.size(), 1u) << "killed at step " << killAt;
        EXPECT_TRUE(events.front().title == QStringLiteral("Lunch") || events.front().title == QStringLiteral("Changed"));
        EXPECT_EQ(hiddenEntries(vdir.path(QStringLiteral("home"))), QStringList{QStringLiteral("x.ics")})
            << "killed at step " << killAt;
        if (!killed) {
            EXPECT_EQ(events.front().title, QStringLiteral("Changed"));
            EXPECT_GT(killAt, 3);
            break;
        }
    }
}

// A name of 255 bytes is allowed; a temporary named after it would be longer than that.
TEST(VdirHostileFolder, ItemsWithTheLongestFileNamesCanBeEdited) {
    TempVdir vdir;
    const QString name = QString(251, u'n') + QStringLiteral(".ics");
    ASSERT_EQ(QFile::encodeName(name).size(), 255);
    vdir.writeIcs(QStringLiteral("home/") + name, kLunch);
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);
    events.front().title = QStringLiteral("Longer lunch");
    EXPECT_NO_THROW(store.saveEvent(events.front(), platform::Span::ThisEvent, true));
    EXPECT_TRUE(contentOf(vdir.path(QStringLiteral("home/") + name)).contains("SUMMARY:Longer lunch"));
    EXPECT_EQ(hiddenEntries(vdir.path(QStringLiteral("home"))), QStringList{name});
}

// A file made read-only (chmod 444) in a folder we may write: its owner asked that it stay as it is. Shown as
// editable, every edit failed with a write error; made read-only after the folder was read, the save still refuses.
TEST(VdirHostileFolder, FilesWithoutWritePermissionAreReadOnly) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    QStringList other = kLunch;
    other.replace(1, QStringLiteral("UID:dinner"));
    other.replace(2, QStringLiteral("SUMMARY:Dinner"));
    vdir.writeIcs(QStringLiteral("home/y.ics"), other);
    const QString locked = vdir.path(QStringLiteral("home/x.ics"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 2u);
    const PlatformEvent& lunch = events[0].title == QStringLiteral("Lunch") ? events[0] : events[1];
    const PlatformEvent& dinner = events[0].title == QStringLiteral("Lunch") ? events[1] : events[0];
    EXPECT_FALSE(lunch.calendar->allowsContentModifications);
    EXPECT_TRUE(dinner.calendar->allowsContentModifications);
    EXPECT_EQ(saveFailure(store, lunch), platform::EventStoreError::Code::ReadOnly);

    ASSERT_EQ(::chmod(QFile::encodeName(vdir.path(QStringLiteral("home/y.ics"))).constData(), 0444), 0);
    EXPECT_EQ(saveFailure(store, dinner), platform::EventStoreError::Code::ReadOnly);
    EXPECT_EQ(contentOf(vdir.path(QStringLiteral("home/y.ics"))), ics(other));
}

// Journals are written by hand here, as another program could put them into the user's own state folder.
class HandWrittenJournals {
public:
    explicit HandWrittenJournals(const TempVdir& vdir)
        : root(QFile::encodeName(QFileInfo(vdir.root).absoluteFilePath())),
          prefix(QString::fromLatin1(QCryptographicHash::hash(root, QCryptographicHash::Sha256).toHex().left(16))) {
        QDir().mkpath(folder);
    }

    // One entry that creates `relative` with `content`.
    QByteArray creating(const QByteArray& relative, const QByteArray& content) const {
        return "ORBITDAY-JOURNAL 1\n" + QByteArray::number(root.size()) + "\n" + root + "\n1\n" +
               QByteArray::number(relative.size()) + " -1 " + QByteArray::number(content.size()) + "\n" + relative +
               content + "\nEND\n";
    }
    void put(const QList<QByteArray>& journals) const {
        for (int i = 0; i < journals.size(); ++i) {
            QFile journal(folder + QStringLiteral("/%1-%2.journal").arg(prefix).arg(i));
            ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
            journal.write(journals[i]);
        }
    }
    QStringList left() const { return QDir(folder).entryList({prefix + QStringLiteral("*")}, QDir::Files); }
    QStringList setAside(int count) const {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << prefix + QStringLiteral("-%1.journal.damaged").arg(i);
        return names;
    }

    const QString folder = qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/orbitday/journal");
    const QByteArray root;
    const QString prefix;
};

const QByteArray kEmptyCalendar = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";

// The journal of a change cut short lies in the user's own state folder, where anything may have been put or
// damaged: one that leads out of the calendars, or does not read whole, is set aside, and nothing is written.
TEST(VdirHostileFolder, AJournalThatLeadsOutOfTheCalendarsOrIsDamagedIsSetAside) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const HandWrittenJournals journals(vdir);
    const QByteArray leading = journals.creating("../outside.ics", kEmptyCalendar);
    journals.put({leading, leading.left(leading.size() - 9), "ORBITDAY-JOURNAL 1\n"});
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_FALSE(QFile::exists(QFileInfo(vdir.root).path() + QStringLiteral("/outside.ics")));
    EXPECT_EQ(journals.left(), journals.setAside(3));
    EXPECT_EQ(store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt).size(), 1u);
}

// A path may stay below the root in its text and still lead out of it through a link inside a calendar's folder,
// or name a file that is no item: the store never writes either, and so replaying a journal must not.
TEST(VdirHostileFolder, AJournalThroughALinkedFolderOrToAFileThatIsNoItemIsSetAside) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const QString elsewhere = QFileInfo(vdir.root).path() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QFile::link(elsewhere, vdir.path(QStringLiteral("home/out"))));
    ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/target.ics"), vdir.path(QStringLiteral("home/link.ics"))));
    const HandWrittenJournals journals(vdir);
    journals.put({journals.creating("home/out/profile.sh", "echo hi\n"),
                  journals.creating("home/out/y.ics", kEmptyCalendar), journals.creating("home/notes.txt", "x"),
                  journals.creating("home/link.ics", kEmptyCalendar)});
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_FALSE(QFile::exists(vdir.path(QStringLiteral("home/notes.txt"))));
    EXPECT_EQ(journals.left(), journals.setAside(4));
}

// Calendars kept elsewhere are linked into the root as folders; the scan reads them as calendars of the root, the
// store writes into them, and a change into one cut short is finished.
TEST(VdirHostileFolder, AJournalIntoACalendarLinkedIntoTheRootIsFinished) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/x.ics"), kLunch);
    const QString synced = QFileInfo(vdir.root).path() + QStringLiteral("/synced");
    QDir().mkpath(synced);
    QFile(synced + QStringLiteral("/displayname")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(synced, vdir.path(QStringLiteral("work"))));
    const HandWrittenJournals journals(vdir);
    const QByteArray item = ics(kLunch);
    journals.put({journals.creating("work/moved.ics", item)});
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(journals.left(), QStringList());
    EXPECT_EQ(contentOf(synced + QStringLiteral("/moved.ics")), item);
}

// File and folder names are bytes; those written by other systems need not be UTF-8 ("caf\xe9" in Latin-1). They
// must be opened by their own bytes: decoded and encoded again, the name led to no file.
TEST(VdirHostileFolder, NamesThatAreNotUtf8AreReadAndWrittenByTheirOwnBytes) {
    TempVdir vdir;
    const QByteArray root = QFile::encodeName(vdir.root);
    const QByteArray folder = root + "/caf\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray file = folder + "/r\xe9union\xff.ics";
    const QByteArray text = ics(kLunch);
    {
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, text.constData(), static_cast<size_t>(text.size())), text.size());
        ::close(fd);
    }
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    auto events = store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    ASSERT_EQ(events.size(), 1u);
    PlatformEvent lunch = events.front();
    const QString calendarId = lunch.calendar->calendarIdentifier;
    EXPECT_EQ(calendarId.toUtf8(), "caf%E9") << "identifiers carry the bytes, escaped";
    EXPECT_EQ(store.calendar(calendarId)->title, QStringLiteral("caf\uFFFD"));
    EXPECT_TRUE(lunch.calendar->allowsContentModifications);

    lunch.title = QStringLiteral("Changed");
    EXPECT_NO_THROW(store.saveEvent(lunch, platform::Span::ThisEvent, true));
    QFile written;
    const int fd = ::open(file.constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(written.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_TRUE(written.readAll().contains("SUMMARY:Changed"));

    PlatformEvent created;
    created.calendar = store.calendar(calendarId);
    created.title = QStringLiteral("New");
    created.startDate = utc(2024, 6, 20, 9);
    created.endDate = utc(2024, 6, 20, 10);
    const PlatformEvent saved = store.saveEvent(created, platform::Span::ThisEvent, true);
    EXPECT_EQ(saved.calendar->calendarIdentifier, calendarId);
    EXPECT_EQ(store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt).size(), 2u);
}

TEST(VdirHostileFolder, EveryNameComesBackToItsOwnBytes) {
    for (const QByteArray& name :
         {QByteArray("plain"), QByteArray("caf\xc3\xa9 \xf0\x9f\x98\x80"), QByteArray("\xed\xa0\x80"),
          QByteArray("\xc0\xaf"), QByteArray("\xf4\x90\x80\x80"), QByteArray("end\xe2\x82"),
          QByteArray("\xff\xfe\x80"), QByteArray("mixed\xe9\xc3\xa9")}) {
        const QString decoded = platform::vdir::decodedPath(name);
        EXPECT_EQ(platform::vdir::nativePath(decoded), name) << name.toHex().toStdString();
        if (QString::fromUtf8(name).toUtf8() == name) {
            EXPECT_EQ(decoded, QString::fromUtf8(name)) << "valid UTF-8 reads as such";
        }
    }
}
