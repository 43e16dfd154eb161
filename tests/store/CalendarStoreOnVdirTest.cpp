// The store over real calendar files in a temporary folder: what a user's data
// goes through.

#include "../platform/eventstore/vdir/VdirFixture.h"
#include "EventLoop.h"
#include "FileSizeLimit.h"
#include "StoreTestSupport.h"
#include "core/Clock.h"
#include "platform/eventstore/vdir/IcsItemCut.h"
#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"
#include "store/CalendarStore.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>

using namespace storetest;
using model::EditSpan;
using model::EventDraft;
using store::CalendarStore;
using namespace Qt::Literals::StringLiterals;

namespace {

using vdirtest::ics;

class CalendarStoreOnVdir : public ::testing::Test {
protected:
    core::ScopedTestClock clock{local(2026, 3, 10, 9, 0)};
    vdirtest::TempVdir vdir;
    const QString root = vdir.root;
    platform::FakePrivacy privacy;
    std::unique_ptr<platform::vdir::VdirEventStore> ek;
    std::unique_ptr<CalendarStore> store;

    void SetUp() override {
        write(u"work/displayname"_s, "Work");
        write(u"reminders/displayname"_s, "Reminders");
        write(u"reminders/components"_s, "VTODO");
        write(u"work/standup.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:standup"_s, u"SUMMARY:Standup"_s,
                                          u"DTSTART;TZID=Europe/Berlin:20260303T100000"_s,
                                          u"DTEND;TZID=Europe/Berlin:20260303T101500"_s,
                                          u"RRULE:FREQ=WEEKLY;COUNT=8"_s, u"X-KEEP:a\\,b"_s, u"END:VEVENT"_s}));
        open();
    }

    void open() {
        store.reset();
        ek = std::make_unique<platform::vdir::VdirEventStore>(privacy, root);
        store = std::make_unique<CalendarStore>(*ek);
    }

    void write(const QString& relative, const QByteArray& content) { vdir.write(relative, content); }

    // The folder watch reports a write (ours too) in real time; the store then waits
    // a moment of the clock for more before it reloads, and reminders come last.
    bool reloadOnNextNotice(QSignalSpy& notices) {
        if (!testsupport::waitUntil([&] { return !notices.isEmpty(); }, 3000))
            return false;
        QCoreApplication::processEvents();
        QSignalSpy reminders(store.get(), &CalendarStore::remindersChanged);
        clock.advance(0.3);
        return testsupport::waitUntil([&] { return !reminders.isEmpty(); });
    }

    // Every file under the root with its bytes.
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> all;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                all.insert(QDir(root).relativeFilePath(path), file.readAll());
        }
        return all;
    }

    std::vector<model::ODEvent> named(const QString& title) const { return named(*store, title); }

    static std::vector<model::ODEvent> named(const CalendarStore& from, const QString& title) {
        std::vector<model::ODEvent> found;
        for (const auto& e : from.events())
            if (e.title == title)
                found.push_back(e);
        return found;
    }

    // What `shown` publishes after changes must be what a store opened afresh on the same files publishes, in the
    // published order (events of one start may come in another order among themselves).
    testing::AssertionResult publishesWhatAFreshReadGives(const CalendarStore& shownBy, const QString& folder) {
        const std::vector<model::ODEvent>& shown = shownBy.events();
        for (size_t i = 1; i < shown.size(); ++i) {
            const model::ODEvent& a = shown[i - 1];
            const model::ODEvent& b = shown[i];
            if (b.start < a.start || (b.start == a.start && b.isAllDay && !a.isAllDay))
                return testing::AssertionFailure() << "out of order at " << i;
        }
        platform::vdir::VdirEventStore freshEk(privacy, folder);
        CalendarStore fresh(freshEk);
        const auto byStartAndId = [](std::vector<model::ODEvent> events) {
            std::sort(events.begin(), events.end(), [](const model::ODEvent& a, const model::ODEvent& b) {
                return std::tie(a.start, a.id) < std::tie(b.start, b.id);
            });
            return events;
        };
        if (byStartAndId(shown) != byStartAndId(fresh.events()))
            return testing::AssertionFailure()
                   << shown.size() << " events shown, " << fresh.events().size() << " read afresh, or they differ";
        return testing::AssertionSuccess();
    }
};

