#include "VdirFixture.h"

#include <QThreadPool>

#include <algorithm>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vdirtest;
using platform::AuthorizationStatus;
using platform::EntityType;
using platform::PlatformEvent;
using platform::PlatformReminder;
using platform::vdir::VdirEventStore;

namespace {

const QStringList kStandup{
    QStringLiteral("BEGIN:VEVENT"),
    QStringLiteral("UID:standup@example.com"),
    QStringLiteral("SUMMARY:Standup"),
    QStringLiteral("LOCATION:Room 1"),
    QStringLiteral("DESCRIPTION:Daily sync"),
    QStringLiteral("URL:https://example.com/standup"),
    QStringLiteral("DTSTART;TZID=Europe/Berlin:20240603T093000"),
    QStringLiteral("DTEND;TZID=Europe/Berlin:20240603T094500"),
    QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20240619T073000Z"),
    QStringLiteral("EXDATE;TZID=Europe/Berlin:20240605T093000"),
    QStringLiteral("ORGANIZER;CN=Boss:mailto:boss@example.com"),
    QStringLiteral("ATTENDEE;CN=Me;PARTSTAT=ACCEPTED:MAILTO:Me@Example.com"),
    QStringLiteral("ATTENDEE;PARTSTAT=DECLINED:mailto:other@example.com"),
    QStringLiteral("ATTENDEE;CN=Maybe;PARTSTAT=TENTATIVE:mailto:maybe@example.com"),
    QStringLiteral("BEGIN:VALARM"),
    QStringLiteral("ACTION:DISPLAY"),
    QStringLiteral("TRIGGER:-PT10M"),
    QStringLiteral("END:VALARM"),
    QStringLiteral("BEGIN:VALARM"),
    QStringLiteral("ACTION:DISPLAY"),
    QStringLiteral("TRIGGER;RELATED=END:PT5M"),
    QStringLiteral("END:VALARM"),
    QStringLiteral("END:VEVENT"),
    QStringLiteral("BEGIN:VEVENT"),
    QStringLiteral("UID:standup@example.com"),
    QStringLiteral("SUMMARY:Standup (moved)"),
    QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20240610T093000"),
    QStringLiteral("DTSTART;TZID=Europe/Berlin:20240611T150000"),
    QStringLiteral("DTEND;TZID=Europe/Berlin:20240611T153000"),
    QStringLiteral("END:VEVENT"),
};

void writeFixture(const TempVdir& vdir) {
    vdir.write(QStringLiteral("personal/displayname"), "Personal\n");
    vdir.write(QStringLiteral("personal/color"), "#FF8000\n");
    vdir.write(QStringLiteral("personal/owner"), "mailto:me@example.com\n");
    vdir.writeIcs(QStringLiteral("personal/standup.ics"), kStandup);
    vdir.writeIcs(QStringLiteral("personal/holiday.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:holiday"), QStringLiteral("SUMMARY:Holiday"),
                   QStringLiteral("DTSTART;VALUE=DATE:20240606"), QStringLiteral("DTEND;VALUE=DATE:20240608"),
                   QStringLiteral("END:VEVENT")});
    vdir.writeIcs(QStringLiteral("personal/tokyo.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:tokyo|call"), QStringLiteral("SUMMARY:"),
                   QStringLiteral("DTSTART;TZID=Asia/Tokyo:20240607T090000"), QStringLiteral("DURATION:PT1H"),
                   QStringLiteral("END:VEVENT")});
    vdir.write(QStringLiteral("personal/notes.txt"), "not an item");
    vdir.write(QStringLiteral("personal/draft.ics.tmp"), "BEGIN:VCALENDAR");
    vdir.write(QStringLiteral("personal/README"), "BEGIN:VCALENDAR");

    vdir.write(QStringLiteral("tasks/displayname"), "Tasks");
    vdir.write(QStringLiteral("tasks/color"), "None");
    vdir.writeIcs(
        QStringLiteral("tasks/a.ics"),
        {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:todo-date"), QStringLiteral("SUMMARY:Pay rent"),
         QStringLiteral("DUE;VALUE=DATE:20240610"), QStringLiteral("PRIORITY:1"), QStringLiteral("END:VTODO")});
    vdir.writeIcs(
        QStringLiteral("tasks/b.ics"),
        {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:todo-time"), QStringLiteral("SUMMARY:Call back"),
         QStringLiteral("DUE:20240610T150000Z"), QStringLiteral("STATUS:NEEDS-ACTION"), QStringLiteral("END:VTODO")});
    vdir.writeIcs(QStringLiteral("tasks/c.ics"),
                  {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:todo-done"), QStringLiteral("SUMMARY:Done"),
                   QStringLiteral("STATUS:COMPLETED"), QStringLiteral("END:VTODO")});
    vdir.writeIcs(QStringLiteral("tasks/d.ics"), {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:todo-cancelled"),
                                                  QStringLiteral("STATUS:CANCELLED"), QStringLiteral("END:VTODO")});
    vdir.writeIcs(QStringLiteral("tasks/e.ics"),
                  {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:todo-nodue"), QStringLiteral("END:VTODO")});

    vdir.write(QStringLiteral("acme/displayname"), "ACME Corp");
    vdir.write(QStringLiteral("acme/owner"), "me@example.com");
    vdir.write(QStringLiteral("acme/team/displayname"), "Team");
    QStringList teamStandup = kStandup.mid(0, 9);
    teamStandup << QStringLiteral("ATTENDEE;PARTSTAT=NEEDS-ACTION:mailto:me@example.com")
                << QStringLiteral("END:VEVENT");
    vdir.writeIcs(QStringLiteral("acme/team/standup.ics"), teamStandup);
}

PlatformEvent find(const std::vector<PlatformEvent>& events, const QString& title, core::Date start,
                   const QString& calendar = QStringLiteral("personal")) {
    for (const PlatformEvent& e : events)
        if (e.title.value_or(QString()) == title && e.startDate == start && e.calendar->calendarIdentifier == calendar)
            return e;
    ADD_FAILURE() << "no " << title.toStdString() << " at " << core::toIsoString(start).toStdString();
    return {};
}

class VdirEventStoreTest : public ::testing::Test {
protected:
    void SetUp() override { writeFixture(vdir); }

    std::vector<PlatformEvent> june(VdirEventStore& store) {
        return store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt);
    }

    TempVdir vdir;
    platform::FakePrivacy privacy;
};

}  // namespace

