#include "platform/eventstore/vdir/IcsEditor.h"
#include "platform/eventstore/vdir/IcsRuleWriter.h"
#include "platform/eventstore/vdir/IcsText.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <cstdlib>

using namespace platform::vdir;
using platform::PlatformRecurrenceDayOfWeek;
using platform::PlatformRecurrenceEnd;
using platform::PlatformRecurrenceRule;

namespace {

constexpr qint64 kNow = 1733740000;  // 2024-12-09

IcsTree parse(const QByteArray& text) {
    return IcsTree(icalparser_parse_string(text.constData()));
}

QByteArray calendarText(const QByteArray& body, const QByteArray& zones = {}) {
    QByteArray text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\n" + zones + body + "END:VCALENDAR\r\n";
    return text;
}

core::TimeZone berlin() {
    return *core::TimeZone::withIdentifier(QStringLiteral("Europe/Berlin"));
}

qint64 at(const char* isoLocal, const char* zone = "Europe/Berlin") {
    const QDateTime parsed = QDateTime::fromString(QString::fromLatin1(isoLocal), Qt::ISODate);
    return QDateTime(parsed.date(), parsed.time(), QTimeZone(zone)).toSecsSinceEpoch();
}

// Occurrence starts of `uid` as a reader sees them: DTSTART, the rule's
// instances and RDATEs without EXDATEs, overridden occurrences replaced by
// their overrides.
QList<qint64> occurrences(icalcomponent* calendar, const QByteArray& uid) {
    const IcsEditor editor(calendar, berlin());
    const auto instantOfProperty = [&](icalcomponent*, icalproperty* p) { return editor.instantOf(p); };
    QList<qint64> starts;
    QList<qint64> excluded;
    QList<qint64> moved;
    QList<icalcomponent*> events;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c != nullptr;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        events.append(c);
    }
    for (icalcomponent* c : events) {
        if (uid != icalcomponent_get_uid(c)) {
            continue;
        }
        icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        if (icalproperty* rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
            excluded.append(instantOfProperty(calendar, rid));
            moved.append(instantOfProperty(calendar, startProperty));
            continue;
        }
        const qint64 first = instantOfProperty(calendar, startProperty);
        starts.append(first);
        icaltimetype start = icalproperty_get_dtstart(startProperty);
        for (icalproperty* r = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); r != nullptr;
             r = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(r), start);
            for (int i = 0; i < 1000; ++i) {
                icaltimetype next = icalrecur_iterator_next(it);
                if (icaltime_is_null_time(next)) {
                    break;
                }
                icalproperty* probe = icalproperty_new_clone(startProperty);
                icalproperty_set_dtstart(probe, next);
                const qint64 at = instantOfProperty(calendar, probe);
                icalproperty_free(probe);
                if (!starts.contains(at)) {
                    starts.append(at);
                }
            }
            icalrecur_iterator_free(it);
        }
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p != nullptr;
             p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
            starts.append(instantOfProperty(calendar, p));
        }
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p != nullptr;
             p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
            excluded.append(instantOfProperty(calendar, p));
        }
    }
    QList<qint64> result;
    for (qint64 start : starts) {
        if (!excluded.contains(start)) {
            result.append(start);
        }
    }
    result.append(moved);
    std::sort(result.begin(), result.end());
    return result;
}

QByteArray propertyLine(icalcomponent* component, icalproperty_kind kind) {
    icalproperty* p = icalcomponent_get_first_property(component, kind);
    if (p == nullptr) {
        return {};
    }
    char* text = icalproperty_as_ical_string_r(p);
    QByteArray line(text);
    free(text);
    return line.trimmed();
}

QList<QByteArray> propertyLines(icalcomponent* component, icalproperty_kind kind) {
    QList<QByteArray> lines;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
         p = icalcomponent_get_next_property(component, kind)) {
        char* text = icalproperty_as_ical_string_r(p);
        lines.append(QByteArray(text).trimmed());
        free(text);
    }
    return lines;
}