TEST_F(CalendarStoreOnVdir, AFileEditedOutsideTheAppShowsWithinASecond) {
    ASSERT_EQ(named(u"Standup"_s).size(), 8u);
    QSignalSpy notices(ek.get(), &platform::EventStore::changed);
    QElapsedTimer elapsed;
    elapsed.start();
    write(u"work/standup.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:standup"_s, u"SUMMARY:Daily standup"_s,
                                      u"DTSTART;TZID=Europe/Berlin:20260303T100000"_s,
                                      u"DTEND;TZID=Europe/Berlin:20260303T101500"_s, u"RRULE:FREQ=WEEKLY;COUNT=8"_s,
                                      u"END:VEVENT"_s}));
    ASSERT_TRUE(reloadOnNextNotice(notices));
    EXPECT_LT(elapsed.elapsed(), 700) << "with the store's 0.3 s wait, over a second";
    EXPECT_EQ(named(u"Daily standup"_s).size(), 8u);
    EXPECT_TRUE(named(u"Standup"_s).empty());
}

// The popover reloads on every opening: over unchanged files that must cost
// nothing, yet whatever did change since is published by the same reload.
TEST_F(CalendarStoreOnVdir, AReloadPublishesAgainOnlyWhatChanged) {
    QSignalSpy events(store.get(), &CalendarStore::eventsChanged);
    store->reload();
    EXPECT_TRUE(events.isEmpty()) << "nothing changed";

    write(u"work/lunch.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:lunch"_s, u"SUMMARY:Lunch"_s,
                                   u"DTSTART:20260311T110000Z"_s, u"DTEND:20260311T120000Z"_s, u"END:VEVENT"_s}));
    ek->reloadNow();  // what the folder watch does on the write
    store->reload();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);

    // A wider window, or other calendars shown, read again over the same files.
    store->ensureLoaded(core::DateInterval{local(2025, 1, 1), 86400.0});
    ASSERT_TRUE(testsupport::waitUntil([&] { return events.size() == 2; }));
    store->setEnabledCalendarIDs(QSet<QString>{});
    EXPECT_EQ(events.size(), 3);
    EXPECT_TRUE(store->events().empty());
}

// The days a month outside the window adds are read on a worker from the files
// as they were; a file written meanwhile is read with them, never lost.
TEST_F(CalendarStoreOnVdir, AFileWrittenWhileAddedDaysAreReadOnAnotherThreadIsPublishedWithThem) {
    write(u"work/may.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:may"_s, u"SUMMARY:Planning"_s, u"DTSTART:20260504T080000Z"_s,
                                  u"DTEND:20260504T090000Z"_s, u"END:VEVENT"_s}));
    ek->reloadNow();
    store->reload();
    QSignalSpy widened(store.get(), &CalendarStore::loadedRangeChanged);
    store->ensureLoaded(core::DateInterval{local(2026, 5, 1), 31 * 86400.0});
    write(u"work/later.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:later"_s, u"SUMMARY:Retro"_s,
                                    u"DTSTART:20260512T080000Z"_s, u"DTEND:20260512T090000Z"_s, u"END:VEVENT"_s}));
    ek->reloadNow();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !widened.isEmpty(); }));
    EXPECT_EQ(named(u"Planning"_s).size(), 1u);
    EXPECT_EQ(named(u"Retro"_s).size(), 1u);
    EXPECT_EQ(named(u"Standup"_s).size(), 8u) << "the window's own events once";

    // Gone before its read ends: the worker's copy outlives the store.
    store->ensureLoaded(core::DateInterval{local(2026, 6, 1), 30 * 86400.0});
    store.reset();
    ek.reset();
    QThreadPool::globalInstance()->waitForDone();
}

