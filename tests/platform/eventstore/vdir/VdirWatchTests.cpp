#include "VdirFixture.h"

#include <QChildEvent>
#include <QFutureWatcher>
#include <QPointer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>

using namespace vdirtest;
using platform::vdir::VdirEventStore;

namespace {

QStringList event(const QString& uid, const QString& title) {
    return {QStringLiteral("BEGIN:VEVENT"),           QStringLiteral("UID:") + uid,
            QStringLiteral("SUMMARY:") + title,       QStringLiteral("DTSTART:20240610T100000Z"),
            QStringLiteral("DTEND:20240610T110000Z"), QStringLiteral("END:VEVENT")};
}

class VdirWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        vdir.writeIcs(QStringLiteral("home/one.ics"), event(QStringLiteral("one"), QStringLiteral("One")));
        store = std::make_unique<VdirEventStore>(privacy, vdir.root);
        QObject::connect(store.get(), &VdirEventStore::changed, [this] { ++changes; });
    }

    QStringList titles() const {
        QStringList result;
        for (const auto& e : store->events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt))
            result << e.title.value_or(QString());
        result.sort();
        return result;
    }

    // Waits for the first change signal, then a while longer to catch any second one.
    int changesAfter(const std::function<void()>& action) {
        changes = 0;
        action();
        waitUntil([this] { return changes > 0; }, 1500);
        spin(400);
        return changes;
    }

    TempVdir vdir;
    platform::FakePrivacy privacy;
    std::unique_ptr<VdirEventStore> store;
    int changes = 0;
};

}  // namespace

TEST_F(VdirWatchTest, EachKindOfFileChangeSignalsOnceAndIsSeenByTheNextRead) {
    ASSERT_EQ(titles(), QStringList{QStringLiteral("One")});

    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("home/two.ics"), event(QStringLiteral("two"), QStringLiteral("Two")));
              }),
              1)
        << "added";
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));

    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("home/two.ics"), event(QStringLiteral("two"), QStringLiteral("Two b")));
              }),
              1)
        << "rewritten in place";
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("One"), QStringLiteral("Two b")}));

    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("home/.two.ics.tmp"),
                                event(QStringLiteral("two"), QStringLiteral("Two c")));
                  std::rename(QFile::encodeName(vdir.path(QStringLiteral("home/.two.ics.tmp"))).constData(),
                              QFile::encodeName(vdir.path(QStringLiteral("home/two.ics"))).constData());
              }),
              1)
        << "replaced by a rename";
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("One"), QStringLiteral("Two c")}));

    EXPECT_EQ(changesAfter([&] {
                  const timespec times[2] = {{0, UTIME_NOW}, {1700000000, 0}};
                  ::utimensat(AT_FDCWD, QFile::encodeName(vdir.path(QStringLiteral("home/two.ics"))).constData(), times,
                              0);
              }),
              1)
        << "touched";

    EXPECT_EQ(changesAfter([&] { QFile::remove(vdir.path(QStringLiteral("home/two.ics"))); }), 1) << "removed";
    EXPECT_EQ(titles(), QStringList{QStringLiteral("One")});
}

TEST_F(VdirWatchTest, ABurstOfWritesSignalsOnce) {
    EXPECT_EQ(changesAfter([&] {
                  for (int i = 0; i < 20; ++i)
                      vdir.writeIcs(QStringLiteral("home/burst%1.ics").arg(i),
                                    event(QStringLiteral("b%1").arg(i), QStringLiteral("Burst")));
              }),
              1);
    EXPECT_EQ(titles().size(), 21);
}

TEST_F(VdirWatchTest, NewCollectionIsWatchedToo) {
    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("work/a.ics"), event(QStringLiteral("a"), QStringLiteral("Work")));
              }),
              1);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("One"), QStringLiteral("Work")}));
    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("work/b.ics"), event(QStringLiteral("b"), QStringLiteral("More work")));
              }),
              1);
    EXPECT_EQ(titles().size(), 3);
}

TEST_F(VdirWatchTest, FilesThatAreNotItemsDoNotSignal) {
    EXPECT_EQ(changesAfter([&] { vdir.write(QStringLiteral("home/notes.txt"), "hello"); }), 0);
}