const QByteArray kWeekly =
    "BEGIN:VEVENT\r\n"
    "UID:weekly\r\n"
    "DTSTAMP:20240101T000000Z\r\n"
    "DTSTART;TZID=Europe/Berlin:20240101T100000\r\n"
    "DTEND;TZID=Europe/Berlin:20240101T110000\r\n"
    "SUMMARY:Standup\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=10\r\n"
    "EXDATE;TZID=Europe/Berlin:20240115T100000\r\n"
    "EXDATE;TZID=Europe/Berlin:20240212T100000\r\n"
    "RDATE;TZID=Europe/Berlin:20240401T100000\r\n"
    "X-ALT-DESC;FMTTYPE=text/html:<p>one\\, two\\; three</p>\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:weekly\r\n"
    "RECURRENCE-ID;TZID=Europe/Berlin:20240219T100000\r\n"
    "DTSTAMP:20240101T000000Z\r\n"
    "DTSTART;TZID=Europe/Berlin:20240220T150000\r\n"
    "DTEND;TZID=Europe/Berlin:20240220T160000\r\n"
    "SUMMARY:Standup moved\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:weekly\r\n"
    "RECURRENCE-ID;TZID=Europe/Berlin:20240108T100000\r\n"
    "DTSTAMP:20240101T000000Z\r\n"
    "DTSTART;TZID=Europe/Berlin:20240108T120000\r\n"
    "DTEND;TZID=Europe/Berlin:20240108T130000\r\n"
    "SUMMARY:Standup early\r\n"
    "END:VEVENT\r\n";

}  // namespace

TEST(IcsEditorSplit, laterOccurrenceStartsANewSeriesWithTheRest) {
    IcsTree calendar = parse(calendarText(kWeekly));
    const QList<qint64> before = occurrences(calendar.get(), "weekly");
    ASSERT_EQ(before.size(), 9);  // 10 by COUNT, 2 excluded, 1 RDATE

    IcsEditor editor(calendar.get(), berlin());
    IcsTree rest = editor.splitSeries("weekly", at("2024-01-29T10:00:00"), "weekly-2", kNow);
    ASSERT_TRUE(rest);

    // Earlier occurrences stay exactly where they were, the early override included.
    const QList<qint64> kept = occurrences(calendar.get(), "weekly");
    EXPECT_EQ(kept, QList<qint64>({at("2024-01-01T10:00:00"), at("2024-01-08T12:00:00"), at("2024-01-22T10:00:00")}));
    icalcomponent* master = editor.master("weekly");
    EXPECT_EQ(propertyLine(master, ICAL_RRULE_PROPERTY), "RRULE:FREQ=WEEKLY;UNTIL=20240129T085959Z");
    EXPECT_EQ(propertyLines(master, ICAL_EXDATE_PROPERTY),
              QList<QByteArray>({"EXDATE;TZID=Europe/Berlin:20240115T100000"}));
    EXPECT_TRUE(propertyLines(master, ICAL_RDATE_PROPERTY).isEmpty());

    // The rest: same zone, the remaining count, later EXDATE, RDATE and override.
    IcsEditor restEditor(rest.get(), berlin());
    icalcomponent* series = restEditor.master("weekly-2");
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(propertyLine(series, ICAL_DTSTART_PROPERTY), "DTSTART;TZID=Europe/Berlin:20240129T100000");
    EXPECT_EQ(propertyLine(series, ICAL_DTEND_PROPERTY), "DTEND;TZID=Europe/Berlin:20240129T110000");
    EXPECT_EQ(propertyLine(series, ICAL_RRULE_PROPERTY), "RRULE:FREQ=WEEKLY;COUNT=6");
    EXPECT_NE(restEditor.findOverride("weekly-2", at("2024-02-19T10:00:00")), nullptr);
    EXPECT_EQ(editor.findOverride("weekly", at("2024-02-19T10:00:00")), nullptr);
    EXPECT_EQ(occurrences(rest.get(), "weekly-2"),
              QList<qint64>({at("2024-01-29T10:00:00"), at("2024-02-05T10:00:00"), at("2024-02-20T15:00:00"),
                             at("2024-02-26T10:00:00"), at("2024-03-04T10:00:00"), at("2024-04-01T10:00:00")}));
    // Together the two series show what the one series showed.
    QList<qint64> together = kept + occurrences(rest.get(), "weekly-2");
    std::sort(together.begin(), together.end());
    EXPECT_EQ(together, before);
}