// The app starts before its calendars are read on another thread: the lists stay empty, with access, and fill
// through the usual change notice once the read ends, the events made off the main thread as well.
TEST_F(CalendarStoreOnVdir, CalendarsReadOnAnotherThreadAtStartShowOnceTheReadEnds) {
    store.reset();
    ek = std::make_unique<platform::vdir::VdirEventStore>(privacy, root,
                                                          platform::vdir::VdirEventStore::FirstRead::InBackground);
    store = std::make_unique<CalendarStore>(*ek);
    EXPECT_EQ(store->eventAccess(), model::AccessStatus::fullAccess);
    EXPECT_TRUE(store->isLoading());
    EXPECT_TRUE(store->calendars().empty());
    EXPECT_TRUE(store->events().empty());

    // Shown at once, without the wait that gathers a burst of notices into one reload: the test clock stands still.
    // (The empty load's reminders may still arrive first.)
    ASSERT_TRUE(testsupport::waitUntil([&] { return !store->calendars().empty(); }));
    EXPECT_FALSE(store->isLoading());
    EXPECT_EQ(store->calendars().size(), 1u);
    EXPECT_EQ(store->reminderLists().size(), 1u);
    // The events are made on a worker too, and follow.
    ASSERT_TRUE(testsupport::waitUntil([&] { return !store->events().empty(); }));
    EXPECT_EQ(named(u"Standup"_s).size(), 8u);
}

// After a change only the changed items are read again; what is published must be what a store opened afresh on the
// same files publishes, in the published order (events of one start may come in another order among themselves).
TEST_F(CalendarStoreOnVdir, ChangesRepublishWhatAFreshReadOfTheFilesGives) {
    const auto timed = [](const QString& uid, const QString& title, const QString& start) {
        return ics({u"BEGIN:VEVENT"_s, u"UID:"_s + uid, u"SUMMARY:"_s + title, u"DTSTART:"_s + start,
                    u"DURATION:PT1H"_s, u"END:VEVENT"_s});
    };
    write(u"work/alpha.ics"_s, timed(u"alpha"_s, u"Alpha"_s, u"20260311T090000Z"_s));
    write(u"work/beta.ics"_s, timed(u"beta"_s, u"Beta"_s, u"20260311T090000Z"_s));
    write(u"work/holiday.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:holiday"_s, u"SUMMARY:Holiday"_s,
                                      u"DTSTART;VALUE=DATE:20260312"_s, u"END:VEVENT"_s}));
    open();
    const auto sameAsAFreshRead = [&] { return publishesWhatAFreshReadGives(*store, root); };
    ASSERT_TRUE(sameAsAFreshRead());

    const model::ODEvent alpha = named(u"Alpha"_s).at(0);
    EventDraft renamed = EventDraft::fromEvent(alpha);
    renamed.title = u"Alpha, renamed"_s;
    renamed.notes = u"https://meet.example.com/abc"_s;
    store->update(alpha.id, renamed, EditSpan::thisEvent);
    EXPECT_TRUE(sameAsAFreshRead());
    const model::ODEvent lunch = store->create(EventDraft(u"Lunch"_s, local(2026, 3, 11, 10)));
    EXPECT_TRUE(sameAsAFreshRead());
    store->deleteEvent(named(u"Beta"_s).at(0).id, EditSpan::thisEvent);
    EXPECT_TRUE(sameAsAFreshRead());
    const auto standups = named(u"Standup"_s);
    EventDraft moved = EventDraft::fromEvent(standups.at(2));
    moved.start = moved.start + 3600;
    moved.end = moved.end + 3600;
    store->update(standups.at(2).id, moved, EditSpan::thisEvent);
    EXPECT_TRUE(sameAsAFreshRead());
    EventDraft holiday = EventDraft::fromEvent(named(u"Holiday"_s).at(0));
    holiday.title = u"Holidays"_s;
    store->update(named(u"Holiday"_s).at(0).id, holiday, EditSpan::thisEvent);
    EXPECT_TRUE(sameAsAFreshRead());
    store->undo();
    store->undo();
    EXPECT_TRUE(sameAsAFreshRead());
    EXPECT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Lunch"_s).front().id, lunch.id);
}

