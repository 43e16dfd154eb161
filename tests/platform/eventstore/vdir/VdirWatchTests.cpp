#include "VdirFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>

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
