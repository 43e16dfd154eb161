#include "VdirFixture.h"

#include "platform/eventstore/vdir/IcsItemCut.h"

#include <gtest/gtest.h>

#include <QScopeGuard>

using namespace vdirtest;
using platform::PlatformEvent;
using platform::Span;
using platform::vdir::VdirEventStore;

namespace {

// A zone definition and an event as a calendar program writing through python's icalendar lays them out: values
// spelled its way, a folded description, an X- property of its own, and a second item that a server's export left
// in the same file.
const QByteArray kZone =
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Europe/Berlin\r\n"
    "BEGIN:STANDARD\r\n"
    "DTSTART;VALUE=DATE-TIME:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
    "TZNAME:CET\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0100\r\n"
    "END:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "DTSTART;VALUE=DATE-TIME:19700329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
    "TZNAME:CEST\r\n"
    "TZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\n"
    "END:DAYLIGHT\r\n"
    "END:VTIMEZONE\r\n";
const QByteArray kPlanning =
    "BEGIN:VEVENT\r\n"
    "SUMMARY:Planning\r\n"
    "DTSTART;TZID=Europe/Berlin;VALUE=DATE-TIME:20240612T090000\r\n"
    "DTEND;TZID=Europe/Berlin;VALUE=DATE-TIME:20240612T100000\r\n"
    "DTSTAMP;VALUE=DATE-TIME:20240601T080000Z\r\n"
    "UID:khal-7a1e\r\n"
    "SEQUENCE:2\r\n"
    "CATEGORIES:Work,Fun\r\n"
    "GEO:52.52;13.40\r\n"
    "LOCATION:Room 3\\, House B\r\n"
    "DESCRIPTION:A description long enough to be folded at seventy-five octets\r\n"
    "  \\, and once more in the middle of the second line of it as well\\, where \r\n"
    " a folding program cut it.\r\n"
    "ATTENDEE;CN=\"Doe, Jane\";PARTSTAT=ACCEPTED:mailto:jane@example.org\r\n"
    "X-KHAL-THING;X-P=1:keep\\, me\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:DISPLAY\r\n"
    "DESCRIPTION:Planning\r\n"
    "TRIGGER:-PT15M\r\n"
    "END:VALARM\r\n"
    "END:VEVENT\r\n";
const QByteArray kOther =
    "BEGIN:VEVENT\r\n"
    "SUMMARY:Other\r\n"
    "DTSTART;VALUE=DATE:20240613\r\n"
    "UID:other\r\n"
    "END:VEVENT\r\n";

QByteArray calendarOf(const QByteArray& components) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//PIMUTILS.ORG//NONSGML khal / icalendar //EN\r\n" + components +
           "END:VCALENDAR\r\n";
}

// Each content line of a file as the file spells it: its folds and line break included.
QList<QByteArray> physicalLines(const QByteArray& text) {
    QList<QByteArray> lines;
    for (qsizetype pos = 0; pos < text.size();) {
        qsizetype end = text.indexOf('\n', pos);
        end = end < 0 ? text.size() : end + 1;
        if (!lines.isEmpty() && (text[pos] == ' ' || text[pos] == '\t'))
            lines.last() += text.mid(pos, end - pos);
        else
            lines << text.mid(pos, end - pos);
        pos = end;
    }
    return lines;
}

bool named(const QByteArray& line, const QList<QByteArray>& names) {
    return std::any_of(names.begin(), names.end(), [&](const QByteArray& name) {
        return line.startsWith(QByteArray(name + ':')) || line.startsWith(QByteArray(name + ';'));
    });
}

// The folder of a sync tool's collection: `displayname` and `color`, no `components` file.
class SyncedCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        vdir.write(QStringLiteral("home/displayname"), "Home");
        vdir.write(QStringLiteral("home/color"), "#3a87ad");
    }

    QString path() const { return vdir.path(QStringLiteral("home/khal-7a1e.ics")); }
    QByteArray written() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    PlatformEvent planning(VdirEventStore& store) const {
        const std::optional<PlatformEvent> event = store.event(QStringLiteral("home/khal-7a1e"));
        EXPECT_TRUE(event.has_value());
        return event.value_or(PlatformEvent{});
    }
    // Puts `file` into the folder, gives its event a new title through a store opened on it, and returns the file
    // as it then is.
    QByteArray renamed(const QByteArray& file, const QString& title) {
        vdir.write(QStringLiteral("home/khal-7a1e.ics"), file);
        VdirEventStore store(privacy, vdir.root);
        PlatformEvent event = planning(store);
        event.title = title;
        store.saveEvent(event, Span::ThisEvent, true);
        EXPECT_EQ(planning(store).title, title);
        return written();
    }

    // Every line of `before` but those `changed` names is in `after` as it was, in its order; what `after` has
    // besides are the lines `changed` names.
    static void expectOnlyChanged(const QByteArray& before, const QByteArray& after, const QList<QByteArray>& changed) {
        QList<QByteArray> kept = physicalLines(before);
        kept.removeIf([&](const QByteArray& line) { return named(line, changed); });
        QList<QByteArray> rest = physicalLines(after);
        qsizetype at = 0;
        for (const QByteArray& line : kept) {
            const qsizetype found = rest.indexOf(line, at);
            EXPECT_GE(found, 0) << "lost or respelled: " << line.toStdString() << "in:\n" << after.toStdString();
            if (found >= 0) {
                rest.removeAt(found);
                at = found;
            }
        }
        for (const QByteArray& line : rest)
            EXPECT_TRUE(named(line, changed)) << "rewritten: " << line.toStdString();
    }

    TempVdir vdir;
    platform::FakePrivacy privacy;
};