TEST(IcsEditorSplit, untilFollowsTheKindOfTheStart) {
    struct Case {
        const char* start;
        const char* rule;
        qint64 split;
        const char* until;
    };
    const Case cases[] = {
        // All-day: a DATE, the day before.
        {"DTSTART;VALUE=DATE:20240329", "RRULE:FREQ=DAILY", at("2024-03-31T00:00:00"),
         "RRULE:FREQ=DAILY;UNTIL=20240330"},
        // Floating: a floating local time.
        {"DTSTART:20240329T090000", "RRULE:FREQ=DAILY;COUNT=5", at("2024-03-31T09:00:00"),
         "RRULE:FREQ=DAILY;UNTIL=20240331T085959"},
        // UTC: UTC.
        {"DTSTART:20240329T090000Z", "RRULE:FREQ=DAILY;UNTIL=20240420T090000Z", at("2024-03-31T11:00:00"),
         "RRULE:FREQ=DAILY;UNTIL=20240331T085959Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        IcsTree calendar = parse(
            calendarText(QByteArray("BEGIN:VEVENT\r\nUID:s\r\n") + c.start + "\r\n" + c.rule + "\r\nEND:VEVENT\r\n"));
        IcsEditor editor(calendar.get(), berlin());
        IcsTree rest = editor.splitSeries("s", c.split, "s2", kNow);
        ASSERT_TRUE(rest);
        EXPECT_EQ(propertyLine(editor.master("s"), ICAL_RRULE_PROPERTY), c.until);
        const QList<qint64> restStarts = occurrences(rest.get(), "s2");
        ASSERT_FALSE(restStarts.isEmpty());
        EXPECT_EQ(restStarts.first(), c.split);
        const QList<qint64> kept = occurrences(calendar.get(), "s");
        EXPECT_EQ(kept.size(), 2);
        EXPECT_LT(kept.last(), c.split);
    }
}

TEST(IcsEditorOccurrences, overrideIsMadeOnceAndMovesTheOccurrence) {
    IcsTree calendar = parse(calendarText(kWeekly));
    IcsEditor editor(calendar.get(), berlin());
    const qint64 occurrence = at("2024-01-22T10:00:00");
    icalcomponent* override = editor.ensureOverride("weekly", occurrence, kNow);
    ASSERT_NE(override, nullptr);
    EXPECT_EQ(editor.ensureOverride("weekly", occurrence, kNow), override);
    EXPECT_EQ(propertyLine(override, ICAL_RECURRENCEID_PROPERTY), "RECURRENCE-ID;TZID=Europe/Berlin:20240122T100000");
    EXPECT_EQ(propertyLine(override, ICAL_DTEND_PROPERTY), "DTEND;TZID=Europe/Berlin:20240122T110000");
    EXPECT_TRUE(propertyLines(override, ICAL_RRULE_PROPERTY).isEmpty());
    EXPECT_TRUE(propertyLines(override, ICAL_EXDATE_PROPERTY).isEmpty());

    // A week later, and still found by its original start.
    editor.setTimes(override, at("2024-01-29T14:00:00"), at("2024-01-29T15:00:00"), false, berlin());
    EXPECT_EQ(editor.findOverride("weekly", occurrence), override);
    const QList<qint64> starts = occurrences(calendar.get(), "weekly");
    EXPECT_FALSE(starts.contains(occurrence));
    EXPECT_TRUE(starts.contains(at("2024-01-29T14:00:00")));
    EXPECT_TRUE(starts.contains(at("2024-01-29T10:00:00")));

    // Deleting it removes the override and excludes the original start once.
    editor.excludeOccurrence("weekly", occurrence, kNow);
    editor.excludeOccurrence("weekly", occurrence, kNow);
    EXPECT_EQ(editor.findOverride("weekly", occurrence), nullptr);
    EXPECT_EQ(
        propertyLines(editor.master("weekly"), ICAL_EXDATE_PROPERTY).count("EXDATE;TZID=Europe/Berlin:20240122T100000"),
        1);
    const QList<qint64> after = occurrences(calendar.get(), "weekly");
    EXPECT_FALSE(after.contains(occurrence));
    EXPECT_FALSE(after.contains(at("2024-01-29T14:00:00")));
}