TEST_F(VdirEventStoreTest, CalendarsAndListsFromTheLayout) {
    VdirEventStore store(privacy, vdir.root);
    const auto calendars = store.calendars(EntityType::Event);
    ASSERT_EQ(calendars.size(), 2u);
    EXPECT_EQ(calendars[0].calendarIdentifier, QStringLiteral("acme/team"));
    EXPECT_EQ(calendars[0].title, QStringLiteral("Team"));
    EXPECT_EQ(calendars[0].sourceTitle, QStringLiteral("ACME Corp"));
    EXPECT_EQ(calendars[0].color, std::nullopt);
    EXPECT_EQ(calendars[1].title, QStringLiteral("Personal"));
    EXPECT_EQ(calendars[1].sourceTitle, QStringLiteral("On This Computer"));
    EXPECT_EQ(calendars[1].color, core::Color::rgb(0xFF, 0x80, 0x00));
    EXPECT_TRUE(calendars[1].allowsContentModifications);
    EXPECT_FALSE(calendars[1].isSubscribed);

    const auto lists = store.calendars(EntityType::Reminder);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, QStringLiteral("Tasks"));
    EXPECT_EQ(lists[0].color, std::nullopt) << "\"None\" counts as no colour";
    EXPECT_EQ(store.defaultCalendarForNewReminders()->calendarIdentifier, QStringLiteral("tasks"));
}

// A folder that only says what it is for (as a sync tool leaves an empty collection) is a collection, also
// inside an account folder.
TEST_F(VdirEventStoreTest, AFolderWithOnlyAComponentsFileIsACollection) {
    vdir.write(QStringLiteral("errands/components"), "VTODO\n");
    vdir.write(QStringLiteral("trips/components"), "VEVENT\n");
    vdir.write(QStringLiteral("acme/chores/components"), "VTODO");
    VdirEventStore store(privacy, vdir.root);
    QStringList lists;
    for (const auto& list : store.calendars(EntityType::Reminder))
        lists << list.calendarIdentifier;
    EXPECT_EQ(lists, (QStringList{QStringLiteral("acme/chores"), QStringLiteral("errands"), QStringLiteral("tasks")}));
    QStringList calendars;
    for (const auto& calendar : store.calendars(EntityType::Event))
        calendars << calendar.calendarIdentifier;
    EXPECT_EQ(calendars.size(), 3);
    EXPECT_TRUE(calendars.contains(QStringLiteral("trips")));
    EXPECT_FALSE(calendars.contains(QStringLiteral("errands")));
}

QStringList identifiersOf(const std::vector<platform::PlatformCalendar>& calendars) {
    QStringList identifiers;
    for (const auto& calendar : calendars)
        identifiers << calendar.calendarIdentifier;
    return identifiers;
}