// A calendar file of many events is edited one item at a time, its other bytes left as they are. Each kind of edit
// must come out as rewriting the whole file would: the same done in a second folder with whole rewrites, both
// folders read afresh give the same events, and what each store publishes is what a fresh read of its files gives.
TEST_F(CalendarStoreOnVdir, EditsInsideACalendarFileOfManyEventsComeOutAsRewritingTheWholeFileWould) {
    const QByteArray frame = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nX-WR-CALNAME:Exported\r\n";
    const QByteArray zone =
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
        "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\n"
        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
        "END:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    const QByteArray alpha =
        "BEGIN:VEVENT\r\nUID:alpha\r\nSUMMARY:Alpha\r\nDTSTART;TZID=Europe/Berlin:20260311T090000\r\n"
        "DTEND;TZID=Europe/Berlin:20260311T100000\r\nDESCRIPTION:a description long enough to\r\n"
        "  be folded\r\nX-ODD:a\\,b\r\nEND:VEVENT\r\n";
    const QByteArray series =
        "BEGIN:VEVENT\r\nUID:series\r\nSUMMARY:Series\r\n"
        "DTSTART;TZID=Europe/Berlin:20260302T140000\r\nDTEND;TZID=Europe/Berlin:20260302T150000\r\n"
        "RRULE:FREQ=WEEKLY;COUNT=6\r\nBEGIN:VALARM\r\nUID:not-the-item\r\nACTION:DISPLAY\r\n"
        "DESCRIPTION:Series\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n";
    // Line ends of LF only, as some programs write.
    const QByteArray beta =
        "BEGIN:VEVENT\nUID:beta\nSUMMARY:Beta\nDTSTART:20260312T080000Z\nDTEND:20260312T090000Z\n"
        "END:VEVENT\n";
    const QByteArray moved =
        "BEGIN:VEVENT\r\nUID:series\r\nSUMMARY:Series (moved)\r\n"
        "RECURRENCE-ID;TZID=Europe/Berlin:20260309T140000\r\n"
        "DTSTART;TZID=Europe/Berlin:20260309T160000\r\nDTEND;TZID=Europe/Berlin:20260309T170000\r\n"
        "END:VEVENT\r\n";
    const QByteArray holiday =
        "BEGIN:VEVENT\r\nUID:holiday\r\nSUMMARY:Holiday\r\nDTSTART;VALUE=DATE:20260313\r\n"
        "END:VEVENT\r\n";
    const QByteArray gamma =
        "begin:vevent\r\nuid:gamma\r\nsummary:Gamma\r\ndtstart:20260314T100000Z\r\n"
        "dtend:20260314T110000Z\r\nX-KEEP;X-P=\"a:b\":c\\;d\r\nend:vevent\r\n";
    const QByteArray file = frame + zone + alpha + series + beta + moved + holiday + gamma + "END:VCALENDAR\r\n";
    QFile::remove(vdir.path(u"work/standup.ics"_s));
    write(u"work/all.ics"_s, file);
    open();
    vdirtest::TempVdir wholeVdir;
    wholeVdir.write(u"work/displayname"_s, "Work");
    wholeVdir.write(u"work/all.ics"_s, file);
    platform::vdir::VdirEventStore wholeEk(privacy, wholeVdir.root);
    CalendarStore whole(wholeEk);

    // Random UIDs name the later part of a split series: events are compared without identifiers.
    const auto withoutIds = [](std::vector<model::ODEvent> events) {
        for (model::ODEvent& e : events) {
            e.id.clear();
            e.eventIdentifier.clear();
        }
        std::sort(events.begin(), events.end(), [](const model::ODEvent& a, const model::ODEvent& b) {
            return std::tie(a.start, a.title) < std::tie(b.start, b.title);
        });
        return events;
    };
    const auto sameInBoth = [&]() -> testing::AssertionResult {
        if (auto shown = publishesWhatAFreshReadGives(*store, root); !shown)
            return shown << " (cut)";
        if (auto shown = publishesWhatAFreshReadGives(whole, wholeVdir.root); !shown)
            return shown << " (whole)";
        if (withoutIds(store->events()) != withoutIds(whole.events()))
            return testing::AssertionFailure() << "the files read differently";
        return testing::AssertionSuccess();
    };
    // The same change in both folders, by the title and start of the event it changes.
    const auto onBoth = [&](const QString& title, int index,
                            const std::function<void(CalendarStore&, const model::ODEvent&)>& change) {
        for (CalendarStore* target : {store.get(), &whole}) {
            const std::vector<model::ODEvent> found = named(*target, title);
            ASSERT_GT(found.size(), static_cast<size_t>(index)) << title.toStdString();
            platform::vdir::setItemCutsForTesting(target == store.get());
            change(*target, found[static_cast<size_t>(index)]);
            platform::vdir::setItemCutsForTesting(true);
        }
    };
    const auto retitled = [](const QString& title, EditSpan span) {
        return [title, span](CalendarStore& target, const model::ODEvent& e) {
            EventDraft draft = EventDraft::fromEvent(e);
            draft.title = title;
            target.update(e.id, draft, span);
        };
    };
    ASSERT_TRUE(sameInBoth());
    ASSERT_EQ(named(u"Series"_s).size(), 5u);

    onBoth(u"Alpha"_s, 0, retitled(u"Alpha, renamed"_s, EditSpan::thisEvent));
    EXPECT_TRUE(sameInBoth());
    onBoth(u"Series"_s, 1, [](CalendarStore& target, const model::ODEvent& e) {  // a new override
        EventDraft later = EventDraft::fromEvent(e);
        later.start = later.start + 3600;
        later.end = later.end + 3600;
        target.update(e.id, later, EditSpan::thisEvent);
    });
    EXPECT_TRUE(sameInBoth());
    onBoth(u"Series (moved)"_s, 0, retitled(u"Series (moved again)"_s, EditSpan::thisEvent));
    EXPECT_TRUE(sameInBoth());
    onBoth(u"Series (moved again)"_s, 0, [](CalendarStore& target, const model::ODEvent& e) {
        target.deleteEvent(e.id, EditSpan::thisEvent);  // the override goes
    });
    EXPECT_TRUE(sameInBoth());
    onBoth(u"Series"_s, 2, retitled(u"Series v2"_s, EditSpan::futureEvents));
    EXPECT_TRUE(sameInBoth());
    onBoth(u"Beta"_s, 0,
           [](CalendarStore& target, const model::ODEvent& e) { target.deleteEvent(e.id, EditSpan::thisEvent); });
    EXPECT_TRUE(sameInBoth());
    EXPECT_TRUE(named(u"Beta"_s).empty());
    for (CalendarStore* target : {store.get(), &whole}) {
        platform::vdir::setItemCutsForTesting(target == store.get());
        target->undo();  // Beta comes back
        target->undo();  // the series is one again
        platform::vdir::setItemCutsForTesting(true);
    }
    EXPECT_TRUE(sameInBoth());
    EXPECT_EQ(named(u"Beta"_s).size(), 1u);
    EXPECT_TRUE(named(u"Series v2"_s).empty());

    const QByteArray written = files().value(u"work/all.ics"_s);
    EXPECT_TRUE(written.startsWith(QByteArray(frame + zone))) << written.constData();
    EXPECT_TRUE(written.endsWith(QByteArray(holiday + gamma + "END:VCALENDAR\r\n"))) << written.constData();
    // Rewritten whole, the file is spelled libical's way: the two ways did differ.
    QFile rewritten(wholeVdir.path(u"work/all.ics"_s));
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    EXPECT_FALSE(rewritten.readAll().contains(gamma));
}

