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
    return item ? item->main().summary.value_or(QString()) : QStringLiteral("<none>");
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
    EXPECT_TRUE(catalog.item(QStringLiteral("home/n"))->etag.isEmpty()) << "not on disk yet";
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
