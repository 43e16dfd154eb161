#include "FileSizeLimit.h"
#include "VdirFixture.h"

#include "platform/eventstore/vdir/IcsText.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>

#include <sys/stat.h>

using namespace vdirtest;
using platform::AuthorizationStatus;
using platform::EntityType;
using platform::EventStoreError;
using platform::PlatformAlarm;
using platform::PlatformCalendarItem;
using platform::PlatformEvent;
using platform::PlatformRecurrenceRule;
using platform::PlatformReminder;
using platform::Span;
using platform::vdir::VdirEventStore;

namespace {

core::Date berlin(const char* isoLocal) {
    const QDateTime parsed = QDateTime::fromString(QString::fromLatin1(isoLocal), Qt::ISODate);
    return core::Date(
        static_cast<double>(QDateTime(parsed.date(), parsed.time(), QTimeZone("Europe/Berlin")).toSecsSinceEpoch()));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList icsFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.ics")}, QDir::Files, QDir::Name);
}

// Every property line of a parsed file, for comparing two files as libical reads them.
class IcsTreeCheck {
public:
    explicit IcsTreeCheck(const QByteArray& text) : m_root(icalparser_parse_string(text.constData())) {}
    ~IcsTreeCheck() {
        if (m_root != nullptr) {
            icalcomponent_free(m_root);
        }
    }
    IcsTreeCheck(const IcsTreeCheck&) = delete;
    IcsTreeCheck& operator=(const IcsTreeCheck&) = delete;

    QStringList linesExcept(const QList<QByteArray>& names) const {
        QStringList lines;
        collect(m_root, names, lines);
        return lines;
    }

private:
    static void collect(icalcomponent* component, const QList<QByteArray>& names, QStringList& lines) {
        lines.append(QString::fromLatin1(icalcomponent_kind_to_string(icalcomponent_isa(component))));
        for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
             p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
            char* text = icalproperty_as_ical_string_r(p);
            const QByteArray line = QByteArray(text).trimmed();
            free(text);
            const bool skipped = std::any_of(names.begin(), names.end(), [&](const QByteArray& name) {
                return line.startsWith(QByteArray(name + ':')) || line.startsWith(QByteArray(name + ';'));
            });
            if (!skipped) {
                lines.append(QString::fromUtf8(line));
            }
        }
        for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c != nullptr;
             c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
            collect(c, names, lines);
        }
    }

    icalcomponent* m_root;
};

const QStringList kWeekly{
    QStringLiteral("BEGIN:VEVENT"),
    QStringLiteral("UID:weekly"),
    QStringLiteral("SUMMARY:Review"),
    QStringLiteral("DTSTART;TZID=Europe/Berlin:20240603T100000"),
    QStringLiteral("DTEND;TZID=Europe/Berlin:20240603T110000"),
    QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=6"),
    QStringLiteral("END:VEVENT"),
    QStringLiteral("BEGIN:VEVENT"),
    QStringLiteral("UID:weekly"),
    QStringLiteral("SUMMARY:Review (moved)"),
    QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240624T100000"),
    QStringLiteral("DTSTART;TZID=Europe/Berlin:20240625T140000"),
    QStringLiteral("DTEND;TZID=Europe/Berlin:20240625T150000"),
    QStringLiteral("END:VEVENT"),
};

class VdirStoreWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_vdir.write(QStringLiteral("personal/displayname"), "Personal\n");
        m_vdir.write(QStringLiteral("work/displayname"), "Work\n");
        m_vdir.write(QStringLiteral("tasks/displayname"), "Tasks\n");
        m_vdir.write(QStringLiteral("tasks/components"), "VTODO\n");
        m_vdir.writeIcs(QStringLiteral("personal/weekly.ics"), kWeekly);
        m_store = std::make_unique<VdirEventStore>(m_privacy, m_vdir.root);
    }

    QString personal() const { return m_vdir.path(QStringLiteral("personal")); }

    std::vector<PlatformEvent> june(VdirEventStore& store) const {
        return store.events(berlin("2024-06-01T00:00:00"), berlin("2024-08-01T00:00:00"), std::nullopt);
    }
    std::vector<PlatformEvent> june() const { return june(*m_store); }

    std::vector<PlatformEvent> occurrencesOf(const QString& identifier) const {
        std::vector<PlatformEvent> result;
        for (const PlatformEvent& e : june()) {
            if (e.eventIdentifier == identifier) {
                result.push_back(e);
            }
        }
        return result;
    }

    PlatformEvent occurrenceAt(const char* isoLocal) const {
        for (const PlatformEvent& e : june()) {
            if (e.occurrenceDate == berlin(isoLocal)) {
                return e;
            }
        }
        ADD_FAILURE() << "no occurrence at " << isoLocal;
        return {};
    }

    // What a second store, started afresh on the same folder, reads.
    void expectFreshStoreReadsTheSame() const {
        platform::FakePrivacy privacy;
        VdirEventStore fresh(privacy, m_vdir.root);
        EXPECT_EQ(june(fresh), june());
    }

    PlatformEvent newEvent(const char* start, const char* end) const {
        PlatformEvent event;
        event.calendar = m_store->calendar(QStringLiteral("personal"));
        event.title = QStringLiteral("Lunch");
        event.startDate = berlin(start);
        event.endDate = berlin(end);
        event.alarms = {PlatformAlarm{-900, std::nullopt}};
        return event;
    }

    TempVdir m_vdir;
    platform::FakePrivacy m_privacy;
    std::unique_ptr<VdirEventStore> m_store;
};

}  // namespace