TEST_F(CalendarStoreOnVdir, CreateMoveAndUndoTwiceLeavesNoFile) {
    const auto before = files();
    const model::ODEvent lunch = store->create(EventDraft(u"Lunch"_s, local(2026, 3, 12, 12)));
    EXPECT_EQ(files().size(), before.size() + 1);
    EventDraft moved = EventDraft::fromEvent(lunch);
    moved.start = local(2026, 3, 13, 12);
    moved.end = local(2026, 3, 13, 13);
    store->update(lunch.id, moved, EditSpan::thisEvent);
    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Lunch"_s).front().start, local(2026, 3, 13, 12));

    store->undo();
    ASSERT_EQ(named(u"Lunch"_s).size(), 1u);
    EXPECT_EQ(named(u"Lunch"_s).front().start, local(2026, 3, 12, 12));
    store->undo();
    EXPECT_TRUE(named(u"Lunch"_s).empty());
    EXPECT_EQ(files(), before);
}

TEST_F(CalendarStoreOnVdir, FutureEventsEditOfASeriesUndoesToTheSingleSeries) {
    const auto occurrences = named(u"Standup"_s);
    const auto before = files();
    EventDraft later = EventDraft::fromEvent(occurrences[4]);
    later.title = u"Standup (new room)"_s;
    store->update(occurrences[4].id, later, EditSpan::futureEvents);
    EXPECT_EQ(named(u"Standup"_s).size(), 4u);
    EXPECT_EQ(named(u"Standup (new room)"_s).size(), 4u);
    EXPECT_EQ(files().size(), before.size() + 1);  // the later part is a series of its own

    store->undo();
    EXPECT_EQ(named(u"Standup"_s).size(), 8u);
    EXPECT_TRUE(named(u"Standup (new room)"_s).empty());
    EXPECT_EQ(files().size(), before.size());
    for (const auto& e : named(u"Standup"_s))
        EXPECT_EQ(e.eventIdentifier, occurrences[0].eventIdentifier);
    EXPECT_TRUE(files().value(u"work/standup.ics"_s).contains("X-KEEP:a\\,b"));
}