TEST(IcsEditorOccurrences, endingASeriesTurnsCountIntoUntilAndDropsLaterExceptions) {
    IcsTree calendar = parse(calendarText(kWeekly));
    IcsEditor editor(calendar.get(), berlin());
    editor.endSeriesBefore("weekly", at("2024-02-12T10:00:00"), kNow);
    icalcomponent* master = editor.master("weekly");
    EXPECT_EQ(propertyLine(master, ICAL_RRULE_PROPERTY), "RRULE:FREQ=WEEKLY;UNTIL=20240212T085959Z");
    EXPECT_EQ(editor.findOverride("weekly", at("2024-02-19T10:00:00")), nullptr);
    EXPECT_TRUE(propertyLines(master, ICAL_RDATE_PROPERTY).isEmpty());
    EXPECT_EQ(occurrences(calendar.get(), "weekly").size(), 5);
}

TEST(IcsEditorOccurrences, firstOccurrenceIsTheFirstOneShown) {
    IcsTree calendar = parse(calendarText(
        "BEGIN:VEVENT\r\nUID:e\r\nDTSTART;TZID=Europe/Berlin:20240101T100000\r\nRRULE:FREQ=DAILY;COUNT=4\r\n"
        "EXDATE;TZID=Europe/Berlin:20240101T100000\r\nEND:VEVENT\r\n"));
    IcsEditor editor(calendar.get(), berlin());
    EXPECT_FALSE(editor.hasOccurrenceBefore("e", at("2024-01-02T10:00:00")));
    EXPECT_TRUE(editor.hasOccurrenceBefore("e", at("2024-01-03T10:00:00")));
    EXPECT_TRUE(editor.isRecurring("e"));
}

TEST(IcsEditorOccurrences, noRuleMakesASingleEventWithoutExceptions) {
    IcsTree calendar = parse(calendarText(kWeekly));
    IcsEditor editor(calendar.get(), berlin());
    editor.setRecurrenceRules("weekly", {QByteArray("FREQ=DAILY")});
    EXPECT_EQ(propertyLine(editor.master("weekly"), ICAL_RRULE_PROPERTY), "RRULE:FREQ=DAILY");
    EXPECT_EQ(propertyLines(editor.master("weekly"), ICAL_EXDATE_PROPERTY).size(), 2);

    editor.setRecurrenceRules("weekly", {});
    EXPECT_FALSE(editor.isRecurring("weekly"));
    EXPECT_TRUE(propertyLines(editor.master("weekly"), ICAL_EXDATE_PROPERTY).isEmpty());
    EXPECT_EQ(occurrences(calendar.get(), "weekly"), QList<qint64>({at("2024-01-01T10:00:00")}));
}

TEST(IcsEditorTimes, allDayEndIsTheNextDateAlsoOnADstChange) {
    IcsTree calendar = newCalendarWith(ICAL_VEVENT_COMPONENT, "a", kNow);
    IcsEditor editor(calendar.get(), berlin());
    icalcomponent* event = editor.master("a");
    // 2024-03-31 has 23 hours in Berlin; the struct's end is its last second.
    editor.setTimes(event, at("2024-03-31T00:00:00"), at("2024-03-31T23:59:59"), true, berlin());
    EXPECT_EQ(propertyLine(event, ICAL_DTSTART_PROPERTY), "DTSTART;VALUE=DATE:20240331");
    EXPECT_EQ(propertyLine(event, ICAL_DTEND_PROPERTY), "DTEND;VALUE=DATE:20240401");
    // Three days across the change back in autumn.
    editor.setTimes(event, at("2024-10-26T00:00:00"), at("2024-10-28T23:59:59"), true, berlin());
    EXPECT_EQ(propertyLine(event, ICAL_DTEND_PROPERTY), "DTEND;VALUE=DATE:20241029");
    // An end before the start still gives one day.
    editor.setTimes(event, at("2024-10-26T00:00:00"), at("2024-10-20T00:00:00"), true, berlin());
    EXPECT_EQ(propertyLine(event, ICAL_DTEND_PROPERTY), "DTEND;VALUE=DATE:20241027");
}