TEST_F(VdirStoreWriterTest, createdEventIsAFileOfItsOwnThatReadsBackTheSame) {
    PlatformEvent event = newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00");
    event.location = QStringLiteral("Canteen, floor 2; left");
    event.url = QUrl(QStringLiteral("https://example.com/lunch"));
    const PlatformEvent saved = m_store->saveEvent(event, Span::ThisEvent, true);

    EXPECT_FALSE(saved.eventIdentifier.isEmpty());
    EXPECT_EQ(saved.title, event.title);
    EXPECT_EQ(saved.startDate, event.startDate);
    EXPECT_EQ(saved.endDate, event.endDate);
    EXPECT_EQ(saved.location, event.location);
    EXPECT_EQ(saved.url, event.url);
    EXPECT_EQ(saved.alarms, event.alarms);
    ASSERT_TRUE(saved.timeZone);
    EXPECT_EQ(saved.timeZone->identifier(), QStringLiteral("Europe/Berlin"));
    ASSERT_TRUE(saved.calendarItemExternalIdentifier);
    const QString file = personal() + u'/' + *saved.calendarItemExternalIdentifier + QStringLiteral(".ics");
    EXPECT_TRUE(QFile::exists(file));
    expectFreshStoreReadsTheSame();

    // Edited in place, then removed with its file.
    PlatformEvent edited = saved;
    edited.title = QStringLiteral("Long lunch");
    edited.endDate = berlin("2024-06-05T14:00:00");
    const PlatformEvent after = m_store->saveEvent(edited, Span::ThisEvent, true);
    EXPECT_EQ(after.eventIdentifier, saved.eventIdentifier);
    EXPECT_EQ(after.endDate, edited.endDate);
    EXPECT_EQ(after.location, event.location);
    expectFreshStoreReadsTheSame();
    m_store->removeEvent(after, Span::ThisEvent, true);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(m_store->event(saved.eventIdentifier));
}

TEST_F(VdirStoreWriterTest, occurrenceMovedAWeekAwayIsStillFoundEditedAndDeletedById) {
    PlatformEvent second = occurrenceAt("2024-06-10T10:00:00");
    second.startDate = berlin("2024-06-17T16:00:00");
    second.endDate = berlin("2024-06-17T17:00:00");
    const PlatformEvent moved = m_store->saveEvent(second, Span::ThisEvent, true);
    EXPECT_EQ(moved.startDate, second.startDate);
    EXPECT_EQ(moved.occurrenceDate, berlin("2024-06-10T10:00:00"));
    EXPECT_TRUE(moved.isDetached);
    EXPECT_EQ(icsFiles(personal()), QStringList({QStringLiteral("weekly.ics")}));

    const auto again = m_store->event(moved.eventIdentifier, berlin("2024-06-10T10:00:00"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->startDate, berlin("2024-06-17T16:00:00"));
    PlatformEvent renamed = *again;
    renamed.title = QStringLiteral("Review, moved");
    EXPECT_EQ(m_store->saveEvent(renamed, Span::ThisEvent, true).title, renamed.title);
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 6u);
    expectFreshStoreReadsTheSame();

    m_store->removeEvent(*m_store->event(moved.eventIdentifier, berlin("2024-06-10T10:00:00")), Span::ThisEvent, true);
    const std::vector<PlatformEvent> left = occurrencesOf(QStringLiteral("personal/weekly"));
    ASSERT_EQ(left.size(), 5u);
    for (const PlatformEvent& e : left) {
        EXPECT_NE(e.occurrenceDate, berlin("2024-06-10T10:00:00"));
        EXPECT_NE(e.startDate, berlin("2024-06-17T16:00:00"));
    }
    expectFreshStoreReadsTheSame();
}

TEST_F(VdirStoreWriterTest, futureEditFromALaterOccurrenceSplitsTheSeries) {
    const std::vector<PlatformEvent> before = occurrencesOf(QStringLiteral("personal/weekly"));
    ASSERT_EQ(before.size(), 6u);
    PlatformEvent third = occurrenceAt("2024-06-17T10:00:00");
    third.title = QStringLiteral("Review v2");
    third.startDate = berlin("2024-06-17T11:00:00");
    third.endDate = berlin("2024-06-17T12:00:00");
    const PlatformEvent saved = m_store->saveEvent(third, Span::FutureEvents, true);
    EXPECT_NE(saved.eventIdentifier, QStringLiteral("personal/weekly"));
    EXPECT_EQ(saved.startDate, third.startDate);
    EXPECT_EQ(icsFiles(personal()).size(), 2u);

    // The first two are untouched, ids and all; only the file's version and
    // the end of the rule differ.
    std::vector<PlatformEvent> kept = occurrencesOf(QStringLiteral("personal/weekly"));
    ASSERT_EQ(kept.size(), 2u);
    for (size_t i = 0; i < kept.size(); ++i) {
        PlatformEvent was = before[i];
        ASSERT_EQ(kept[i].recurrenceRules.size(), 1u);
        ASSERT_TRUE(kept[i].recurrenceRules[0].end);
        EXPECT_EQ(kept[i].recurrenceRules[0].end->endDate, berlin("2024-06-17T09:59:59"));
        was.recurrenceRules = kept[i].recurrenceRules;
        was.revision = kept[i].revision;
        EXPECT_EQ(kept[i], was);
    }

    // The rest: the remaining count, an hour later, with the moved occurrence moved along.
    const std::vector<PlatformEvent> rest = occurrencesOf(saved.eventIdentifier);
    ASSERT_EQ(rest.size(), 4u);
    EXPECT_EQ(rest[0].startDate, berlin("2024-06-17T11:00:00"));
    EXPECT_EQ(rest[0].title, QStringLiteral("Review v2"));
    EXPECT_EQ(rest[1].startDate, berlin("2024-06-25T14:00:00"));
    EXPECT_EQ(rest[1].title, QStringLiteral("Review (moved)"));
    EXPECT_TRUE(rest[1].isDetached);
    EXPECT_EQ(rest[3].startDate, berlin("2024-07-08T11:00:00"));
    expectFreshStoreReadsTheSame();

    // Deleting the new series from its first occurrence removes its file only.
    m_store->removeEvent(rest[0], Span::FutureEvents, true);
    EXPECT_EQ(icsFiles(personal()), QStringList({QStringLiteral("weekly.ics")}));
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 2u);
}