// A sync tool lays each collection out with `displayname` and `color` and no `components` file: a list is known
// by its to-dos alone. Once emptied it must not turn into a calendar that takes events, which the tool would
// then upload into the server's to-do-only collection.
TEST(VdirSyncedFolders, AListOnceSeenWithToDosStaysAListWhenEmptied) {
    TempVdir vdir;
    vdir.write(QStringLiteral("tasks/displayname"), "Tasks");
    vdir.write(QStringLiteral("tasks/color"), "#3465A4");
    vdir.writeIcs(QStringLiteral("tasks/8f2b.ics"), {QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:8f2b"),
                                                     QStringLiteral("SUMMARY:Pay rent"), QStringLiteral("END:VTODO")});
    vdir.write(QStringLiteral("work/displayname"), "Work");
    vdir.write(QStringLiteral("work/color"), "#CC0000");
    vdir.writeIcs(QStringLiteral("work/1c3d.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:1c3d"), QStringLiteral("SUMMARY:Standup"),
                   QStringLiteral("DTSTART:20240610T090000Z"), QStringLiteral("END:VEVENT")});
    vdir.write(QStringLiteral("fresh/displayname"), "Fresh");
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(identifiersOf(store.calendars(EntityType::Reminder)), QStringList{QStringLiteral("tasks")});
    EXPECT_EQ(identifiersOf(store.calendars(EntityType::Event)),
              (QStringList{QStringLiteral("fresh"), QStringLiteral("work")}));

    QFile components(vdir.path(QStringLiteral("tasks/components")));
    ASSERT_TRUE(components.open(QIODevice::ReadOnly));
    EXPECT_EQ(components.readAll(), QByteArray("VTODO\n"));
    // Calendars read as calendars when emptied anyway: nothing is written into them.
    EXPECT_FALSE(QFile::exists(vdir.path(QStringLiteral("work/components"))));
    EXPECT_FALSE(QFile::exists(vdir.path(QStringLiteral("fresh/components"))));

    ASSERT_TRUE(QFile::remove(vdir.path(QStringLiteral("tasks/8f2b.ics"))));
    store.reloadNow();
    EXPECT_EQ(identifiersOf(store.calendars(EntityType::Reminder)), QStringList{QStringLiteral("tasks")});
    EXPECT_EQ(identifiersOf(store.calendars(EntityType::Event)),
              (QStringList{QStringLiteral("fresh"), QStringLiteral("work")}));
}

// The folder's own `components` file is never replaced, and a folder that may not be written is left alone.
TEST(VdirSyncedFolders, AListIsNotMarkedOverAComponentsFileOrInAFolderThatMayNotBeWritten) {
    TempVdir vdir;
    const QStringList todo{QStringLiteral("BEGIN:VTODO"), QStringLiteral("UID:t"), QStringLiteral("END:VTODO")};
    vdir.writeIcs(QStringLiteral("journal/t.ics"), todo);
    vdir.write(QStringLiteral("journal/components"), "VJOURNAL\n");
    vdir.writeIcs(QStringLiteral("shared/t.ics"), todo);
    ASSERT_EQ(::chmod(QFile::encodeName(vdir.path(QStringLiteral("shared"))).constData(), 0555), 0);
    platform::FakePrivacy privacy;
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(identifiersOf(store.calendars(EntityType::Reminder)),
              (QStringList{QStringLiteral("journal"), QStringLiteral("shared")}));
    QFile components(vdir.path(QStringLiteral("journal/components")));
    ASSERT_TRUE(components.open(QIODevice::ReadOnly));
    EXPECT_EQ(components.readAll(), QByteArray("VJOURNAL\n"));
    EXPECT_FALSE(QFile::exists(vdir.path(QStringLiteral("shared/components"))));
    ::chmod(QFile::encodeName(vdir.path(QStringLiteral("shared"))).constData(), 0755);
}

TEST_F(VdirEventStoreTest, OccurrencesOfJuneAreExactlyTheExpectedOnes) {
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const core::Date mon3 = local("Europe/Berlin", 2024, 6, 3, 9, 30);
    std::vector<std::pair<QString, core::Date>> got;
    for (const auto& e : events)
        got.emplace_back(e.calendar->calendarIdentifier + QLatin1Char(':') + e.title.value_or(QStringLiteral("-")),
                         *e.startDate);
    // Items of one start keep the store's order of calendars.
    const std::vector<std::pair<QString, core::Date>> want{
        {QStringLiteral("acme/team:Standup"), mon3},
        {QStringLiteral("personal:Standup"), mon3},
        {QStringLiteral("acme/team:Standup"), local("Europe/Berlin", 2024, 6, 5, 9, 30)},
        {QStringLiteral("personal:Holiday"), local("Europe/Berlin", 2024, 6, 6)},
        {QStringLiteral("personal:-"), utc(2024, 6, 7, 0)},
        {QStringLiteral("acme/team:Standup"), local("Europe/Berlin", 2024, 6, 10, 9, 30)},
        {QStringLiteral("personal:Standup (moved)"), local("Europe/Berlin", 2024, 6, 11, 15)},
        {QStringLiteral("acme/team:Standup"), local("Europe/Berlin", 2024, 6, 12, 9, 30)},
        {QStringLiteral("personal:Standup"), local("Europe/Berlin", 2024, 6, 12, 9, 30)},
        {QStringLiteral("acme/team:Standup"), local("Europe/Berlin", 2024, 6, 17, 9, 30)},
        {QStringLiteral("personal:Standup"), local("Europe/Berlin", 2024, 6, 17, 9, 30)},
        {QStringLiteral("acme/team:Standup"), local("Europe/Berlin", 2024, 6, 19, 9, 30)},
        {QStringLiteral("personal:Standup"), local("Europe/Berlin", 2024, 6, 19, 9, 30)},
    };
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].first, want[i].first) << i;
        EXPECT_EQ(got[i].second, want[i].second) << i << " " << got[i].first.toStdString();
    }

    const PlatformEvent holiday = find(events, QStringLiteral("Holiday"), local("Europe/Berlin", 2024, 6, 6));
    EXPECT_TRUE(holiday.isAllDay);
    EXPECT_EQ(holiday.endDate, local("Europe/Berlin", 2024, 6, 7, 23, 59, 59));
    EXPECT_EQ(holiday.timeZone, std::nullopt);
    EXPECT_FALSE(holiday.hasRecurrenceRules());

    const PlatformEvent tokyo = events[4];
    EXPECT_EQ(tokyo.title, std::nullopt) << "an empty SUMMARY is no title";
    EXPECT_EQ(tokyo.timeZone->identifier(), QStringLiteral("Asia/Tokyo"));
    EXPECT_EQ(tokyo.calendarItemExternalIdentifier, QStringLiteral("tokyo|call"));
}