TEST(IcsEditorTimes, timedValuesAreWrittenInTheirZone) {
    IcsTree calendar = parse(
        calendarText("BEGIN:VEVENT\r\nUID:ny\r\nDTSTART;TZID=America/New_York:20240105T090000\r\nDURATION:PT1H\r\n"
                     "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:f\r\nDTSTART:20240105T090000\r\nEND:VEVENT\r\n"
                     "BEGIN:VEVENT\r\nUID:u\r\nDTSTART:20240105T090000Z\r\nEND:VEVENT\r\n"));
    IcsEditor editor(calendar.get(), berlin());
    icalcomponent* ny = editor.master("ny");
    const std::optional<core::TimeZone> nyZone = editor.startZone(ny);
    ASSERT_TRUE(nyZone);
    EXPECT_EQ(nyZone->identifier(), QStringLiteral("America/New_York"));
    editor.setTimes(ny, at("2024-01-05T16:00:00"), at("2024-01-05T18:00:00"), false, nyZone);
    EXPECT_EQ(propertyLine(ny, ICAL_DTSTART_PROPERTY), "DTSTART;TZID=America/New_York:20240105T100000");
    EXPECT_EQ(propertyLine(ny, ICAL_DTEND_PROPERTY), "DTEND;TZID=America/New_York:20240105T120000");
    EXPECT_TRUE(propertyLines(ny, ICAL_DURATION_PROPERTY).isEmpty());

    icalcomponent* floating = editor.master("f");
    EXPECT_FALSE(editor.startZone(floating));
    editor.setTimes(floating, at("2024-01-05T16:00:00"), at("2024-01-05T17:00:00"), false, std::nullopt);
    EXPECT_EQ(propertyLine(floating, ICAL_DTSTART_PROPERTY), "DTSTART:20240105T160000");

    icalcomponent* utc = editor.master("u");
    editor.setTimes(utc, at("2024-01-05T16:00:00"), at("2024-01-05T17:00:00"), false, editor.startZone(utc));
    EXPECT_EQ(propertyLine(utc, ICAL_DTSTART_PROPERTY), "DTSTART:20240105T150000Z");
    // No zone definitions were added for zones already in use.
    EXPECT_EQ(icalcomponent_get_first_component(calendar.get(), ICAL_VTIMEZONE_COMPONENT), nullptr);
}

TEST(IcsEditorTimes, aNewZoneBringsItsDefinitionFirst) {
    IcsTree fresh = newCalendarWith(ICAL_VEVENT_COMPONENT, "n", kNow);
    IcsEditor editor(fresh.get(), berlin());
    editor.setTimes(editor.master("n"), at("2024-07-01T09:30:00"), at("2024-07-01T10:00:00"), false, berlin());
    EXPECT_EQ(propertyLine(editor.master("n"), ICAL_DTSTART_PROPERTY), "DTSTART;TZID=Europe/Berlin:20240701T093000");
    icalcomponent* first = icalcomponent_get_first_component(fresh.get(), ICAL_ANY_COMPONENT);
    ASSERT_EQ(icalcomponent_isa(first), ICAL_VTIMEZONE_COMPONENT);
    EXPECT_EQ(propertyLine(first, ICAL_TZID_PROPERTY), "TZID:Europe/Berlin");
    // libical reads the moment back through the file's own definition.
    IcsTree reread = parse(IcsKeptLines().write(fresh.get()));
    icalcomponent* event = icalcomponent_get_first_component(reread.get(), ICAL_VEVENT_COMPONENT);
    const icaltimetype start = icalcomponent_get_dtstart(event);
    EXPECT_EQ(icaltime_as_timet_with_zone(start, start.zone), at("2024-07-01T09:30:00"));
}

TEST(IcsEditorTodo, dueAndCompletionRoundTrip) {
    IcsTree calendar = newCalendarWith(ICAL_VTODO_COMPONENT, "t", kNow);
    IcsEditor editor(calendar.get(), berlin());
    icalcomponent* todo = editor.master("t");
    core::DateComponents due;
    due.year = 2024;
    due.month = 5;
    due.day = 6;
    editor.setDue(todo, due);
    EXPECT_EQ(propertyLine(todo, ICAL_DUE_PROPERTY), "DUE;VALUE=DATE:20240506");
    due.hour = 9;
    due.minute = 30;
    editor.setDue(todo, due);
    EXPECT_EQ(propertyLine(todo, ICAL_DUE_PROPERTY), "DUE;TZID=Europe/Berlin:20240506T093000");
    replaceAlarms(todo, {AlarmTime{at("2024-05-06T09:30:00"), 0}});
    icalcomponent* alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT);
    ASSERT_NE(alarm, nullptr);
    EXPECT_EQ(propertyLine(alarm, ICAL_TRIGGER_PROPERTY), "TRIGGER;VALUE=DATE-TIME:20240506T073000Z");

    setTodoCompleted(todo, true, kNow);
    EXPECT_EQ(icalcomponent_get_status(todo), ICAL_STATUS_COMPLETED);
    EXPECT_EQ(propertyLine(todo, ICAL_PERCENTCOMPLETE_PROPERTY), "PERCENT-COMPLETE:100");
    EXPECT_FALSE(propertyLine(todo, ICAL_COMPLETED_PROPERTY).isEmpty());
    setTodoCompleted(todo, false, kNow);
    EXPECT_EQ(icalcomponent_get_status(todo), ICAL_STATUS_NEEDSACTION);
    EXPECT_TRUE(propertyLine(todo, ICAL_COMPLETED_PROPERTY).isEmpty());
    EXPECT_TRUE(propertyLine(todo, ICAL_PERCENTCOMPLETE_PROPERTY).isEmpty());
}