// A move writes its journal to the app's state folder first; when that folder cannot be made
// the user is told so, the log says where and why, and no calendar file changes.
TEST_F(VdirStoreWriterTest, aMoveWithoutAWritableStateFolderSaysSoAndChangesNothing) {
    const PlatformEvent created =
        m_store->saveEvent(newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00"), Span::ThisEvent, true);
    const QStringList personalBefore = icsFiles(personal());

    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    QTemporaryDir state;
    const QString blocked = state.path() + QStringLiteral("/orbitday");
    QFile blocker(blocked);  // a file where the app's state folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));

    PlatformEvent moving = created;
    moving.calendar = m_store->calendar(QStringLiteral("work"));
    testing::internal::CaptureStderr();
    std::optional<QString> message;
    try {
        m_store->saveEvent(moving, Span::ThisEvent, true);
    } catch (const EventStoreError& error) {
        message = error.errorDescription();
    }
    const std::string log = testing::internal::GetCapturedStderr();
    qputenv("XDG_STATE_HOME", savedState);

    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, QStringLiteral("The change was not made: Orbitday's state folder %1 is not writable.").arg(blocked));
    EXPECT_NE(log.find("cannot write the journal at " + blocked.toStdString() + "/journal: Not a directory"),
              std::string::npos)
        << log;
    EXPECT_EQ(icsFiles(personal()), personalBefore);
    EXPECT_TRUE(icsFiles(m_vdir.path(QStringLiteral("work"))).isEmpty());
    EXPECT_EQ(m_store->event(created.eventIdentifier)->calendar->calendarIdentifier, QStringLiteral("personal"));
}

TEST_F(VdirStoreWriterTest, eventsMoveToAnotherCalendarWithTheirFile) {
    const PlatformEvent created =
        m_store->saveEvent(newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00"), Span::ThisEvent, true);
    PlatformEvent moving = created;
    moving.calendar = m_store->calendar(QStringLiteral("work"));
    const PlatformEvent moved = m_store->saveEvent(moving, Span::ThisEvent, true);
    EXPECT_EQ(moved.calendar->calendarIdentifier, QStringLiteral("work"));
    EXPECT_EQ(moved.title, created.title);
    EXPECT_FALSE(m_store->event(created.eventIdentifier));
    EXPECT_EQ(icsFiles(personal()), QStringList({QStringLiteral("weekly.ics")}));
    EXPECT_EQ(icsFiles(m_vdir.path(QStringLiteral("work"))).size(), 1u);

    // An unknown calendar leaves the event where it is.
    PlatformEvent nowhere = moved;
    nowhere.calendar->calendarIdentifier = QStringLiteral("gone");
    nowhere.title = QStringLiteral("Still at work");
    EXPECT_EQ(m_store->saveEvent(nowhere, Span::ThisEvent, true).calendar->calendarIdentifier, QStringLiteral("work"));

    // The following occurrences of a series go to the new calendar, the earlier ones stay.
    PlatformEvent third = occurrenceAt("2024-06-17T10:00:00");
    third.calendar = m_store->calendar(QStringLiteral("work"));
    const PlatformEvent rest = m_store->saveEvent(third, Span::FutureEvents, true);
    EXPECT_EQ(rest.calendar->calendarIdentifier, QStringLiteral("work"));
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 2u);
    EXPECT_EQ(occurrencesOf(rest.eventIdentifier).size(), 4u);
    expectFreshStoreReadsTheSame();
}

TEST_F(VdirStoreWriterTest, deletingOccurrencesExcludesEndsOrRemovesTheSeries) {
    m_store->removeEvent(occurrenceAt("2024-06-10T10:00:00"), Span::ThisEvent, true);
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 5u);
    EXPECT_TRUE(readFile(m_vdir.path(QStringLiteral("personal/weekly.ics")))
                    .contains("EXDATE;TZID=Europe/Berlin:20240610T100000"));

    m_store->removeEvent(occurrenceAt("2024-07-01T10:00:00"), Span::FutureEvents, true);
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 3u);
    const QByteArray text = readFile(m_vdir.path(QStringLiteral("personal/weekly.ics")));
    EXPECT_TRUE(text.contains("UNTIL=20240701T075959Z"));
    EXPECT_FALSE(text.contains("COUNT="));
    expectFreshStoreReadsTheSame();

    m_store->removeEvent(occurrenceAt("2024-06-03T10:00:00"), Span::FutureEvents, true);
    EXPECT_TRUE(icsFiles(personal()).isEmpty());
}

TEST_F(VdirStoreWriterTest, allDayEventSpansTheSameDaysOnADstChangeDay) {
    for (const auto& [start, end] : {std::pair{"2024-03-31T00:00:00", "2024-03-31T23:59:59"},
                                     std::pair{"2024-10-26T00:00:00", "2024-10-28T23:59:59"}}) {
        SCOPED_TRACE(start);
        PlatformEvent event = newEvent(start, end);
        event.isAllDay = true;
        const PlatformEvent saved = m_store->saveEvent(event, Span::ThisEvent, true);
        EXPECT_TRUE(saved.isAllDay);
        EXPECT_EQ(saved.startDate, event.startDate);
        EXPECT_EQ(saved.endDate, event.endDate);
        platform::FakePrivacy privacy;
        VdirEventStore fresh(privacy, m_vdir.root);
        EXPECT_EQ(fresh.event(saved.eventIdentifier), saved);
    }
}