TEST_F(VdirEventStoreTest, SeriesValuesDetachedOccurrenceAndParticipants) {
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const PlatformEvent first = find(events, QStringLiteral("Standup"), local("Europe/Berlin", 2024, 6, 3, 9, 30));
    EXPECT_EQ(first.calendar->calendarIdentifier, QStringLiteral("personal"));
    EXPECT_EQ(first.location, QStringLiteral("Room 1"));
    EXPECT_EQ(first.notes, QStringLiteral("Daily sync"));
    EXPECT_EQ(first.url, QUrl(QStringLiteral("https://example.com/standup")));
    EXPECT_EQ(first.timeZone->identifier(), QStringLiteral("Europe/Berlin"));
    ASSERT_EQ(first.recurrenceRules.size(), 1u);
    EXPECT_EQ(first.recurrenceRules[0].frequency, platform::PlatformRecurrenceRule::Frequency::Weekly);
    ASSERT_TRUE(first.recurrenceRules[0].daysOfTheWeek);
    EXPECT_EQ(first.recurrenceRules[0].daysOfTheWeek->size(), 2u);
    EXPECT_EQ(first.recurrenceRules[0].end->endDate, utc(2024, 6, 19, 7, 30));
    ASSERT_EQ(first.alarms.size(), 2u);
    EXPECT_EQ(first.alarms[0].relativeOffset, -600);
    EXPECT_EQ(first.alarms[1].relativeOffset, 900 + 300) << "relative to the end, given from the start";
    EXPECT_FALSE(first.isDetached);
    EXPECT_EQ(first.occurrenceDate, first.startDate);

    ASSERT_TRUE(first.organizer);
    EXPECT_EQ(first.organizer->name, QStringLiteral("Boss"));
    ASSERT_EQ(first.attendees.size(), 3u);
    EXPECT_EQ(first.attendees[0].url.toString(), QStringLiteral("mailto:Me@Example.com"));
    EXPECT_EQ(first.attendees[0].participantStatus, 2);
    EXPECT_TRUE(first.attendees[0].isCurrentUser) << "listed in the collection's owner file";
    EXPECT_EQ(first.attendees[1].participantStatus, 3);
    EXPECT_EQ(first.attendees[1].name, std::nullopt);
    EXPECT_FALSE(first.attendees[1].isCurrentUser);
    EXPECT_EQ(first.attendees[2].participantStatus, 4);

    const PlatformEvent moved =
        find(events, QStringLiteral("Standup (moved)"), local("Europe/Berlin", 2024, 6, 11, 15));
    EXPECT_TRUE(moved.isDetached);
    EXPECT_TRUE(moved.hasRecurrenceRules());
    EXPECT_EQ(moved.occurrenceDate, local("Europe/Berlin", 2024, 6, 10, 9, 30));
    EXPECT_EQ(moved.eventIdentifier, first.eventIdentifier);

    const PlatformEvent team =
        find(events, QStringLiteral("Standup"), local("Europe/Berlin", 2024, 6, 5, 9, 30), QStringLiteral("acme/team"));
    ASSERT_EQ(team.attendees.size(), 1u);
    EXPECT_TRUE(team.attendees[0].isCurrentUser) << "owner file of the account folder";
    EXPECT_EQ(team.attendees[0].participantStatus, 1);
}

