#include "VdirFixture.h"

#include "platform/eventstore/vdir/IcsItemCut.h"
#include "platform/eventstore/vdir/VdirCatalog.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"
#include "platform/eventstore/vdir/VdirLayout.h"

#include <QFile>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libical/ical.h>

#include <gtest/gtest.h>

using namespace vdirtest;
using platform::vdir::VdirCatalog;
using platform::vdir::VdirScan;

namespace {

QStringList event(const QString& uid, const QString& title) {
    return {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:") + uid, QStringLiteral("SUMMARY:") + title,
            QStringLiteral("DTSTART:20240610T100000Z"), QStringLiteral("END:VEVENT")};
}

QString titleOf(const VdirCatalog& catalog, const QString& identifier) {
    const auto* item = catalog.item(identifier);
    return item ? item->main().summary().value_or(QString()) : QStringLiteral("<none>");
}

}  // namespace

TEST(VdirCatalog, StagedContentStandsInForTheFileUntilUnstaged) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("a"), QStringLiteral("On disk")));
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    const QString a = QStringLiteral("home/a");
    ASSERT_EQ(titleOf(catalog, a), QStringLiteral("On disk"));

    catalog.stage(vdir.path(QStringLiteral("home/a.ics")), ics(event(QStringLiteral("a"), QStringLiteral("Staged"))));
    EXPECT_EQ(titleOf(catalog, a), QStringLiteral("Staged"));
    catalog.stage(vdir.path(QStringLiteral("home/new.ics")), ics(event(QStringLiteral("n"), QStringLiteral("New"))));
    EXPECT_EQ(titleOf(catalog, QStringLiteral("home/n")), QStringLiteral("New"));
    EXPECT_TRUE(catalog.item(QStringLiteral("home/n"))->etag().isEmpty()) << "not on disk yet";
    catalog.reload();
    EXPECT_EQ(titleOf(catalog, a), QStringLiteral("Staged")) << "a rescan keeps what is staged";

    catalog.stage(vdir.path(QStringLiteral("home/a.ics")), std::nullopt);
    EXPECT_EQ(catalog.item(a), nullptr);
    catalog.clearStaged();
    EXPECT_EQ(titleOf(catalog, a), QStringLiteral("On disk"));
    EXPECT_EQ(catalog.item(QStringLiteral("home/n")), nullptr);
}

TEST(VdirCatalog, IdentifiersOfAwkwardUidsAndFolders) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("a|b/x.ics"), event(QStringLiteral("x/y|z%"), QStringLiteral("Awkward")));
    vdir.writeIcs(QStringLiteral("a|b/dup1.ics"), event(QStringLiteral("dup"), QStringLiteral("First")));
    vdir.writeIcs(QStringLiteral("a|b/dup2.ics"), event(QStringLiteral("dup"), QStringLiteral("Second")));
    vdir.writeIcs(QStringLiteral("a|b/nouid.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("SUMMARY:No UID"),
                   QStringLiteral("DTSTART:20240610T100000Z"), QStringLiteral("END:VEVENT")});
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    QStringList identifiers;
    for (const auto& item : catalog.items()) {
        const QString identifier = catalog.identifier(item);
        EXPECT_FALSE(identifier.contains(QLatin1Char('|'))) << identifier.toStdString();
        identifiers << identifier;
    }
    identifiers.sort();
    EXPECT_EQ(identifiers, (QStringList{QStringLiteral("a%7Cb/%%nouid.ics"), QStringLiteral("a%7Cb/dup"),
                                        QStringLiteral("a%7Cb/dup%%dup2.ics"), QStringLiteral("a%7Cb/x%2Fy%7Cz%25")}));
    EXPECT_EQ(catalog.collections()[0].calendar.calendarIdentifier, QStringLiteral("a%7Cb"));
}

// An exported calendar dropped into a folder holds thousands of items in one file, their components in any order.
TEST(VdirCatalog, ComponentsOfManyUidsInOneFileGroupIntoTheirOwnItems) {
    constexpr int kUids = 300;
    QStringList lines;
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = kUids - 1; i >= 0; --i) {
            const QString uid = QStringLiteral("u%1").arg(i);
            lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:") + uid;
            if (pass == 1) {
                lines << QStringLiteral("SUMMARY:Series %1").arg(i) << QStringLiteral("DTSTART:20240603T100000Z")
                      << QStringLiteral("RRULE:FREQ=DAILY;COUNT=5");
            } else {
                const QString day = QStringLiteral("2024060%1").arg(4 + pass);
                lines << QStringLiteral("RECURRENCE-ID:") + day + QStringLiteral("T100000Z")
                      << QStringLiteral("DTSTART:") + day + QStringLiteral("T120000Z");
            }
            lines << QStringLiteral("END:VEVENT");
        }
    }
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/export.ics"), lines);
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    ASSERT_EQ(catalog.items().size(), static_cast<size_t>(kUids));
    for (int i = 0; i < kUids; ++i) {
        const auto* item = catalog.item(QStringLiteral("home/u%1").arg(i));
        ASSERT_TRUE(item) << i;
        ASSERT_TRUE(item->series.master);
        EXPECT_EQ(item->series.master->summary(), QStringLiteral("Series %1").arg(i));
        EXPECT_EQ(item->series.overrides.size(), 2u);
        EXPECT_FALSE(item->readOnly);
    }
}