TEST_F(VdirStoreWriterTest, fileChangedBehindOurBackFailsTheSaveAndIsLeftAlone) {
    const PlatformEvent first = occurrenceAt("2024-06-03T10:00:00");
    const QString path = m_vdir.path(QStringLiteral("personal/weekly.ics"));
    QByteArray theirs = readFile(path);
    theirs.replace("SUMMARY:Review\r\n", "SUMMARY:Theirs\r\n");
    m_vdir.write(QStringLiteral("personal/weekly.ics"), theirs);

    PlatformEvent ours = first;
    ours.title = QStringLiteral("Ours");
    try {
        m_store->saveEvent(ours, Span::FutureEvents, true);
        FAIL() << "saved over a file changed on disk";
    } catch (const EventStoreError& error) {
        EXPECT_EQ(error.code(), EventStoreError::Code::Conflict);
    }
    EXPECT_EQ(readFile(path), theirs);
    EXPECT_THROW(m_store->removeEvent(first, Span::ThisEvent, true), EventStoreError);
    EXPECT_EQ(readFile(path), theirs);

    // Staged before the change: the commit fails, the file stays theirs and our change is still shown.
    m_store->reset();
    PlatformEvent staged = occurrenceAt("2024-06-03T10:00:00");
    staged.title = QStringLiteral("Ours");
    m_store->saveEvent(staged, Span::FutureEvents, false);
    theirs.replace("SUMMARY:Theirs\r\n", "SUMMARY:Theirs again\r\n");
    m_vdir.write(QStringLiteral("personal/weekly.ics"), theirs);
    EXPECT_THROW(m_store->commit(), EventStoreError);
    EXPECT_EQ(readFile(path), theirs);
    EXPECT_EQ(occurrenceAt("2024-06-03T10:00:00").title, QStringLiteral("Ours"));
}

TEST_F(VdirStoreWriterTest, aFailedImmediateSaveLeavesNothingPending) {
    const QString path = m_vdir.path(QStringLiteral("personal/weekly.ics"));
    const QByteArray original = readFile(path);
    PlatformEvent first = occurrenceAt("2024-06-03T10:00:00");
    first.title = QStringLiteral("Too big");
    first.notes = QString(64 * 1024, u'x');
    {
        testsupport::FileSizeLimit full(16 * 1024);
        try {
            m_store->saveEvent(first, Span::FutureEvents, true);
            FAIL() << "a write beyond the limit succeeded";
        } catch (const EventStoreError& error) {
            EXPECT_EQ(error.code(), EventStoreError::Code::WriteFailed);
        }
    }
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(occurrenceAt("2024-06-03T10:00:00").title, QStringLiteral("Review"));
    m_store->commit();
    EXPECT_EQ(readFile(path), original);
}

TEST_F(VdirStoreWriterTest, stagedChangesAreReadAtOnceAndWrittenOnlyOnCommit) {
    const QString path = m_vdir.path(QStringLiteral("personal/weekly.ics"));
    const QByteArray original = readFile(path);
    PlatformEvent first = occurrenceAt("2024-06-03T10:00:00");
    first.title = QStringLiteral("Staged");
    m_store->saveEvent(first, Span::FutureEvents, false);
    // A second change of the same file builds on the first.
    m_store->removeEvent(occurrenceAt("2024-06-10T10:00:00"), Span::ThisEvent, false);
    const PlatformEvent created =
        m_store->saveEvent(newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00"), Span::ThisEvent, false);
    EXPECT_EQ(occurrenceAt("2024-06-17T10:00:00").title, QStringLiteral("Staged"));
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 5u);
    EXPECT_TRUE(m_store->event(created.eventIdentifier));
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(icsFiles(personal()).size(), 1u);

    m_store->commit();
    EXPECT_TRUE(readFile(path).contains("SUMMARY:Staged"));
    EXPECT_EQ(icsFiles(personal()).size(), 2u);
    expectFreshStoreReadsTheSame();

    PlatformEvent dropped = occurrenceAt("2024-06-03T10:00:00");
    dropped.title = QStringLiteral("Dropped");
    m_store->saveEvent(dropped, Span::FutureEvents, false);
    m_store->reset();
    EXPECT_EQ(occurrenceAt("2024-06-03T10:00:00").title, QStringLiteral("Staged"));
    m_store->commit();
    EXPECT_FALSE(readFile(path).contains("Dropped"));
}