// The series of one file share their file's revision, and series written with the same rule share its mapping;
// its end is still read in each series' own zone, and each event carries what a lookup of it alone gives.
TEST_F(VdirEventStoreTest, SeriesWithTheSameRuleKeepTheirOwnEndsAndTheirFilesRevision) {
    const QString rule = QStringLiteral("RRULE:FREQ=WEEKLY;UNTIL=20240624T090000");
    QStringList lines;
    for (const auto& [uid, start] : {std::pair{"york", "DTSTART;TZID=America/New_York:20240610T090000"},
                                     {"berlin", "DTSTART;TZID=Europe/Berlin:20240610T090000"},
                                     {"days", "DTSTART;VALUE=DATE:20240610"},
                                     {"york-later", "DTSTART;TZID=America/New_York:20240610T100000"}})
        lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:") + QLatin1String(uid)
              << QStringLiteral("SUMMARY:") + QLatin1String(uid) << QLatin1String(start) << rule
              << QStringLiteral("END:VEVENT");
    vdir.writeIcs(QStringLiteral("personal/weekly.ics"), lines);
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const auto endOf = [&](const char* uid, core::Date start) {
        const PlatformEvent e = find(events, QLatin1String(uid), start);
        return e.recurrenceRules.size() == 1 ? e.recurrenceRules[0].end->endDate : std::nullopt;
    };
    EXPECT_EQ(endOf("berlin", local("Europe/Berlin", 2024, 6, 17, 9)), local("Europe/Berlin", 2024, 6, 24, 9));
    EXPECT_EQ(endOf("york", local("America/New_York", 2024, 6, 17, 9)), local("America/New_York", 2024, 6, 24, 9));
    EXPECT_EQ(endOf("york-later", local("America/New_York", 2024, 6, 10, 10)),
              local("America/New_York", 2024, 6, 24, 9));
    EXPECT_EQ(endOf("days", local("Europe/Berlin", 2024, 6, 10)), local("Europe/Berlin", 2024, 6, 24, 9));

    const QString weeklyRevision = find(events, QStringLiteral("days"), local("Europe/Berlin", 2024, 6, 17)).revision;
    EXPECT_FALSE(weeklyRevision.isEmpty());
    EXPECT_NE(find(events, QStringLiteral("Holiday"), utc(2024, 6, 5, 22)).revision, weeklyRevision);
    for (const PlatformEvent& e : events) {
        const auto alone = store.event(e.eventIdentifier, *e.occurrenceDate);
        ASSERT_TRUE(alone) << e.title->toStdString();
        EXPECT_EQ(e.recurrenceRules, alone->recurrenceRules) << e.title->toStdString();
        EXPECT_EQ(e.revision, alone->revision) << e.title->toStdString();
    }
}

TEST_F(VdirEventStoreTest, IdentifiersAreStableUniqueAndFreeOfBars) {
    QStringList firstRun;
    {
        VdirEventStore store(privacy, vdir.root);
        for (const auto& e : june(store)) {
            EXPECT_FALSE(e.eventIdentifier.contains(QLatin1Char('|'))) << e.eventIdentifier.toStdString();
            EXPECT_FALSE(e.calendar->calendarIdentifier.contains(QLatin1Char('|')));
            firstRun << e.eventIdentifier + QLatin1Char('@') + QString::number(e.occurrenceDate->secondsSince1970());
        }
        store.refreshSources();
        QStringList afterRefresh;
        for (const auto& e : june(store))
            afterRefresh << e.eventIdentifier + QLatin1Char('@') +
                                QString::number(e.occurrenceDate->secondsSince1970());
        EXPECT_EQ(afterRefresh, firstRun);
    }
    VdirEventStore again(privacy, vdir.root);
    QStringList secondRun;
    QSet<QString> series;
    for (const auto& e : june(again)) {
        secondRun << e.eventIdentifier + QLatin1Char('@') + QString::number(e.occurrenceDate->secondsSince1970());
        series.insert(e.eventIdentifier);
    }
    EXPECT_EQ(secondRun, firstRun);
    EXPECT_EQ(series.size(), 4) << "one UID in two calendars gives two identifiers";
}

TEST_F(VdirEventStoreTest, LookUpByIdentifierAndOccurrence) {
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const PlatformEvent moved =
        find(events, QStringLiteral("Standup (moved)"), local("Europe/Berlin", 2024, 6, 11, 15));
    const auto again = store.event(moved.eventIdentifier, *moved.occurrenceDate + 0.75);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->title, QStringLiteral("Standup (moved)"));
    EXPECT_TRUE(again->isDetached);

    const auto wednesday = store.event(moved.eventIdentifier, local("Europe/Berlin", 2024, 6, 12, 9, 30));
    ASSERT_TRUE(wednesday);
    EXPECT_EQ(wednesday->title, QStringLiteral("Standup"));
    EXPECT_FALSE(store.event(moved.eventIdentifier, local("Europe/Berlin", 2024, 6, 5, 9, 30))) << "excluded by EXDATE";

    const auto series = store.event(moved.eventIdentifier);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->startDate, local("Europe/Berlin", 2024, 6, 3, 9, 30));

    const auto item = store.calendarItem(moved.eventIdentifier);
    ASSERT_TRUE(item);
    EXPECT_TRUE(std::holds_alternative<PlatformEvent>(*item));
    EXPECT_FALSE(store.event(QStringLiteral("personal/nothing")));
}

TEST_F(VdirEventStoreTest, CalendarFilterAndAccess) {
    VdirEventStore store(privacy, vdir.root);
    EXPECT_TRUE(store.events(utc(2024, 6, 1), utc(2024, 7, 1), QStringList{}).empty());
    const auto team = store.events(utc(2024, 6, 1), utc(2024, 7, 1), QStringList{QStringLiteral("acme/team")});
    EXPECT_EQ(team.size(), 6u);
    privacy.setStatus(EntityType::Event, AuthorizationStatus::Denied);
    EXPECT_TRUE(june(store).empty());
    EXPECT_TRUE(store.calendars(EntityType::Event).empty());
    EXPECT_FALSE(store.calendars(EntityType::Reminder).empty());
}