namespace {

// Everything a reader of the catalog sees, in the catalog's order.
QStringList seen(const VdirCatalog& catalog) {
    QStringList lines;
    for (const auto& c : catalog.collections())
        lines << QStringLiteral("%1 events:%2 todos:%3")
                     .arg(c.calendar.calendarIdentifier)
                     .arg(c.isEventCalendar())
                     .arg(c.isReminderList());
    for (const auto& item : catalog.items())
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(catalog.identifier(item), catalog.path(item), item.etag(),
                          item.main().summary().value_or(QString()))
                     .arg(item.collectionIndex)
                     .arg(item.readOnly);
    for (const auto& item : catalog.items())
        if (catalog.item(catalog.identifier(item)) != &item)
            lines << QStringLiteral("not found by its identifier: ") + catalog.identifier(item);
    return lines;
}

QStringList seenAfterARescan(const QString& root) {
    VdirCatalog fresh(root);
    fresh.reload();
    return seen(fresh);
}

QStringList todo(const QString& uid, const QString& title) {
    return {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:") + uid, QStringLiteral("SUMMARY:") + title,
            QStringLiteral("END:VTODO")};
}

}  // namespace

// A write of our own is read back file by file, without a rescan; the items must come out as a rescan gives them,
// in the same order and under the same identifiers, however the files changed.
TEST(VdirCatalog, FilesReadAgainAfterAWriteGiveWhatARescanGives) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/b.ics"), event(QStringLiteral("b"), QStringLiteral("B")));
    vdir.writeIcs(QStringLiteral("home/d.ics"), event(QStringLiteral("d"), QStringLiteral("D")));
    vdir.writeIcs(QStringLiteral("work/w.ics"), event(QStringLiteral("w"), QStringLiteral("W")));
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    const auto refresh = [&](const QString& relative) { return catalog.refresh({vdir.path(relative)}); };

    // Rewritten in place, added before and after the others, taken away.
    const quint64 before = catalog.version();
    vdir.writeIcs(QStringLiteral("home/b.ics"), event(QStringLiteral("b"), QStringLiteral("B, longer")));
    EXPECT_EQ(refresh(QStringLiteral("home/b.ics")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    EXPECT_EQ(catalog.changedSince(before), QStringList{QStringLiteral("home/b")});
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("a"), QStringLiteral("A")));
    vdir.writeIcs(QStringLiteral("home/e.ics"), event(QStringLiteral("e"), QStringLiteral("E")) +
                                                    event(QStringLiteral("e2"), QStringLiteral("E2")));
    EXPECT_EQ(catalog.refresh({vdir.path(QStringLiteral("home/a.ics")), vdir.path(QStringLiteral("home/e.ics"))}),
              true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    QFile::remove(vdir.path(QStringLiteral("home/d.ics")));
    EXPECT_EQ(refresh(QStringLiteral("home/d.ics")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    auto changed = catalog.changedSince(before).value_or(QStringList{});
    changed.sort();
    EXPECT_EQ(changed, (QStringList{QStringLiteral("home/a"), QStringLiteral("home/b"), QStringLiteral("home/d"),
                                    QStringLiteral("home/e"), QStringLiteral("home/e2")}));
    EXPECT_EQ(refresh(QStringLiteral("home/d.ics")), false) << "gone already";

    // A UID that another file of the collection has too, the first to-do of an event calendar: identifiers and
    // kinds depend on the other files.
    vdir.writeIcs(QStringLiteral("home/c.ics"), event(QStringLiteral("b"), QStringLiteral("Second b")));
    EXPECT_EQ(refresh(QStringLiteral("home/c.ics")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    EXPECT_EQ(catalog.changedSince(before), std::nullopt) << "the index was rebuilt";
    QFile::remove(vdir.path(QStringLiteral("home/b.ics")));
    EXPECT_EQ(refresh(QStringLiteral("home/b.ics")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    vdir.writeIcs(QStringLiteral("work/t.ics"), todo(QStringLiteral("t"), QStringLiteral("T")));
    EXPECT_EQ(refresh(QStringLiteral("work/t.ics")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));

    // Only a rescan tells what a folder without files, or a folder that held none, is.
    const QStringList now = seen(catalog);
    vdir.writeIcs(QStringLiteral("other/o.ics"), event(QStringLiteral("o"), QStringLiteral("O")));
    EXPECT_EQ(refresh(QStringLiteral("other/o.ics")), std::nullopt);
    QFile::remove(vdir.path(QStringLiteral("work/w.ics")));
    QFile::remove(vdir.path(QStringLiteral("work/t.ics")));
    EXPECT_EQ(catalog.refresh({vdir.path(QStringLiteral("work/w.ics")), vdir.path(QStringLiteral("work/t.ics"))}),
              std::nullopt);
    EXPECT_EQ(seen(catalog), now) << "nothing changed";
    catalog.reload();
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
}

// Identifiers are made from the folder, the UID and, where the UID does not tell, the file's name: an event keeps
// its identifier over rescans and restarts, follows its UID when its file is renamed, and a second file that claims
// the UID is told apart by its name for as long as an earlier file holds the UID.
TEST(VdirCatalog, AnItemIsFoundByItsIdentifierWhateverBecomesOfItsFile) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("x"), QStringLiteral("Home x")));
    vdir.writeIcs(QStringLiteral("home/c.ics"), event(QStringLiteral("y"), QStringLiteral("Home y")));
    vdir.writeIcs(QStringLiteral("work/a.ics"), event(QStringLiteral("x"), QStringLiteral("Work x")));
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    const auto fileOf = [&](const QString& identifier) {
        const auto* item = catalog.item(identifier);
        return item ? item->fileName : QStringLiteral("<none>");
    };
    EXPECT_EQ(titleOf(catalog, QStringLiteral("home/x")), QStringLiteral("Home x"));
    EXPECT_EQ(titleOf(catalog, QStringLiteral("work/x")), QStringLiteral("Work x"))
        << "one UID and one file name in two collections";
    EXPECT_EQ(catalog.item(QStringLiteral("home/z")), nullptr);
    EXPECT_EQ(catalog.item(QString()), nullptr);
    catalog.reload();
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root)) << "the same after a rescan and after a restart";

    QFile::rename(vdir.path(QStringLiteral("home/a.ics")), vdir.path(QStringLiteral("home/z.ics")));
    ASSERT_EQ(catalog.refresh({vdir.path(QStringLiteral("home/a.ics")), vdir.path(QStringLiteral("home/z.ics"))}),
              true);
    EXPECT_EQ(fileOf(QStringLiteral("home/x")), QStringLiteral("z.ics")) << "renamed";
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));

    // An earlier file takes the UID; the later one keeps its event under a name of its own until the first goes.
    vdir.writeIcs(QStringLiteral("home/d.ics"), event(QStringLiteral("x"), QStringLiteral("Another x")));
    ASSERT_EQ(catalog.refresh({vdir.path(QStringLiteral("home/d.ics"))}), true);
    EXPECT_EQ(fileOf(QStringLiteral("home/x")), QStringLiteral("d.ics"));
    EXPECT_EQ(fileOf(QStringLiteral("home/x%%z.ics")), QStringLiteral("z.ics"));
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    QFile::remove(vdir.path(QStringLiteral("home/d.ics")));
    catalog.reload();
    EXPECT_EQ(fileOf(QStringLiteral("home/x")), QStringLiteral("z.ics")) << "removed";
    EXPECT_EQ(catalog.item(QStringLiteral("home/x%%z.ics")), nullptr);
    EXPECT_EQ(titleOf(catalog, QStringLiteral("home/y")), QStringLiteral("Home y"));
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));

    // Put back under its old name.
    QFile::rename(vdir.path(QStringLiteral("home/z.ics")), vdir.path(QStringLiteral("home/a.ics")));
    catalog.reload();
    EXPECT_EQ(fileOf(QStringLiteral("home/x")), QStringLiteral("a.ics"));
    EXPECT_EQ(titleOf(catalog, QStringLiteral("work/x")), QStringLiteral("Work x"));
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
}