TEST_F(VdirStoreWriterTest, whatWeDoNotEditSurvivesUnchanged) {
    const QByteArray original = ics({
        QStringLiteral("BEGIN:VTIMEZONE"),
        QStringLiteral("TZID:Europe/Berlin"),
        QStringLiteral("BEGIN:STANDARD"),
        QStringLiteral("DTSTART:19701025T030000"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"),
        QStringLiteral("TZOFFSETFROM:+0200"),
        QStringLiteral("TZOFFSETTO:+0100"),
        QStringLiteral("END:STANDARD"),
        QStringLiteral("BEGIN:DAYLIGHT"),
        QStringLiteral("DTSTART:19700329T020000"),
        QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"),
        QStringLiteral("TZOFFSETFROM:+0100"),
        QStringLiteral("TZOFFSETTO:+0200"),
        QStringLiteral("END:DAYLIGHT"),
        QStringLiteral("END:VTIMEZONE"),
        QStringLiteral("BEGIN:VEVENT"),
        QStringLiteral("UID:rich"),
        QStringLiteral("DTSTAMP:20240101T000000Z"),
        QStringLiteral("SUMMARY:Old"),
        QStringLiteral("DTSTART;TZID=Europe/Berlin:20240612T090000"),
        QStringLiteral("DTEND;TZID=Europe/Berlin:20240612T100000"),
        QStringLiteral("X-ALT-DESC;FMTTYPE=text/html:<p>a\\, b\\; c</p>"),
        QStringLiteral("X-TAGS:one,two"),
        QStringLiteral("ORGANIZER;CN=\"Boss, The\":mailto:boss@example.com"),
        QStringLiteral("ATTENDEE;CN=Me;PARTSTAT=ACCEPTED;RSVP=TRUE:mailto:me@example.com"),
        QStringLiteral("CATEGORIES:Work,Review"),
        QStringLiteral("CLASS:PRIVATE"),
        QStringLiteral("X-VENDOR-THING;X-P=1:keep me"),
        QStringLiteral("BEGIN:VALARM"),
        QStringLiteral("ACTION:AUDIO"),
        QStringLiteral("TRIGGER;VALUE=DATE-TIME:20240612T065000Z"),
        QStringLiteral("END:VALARM"),
        QStringLiteral("END:VEVENT"),
    });
    m_vdir.write(QStringLiteral("personal/rich.ics"), original);
    m_store->refreshSources();
    PlatformEvent event = *m_store->event(QStringLiteral("personal/rich"));
    event.title = QStringLiteral("New");
    m_store->saveEvent(event, Span::ThisEvent, true);

    const QByteArray written = readFile(m_vdir.path(QStringLiteral("personal/rich.ics")));
    EXPECT_TRUE(written.contains("X-ALT-DESC;FMTTYPE=text/html:<p>a\\, b\\; c</p>\r\n"));
    EXPECT_TRUE(written.contains("X-TAGS:one,two\r\n"));
    IcsTreeCheck before(original);
    IcsTreeCheck after(written);
    EXPECT_EQ(before.linesExcept({"SUMMARY", "DTSTAMP", "LAST-MODIFIED"}),
              after.linesExcept({"SUMMARY", "DTSTAMP", "LAST-MODIFIED"}));
    EXPECT_EQ(after.linesExcept({}).filter(QStringLiteral("SUMMARY")), QStringList({QStringLiteral("SUMMARY:New")}));
}

TEST_F(VdirStoreWriterTest, remindersAreCreatedCompletedReopenedAndRemoved) {
    PlatformReminder reminder;
    reminder.calendar = m_store->calendar(QStringLiteral("tasks"));
    reminder.title = QStringLiteral("Call back");
    reminder.priority = 1;
    core::DateComponents due;
    due.year = 2024;
    due.month = 6;
    due.day = 12;
    due.hour = 9;
    due.minute = 30;
    reminder.dueDateComponents = due;
    reminder.alarms = {PlatformAlarm{0, berlin("2024-06-12T09:30:00")}};
    const PlatformReminder saved = m_store->saveReminder(reminder, true);
    EXPECT_EQ(saved.title, reminder.title);
    EXPECT_EQ(saved.priority, 1);
    ASSERT_TRUE(saved.dueDateComponents);
    EXPECT_EQ(saved.dueDateComponents->hour, 9);
    EXPECT_EQ(saved.dueDateComponents->minute, 30);
    EXPECT_EQ(saved.alarms, reminder.alarms);
    EXPECT_FALSE(saved.isCompleted);

    PlatformReminder done = saved;
    done.isCompleted = true;
    EXPECT_TRUE(m_store->saveReminder(done, true).isCompleted);
    const QString file =
        m_vdir.path(QStringLiteral("tasks/") + *saved.calendarItemExternalIdentifier + QStringLiteral(".ics"));
    const QByteArray text = readFile(file);
    EXPECT_TRUE(text.contains("STATUS:COMPLETED"));
    EXPECT_TRUE(text.contains("PERCENT-COMPLETE:100"));
    EXPECT_TRUE(text.contains("COMPLETED:"));

    auto item = m_store->calendarItem(saved.calendarItemIdentifier);
    ASSERT_TRUE(item && std::holds_alternative<PlatformReminder>(*item));
    PlatformReminder reopened = std::get<PlatformReminder>(*item);
    reopened.isCompleted = false;
    EXPECT_FALSE(m_store->saveReminder(reopened, true).isCompleted);
    EXPECT_FALSE(readFile(file).contains("COMPLETED"));

    const auto latest = m_store->calendarItem(saved.calendarItemIdentifier);
    ASSERT_TRUE(latest && std::holds_alternative<PlatformReminder>(*latest));
    m_store->removeReminder(std::get<PlatformReminder>(*latest), true);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(VdirStoreWriterTest, readOnlyItemsAndNoAccessRefuseChanges) {
    // A collection folder we may not write into.
    m_vdir.writeIcs(QStringLiteral("locked/a.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"),
                     QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("END:VEVENT")});
    ::chmod(QFile::encodeName(m_vdir.path(QStringLiteral("locked"))).constData(), 0555);
    m_store->refreshSources();
    const auto locked = m_store->event(QStringLiteral("locked/a"));
    ASSERT_TRUE(locked);
    try {
        m_store->removeEvent(*locked, Span::ThisEvent, true);
        FAIL() << "removed from a read-only folder";
    } catch (const EventStoreError& error) {
        EXPECT_EQ(error.code(), EventStoreError::Code::ReadOnly);
    }
    ::chmod(QFile::encodeName(m_vdir.path(QStringLiteral("locked"))).constData(), 0755);
    EXPECT_TRUE(QFile::exists(m_vdir.path(QStringLiteral("locked/a.ics"))));

    // A file libical could not read whole: writing it back would lose what it dropped.
    const QByteArray damaged = ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:damaged"),
                                    QStringLiteral("SUMMARY:Damaged"), QStringLiteral("DTSTART:20240602T120000Z"),
                                    QStringLiteral("DTEND:not a date"), QStringLiteral("END:VEVENT")});
    m_vdir.write(QStringLiteral("personal/damaged.ics"), damaged);
    m_store->refreshSources();
    auto broken = m_store->event(QStringLiteral("personal/damaged"));
    ASSERT_TRUE(broken);
    broken->title = QStringLiteral("Repaired?");
    EXPECT_THROW(m_store->saveEvent(*broken, Span::ThisEvent, true), EventStoreError);
    EXPECT_EQ(readFile(m_vdir.path(QStringLiteral("personal/damaged.ics"))), damaged);

    // Write-only access may add events, though it cannot read them back.
    const PlatformEvent lunch = newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00");
    m_privacy.setStatus(EntityType::Event, AuthorizationStatus::WriteOnly);
    const PlatformEvent blind = m_store->saveEvent(lunch, Span::ThisEvent, true);
    EXPECT_FALSE(blind.eventIdentifier.isEmpty());
    EXPECT_EQ(icsFiles(personal()).size(), 3u);

    m_privacy.setStatus(EntityType::Event, AuthorizationStatus::Denied);
    try {
        m_store->saveEvent(newEvent("2024-06-05T12:00:00", "2024-06-05T13:00:00"), Span::ThisEvent, true);
        FAIL() << "saved without access";
    } catch (const EventStoreError& error) {
        EXPECT_EQ(error.code(), EventStoreError::Code::AccessDenied);
    }
}