// The app's store reads its folders on another thread: until the read ends it is an empty store the user still has
// access to, and nothing asked on this thread meanwhile reads in the read's place.
TEST_F(VdirEventStoreTest, AFirstReadOnAnotherThreadAnswersEmptyUntilItEndsThenPublishesAsAChange) {
    VdirEventStore readNow(privacy, vdir.root);
    VdirEventStore store(privacy, vdir.root, VdirEventStore::FirstRead::InBackground);
    int changes = 0;
    QObject::connect(&store, &VdirEventStore::changed, [&] { ++changes; });
    store.refreshSources();
    store.reloadNow();
    EXPECT_EQ(store.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_TRUE(store.calendars(EntityType::Event).empty());
    EXPECT_TRUE(june(store).empty());
    const std::optional<quint64> empty = store.contentVersion();

    ASSERT_TRUE(waitUntil([&] { return changes > 0; }));
    EXPECT_GT(store.contentVersion(), empty) << "what was read from the empty store is read again";
    EXPECT_EQ(store.calendars(EntityType::Event).size(), readNow.calendars(EntityType::Event).size());
    EXPECT_EQ(june(store), june(readNow));
}

// Quitting while the first read still runs: the worker reads on alone and drops what it read.
TEST_F(VdirEventStoreTest, AStoreGoneBeforeItsFirstReadOnAnotherThreadEndsLeavesTheReadToEndAlone) {
    for (int i = 0; i < 300; ++i)
        vdir.writeIcs(QStringLiteral("personal/many%1.ics").arg(i),
                      {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:many%1").arg(i),
                       QStringLiteral("SUMMARY:Many"), QStringLiteral("DTSTART:20240612T100000Z"),
                       QStringLiteral("END:VEVENT")});
    { VdirEventStore gone(privacy, vdir.root, VdirEventStore::FirstRead::InBackground); }
    QThreadPool::globalInstance()->waitForDone();
    spin(10);
    VdirEventStore after(privacy, vdir.root);
    const auto events = after.events(utc(2024, 6, 12), utc(2024, 6, 13), std::nullopt);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const PlatformEvent& e) { return e.title == QStringLiteral("Many"); }),
              300);
}

TEST_F(VdirEventStoreTest, IncompleteRemindersArriveLaterOnTheCallingThread) {
    VdirEventStore store(privacy, vdir.root);
    std::optional<std::vector<PlatformReminder>> received;
    bool called = false;
    store.fetchIncompleteReminders(std::nullopt, [&](std::optional<std::vector<PlatformReminder>> reminders) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        received = std::move(reminders);
        called = true;
    });
    EXPECT_FALSE(called) << "never inside the call";
    ASSERT_TRUE(waitUntil([&] { return called; }));
    ASSERT_TRUE(received);
    ASSERT_EQ(received->size(), 3u);
    std::map<QString, PlatformReminder> byUid;
    for (const auto& r : *received)
        byUid[*r.calendarItemExternalIdentifier] = r;
    const PlatformReminder& rent = byUid.at(QStringLiteral("todo-date"));
    EXPECT_EQ(rent.priority, 1);
    EXPECT_EQ(rent.dueDateComponents->day, 10);
    EXPECT_FALSE(rent.dueDateComponents->hour) << "a DATE due has no time";
    EXPECT_EQ(rent.calendar->title, QStringLiteral("Tasks"));
    const PlatformReminder& call = byUid.at(QStringLiteral("todo-time"));
    EXPECT_EQ(call.dueDateComponents->hour, 17) << "15:00Z read on the wall clock of Berlin";
    EXPECT_FALSE(byUid.at(QStringLiteral("todo-nodue")).dueDateComponents);
}

TEST_F(VdirEventStoreTest, ReadOnlyFolderAndDamagedFilesNeverBecomeWritable) {
    vdir.writeIcs(QStringLiteral("shared/a.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:ro"), QStringLiteral("SUMMARY:Shared"),
                   QStringLiteral("DTSTART:20240602T100000Z"), QStringLiteral("END:VEVENT")});
    ::chmod(QFile::encodeName(vdir.path(QStringLiteral("shared"))).constData(), 0555);
    vdir.write(QStringLiteral("personal/damaged.ics"),
               ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:damaged"), QStringLiteral("SUMMARY:Damaged"),
                    QStringLiteral("DTSTART:20240602T120000Z"), QStringLiteral("DTEND:not a date"),
                    QStringLiteral("END:VEVENT")}));
    vdir.write(QStringLiteral("personal/garbage.ics"), "this is not a calendar at all\n");
    vdir.write(QStringLiteral("personal/truncated.ics"), ics(kStandup).left(ics(kStandup).size() / 2));
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) % 256);
    vdir.write(QStringLiteral("personal/binary.ics"), binary);
    vdir.write(QStringLiteral("personal/empty.ics"), QByteArray());

    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const PlatformEvent shared = find(events, QStringLiteral("Shared"), utc(2024, 6, 2, 10), QStringLiteral("shared"));
    EXPECT_FALSE(shared.calendar->allowsContentModifications);
    EXPECT_TRUE(shared.calendar->isSubscribed);
    const PlatformEvent damaged = find(events, QStringLiteral("Damaged"), utc(2024, 6, 2, 12));
    EXPECT_FALSE(damaged.calendar->allowsContentModifications) << "libical dropped a property";
    EXPECT_TRUE(store.catalog().item(damaged.eventIdentifier)->readOnly);
    EXPECT_TRUE(store.calendar(QStringLiteral("personal"))->allowsContentModifications);
    ::chmod(QFile::encodeName(vdir.path(QStringLiteral("shared"))).constData(), 0755);
}