// The way a sync tool lays out an invitation: a file named apart from its UID, people, and properties of its own.
QByteArray planningFile(const QString& summary = u"Quarterly planning"_s) {
    QStringList lines{u"BEGIN:VEVENT"_s, u"UID:4f1c9e2a-7d3b@example.com"_s, u"SUMMARY:"_s + summary,
                      u"DTSTART;TZID=Europe/Berlin:20260312T140000"_s, u"DTEND;TZID=Europe/Berlin:20260312T153000"_s,
                      u"ORGANIZER;CN=Dana Weiss:mailto:dana@example.com"_s};
    for (int i = 1; i <= 8; ++i)
        lines << u"ATTENDEE;CN=Guest %1;PARTSTAT=ACCEPTED:mailto:guest%1@example.com"_s.arg(i);
    lines << u"CATEGORIES:Planning"_s << u"X-OTHER-APP-ID:77"_s << u"END:VEVENT"_s;
    return ics(lines);
}

TEST_F(CalendarStoreOnVdir, UndoingADeletePutsTheItemBackAsItWasUnderItsOwnFileName) {
    write(u"work/8d0f3b7c1a.ics"_s, planningFile());
    open();
    const auto before = files();
    ASSERT_EQ(named(u"Quarterly planning"_s).size(), 1u);
    const model::ODEvent planning = named(u"Quarterly planning"_s).front();
    store->deleteEvent(planning.id, EditSpan::thisEvent);
    ASSERT_FALSE(files().contains(u"work/8d0f3b7c1a.ics"_s));
    store->undo();
    EXPECT_EQ(files(), before);
    ASSERT_EQ(named(u"Quarterly planning"_s).size(), 1u);
    EXPECT_EQ(named(u"Quarterly planning"_s).front().id, planning.id);

    // One occurrence of a series, and one with all that follow it.
    const auto occurrences = named(u"Standup"_s);
    ASSERT_EQ(occurrences.size(), 8u);
    for (const auto& [index, span] : {std::pair{2, EditSpan::thisEvent}, std::pair{5, EditSpan::futureEvents}}) {
        store->deleteEvent(occurrences[static_cast<size_t>(index)].id, span);
        ASSERT_LT(named(u"Standup"_s).size(), 8u);
        store->undo();
        EXPECT_EQ(files(), before);
        EXPECT_EQ(named(u"Standup"_s), occurrences);
    }

    // Restarted, a fresh store reads the same.
    const auto shown = store->events();
    open();
    EXPECT_EQ(store->events(), shown);
}

TEST_F(CalendarStoreOnVdir, UndoingADeleteNeverOverwritesWhatAnotherProgramWroteSince) {
    const QString conflict = platform::EventStoreError::defaultMessage(platform::EventStoreError::Code::Conflict);
    write(u"work/8d0f3b7c1a.ics"_s, planningFile());
    open();
    store->deleteEvent(named(u"Quarterly planning"_s).front().id, EditSpan::thisEvent);
    // Another program files a new invitation under the same name.
    write(u"work/8d0f3b7c1a.ics"_s, planningFile(u"Planning, moved"_s));
    auto onDisk = files();
    EXPECT_EQ(errorText([&] { store->undo(); }), conflict);
    EXPECT_EQ(files(), onDisk);
    EXPECT_EQ(store->undoStack().size(), 1u) << "nothing undone, the entry stays";

    store->deleteEvent(named(u"Standup"_s)[2].id, EditSpan::thisEvent);
    write(u"work/standup.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:standup"_s, u"SUMMARY:Standup in room 2"_s,
                                      u"DTSTART;TZID=Europe/Berlin:20260303T100000"_s,
                                      u"DTEND;TZID=Europe/Berlin:20260303T101500"_s, u"RRULE:FREQ=WEEKLY;COUNT=8"_s,
                                      u"END:VEVENT"_s}));
    onDisk = files();
    EXPECT_EQ(errorText([&] { store->undo(); }), conflict);
    EXPECT_EQ(files(), onDisk);
    EXPECT_EQ(store->undoStack().size(), 2u);
}