// The same invitation often sits in two calendars under one UID. Moving one copy where the other already has the
// UID's file name must neither hide nor be mistaken for that copy, staged or written.
TEST_F(VdirStoreWriterTest, movingOntoACalendarHoldingTheSameUidKeepsBothCopiesApart) {
    const auto single = [](const char* summary) {
        return QStringList{QStringLiteral("BEGIN:VEVENT"),
                           QStringLiteral("UID:invite"),
                           QStringLiteral("SUMMARY:") + QLatin1String(summary),
                           QStringLiteral("DTSTART;TZID=Europe/Berlin:20240612T090000"),
                           QStringLiteral("DTEND;TZID=Europe/Berlin:20240612T100000"),
                           QStringLiteral("END:VEVENT")};
    };
    m_vdir.writeIcs(QStringLiteral("personal/invite.ics"), single("Mine"));
    m_vdir.writeIcs(QStringLiteral("work/invite.ics"), single("Theirs"));
    const QString workCopy = m_vdir.path(QStringLiteral("work/invite.ics"));
    const QByteArray theirs = readFile(workCopy);
    m_store->reloadNow();
    const auto titlesInWork = [&] {
        QStringList titles;
        for (const PlatformEvent& e : june())
            if (e.calendar->calendarIdentifier == u"work")
                titles << e.title.value_or(QString());
        titles.sort();
        return titles;
    };

    PlatformEvent mine = occurrencesOf(QStringLiteral("personal/invite")).at(0);
    mine.calendar = m_store->calendar(QStringLiteral("work"));
    m_store->saveEvent(mine, Span::ThisEvent, false);
    EXPECT_EQ(titlesInWork(), QStringList({QStringLiteral("Mine"), QStringLiteral("Theirs")})) << "staged";
    m_store->reset();

    const PlatformEvent moved = m_store->saveEvent(mine, Span::ThisEvent, true);
    EXPECT_EQ(moved.title, QStringLiteral("Mine"));
    EXPECT_EQ(m_store->event(moved.eventIdentifier)->title, QStringLiteral("Mine"));
    EXPECT_EQ(titlesInWork(), QStringList({QStringLiteral("Mine"), QStringLiteral("Theirs")}));
    EXPECT_EQ(readFile(workCopy), theirs);
}

// Deleting or moving the last event of a file must not take along what else the file holds.
TEST_F(VdirStoreWriterTest, theLastEventOfAFileLeavesItsOtherComponentsBehind) {
    m_vdir.writeIcs(QStringLiteral("personal/mixed.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:only"), QStringLiteral("SUMMARY:Only"),
                     QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("END:VEVENT"),
                     QStringLiteral("BEGIN:VFREEBUSY"), QStringLiteral("UID:busy"),
                     QStringLiteral("FREEBUSY:20240612T090000Z/PT1H"), QStringLiteral("END:VFREEBUSY")});
    const QString path = m_vdir.path(QStringLiteral("personal/mixed.ics"));
    m_store->reloadNow();
    m_store->removeEvent(occurrencesOf(QStringLiteral("personal/only")).at(0), Span::ThisEvent, true);
    const QByteArray left = readFile(path);
    EXPECT_TRUE(left.contains("FREEBUSY:20240612T090000Z/PT1H")) << left.toStdString();
    EXPECT_FALSE(left.contains("SUMMARY:Only"));
}

// In a file of many events only the edited one is written again: one moved into a zone the file has no definition
// of brings the definition along, once, ahead of the events, and the other events keep their bytes.
TEST_F(VdirStoreWriterTest, anEventMovedIntoAZoneTheFileLacksBringsItsDefinitionOnce) {
    const QByteArray other = "BEGIN:VEVENT\nUID:other\nSUMMARY:Other\nDTSTART:20240613T090000Z\nEND:VEVENT\n";
    m_vdir.write(QStringLiteral("personal/many.ics"),
                 "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\n" + other +
                     "BEGIN:VEVENT\nUID:call\nSUMMARY:Call\nDTSTART:20240612T090000Z\nDTEND:20240612T100000Z\n"
                     "END:VEVENT\nEND:VCALENDAR\n");
    const QString path = m_vdir.path(QStringLiteral("personal/many.ics"));
    m_store->reloadNow();
    PlatformEvent call = *m_store->event(QStringLiteral("personal/call"));
    call.timeZone = core::TimeZone::withIdentifier(QStringLiteral("America/New_York"));
    call = m_store->saveEvent(call, Span::ThisEvent, true);
    call.startDate = *call.startDate + 3600;
    call.endDate = *call.endDate + 3600;
    m_store->saveEvent(call, Span::ThisEvent, true);

    const QByteArray written = readFile(path);
    EXPECT_EQ(written.count("BEGIN:VTIMEZONE"), 1) << written.constData();
    EXPECT_LT(written.indexOf("TZID:America/New_York"), written.indexOf("BEGIN:VEVENT"));
    EXPECT_TRUE(written.contains("DTSTART;TZID=America/New_York:20240612T060000")) << written.constData();
    EXPECT_TRUE(written.contains(other));
    ASSERT_TRUE(m_store->event(QStringLiteral("personal/call"))->timeZone);
    EXPECT_EQ(m_store->event(QStringLiteral("personal/call"))->timeZone->identifier(),
              QStringLiteral("America/New_York"));
    expectFreshStoreReadsTheSame();
}