// Some sync tools put a file's mtime back after rewriting it; a same-sized text then leaves the stamp as it was.
TEST_F(VdirWatchTest, RefreshSourcesReadsAFileRewrittenUnderItsOldStamp) {
    const QByteArray path = QFile::encodeName(vdir.path(QStringLiteral("home/one.ics")));
    struct stat before {};
    ASSERT_EQ(::stat(path.constData(), &before), 0);
    vdir.writeIcs(QStringLiteral("home/one.ics"), event(QStringLiteral("one"), QStringLiteral("Uno")));
    const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    struct stat after {};
    ASSERT_EQ(::stat(path.constData(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);

    changes = 0;
    store->refreshSources();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Uno")});
    store->refreshSources();
    EXPECT_EQ(changes, 1) << "read again, and as it was";
}

TEST_F(VdirWatchTest, RefreshSourcesSignalsOnlyWhenSomethingChanged) {
    changes = 0;
    store->refreshSources();
    EXPECT_EQ(changes, 0);
    vdir.writeIcs(QStringLiteral("home/three.ics"), event(QStringLiteral("three"), QStringLiteral("Three")));
    store->refreshSources();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(titles().size(), 2);
}

// The watch names the files that changed and only those are read again; what is not an item file (a collection's
// name, what it holds) or not a file (a folder) still needs the whole layout read.
TEST_F(VdirWatchTest, ChangesBesideTheItemFilesAreSeenToo) {
    vdir.writeIcs(QStringLiteral("home/two.ics"), event(QStringLiteral("two"), QStringLiteral("Two")));
    store->reloadNow();
    const auto home = [&] { return store->calendar(QStringLiteral("home")); };
    ASSERT_TRUE(home());

    EXPECT_EQ(changesAfter([&] { vdir.write(QStringLiteral("home/displayname"), "At home"); }), 1) << "renamed";
    EXPECT_EQ(home()->title, QStringLiteral("At home"));

    const QByteArray two = QFile::encodeName(vdir.path(QStringLiteral("home/two.ics")));
    EXPECT_EQ(changesAfter([&] { ::chmod(two.constData(), 0444); }), 1) << "made read-only";
    EXPECT_TRUE(store->catalog().item(QStringLiteral("home/two"))->readOnly);
    EXPECT_FALSE(store->catalog().item(QStringLiteral("home/one"))->readOnly);

    EXPECT_EQ(changesAfter([&] {
                  vdir.writeIcs(QStringLiteral("home/sub/three.ics"),
                                event(QStringLiteral("three"), QStringLiteral("Three")));
                  QDir().rename(vdir.path(QStringLiteral("home")), vdir.path(QStringLiteral("moved")));
              }),
              1)
        << "a folder moved away";
    EXPECT_FALSE(home());
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));
}