// A file of many items we wrote by putting one item back is read back from what was held and the item's own text: it
// must read as a rescan reads it, and only the item counts as changed. A file that is not what we wrote is read whole.
TEST(VdirCatalog, AFileWrittenByPuttingOneItemBackReadsAsARescanDoes) {
    TempVdir vdir;
    const QString path = vdir.path(QStringLiteral("home/many.ics"));
    QByteArray onDisk =
        ics(event(QStringLiteral("a"), QStringLiteral("A")) + event(QStringLiteral("b"), QStringLiteral("B")) +
            event(QStringLiteral("c"), QStringLiteral("C")));
    vdir.write(QStringLiteral("home/many.ics"), onDisk);
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    // The item's components as they are to be written; none when it leaves the file.
    const auto putBack = [&](const QString& uid, const QStringList& lines) {
        const std::optional<platform::vdir::IcsItemCut> cut = platform::vdir::IcsItemCut::of(onDisk, uid.toUtf8());
        const QByteArray itemText = ics(lines);
        const auto put = cut ? cut->putBack(itemText) : std::nullopt;
        EXPECT_TRUE(put) << uid.toStdString();
        return platform::vdir::VdirItemWrite{platform::vdir::VdirFileCache::digestOf(onDisk),
                                             put ? put->file : QByteArray(), uid,
                                             lines.isEmpty() ? std::nullopt : std::optional(itemText)};
    };
    const auto writeAndRefresh = [&](const platform::vdir::VdirItemWrite& write, const QByteArray& bytes) {
        vdir.write(QStringLiteral("home/many.ics"), bytes);
        onDisk = bytes;
        catalog.expectWrite(path, write);
        return catalog.refresh({path});
    };

    quint64 before = catalog.version();
    const QStringList series{QStringLiteral("BEGIN:VEVENT"),
                             QStringLiteral("UID:b"),
                             QStringLiteral("SUMMARY:B, weekly"),
                             QStringLiteral("DTSTART:20240610T100000Z"),
                             QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3"),
                             QStringLiteral("END:VEVENT"),
                             QStringLiteral("BEGIN:VEVENT"),
                             QStringLiteral("UID:b"),
                             QStringLiteral("RECURRENCE-ID:20240617T100000Z"),
                             QStringLiteral("SUMMARY:B, moved"),
                             QStringLiteral("DTSTART:20240618T100000Z"),
                             QStringLiteral("END:VEVENT")};
    platform::vdir::VdirItemWrite write = putBack(QStringLiteral("b"), series);
    EXPECT_EQ(writeAndRefresh(write, write.written), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    EXPECT_EQ(catalog.changedSince(before), QStringList{QStringLiteral("home/b")});
    ASSERT_EQ(catalog.item(QStringLiteral("home/b"))->series.overrides.size(), 1u);
    EXPECT_EQ(catalog.item(QStringLiteral("home/b"))->series.overrides.front()->summary(), QStringLiteral("B, moved"));

    before = catalog.version();
    write = putBack(QStringLiteral("a"), {});
    EXPECT_EQ(writeAndRefresh(write, write.written), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    EXPECT_EQ(catalog.changedSince(before), QStringList{QStringLiteral("home/a")});

    // Changed again by another program before we read it back.
    before = catalog.version();
    write = putBack(QStringLiteral("c"), event(QStringLiteral("c"), QStringLiteral("C, ours")));
    EXPECT_EQ(writeAndRefresh(write, QByteArray(write.written).replace("C, ours", "C, theirs")), true);
    EXPECT_EQ(seen(catalog), seenAfterARescan(vdir.root));
    EXPECT_EQ(titleOf(catalog, QStringLiteral("home/c")), QStringLiteral("C, theirs"));
    auto changed = catalog.changedSince(before).value_or(QStringList{});
    changed.sort();
    EXPECT_EQ(changed, (QStringList{QStringLiteral("home/b"), QStringLiteral("home/c")}));
}

// A reader on another thread holds a snapshot while the main thread reads a written file again.
TEST(VdirCatalog, ASnapshotKeepsTheItemsItWasTakenWith) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("a"), QStringLiteral("Before")));
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    const auto snapshot = catalog.snapshot();
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("a"), QStringLiteral("After, longer")));
    ASSERT_EQ(catalog.refresh({vdir.path(QStringLiteral("home/a.ics"))}), true);
    EXPECT_EQ(titleOf(catalog, QStringLiteral("home/a")), QStringLiteral("After, longer"));
    ASSERT_EQ(snapshot.items->size(), 1u);
    EXPECT_EQ(snapshot.items->front().main().summary(), QStringLiteral("Before"));
}