// libical drops components it does not know (vendor X- components) without a word; writing such a file back
// would lose them, so its items are read-only like those of any file libical could not read whole.
TEST_F(VdirStoreWriterTest, aFileWithComponentsLibicalDropsIsNeverWritten) {
    m_vdir.writeIcs(
        QStringLiteral("personal/vendor.ics"),
        {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:vendor"), QStringLiteral("SUMMARY:Vendor"),
         QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("END:VEVENT"),
         QStringLiteral("BEGIN:X-VENDOR-NOTE"), QStringLiteral("X-TEXT:keep me"), QStringLiteral("END:X-VENDOR-NOTE")});
    const QString path = m_vdir.path(QStringLiteral("personal/vendor.ics"));
    const QByteArray original = readFile(path);
    m_store->reloadNow();
    PlatformEvent vendor = occurrencesOf(QStringLiteral("personal/vendor")).at(0);
    EXPECT_FALSE(vendor.calendar->allowsContentModifications);
    vendor.title = QStringLiteral("Renamed");
    EXPECT_THROW(m_store->saveEvent(vendor, Span::ThisEvent, true), EventStoreError);
    EXPECT_THROW(m_store->removeEvent(vendor, Span::ThisEvent, true), EventStoreError);
    EXPECT_EQ(readFile(path), original);
}

// libical writes a list value without its "\," escapes: the category "Work, urgent" would come back as two, so
// such a file is never written.
TEST_F(VdirStoreWriterTest, aCategoryWithACommaIsNeverSplitByAnEdit) {
    m_vdir.writeIcs(QStringLiteral("personal/tagged.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:tagged"), QStringLiteral("SUMMARY:Tagged"),
                     QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("CATEGORIES:Work\\, urgent,Home"),
                     QStringLiteral("END:VEVENT")});
    const QString path = m_vdir.path(QStringLiteral("personal/tagged.ics"));
    const QByteArray original = readFile(path);
    m_store->reloadNow();
    PlatformEvent event = *m_store->event(QStringLiteral("personal/tagged"));
    EXPECT_FALSE(event.calendar->allowsContentModifications);
    event.title = QStringLiteral("Renamed");
    EXPECT_THROW(m_store->saveEvent(event, Span::ThisEvent, true), EventStoreError);
    EXPECT_EQ(readFile(path), original);
}

// Two events under one UID without RECURRENCE-ID: only the first can be shown, and every edit goes by UID, so
// deleting the one shown would take the other along unseen.
TEST_F(VdirStoreWriterTest, twoEventsUnderOneUidInAFileAreLeftAlone) {
    m_vdir.writeIcs(QStringLiteral("personal/twins.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:twin"), QStringLiteral("SUMMARY:First"),
                     QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("END:VEVENT"),
                     QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:twin"), QStringLiteral("SUMMARY:Second"),
                     QStringLiteral("DTSTART:20240613T090000Z"), QStringLiteral("END:VEVENT")});
    const QString path = m_vdir.path(QStringLiteral("personal/twins.ics"));
    const QByteArray original = readFile(path);
    m_store->reloadNow();
    const PlatformEvent first = occurrencesOf(QStringLiteral("personal/twin")).at(0);
    EXPECT_FALSE(first.calendar->allowsContentModifications);
    EXPECT_THROW(m_store->removeEvent(first, Span::ThisEvent, true), EventStoreError);
    EXPECT_EQ(readFile(path), original);
}

// Some exports write a text property with nothing in it. libical drops it with an error mark; nothing is lost by
// reading it as absent, so the item stays editable and an edit writes no error mark back.
TEST_F(VdirStoreWriterTest, emptyTextPropertiesReadAsAbsentAndLeaveTheItemEditable) {
    m_vdir.writeIcs(QStringLiteral("personal/export.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:export"), QStringLiteral("SUMMARY:Exported"),
                     QStringLiteral("LOCATION:"), QStringLiteral("DESCRIPTION:"), QStringLiteral("COMMENT:"),
                     QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("END:VEVENT")});
    m_vdir.writeIcs(QStringLiteral("personal/broken.ics"),
                    {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:broken"), QStringLiteral("SUMMARY:Broken"),
                     QStringLiteral("LOCATION:"), QStringLiteral("DTSTART:20240613T090000Z"), QStringLiteral("DTEND:"),
                     QStringLiteral("END:VEVENT")});
    m_store->refreshSources();
    auto exported = m_store->event(QStringLiteral("personal/export"));
    ASSERT_TRUE(exported);
    EXPECT_TRUE(exported->calendar->allowsContentModifications);
    EXPECT_FALSE(exported->location);
    EXPECT_FALSE(exported->notes);
    exported->title = QStringLiteral("Edited");
    m_store->saveEvent(*exported, Span::ThisEvent, true);
    const QByteArray written = readFile(m_vdir.path(QStringLiteral("personal/export.ics")));
    EXPECT_TRUE(written.contains("SUMMARY:Edited"));
    EXPECT_FALSE(written.contains("X-LIC-ERROR"));
    // An empty value that is not plain text is still damage: writing the file back would drop the property.
    EXPECT_FALSE(m_store->event(QStringLiteral("personal/broken"))->calendar->allowsContentModifications);
}

namespace {

std::vector<core::Date> startsOf(const std::vector<PlatformEvent>& events, const QString& title) {
    std::vector<core::Date> starts;
    for (const PlatformEvent& e : events)
        if (e.title == title)
            starts.push_back(*e.startDate);
    return starts;
}

QStringList dailyFromJune3(const QString& uid, const QString& start, const QString& rule) {
    return {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:") + uid, QStringLiteral("SUMMARY:") + uid, start, rule,
            QStringLiteral("END:VEVENT")};
}

}  // namespace

