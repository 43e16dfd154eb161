#include "VdirFixture.h"

#include "platform/eventstore/vdir/VdirCatalog.h"

#include <libical/ical.h>

#include <gtest/gtest.h>

using namespace vdirtest;
using platform::vdir::VdirCatalog;

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
        EXPECT_FALSE(item.identifier.contains(QLatin1Char('|'))) << item.identifier.toStdString();
        identifiers << item.identifier;
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