TEST_F(CalendarStoreOnVdir, UndoingAnEditPutsBackWhatItChangedAndKeepsWhatChangedElsewhereSince) {
    write(u"work/review.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:review"_s, u"SUMMARY:Review"_s,
                                     u"DTSTART:20260311T090000Z"_s, u"DTEND:20260311T100000Z"_s, u"END:VEVENT"_s}));
    open();
    const model::ODEvent review = named(u"Review"_s).front();
    EventDraft renamed = EventDraft::fromEvent(review);
    renamed.title = u"Design review"_s;
    store->update(review.id, renamed, EditSpan::thisEvent);
    write(u"work/review.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:review"_s, u"SUMMARY:Design review"_s,
                                     u"LOCATION:Room 4"_s, u"DTSTART:20260311T090000Z"_s,
                                     u"DTEND:20260311T100000Z"_s, u"END:VEVENT"_s}));
    ASSERT_TRUE(testsupport::waitUntil([&] {
        store->reload();
        const auto shown = named(u"Design review"_s);
        return !shown.empty() && shown.front().location == u"Room 4"_s;
    }));
    store->undo();
    ASSERT_EQ(named(u"Review"_s).size(), 1u);
    EXPECT_EQ(named(u"Review"_s).front().location, u"Room 4"_s);
}

TEST_F(CalendarStoreOnVdir, AnEditWritesOnlyItsOwnFieldsOntoTheFileAsAnotherProgramLeftIt) {
    const auto budgetFile = [](const QStringList& more) {
        return ics(QStringList{u"BEGIN:VEVENT"_s, u"UID:budget"_s, u"SUMMARY:Budget sync"_s,
                               u"DTSTART:20260311T090000Z"_s, u"DTEND:20260311T100000Z"_s}
                   << more << u"END:VEVENT"_s);
    };
    const auto showsPlace = [&](const QString& place) {
        return testsupport::waitUntil([&] {
            store->reload();
            const auto shown = named(u"Budget sync"_s);
            return !shown.empty() && shown.front().location == place;
        });
    };
    write(u"work/budget.ics"_s, budgetFile({}));
    open();
    const EventDraft read = EventDraft::fromEvent(named(u"Budget sync"_s).front());
    write(u"work/budget.ics"_s, budgetFile({u"LOCATION:Room 4"_s, u"DESCRIPTION:Bring the Q1 numbers"_s}));
    ASSERT_TRUE(showsPlace(u"Room 4"_s));
    EventDraft alarmed = read;
    alarmed.alarmOffsets = {-600};
    store->update(named(u"Budget sync"_s).front().id, alarmed, EditSpan::thisEvent, read);
    const QByteArray written = files().value(u"work/budget.ics"_s);
    EXPECT_TRUE(written.contains("LOCATION:Room 4")) << written.toStdString();
    EXPECT_TRUE(written.contains("DESCRIPTION:Bring the Q1 numbers"));
    EXPECT_TRUE(written.contains("TRIGGER:-PT10M"));

    // A field both changed is refused whole.
    const EventDraft reread = EventDraft::fromEvent(named(u"Budget sync"_s).front());
    write(u"work/budget.ics"_s, budgetFile({u"LOCATION:Room 5"_s}));
    ASSERT_TRUE(showsPlace(u"Room 5"_s));
    EventDraft moved = reread;
    moved.location = u"Room 9"_s;
    moved.title = u"Budget"_s;
    const auto onDisk = files();
    EXPECT_EQ(errorText([&] { store->update(named(u"Budget sync"_s).front().id, moved, EditSpan::thisEvent, reread); }),
              u"Another program changed the location of this event while you edited it. Save again to keep yours."_s);
    EXPECT_EQ(files(), onDisk);
}