// What two widely used calendar programs (one over python-dateutil, one over python's icalendar) show for rules
// with both COUNT and UNTIL, which RFC 5545 forbids and some servers write, and for a DATE UNTIL on a timed start.
// Their occurrences are written here as they gave them.
TEST_F(VdirStoreWriterTest, rulesEndingTwiceOrOnADateEndAsOtherCalendarProgramsEndThem) {
    const QString inBerlin = QStringLiteral("DTSTART;TZID=Europe/Berlin:20240603T100000");
    m_vdir.writeIcs(QStringLiteral("personal/a.ics"),
                    dailyFromJune3(QStringLiteral("A"), inBerlin,
                                   QStringLiteral("RRULE:FREQ=DAILY;COUNT=5;UNTIL=20240610T000000Z")));
    m_vdir.writeIcs(QStringLiteral("personal/b.ics"),
                    dailyFromJune3(QStringLiteral("B"), inBerlin,
                                   QStringLiteral("RRULE:FREQ=DAILY;COUNT=10;UNTIL=20240605T220000Z")));
    m_vdir.writeIcs(QStringLiteral("personal/c.ics"),
                    dailyFromJune3(QStringLiteral("C"), inBerlin, QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240606")));
    m_vdir.writeIcs(QStringLiteral("personal/d.ics"),
                    dailyFromJune3(QStringLiteral("D"), inBerlin,
                                   QStringLiteral("RRULE:FREQ=WEEKLY;COUNT=3;UNTIL=20240701")));
    m_vdir.writeIcs(QStringLiteral("personal/e.ics"),
                    dailyFromJune3(QStringLiteral("E"), QStringLiteral("DTSTART;VALUE=DATE:20240603"),
                                   QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240606")));
    m_vdir.writeIcs(QStringLiteral("personal/f.ics"),
                    dailyFromJune3(QStringLiteral("F"), QStringLiteral("DTSTART:20240603T100000Z"),
                                   QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240606")));
    m_vdir.writeIcs(QStringLiteral("personal/g.ics"),
                    dailyFromJune3(QStringLiteral("G"), QStringLiteral("DTSTART:20240603T100000"),
                                   QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240606")));
    m_store->refreshSources();
    const auto events = june();
    const auto at = [](int day, int hour) { return local("Europe/Berlin", 2024, 6, day, hour); };
    EXPECT_EQ(startsOf(events, QStringLiteral("A")), (std::vector{at(3, 10), at(4, 10), at(5, 10), at(6, 10), at(7, 10)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("B")), (std::vector{at(3, 10), at(4, 10), at(5, 10)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("C")), (std::vector{at(3, 10), at(4, 10), at(5, 10)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("D")), (std::vector{at(3, 10), at(10, 10), at(17, 10)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("E")), (std::vector{at(3, 0), at(4, 0), at(5, 0), at(6, 0)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("F")), (std::vector{at(3, 12), at(4, 12), at(5, 12)}));
    EXPECT_EQ(startsOf(events, QStringLiteral("G")), (std::vector{at(3, 10), at(4, 10), at(5, 10)}));

    // Still editable, and written back with both of its ends.
    PlatformEvent a = occurrencesOf(QStringLiteral("personal/A")).at(1);
    EXPECT_TRUE(a.calendar->allowsContentModifications);
    a.title = QStringLiteral("A2");
    m_store->saveEvent(a, Span::FutureEvents, true);
    EXPECT_EQ(startsOf(june(), QStringLiteral("A")), (std::vector{at(3, 10)}));
    EXPECT_EQ(startsOf(june(), QStringLiteral("A2")), (std::vector{at(4, 10), at(5, 10), at(6, 10), at(7, 10)}));
    PlatformEvent b = occurrencesOf(QStringLiteral("personal/B")).at(0);
    b.location = QStringLiteral("Room 4");
    m_store->saveEvent(b, Span::ThisEvent, true);
    const QByteArray written = readFile(m_vdir.path(QStringLiteral("personal/b.ics")));
    EXPECT_TRUE(written.contains("COUNT=10")) << written.toStdString();
    EXPECT_TRUE(written.contains("UNTIL=20240605T220000Z")) << written.toStdString();
    EXPECT_EQ(startsOf(june(), QStringLiteral("B")), (std::vector{at(3, 10), at(4, 10), at(5, 10)}));
    expectFreshStoreReadsTheSame();
}

// An app started with calendars still being read on another thread: a change asked meanwhile (an identifier kept from
// the last run, a new event in a calendar known by name) waits for the read and is made over the files as read.
TEST_F(VdirStoreWriterTest, aChangeAskedWhileTheFirstReadRunsOnAnotherThreadWaitsForItAndLosesNothing) {
    const PlatformEvent secondWeek = occurrenceAt("2024-06-10T10:00:00");
    m_store = std::make_unique<VdirEventStore>(m_privacy, m_vdir.root, VdirEventStore::FirstRead::InBackground);
    ASSERT_TRUE(june().empty()) << "nothing is read on this thread";

    PlatformEvent lunch;
    lunch.calendar = platform::PlatformCalendar{};
    lunch.calendar->calendarIdentifier = QStringLiteral("personal");
    lunch.title = QStringLiteral("Lunch");
    lunch.startDate = berlin("2024-06-12T12:00:00");
    lunch.endDate = berlin("2024-06-12T13:00:00");
    m_store->removeEvent(secondWeek, Span::ThisEvent, true);
    const PlatformEvent saved = m_store->saveEvent(lunch, Span::ThisEvent, true);

    EXPECT_EQ(occurrencesOf(saved.eventIdentifier).size(), 1u);
    EXPECT_EQ(occurrencesOf(QStringLiteral("personal/weekly")).size(), 5u);
    const QByteArray weekly = readFile(m_vdir.path(QStringLiteral("personal/weekly.ics")));
    EXPECT_TRUE(weekly.contains("EXDATE;TZID=Europe/Berlin:20240610T100000"));
    EXPECT_TRUE(weekly.contains("SUMMARY:Review (moved)")) << "the rest of the file as it was";
    expectFreshStoreReadsTheSame();
}