TEST(IcsEditorSeries, movingTheSeriesKeepsItsExceptionsAttached) {
    IcsTree calendar = parse(calendarText(kWeekly));
    IcsEditor editor(calendar.get(), berlin());
    // 10:00 becomes 11:30, an hour and a half later in wall time on every date.
    editor.setSeriesTimes("weekly", at("2024-01-01T11:30:00"), at("2024-01-01T12:00:00"), false, berlin());
    icalcomponent* master = editor.master("weekly");
    EXPECT_EQ(
        propertyLines(master, ICAL_EXDATE_PROPERTY),
        QList<QByteArray>({"EXDATE;TZID=Europe/Berlin:20240115T113000", "EXDATE;TZID=Europe/Berlin:20240212T113000"}));
    EXPECT_NE(editor.findOverride("weekly", at("2024-02-19T11:30:00")), nullptr);
    const QList<qint64> starts = occurrences(calendar.get(), "weekly");
    EXPECT_EQ(starts.size(), 9);
    EXPECT_FALSE(starts.contains(at("2024-01-15T11:30:00")));
    EXPECT_TRUE(starts.contains(at("2024-02-20T15:00:00")));  // the moved one stays where it was moved
    EXPECT_TRUE(starts.contains(at("2024-04-01T10:00:00")));  // an RDATE is a date of its own

    // All-day: the exceptions become dates.
    editor.setSeriesTimes("weekly", at("2024-01-02T00:00:00"), at("2024-01-02T23:59:59"), true, std::nullopt);
    EXPECT_EQ(propertyLines(editor.master("weekly"), ICAL_EXDATE_PROPERTY),
              QList<QByteArray>({"EXDATE;VALUE=DATE:20240116", "EXDATE;VALUE=DATE:20240213"}));
    EXPECT_EQ(occurrences(calendar.get(), "weekly").size(), 9);
}

TEST(IcsEditorSeries, ruleTextFollowsTheStart) {
    PlatformRecurrenceRule rule;
    rule.frequency = PlatformRecurrenceRule::Frequency::Monthly;
    rule.interval = 2;
    rule.daysOfTheWeek = std::vector<PlatformRecurrenceDayOfWeek>{{2, 1}, {6, -1}};
    rule.firstDayOfTheWeek = 2;
    rule.end = PlatformRecurrenceEnd{core::Date(static_cast<double>(at("2024-06-30T10:00:00"))), 0};
    EXPECT_EQ(rruleText(rule, IcsEditor::StartKind::Zoned, berlin()),
              "FREQ=MONTHLY;UNTIL=20240630T080000Z;INTERVAL=2;BYDAY=1MO,-1FR;WKST=MO");
    EXPECT_EQ(rruleText(rule, IcsEditor::StartKind::Floating, berlin()),
              "FREQ=MONTHLY;UNTIL=20240630T100000;INTERVAL=2;BYDAY=1MO,-1FR;WKST=MO");
    rule.end = PlatformRecurrenceEnd{core::Date(static_cast<double>(at("2024-06-30T00:30:00"))), 0};
    EXPECT_EQ(rruleText(rule, IcsEditor::StartKind::Date, berlin()),
              "FREQ=MONTHLY;UNTIL=20240630;INTERVAL=2;BYDAY=1MO,-1FR;WKST=MO");
    rule.end = PlatformRecurrenceEnd{std::nullopt, 4};
    rule.daysOfTheWeek.reset();
    rule.daysOfTheMonth = std::vector<int>{1, -1};
    EXPECT_EQ(rruleText(rule, IcsEditor::StartKind::Utc, berlin()),
              "FREQ=MONTHLY;COUNT=4;INTERVAL=2;BYMONTHDAY=1,-1;WKST=MO");
}