TEST_F(VdirEventStoreTest, HugeFileIsSkipped) {
    QByteArray huge = ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:huge"), QStringLiteral("SUMMARY:Huge"),
                           QStringLiteral("DTSTART:20240602T100000Z")});
    huge += QByteArray("DESCRIPTION:") + QByteArray(17 * 1024 * 1024, 'x') + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    vdir.write(QStringLiteral("personal/huge.ics"), huge);
    VdirEventStore store(privacy, vdir.root);
    for (const auto& e : june(store))
        EXPECT_NE(e.title, QStringLiteral("Huge"));
    EXPECT_EQ(june(store).size(), 13u);
}

TEST_F(VdirEventStoreTest, ByteOrderMarkAndLineEndingsDoNotMatter) {
    QByteArray text = ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:bom"), QStringLiteral("SUMMARY:Marked"),
                           QStringLiteral("DTSTART:20240602T100000Z"), QStringLiteral("END:VEVENT")});
    vdir.write(QStringLiteral("personal/bom.ics"), "\xEF\xBB\xBF" + text);
    vdir.write(QStringLiteral("personal/lf.ics"),
               QByteArray(text).replace("\r\n", "\n").replace("UID:bom", "UID:lf").replace("Marked", "Unix"));
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    find(events, QStringLiteral("Marked"), utc(2024, 6, 2, 10));
    find(events, QStringLiteral("Unix"), utc(2024, 6, 2, 10));
}

namespace {

class AlwaysAllow : public platform::ConsentPrompt {
public:
    void ask(EntityType, std::function<void(bool)> answer) override {
        ++asked;
        answer(true);
    }
    int asked = 0;
};

}  // namespace

TEST(VdirEventStoreAccess, GrantingAccessOnAFreshMachineGivesACalendarAndAList) {
    TempVdir vdir;
    QDir(vdir.root).removeRecursively();
    AlwaysAllow prompt;
    platform::ConfigPrivacy privacy(vdir.root + QStringLiteral(".conf"), vdir.root, prompt);
    VdirEventStore store(privacy, vdir.root);
    EXPECT_EQ(store.authorizationStatus(EntityType::Event), AuthorizationStatus::NotDetermined);
    EXPECT_TRUE(store.calendars(EntityType::Event).empty());

    bool granted = false;
    bool called = false;
    store.requestFullAccess(EntityType::Event, [&](bool g, std::optional<QString>) {
        granted = g;
        called = true;
    });
    ASSERT_TRUE(waitUntil([&] { return called; }));
    EXPECT_TRUE(granted);
    EXPECT_EQ(prompt.asked, 1);
    const auto calendars = store.calendars(EntityType::Event);
    ASSERT_EQ(calendars.size(), 1u);
    EXPECT_EQ(calendars[0].title, QStringLiteral("Calendar"));
    EXPECT_EQ(calendars[0].sourceTitle, QStringLiteral("On This Computer"));
    EXPECT_EQ(store.defaultCalendarForNewEvents(), calendars[0]);
    EXPECT_TRUE(store.calendars(EntityType::Reminder).empty()) << "reminders are not granted yet";

    called = false;
    store.requestFullAccess(EntityType::Reminder, [&](bool g, std::optional<QString>) {
        granted = g;
        called = true;
    });
    ASSERT_TRUE(waitUntil([&] { return called; }));
    const auto lists = store.calendars(EntityType::Reminder);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, QStringLiteral("Reminders"));
    EXPECT_EQ(store.calendars(EntityType::Event).size(), 1u) << "the empty list is no event calendar";
}

TEST(VdirEventStoreAccess, DeniedAccessReadsNothing) {
    TempVdir vdir;
    writeFixture(vdir);
    platform::FakePrivacy privacy(AuthorizationStatus::NotDetermined);
    privacy.setAnswer(EntityType::Event, false);
    VdirEventStore store(privacy, vdir.root);
    bool called = false;
    store.requestFullAccess(EntityType::Event, [&](bool g, std::optional<QString>) {
        EXPECT_FALSE(g);
        called = true;
    });
    ASSERT_TRUE(waitUntil([&] { return called; }));
    EXPECT_EQ(store.authorizationStatus(EntityType::Event), AuthorizationStatus::Denied);
    EXPECT_TRUE(store.events(utc(2024, 6, 1), utc(2024, 7, 1), std::nullopt).empty());
    EXPECT_FALSE(store.calendarItem(QStringLiteral("personal/holiday")));
}