namespace {

// name → whether it may be written, for the files of the scan's only collection.
QMap<QString, bool> writableFiles(const VdirScan& scan) {
    QMap<QString, bool> files;
    for (const auto& file : scan.collections.at(0).files)
        files.insert(file.name, file.writable);
    return files;
}

void changeMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(platform::vdir::nativePath(path).constData(), mode), 0);
}

}  // namespace

// Whether a file may be written is asked of the system once and kept while the file's stamp, mode and status time
// stand (chmod, chown, ACLs and attributes all move the last) and its folder was and is writable. The scan before
// is given answers the system would not give, to tell a kept answer from one asked again.
TEST(VdirScan, AFileKeepsWhetherItMayBeWrittenOnlyWhileNothingThatDecidesItMoves) {
    TempVdir vdir;
    for (const QString& name : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                               QStringLiteral("e"), QStringLiteral("f")})
        vdir.writeIcs(QStringLiteral("home/%1.ics").arg(name), event(name, name));
    // A name that is not UTF-8 sorts among the others by its bytes.
    const QString notUtf8 = platform::vdir::decodedPath("c\xe9\xff.ics");
    const QByteArray notUtf8Path = platform::vdir::nativePath(vdir.path(QStringLiteral("home/") + notUtf8));
    const int fd = ::open(notUtf8Path.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // Qt cannot name it to remove it with the folder.
    const auto removeNotUtf8 = qScopeGuard([&] { ::unlink(notUtf8Path.constData()); });
    const VdirScan first = platform::vdir::scanVdir(vdir.root);
    ASSERT_EQ(first.collections.size(), 1u);
    ASSERT_EQ(writableFiles(first).size(), 7);
    ASSERT_FALSE(writableFiles(first).values().contains(false));

    VdirScan before = first;
    for (auto& file : before.collections[0].files) {
        file.writable = false;
        if (file.name == QStringLiteral("b.ics"))
            file.statusChangeNs -= 1;
        if (file.name == QStringLiteral("c.ics"))
            file.mode ^= S_IWGRP;
    }
    QFile::remove(vdir.path(QStringLiteral("home/a.ics")));
    vdir.writeIcs(QStringLiteral("home/bb.ics"), event(QStringLiteral("bb"), QStringLiteral("New")));
    vdir.writeIcs(QStringLiteral("home/bc.ics"), event(QStringLiteral("bc"), QStringLiteral("New")));
    vdir.writeIcs(QStringLiteral("home/d.ics"), event(QStringLiteral("d"), QStringLiteral("Rewritten")));
    const auto kept = writableFiles(platform::vdir::scanVdir(vdir.root, &before));
    EXPECT_EQ(kept, (QMap<QString, bool>{{QStringLiteral("b.ics"), true},
                                         {QStringLiteral("bb.ics"), true},
                                         {QStringLiteral("bc.ics"), true},
                                         {QStringLiteral("c.ics"), true},
                                         {notUtf8, false},
                                         {QStringLiteral("d.ics"), true},
                                         {QStringLiteral("e.ics"), false},
                                         {QStringLiteral("f.ics"), false}}));

    // A folder that was not writable, or is not now (as on a mount made read-only), has every file asked again.
    before.collections[0].writable = false;
    EXPECT_FALSE(writableFiles(platform::vdir::scanVdir(vdir.root, &before)).values().contains(false));
    before.collections[0].writable = true;
    changeMode(vdir.path(QStringLiteral("home")), 0555);
    const VdirScan locked = platform::vdir::scanVdir(vdir.root, &before);
    changeMode(vdir.path(QStringLiteral("home")), 0755);
    EXPECT_FALSE(locked.collections.at(0).writable);
    EXPECT_FALSE(writableFiles(locked).values().contains(false));
}

// Through rescans (not the folder watch): a file made read-only and writable again.
TEST(VdirCatalog, ARescanSeesAFileMadeReadOnlyAndWritableAgain) {
    TempVdir vdir;
    vdir.writeIcs(QStringLiteral("home/a.ics"), event(QStringLiteral("a"), QStringLiteral("A")));
    vdir.writeIcs(QStringLiteral("home/b.ics"), event(QStringLiteral("b"), QStringLiteral("B")));
    VdirCatalog catalog(vdir.root);
    catalog.reload();
    ASSERT_FALSE(catalog.item(QStringLiteral("home/a"))->readOnly);
    changeMode(vdir.path(QStringLiteral("home/a.ics")), 0444);
    EXPECT_TRUE(catalog.reload());
    EXPECT_TRUE(catalog.item(QStringLiteral("home/a"))->readOnly);
    EXPECT_FALSE(catalog.item(QStringLiteral("home/b"))->readOnly);
    EXPECT_FALSE(catalog.reload()) << "nothing moved since";
    changeMode(vdir.path(QStringLiteral("home/a.ics")), 0644);
    EXPECT_TRUE(catalog.reload());
    EXPECT_FALSE(catalog.item(QStringLiteral("home/a"))->readOnly);
}