// Items the store must not write: a calendar folder the user cannot write (when
// the test does not run with privileges that ignore that), and a file holding data
// that would not survive being written back.
TEST_F(CalendarStoreOnVdir, ReadOnlyItemsRefuseChangesAndKeepEveryFile) {
    write(u"shared/displayname"_s, "Shared");
    write(u"shared/party.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:party"_s, u"SUMMARY:Party"_s,
                                      u"DTSTART:20260314T190000Z"_s, u"DTEND:20260314T230000Z"_s, u"END:VEVENT"_s}));
    write(u"work/damaged.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:damaged"_s, u"SUMMARY:Damaged"_s,
                                      u"DTSTART:20260315T190000Z"_s, u"DTEND:20260315T200000Z"_s,
                                      u"NOT-A-PROPERTY:kept as is"_s, u"END:VEVENT"_s}));
    const QString shared = root + u"/shared"_s;
    QFile::setPermissions(shared, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool folderCounts = !QFileInfo(shared).isWritable();
    open();
    const auto before = files();

    QStringList readOnly{u"Damaged"_s};
    if (folderCounts)
        readOnly << u"Party"_s;
    for (const QString& title : readOnly) {
        ASSERT_EQ(named(title).size(), 1u) << title.toStdString();
        const model::ODEvent event = named(title).front();
        EXPECT_FALSE(event.canEdit);
        EventDraft renamed = EventDraft::fromEvent(event);
        renamed.title = u"Renamed"_s;
        EXPECT_EQ(errorText([&] { store->update(event.id, renamed, EditSpan::thisEvent); }),
                  platform::EventStoreError::defaultMessage(platform::EventStoreError::Code::ReadOnly));
        EXPECT_EQ(errorText([&] { store->deleteEvent(event.id, EditSpan::thisEvent); }),
                  platform::EventStoreError::defaultMessage(platform::EventStoreError::Code::ReadOnly));
    }
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(store->undoStack().empty());
    QFile::setPermissions(shared, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(CalendarStoreOnVdir, AnUndoFailingHalfWayLeavesEveryFileAsItWas) {
    // A long description makes the first half of the series too big to write back
    // under the size limit below, after the second half was already removed.
    const QString big(200 * 1024, u'x');
    write(u"work/standup.ics"_s, ics({u"BEGIN:VEVENT"_s, u"UID:standup"_s, u"SUMMARY:Standup"_s,
                                      u"DTSTART;TZID=Europe/Berlin:20260303T100000"_s,
                                      u"DTEND;TZID=Europe/Berlin:20260303T101500"_s, u"RRULE:FREQ=WEEKLY;COUNT=8"_s,
                                      u"DESCRIPTION:"_s + big, u"END:VEVENT"_s}));
    open();
    const auto occurrences = named(u"Standup"_s);
    ASSERT_EQ(occurrences.size(), 8u);
    EventDraft later = EventDraft::fromEvent(occurrences[5]);
    later.title = u"Standup v2"_s;
    later.notes = u"short"_s;
    store->update(occurrences[5].id, later, EditSpan::futureEvents);
    const auto before = files();
    ASSERT_EQ(store->undoStack().size(), 1u);
    {
        testsupport::FileSizeLimit full(64 * 1024);
        EXPECT_NE(errorText([&] { store->undo(); }), u"no error"_s);
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(store->undoStack().size(), 1u);
    EXPECT_EQ(named(u"Standup v2"_s).size(), 3u);

    store->undo();  // with room on the disk it works
    EXPECT_EQ(named(u"Standup"_s).size(), 8u);
}

TEST_F(CalendarStoreOnVdir, RemindersCreateCompleteAndUndo) {
    model::ReminderDraft draft;
    draft.title = u"File taxes"_s;
    draft.due = local(2026, 3, 31);
    store->createReminder(draft);
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    const model::ODReminder taxes = store->reminders().front();
    EXPECT_FALSE(taxes.hasDueTime);

    QSignalSpy notices(ek.get(), &platform::EventStore::changed);
    store->completeReminder(taxes.id);
    EXPECT_TRUE(store->reminders().empty());
    ASSERT_TRUE(reloadOnNextNotice(notices));
    EXPECT_TRUE(store->reminders().empty());

    store->undo();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().size() == 1; }));
    store->undo();
    ASSERT_TRUE(testsupport::waitUntil([&] { return store->reminders().empty(); }));
    QDir reminders(root + u"/reminders"_s);
    EXPECT_TRUE(reminders.entryList({u"*.ics"_s}, QDir::Files).isEmpty());
}

}  // namespace