// A series without DTSTART cannot be expanded; its overrides show as they stand, and its rule, which has nothing
// to count from, is not offered as theirs.
TEST_F(VdirEventStoreTest, OverridesOfASeriesWithoutStartShowWithoutItsRule) {
    vdir.writeIcs(QStringLiteral("personal/headless.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:headless"), QStringLiteral("SUMMARY:Series"),
                   QStringLiteral("RRULE:FREQ=DAILY;UNTIL=20240620"), QStringLiteral("END:VEVENT"),
                   QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:headless"), QStringLiteral("SUMMARY:Kept"),
                   QStringLiteral("RECURRENCE-ID:20240610T100000Z"), QStringLiteral("DTSTART:20240610T110000Z"),
                   QStringLiteral("END:VEVENT")});
    VdirEventStore store(privacy, vdir.root);
    const PlatformEvent kept = find(june(store), QStringLiteral("Kept"), utc(2024, 6, 10, 11));
    EXPECT_TRUE(kept.recurrenceRules.empty());
    EXPECT_TRUE(store.event(kept.eventIdentifier, utc(2024, 6, 10, 10)).has_value());
}

// A counted rule has to be walked from its start. One started a thousand years ago asks for hundreds of thousands
// of days; a file full of them must neither hold the read up nor keep the other files' events from showing.
TEST_F(VdirEventStoreTest, AFileWhoseRulesAskTooMuchDoesNotHoldUpTheRead) {
    QStringList lines{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:plain"), QStringLiteral("SUMMARY:Plain"),
                      QStringLiteral("DTSTART:20240602T090000Z"), QStringLiteral("END:VEVENT")};
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:old%1").arg(i)
              << QStringLiteral("DTSTART:10000101T100000Z") << QStringLiteral("RRULE:FREQ=DAILY;BYMONTH=1;COUNT=300000")
              << QStringLiteral("END:VEVENT");
    vdir.writeIcs(QStringLiteral("personal/old.ics"), lines);
    VdirEventStore store(privacy, vdir.root);
    for (int read = 0; read < 2; ++read) {
        const auto events = june(store);
        find(events, QStringLiteral("Plain"), utc(2024, 6, 2, 9));
        find(events, QStringLiteral("Holiday"), utc(2024, 6, 5, 22));
        EXPECT_EQ(events.size(), 14u);
    }
}

// A file of series that each bring all they may (every two minutes, ten thousand a month) brings a bounded share of
// them, and the other files all of theirs.
TEST_F(VdirEventStoreTest, AFileBringsABoundedNumberOfEventsToOneWindow) {
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:busy%1").arg(i)
              << QStringLiteral("SUMMARY:Busy") << QStringLiteral("DTSTART:20240601T000000Z")
              << QStringLiteral("RRULE:FREQ=MINUTELY;INTERVAL=2") << QStringLiteral("END:VEVENT");
    vdir.writeIcs(QStringLiteral("personal/busy.ics"), lines);
    VdirEventStore store(privacy, vdir.root);
    const auto events = june(store);
    const auto busy = std::count_if(events.begin(), events.end(),
                                    [](const PlatformEvent& e) { return e.title == QStringLiteral("Busy"); });
    EXPECT_GE(busy, 100000);
    EXPECT_LE(busy, 110000);
    find(events, QStringLiteral("Holiday"), utc(2024, 6, 5, 22));
    EXPECT_EQ(events.size() - static_cast<size_t>(busy), 13u);
}

// Some clients keep a placeholder alarm that does nothing (ACTION:NONE, set in 1976) so that no default alarm is
// added: it is not an alarm of the event.
TEST_F(VdirEventStoreTest, AlarmsThatDoNothingAreNotAlarms) {
    vdir.writeIcs(QStringLiteral("personal/quiet.ics"),
                  {QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:quiet"), QStringLiteral("SUMMARY:Quiet"),
                   QStringLiteral("DTSTART:20240612T090000Z"), QStringLiteral("BEGIN:VALARM"),
                   QStringLiteral("ACTION:NONE"), QStringLiteral("TRIGGER;VALUE=DATE-TIME:19760401T005545Z"),
                   QStringLiteral("END:VALARM"), QStringLiteral("BEGIN:VALARM"), QStringLiteral("ACTION:DISPLAY"),
                   QStringLiteral("DESCRIPTION:Reminder"), QStringLiteral("TRIGGER:-PT15M"), QStringLiteral("END:VALARM"),
                   QStringLiteral("END:VEVENT")});
    VdirEventStore store(privacy, vdir.root);
    const PlatformEvent quiet = find(june(store), QStringLiteral("Quiet"), utc(2024, 6, 12, 9));
    EXPECT_EQ(quiet.alarms, (std::vector<platform::PlatformAlarm>{{-900, std::nullopt}}));
}