// libical alone wrote "CATEGORIES:Work,Fun" back as two lines (read by others as no category), "GEO:52.52;13.40"
// as 52.520000;13.400000, dropped VALUE=DATE-TIME and refolded every line.
TEST_F(SyncedCalendar, ARenamedEventKeepsEveryOtherLineByteForByteInAFileOfOneItemOrOfMany) {
    for (const bool cut : {true, false}) {
        SCOPED_TRACE(cut ? "the item cut out of its file" : "the whole file read");
        platform::vdir::setItemCutsForTesting(cut);
        const auto restore = qScopeGuard([] { platform::vdir::setItemCutsForTesting(true); });
        for (const QByteArray& file : {calendarOf(kZone + kPlanning), calendarOf(kZone + kPlanning + kOther)}) {
            const QByteArray after = renamed(file, QStringLiteral("Planning, moved room"));
            expectOnlyChanged(file, after, {"SUMMARY", "DTSTAMP", "LAST-MODIFIED"});
            EXPECT_TRUE(after.contains("\r\nSUMMARY:Planning\\, moved room\r\n"));
            EXPECT_TRUE(after.contains("\r\nSEQUENCE:2\r\n")) << "a new title is no new time";
        }
    }
}

// A file whose lines end in LF alone gets its new lines ended alike.
TEST_F(SyncedCalendar, NewLinesEndAsTheFilesOwnLinesDo) {
    QByteArray file = calendarOf(kPlanning);
    file.replace("\r\n", "\n");
    const QByteArray after = renamed(file, QStringLiteral("Renamed"));
    EXPECT_FALSE(after.contains('\r'));
    expectOnlyChanged(file, after, {"SUMMARY", "DTSTAMP", "LAST-MODIFIED"});
}

// RFC 5545 asks the owner of an item to raise SEQUENCE whenever its start, end or repetition changes; the
// programs holding an earlier copy otherwise keep theirs.
TEST_F(SyncedCalendar, ANewTimeOrRepetitionRaisesTheSequenceAndRewritesOnlyWhatChanged) {
    const QByteArray file = calendarOf(kZone + kPlanning);
    vdir.write(QStringLiteral("home/khal-7a1e.ics"), file);
    VdirEventStore store(privacy, vdir.root);
    PlatformEvent event = planning(store);
    event.startDate = core::Date(event.startDate->secondsSince1970() + 3600);
    event.endDate = core::Date(event.endDate->secondsSince1970() + 3600);
    store.saveEvent(event, Span::ThisEvent, true);

    QByteArray after = written();
    expectOnlyChanged(file, after, {"DTSTART", "DTEND", "SEQUENCE", "DTSTAMP", "LAST-MODIFIED"});
    EXPECT_TRUE(after.contains("\r\nDTSTART;TZID=Europe/Berlin:20240612T100000\r\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("\r\nSEQUENCE:3\r\n"));

    event = planning(store);
    platform::PlatformRecurrenceRule weekly;
    weekly.frequency = platform::PlatformRecurrenceRule::Frequency::Weekly;
    weekly.end = platform::PlatformRecurrenceEnd{std::nullopt, 3};
    event.recurrenceRules = {weekly};
    store.saveEvent(event, Span::ThisEvent, true);
    after = written();
    EXPECT_TRUE(after.contains("\r\nSEQUENCE:4\r\n"));
    EXPECT_TRUE(after.contains("\r\nCATEGORIES:Work,Fun\r\n"));

    // One occurrence deleted: the series repeats otherwise.
    const std::vector<PlatformEvent> occurrences =
        store.events(core::Date(event.startDate->secondsSince1970() + 86400),
                     core::Date(event.startDate->secondsSince1970() + 10 * 86400), std::nullopt);
    ASSERT_EQ(occurrences.size(), 1u);
    store.removeEvent(occurrences.front(), Span::ThisEvent, true);
    after = written();
    EXPECT_TRUE(after.contains("\r\nSEQUENCE:5\r\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("\r\nGEO:52.52;13.40\r\n"));
}

}  // namespace