TEST(IcsText, untouchedPropertiesSurviveAnEditUnchanged) {
    const QByteArray original = calendarText(
        "BEGIN:VEVENT\r\n"
        "UID:rich\r\n"
        "DTSTAMP:20240101T000000Z\r\n"
        "DTSTART;TZID=Europe/Berlin:20240101T100000\r\n"
        "SUMMARY:Old\r\n"
        "X-ALT-DESC;FMTTYPE=text/html:<p>a\\, b\\; c</p>\r\n"
        "X-LIST:a,b\r\n"
        "X-WEIRD;X-P=\"q:1\":v\\,w\r\n"
        "ATTENDEE;CN=\"Doe, Jane\";PARTSTAT=ACCEPTED:mailto:jane@example.org\r\n"
        "X-UNICODE:" +
        QByteArray("\xc3\xa9t\xc3\xa9\\, ").repeated(20) +
        "\r\n"
        "FOO-UNKNOWN;BAR=1:baz\r\n"
        "BEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER;VALUE=DATE-TIME:20240101T080000Z\r\nEND:VALARM\r\n"
        "END:VEVENT\r\n");
    IcsKeptLines kept(original);
    IcsTree calendar = parse(kept.marked());
    kept.noteUnchanged(calendar.get());
    IcsEditor editor(calendar.get(), berlin());
    setTextProperty(editor.master("rich"), ICAL_SUMMARY_PROPERTY, QStringLiteral("New"));
    const QByteArray written = kept.write(calendar.get());

    EXPECT_TRUE(written.contains("X-ALT-DESC;FMTTYPE=text/html:<p>a\\, b\\; c</p>\r\n"));
    EXPECT_TRUE(written.contains("X-LIST:a,b\r\n"));
    EXPECT_TRUE(written.contains(":v\\,w\r\n"));
    EXPECT_TRUE(written.contains("SUMMARY:New\r\n"));
    // An untouched line stays as long as the file had it; the lines written anew are folded.
    EXPECT_TRUE(written.contains(QByteArray("\r\nX-UNICODE:" + QByteArray("\xc3\xa9t\xc3\xa9\\, ").repeated(20) + "\r\n")));
    for (const QByteArray& line : written.split('\n')) {
        if (!line.startsWith("X-UNICODE")) {
            EXPECT_LE(line.size(), 76) << line.constData();  // 75 octets and the CR
        }
    }

    IcsTree before = parse(original);
    IcsTree after = parse(written);
    icalcomponent* a = icalcomponent_get_first_component(before.get(), ICAL_VEVENT_COMPONENT);
    icalcomponent* b = icalcomponent_get_first_component(after.get(), ICAL_VEVENT_COMPONENT);
    QList<QByteArray> linesBefore = propertyLines(a, ICAL_ANY_PROPERTY);
    QList<QByteArray> linesAfter = propertyLines(b, ICAL_ANY_PROPERTY);
    const auto edited = [](const QByteArray& line) {
        return line.startsWith("SUMMARY") || line.startsWith("DTSTAMP") || line.startsWith("LAST-MODIFIED");
    };
    linesBefore.removeIf(edited);
    linesAfter.removeIf(edited);
    EXPECT_EQ(linesBefore, linesAfter);
    EXPECT_EQ(linesBefore.size(), 8);
    icalcomponent* alarm = icalcomponent_get_first_component(b, ICAL_VALARM_COMPONENT);
    ASSERT_NE(alarm, nullptr);
    EXPECT_EQ(propertyLine(alarm, ICAL_ACTION_PROPERTY), "ACTION:AUDIO");
}

TEST(IcsText, foldingKeepsUtf8SequencesWhole) {
    const QByteArray line = "X-A:" + QByteArray("\xe2\x82\xac").repeated(60);
    const QByteArray folded = foldContentLine(line);
    QByteArray unfolded = folded;
    unfolded.replace("\r\n ", "");
    EXPECT_EQ(unfolded, line + "\r\n");
    for (const QByteArray& part : folded.split('\n')) {
        EXPECT_LE(part.size(), 76);
        if (part.size() > 1) {
            EXPECT_TRUE(QString::fromUtf8(part).toUtf8() == part) << "split inside a character";
        }
    }
}