namespace {

// Runs `action` once, from the event loop, right after the store starts a read in the background (it makes the
// read's watcher its child then): the action comes after the read began and before its result is handed over,
// whether or not the worker is done by then.
class DuringBackgroundRead : public QObject {
public:
    DuringBackgroundRead(QObject* store, std::function<void()> action) : m_store(store), m_action(std::move(action)) {
        store->installEventFilter(this);
    }
    bool ran() const { return m_ran; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_store || event->type() != QEvent::ChildAdded || m_posted)
            return false;
        // The child is still being made: what it is can be asked once it is.
        m_posted = true;
        QMetaObject::invokeMethod(
            this,
            [this, child = QPointer<QObject>(static_cast<QChildEvent*>(event)->child())] {
                m_posted = false;
                if (m_ran || !qobject_cast<QFutureWatcherBase*>(child))
                    return;
                m_action();
                m_ran = true;
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QObject* m_store;
    std::function<void()> m_action;
    bool m_posted = false;
    bool m_ran = false;
};

// A sync tool's first sync: many item files of a calendar in an account folder, written under a hidden name and
// renamed into place.
class VdirFirstSyncTest : public VdirWatchTest {
protected:
    static constexpr int kArriving = 250;

    void SetUp() override {
        vdir.writeIcs(QStringLiteral("home/one.ics"), event(QStringLiteral("one"), QStringLiteral("One")));
        vdir.write(QStringLiteral("acme/displayname"), "Acme");
        vdir.write(QStringLiteral("acme/team/displayname"), "Team");
        vdir.write(QStringLiteral("acme/team/color"), "#3A87AD");
        syncFile(QStringLiteral("acme/team"), QStringLiteral("seed"), QStringLiteral("Seed"));
        store = std::make_unique<VdirEventStore>(privacy, vdir.root);
        QObject::connect(store.get(), &VdirEventStore::changed, [this] { ++changes; });
    }

    void syncFile(const QString& folder, const QString& uid, const QString& title) const {
        const QString hidden = folder + QStringLiteral("/.") + uid + QStringLiteral(".ics.tmp");
        vdir.writeIcs(hidden, event(uid, title));
        ::rename(QFile::encodeName(vdir.path(hidden)).constData(),
                 QFile::encodeName(vdir.path(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"))).constData());
    }
    void syncMany(const QString& folder) const {
        for (int i = 0; i < kArriving; ++i)
            syncFile(folder, QStringLiteral("e%1").arg(i), QStringLiteral("Event %1").arg(i));
    }
    size_t items() const { return store->catalog().items().size(); }
    bool shows(const QString& title) const { return titles().contains(title); }
};

}  // namespace

TEST_F(VdirFirstSyncTest, ManyFilesReadOnAnotherThreadArriveWholeAndAnEditMadeMeanwhileIsKept) {
    const quint64 before = *store->contentVersion();
    size_t itemsSeenByTheEdit = 0;
    const DuringBackgroundRead edit(store.get(), [&] {
        itemsSeenByTheEdit = items();
        auto one = store->event(QStringLiteral("home/one"));
        ASSERT_TRUE(one);
        one->title = QStringLiteral("One edited");
        store->saveEvent(*one, platform::Span::ThisEvent, true);
    });
    syncMany(QStringLiteral("acme/team"));

    ASSERT_TRUE(waitUntil([&] { return edit.ran() && items() == 2 + kArriving; }));
    EXPECT_EQ(itemsSeenByTheEdit, 2u) << "the edit came while the files were read";
    EXPECT_TRUE(shows(QStringLiteral("One edited")));
    EXPECT_FALSE(shows(QStringLiteral("One")));
    for (const int i : {0, 1, kArriving / 2, kArriving - 1})
        EXPECT_TRUE(store->event(QStringLiteral("acme/team/e%1").arg(i))) << i;
    QFile one(vdir.path(QStringLiteral("home/one.ics")));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    EXPECT_TRUE(one.readAll().contains("SUMMARY:One edited"));
    EXPECT_GT(changes, 0);

    // A rebuilt index names no list of changes: every read is made again, and none is left out.
    const quint64 after = *store->contentVersion();
    EXPECT_GT(after, before);
    EXPECT_FALSE(store->changedItemsSince(before));
}

TEST_F(VdirFirstSyncTest, AFileChangedOrRemovedAgainWhileTheyAreReadEndsAsItIsNow) {
    const DuringBackgroundRead again(store.get(), [&] {
        syncFile(QStringLiteral("acme/team"), QStringLiteral("e7"), QStringLiteral("Seven again"));
        QFile::remove(vdir.path(QStringLiteral("acme/team/e8.ics")));
        QFile::remove(vdir.path(QStringLiteral("acme/team/seed.ics")));
    });
    syncMany(QStringLiteral("acme/team"));

    ASSERT_TRUE(waitUntil([&] {
        return again.ran() && items() == static_cast<size_t>(kArriving) && shows(QStringLiteral("Seven again"));
    }));
    EXPECT_TRUE(shows(QStringLiteral("Seven again")));
    EXPECT_FALSE(shows(QStringLiteral("Event 7")));
    EXPECT_FALSE(store->event(QStringLiteral("acme/team/e8")));
    EXPECT_FALSE(store->event(QStringLiteral("acme/team/seed")));
    EXPECT_EQ(items(), static_cast<size_t>(kArriving));

    // From there the changes are told one by one again.
    const quint64 settled = *store->contentVersion();
    changes = 0;
    syncFile(QStringLiteral("acme/team"), QStringLiteral("e3"), QStringLiteral("Event 3 moved"));
    ASSERT_TRUE(waitUntil([&] { return changes > 0; }));
    EXPECT_EQ(store->changedItemsSince(settled), QStringList{QStringLiteral("acme/team/e3")});
    EXPECT_TRUE(shows(QStringLiteral("Event 3 moved")));
}

// A new calendar's folder is watched only once a read found it: what is written into it before then is found by a
// second look.
TEST_F(VdirFirstSyncTest, FilesWrittenIntoANewCalendarWhileItIsReadAreFound) {
    const DuringBackgroundRead more(store.get(), [&] {
        for (const QString& uid : {QStringLiteral("late1"), QStringLiteral("late2")})
            syncFile(QStringLiteral("acme/fresh"), uid, QStringLiteral("Late"));
    });
    QDir().mkpath(vdir.path(QStringLiteral("acme/fresh")));
    syncMany(QStringLiteral("acme/fresh"));

    ASSERT_TRUE(waitUntil([&] { return more.ran() && items() == 2 + kArriving + 2; }));
    EXPECT_TRUE(store->event(QStringLiteral("acme/fresh/late2")));
    EXPECT_TRUE(store->calendar(QStringLiteral("acme/fresh")));
}
