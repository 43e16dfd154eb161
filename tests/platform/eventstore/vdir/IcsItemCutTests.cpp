#include "platform/eventstore/vdir/IcsItemCut.h"

#include <gtest/gtest.h>

#include <QByteArrayList>

using platform::vdir::IcsItemCut;

namespace {

QByteArray event(const QByteArray& uid, const QByteArray& extra = {}) {
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTART:20240612T090000Z\r\n" + extra + "END:VEVENT\r\n";
}

QByteArray calendar(const QByteArray& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

}  // namespace

// Where libical could read the file otherwise than the cut does, the whole file is edited, as before.
TEST(IcsItemCut, aFileThatCouldReadOtherwiseThanItIsCutIsLeftWhole) {
    const QByteArray zone = "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nEND:VTIMEZONE\r\n";
    ASSERT_TRUE(IcsItemCut::of(calendar(event("a") + event("b")), "a")) << "the plain case is cut";

    const std::vector<std::pair<const char*, QByteArray>> whole{
        {"a second calendar after the first", calendar(event("a") + event("b")) + calendar(event("c"))},
        {"text before the calendar", "junk\r\n" + calendar(event("a") + event("b"))},
        {"no end", calendar(event("a") + event("b")).chopped(15)},
        {"an END under another name", calendar(event("a").replace("END:VEVENT", "END:VTODO") + event("b"))},
        {"an escaped UID", calendar(event("a\\,b") + event("b"))},
        {"an escaped TZID",
         calendar("BEGIN:VTIMEZONE\r\nTZID:Europe\\,Berlin\r\nEND:VTIMEZONE\r\n" + event("a") + event("b"))},
        {"two masters of the UID", calendar(event("a") + event("a") + event("b"))},
        {"a journal entry of the UID",
         calendar(event("a") + "BEGIN:VJOURNAL\r\nUID:a\r\nEND:VJOURNAL\r\n" + event("b"))},
        {"nothing else but zones", calendar(zone + event("a") + event("a", "RECURRENCE-ID:20240613T090000Z\r\n"))},
        {"a calendar inside the calendar", calendar(event("a") + calendar(event("b")))},
        {"the UID not there", calendar(event("b") + event("c"))},
    };
    for (const auto& [why, text] : whole)
        EXPECT_FALSE(IcsItemCut::of(text, "a")) << why;
}

// The item's components go where its first one was, the zones it needs before the first item; every other byte,
// line ends included, stays. A UID inside an alarm names no item.
TEST(IcsItemCut, theEditedItemTakesThePlaceOfItsComponentsAndBringsOnlyTheZonesTheFileLacks) {
    const QByteArray berlin = "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nEND:VTIMEZONE\r\n";
    const QByteArray other = "BEGIN:VEVENT\nUID:b\nBEGIN:VALARM\nUID:a\nTRIGGER:-PT5M\nEND:VALARM\nEND:VEVENT\n";
    const QByteArray overridden = event("a", "RECURRENCE-ID:20240619T090000Z\r\n");
    const QByteArray file = calendar(berlin + other + event("a", "RRULE:FREQ=WEEKLY\r\n") + event("c") + overridden);
    const std::optional<IcsItemCut> cut = IcsItemCut::of(file, "a");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->calendar(), calendar(berlin + event("a", "RRULE:FREQ=WEEKLY\r\n") + overridden));

    const QByteArray york = "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nEND:VTIMEZONE\r\n";
    const QByteArray edited = event("a", "SUMMARY:Edited\r\n");
    const std::optional<IcsItemCut::Put> put = cut->putBack(calendar(berlin + york + edited));
    ASSERT_TRUE(put);
    EXPECT_EQ(put->file, calendar(berlin + york + other + edited + event("c")));
    EXPECT_TRUE(put->addsZones);
    EXPECT_TRUE(put->keepsItem);
    // Removed: the rest of the file, without zones to add.
    const std::optional<IcsItemCut::Put> removed = cut->putBack(calendar(berlin + york));
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->file, calendar(berlin + other + event("c")));
    EXPECT_FALSE(removed->addsZones);
    EXPECT_FALSE(removed->keepsItem);
    EXPECT_FALSE(cut->putBack("not a calendar"));
}
