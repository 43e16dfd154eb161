#include "IcsTestSupport.h"
#include "VdirFixture.h"

#include "platform/eventstore/vdir/IcsEditor.h"
#include "platform/eventstore/vdir/IcsPreflight.h"
#include "platform/eventstore/vdir/IcsRuleMapping.h"
#include "platform/eventstore/vdir/IcsText.h"

#include <gtest/gtest.h>

#include <QSet>

#include <map>
#include <random>

using namespace vdirtest;

namespace {

// Components nested a few hundred thousand levels deep fit well under the file size limit.
TEST(IcsHostileInput, DeeplyNestedComponentsAreRefusedWithoutCrashing) {
    constexpr int kDepth = 400000;
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:deep\r\nDTSTART:20240101T100000Z\r\n";
    text.reserve(text.size() + kDepth * 26);
    for (int i = 0; i < kDepth; ++i)
        text += "BEGIN:VALARM\r\n";
    for (int i = 0; i < kDepth; ++i)
        text += "END:VALARM\r\n";
    text += "END:VEVENT\r\nEND:VCALENDAR\r\n";
    const ParsedSeries deep(text);
    EXPECT_FALSE(deep.file.problem.isEmpty());

    const ParsedSeries usual(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"), QStringLiteral("DTSTART:20240101T100000Z"),
             QStringLiteral("BEGIN:VALARM"), QStringLiteral("TRIGGER:-PT5M"), QStringLiteral("END:VALARM"),
             QStringLiteral("END:VEVENT")}));
    EXPECT_TRUE(usual.file.problem.isEmpty());
    EXPECT_EQ(usual.file.components.size(), 1u);
}

}  // namespace

namespace {

// libical's time grows with the square of the parameters of one property (200,000 took minutes): a file with more
// than any real property carries is refused before libical sees it.
TEST(IcsHostileInput, PropertiesWithFarTooManyParametersAreRefused) {
    const auto withParameters = [](int count, const char* parameter) {
        QString line = QStringLiteral("ATTENDEE");
        for (int i = 0; i < count; ++i)
            line += QLatin1Char(';') + QLatin1String(parameter);
        // The parameters may be folded over several lines, with colons and semicolons in quoted values.
        QString folded;
        for (qsizetype at = 0; at < line.size(); at += 70)
            folded += (at == 0 ? QString() : QStringLiteral("\r\n ")) + line.mid(at, 70);
        return ParsedSeries(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"),
                                 QStringLiteral("DTSTART:20240101T100000Z"), folded + QStringLiteral(":mailto:a@b.c"),
                                 QStringLiteral("END:VEVENT")}));
    };
    const ParsedSeries many = withParameters(5000, "A=1");
    EXPECT_FALSE(many.file.problem.isEmpty());
    const ParsedSeries usual = withParameters(20, "X-A=\"a;b:c\"");
    EXPECT_TRUE(usual.file.problem.isEmpty()) << usual.file.problem.toStdString();
    ASSERT_EQ(usual.file.components.size(), 1u);
    EXPECT_EQ(usual.file.components.front().attendees().size(), 1u);
}

// libical's time grows with the square of the length of one physical line; long lines are folded before it reads
// them, which must leave every value as it was.
TEST(IcsHostileInput, LongUnfoldedLinesReadTheSameAsFoldedOnes) {
    QString description = QStringLiteral("Notes: ");
    while (description.size() < 300000)
        description += QStringLiteral("caf\u00e9 \u65e5\u672c\u8a9e \U0001F600 a\\,b\\;c ");
    description += QStringLiteral("end");
    QString decoded = description;
    decoded.replace(QStringLiteral("\\,"), QStringLiteral(",")).replace(QStringLiteral("\\;"), QStringLiteral(";"));
    const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:a"),
                              QStringLiteral("DTSTART:20240101T100000Z"),
                              QStringLiteral("DESCRIPTION;LANGUAGE=en:") + description, QStringLiteral("END:VEVENT")}));
    ASSERT_TRUE(s.file.problem.isEmpty());
    EXPECT_FALSE(s.file.hasErrors);
    ASSERT_EQ(s.file.components.size(), 1u);
    EXPECT_EQ(s.file.components.front().description(), decoded);
}

}  // namespace

namespace {

// libical walks a rule step by step until a step passes every filter; when none ever does it searched for half a
// second (daily) to forever (minutely, secondly), on every reload.
TEST(IcsHostileInput, SubDailyRulesThatCanNeverMatchDoNotHang) {
    for (const char* rule : {"FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30;COUNT=3", "FREQ=MINUTELY;BYYEARDAY=366;BYMONTH=1",
                             "FREQ=SECONDLY;BYMONTH=4;BYMONTHDAY=31", "FREQ=DAILY;BYMONTH=2;BYMONTHDAY=31",
                             "FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30", "FREQ=YEARLY;BYMONTH=4;BYMONTHDAY=31;COUNT=2",
                             "FREQ=MONTHLY;INTERVAL=12;BYMONTH=2", "FREQ=DAILY;INTERVAL=7;BYDAY=TU"}) {
        const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:never"),
                                  QStringLiteral("DTSTART:20240101T100000Z"),
                                  QStringLiteral("RRULE:") + QLatin1String(rule), QStringLiteral("END:VEVENT")}));
        EXPECT_EQ(s.starts(utc(2023, 12, 1), utc(2024, 3, 1)), std::vector<core::Date>{utc(2024, 1, 1, 10)}) << rule;
    }
    const ParsedSeries hourly(
        ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:h"), QStringLiteral("DTSTART:20240101T090000Z"),
             QStringLiteral("RRULE:FREQ=HOURLY;INTERVAL=8;COUNT=3"), QStringLiteral("END:VEVENT")}));
    EXPECT_EQ(hourly.starts(utc(2023, 12, 1), utc(2024, 3, 1)).size(), 3u);
}

}  // namespace

namespace {

const QList<QByteArray> kSeeds{
    ics({QStringLiteral("BEGIN:VTIMEZONE"),
         QStringLiteral("TZID:Custom"),
         QStringLiteral("BEGIN:STANDARD"),
         QStringLiteral("DTSTART:19701025T030000"),
         QStringLiteral("TZOFFSETFROM:+0200"),
         QStringLiteral("TZOFFSETTO:+0100"),
         QStringLiteral("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"),
         QStringLiteral("END:STANDARD"),
         QStringLiteral("END:VTIMEZONE"),
         QStringLiteral("BEGIN:VEVENT"),
         QStringLiteral("UID:series"),
         QStringLiteral("SUMMARY:Series"),
         QStringLiteral("DTSTART;TZID=Custom:20240304T100000"),
         QStringLiteral("DTEND;TZID=Custom:20240304T110000"),
         QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=20"),
         QStringLiteral("EXDATE;TZID=Custom:20240306T100000"),
         QStringLiteral("RDATE:20240309T090000Z"),
         QStringLiteral("ATTENDEE;PARTSTAT=ACCEPTED;CN=A:mailto:a@example.com"),
         QStringLiteral("X-KEEP:a\\,b"),
         QStringLiteral("BEGIN:VALARM"),
         QStringLiteral("TRIGGER;RELATED=END:-PT5M"),
         QStringLiteral("END:VALARM"),
         QStringLiteral("END:VEVENT"),
         QStringLiteral("BEGIN:VEVENT"),
         QStringLiteral("UID:series"),
         QStringLiteral("RECURRENCE-ID;TZID=Custom:20240311T100000"),
         QStringLiteral("DTSTART:20240501T080000Z"),
         QStringLiteral("DURATION:PT2H"),
         QStringLiteral("END:VEVENT")}),
    ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:days"), QStringLiteral("DTSTART;VALUE=DATE:20240329"),
         QStringLiteral("DTEND;VALUE=DATE:20240402"), QStringLiteral("RRULE:FREQ=MONTHLY;BYMONTHDAY=-1;UNTIL=20241231"),
         QStringLiteral("EXDATE;VALUE=DATE:20240430"), QStringLiteral("END:VEVENT"), QStringLiteral("BEGIN:VTODO"),
         QStringLiteral("UID:todo"), QStringLiteral("DUE:20240310T120000"), QStringLiteral("END:VTODO")}),
    ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:floating"), QStringLiteral("DTSTART:20240310T013000"),
         QStringLiteral("DURATION:PT90M"), QStringLiteral("RRULE:FREQ=DAILY;INTERVAL=2"),
         QStringLiteral("EXDATE;TZID=America/New_York:20240311T203000"), QStringLiteral("END:VEVENT")}),
};

const QList<QByteArray> kHostileLines{
    "RRULE:FREQ=SECONDLY;COUNT=2147483647",
    "RRULE:FREQ=DAILY;INTERVAL=0",
    "RRULE:FREQ=DAILY;INTERVAL=-5",
    "RRULE:FREQ=YEARLY;INTERVAL=2147483647",
    "RRULE:FREQ=MONTHLY;BYMONTHDAY=31;BYMONTH=2",
    "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;INTERVAL=4",
    "RRULE:FREQ=MONTHLY;BYDAY=5FR;BYSETPOS=-400",
    "RRULE:FREQ=WEEKLY;BYDAY=XX,99MO;WKST=QQ",
    "RRULE:FREQ=YEARLY;BYWEEKNO=53;BYDAY=MO;BYMONTH=1",
    "RRULE:FREQ=WEEKLY;UNTIL=19000101T000000Z",
    "RRULE:FREQ=DAILY;UNTIL=garbage",
    "RRULE:FREQ=DAILY;COUNT=-1",
    "RRULE:FREQ=MINUTELY;BYSECOND=61;BYHOUR=25",
    "RRULE:FREQ=HOURLY;BYMONTHDAY=30;BYMONTH=2",
    "RRULE:",
    "RRULE:FREQ=YEARLY;RSCALE=CHINESE;BYMONTH=5L",
    "RRULE:FREQ=MONTHLY;BYMONTHDAY=0;BYYEARDAY=-367",
    "RRULE:FREQ=WEEKLY;COUNT=3;UNTIL=20240101T000000Z",
    "DTSTART:99991231T235959Z",
    "DTSTART;VALUE=DATE:00000101",
    "DTSTART:20240230T100000",
    "DTSTART;TZID=No/Such:20240301T100000",
    "DTSTART;TZID=Empty:20240301T100000",
    "DTSTART;VALUE=DATE:20240305",
    "DTEND;VALUE=DATE:19700101",
    "DTEND:20230101T000000Z",
    "DURATION:-P3W",
    "DURATION:P99999W",
    "DURATION:garbage",
    "RECURRENCE-ID:20240305T100000Z",
    "RECURRENCE-ID;VALUE=DATE:20240306",
    "RECURRENCE-ID;TZID=No/Such:20240311T100000",
    "EXDATE;TZID=America/New_York:20240311T050000",
    "EXDATE:garbage",
    "RDATE;VALUE=PERIOD:20240101T000000Z/PT1H",
    "RDATE:20240101T000000Z,garbage",
    "UID:",
    "UID:series",
    "TRIGGER;RELATED=END:-P9999W",
    "TRIGGER:19000101T000000Z",
    "STATUS:CANCELLED",
    "BEGIN:VTIMEZONE",
    "TZID:Empty",
    "END:VTIMEZONE",
    "BEGIN:VEVENT",
    "END:VEVENT",
    "BEGIN:VALARM",
    "END:VALARM",
    "END:VCALENDAR",
    "SUMMARY:\xff\xfe\xc3(\xed\xa0\x80",
    "ATTENDEE;PARTSTAT=X:",
    " continued",
};

class Mutator {
public:
    explicit Mutator(unsigned randomStart) : m_random(randomStart) {}

    QByteArray mutate(const QByteArray& sample) {
        QList<QByteArray> lines = sample.split('\n');
        const int steps = pick(1, 5);
        for (int step = 0; step < steps; ++step) {
            // Never the first line: a file that is not a calendar at all is refused before anything else.
            const qsizetype at = pick(1, static_cast<int>(lines.size()) - 1);
            switch (pick(0, 6)) {
                case 0:
                    lines[at] = kHostileLines[pick(0, static_cast<int>(kHostileLines.size()) - 1)];
                    break;
                case 1:
                case 2:
                    lines.insert(at, kHostileLines[pick(0, static_cast<int>(kHostileLines.size()) - 1)]);
                    break;
                case 3:
                    lines.removeAt(at);
                    break;
                case 4:
                    lines.insert(at, lines[at]);
                    break;
                case 5:
                    lines[at] = lines[at].left(pick(0, static_cast<int>(lines[at].size())));
                    break;
                default:
                    lines.insert(at, "DESCRIPTION:" + QByteArray(pick(1, 200000), 'x'));
                    break;
            }
            if (lines.isEmpty())
                lines.append(QByteArray());
        }
        return lines.join('\n');
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, std::max(low, high))(m_random); }
    std::mt19937 m_random;
};

// The edits the store makes, on a copy of the file; the result must read back.
void editCopy(const QByteArray& text, const QByteArray& uid) {
    platform::vdir::IcsKeptLines kept(text);
    platform::vdir::IcsTree tree(icalparser_parse_string(kept.marked().constData()));
    if (!tree || icalcomponent_isa(tree.get()) != ICAL_VCALENDAR_COMPONENT)
        return;
    kept.noteUnchanged(tree.get());
    platform::vdir::IcsEditor editor(tree.get(), core::TimeZone::current());
    const qint64 at = static_cast<qint64>(utc(2024, 3, 11, 9).secondsSince1970());
    (void)editor.hasOccurrenceBefore(uid, at);
    if (icalcomponent* occurrence = editor.ensureOverride(uid, at, at))
        editor.setTimes(occurrence, at + 3600, at + 7200, false, zone("Asia/Tokyo"));
    editor.excludeOccurrence(uid, at + 7 * 86400, at);
    const platform::vdir::IcsTree rest = editor.splitSeries(uid, at + 14 * 86400, "split", at);
    editor.setSeriesTimes(uid, at - 86400, at - 86400 + 600, true, std::nullopt);
    const QByteArray written = kept.write(tree.get());
    platform::vdir::IcsZoneResolver zones;
    EXPECT_TRUE(platform::vdir::IcsFileParser(zones).parse(written).problem.isEmpty()) << written.toStdString();
    EXPECT_FALSE(written.contains("X-ORBITDAY-LINE"));
    if (rest) {
        EXPECT_FALSE(kept.write(rest.get()).contains("X-ORBITDAY-LINE"));
    }
}

// Mutated files go through everything that reads or edits them; none may crash or produce unbounded work.
TEST(IcsHostileInput, MutatedFilesAreReadExpandedAndEditedWithinBounds) {
    const core::TimeZone floating = core::TimeZone::current();
    Mutator mutator(20240301);
    platform::vdir::IcsZoneResolver zones;
    const platform::vdir::IcsFileParser parser(zones);
    TempVdir vdir;
    vdir.write(QStringLiteral("fuzz/displayname"), "Fuzz\n");
    int storeFiles = 0;
    for (int round = 0; round < 500; ++round) {
        const QByteArray text = mutator.mutate(kSeeds[round % kSeeds.size()]);
        const IcsFile file = parser.parse(text);
        std::map<QString, IcsSeries> series;
        for (const auto& c : file.components) {
            IcsSeries& s = series[c.uid()];
            if (c.recurrenceId)
                s.overrides.push_back(&c);
            else if (!s.master)
                s.master = &c;
        }
        for (const auto& [uid, s] : series) {
            std::vector<IcsOccurrence> out;
            platform::vdir::expandSeries(s, utc(2024, 1, 1), utc(2024, 7, 1), floating, out);
            size_t bound = s.overrides.size() + 1;
            if (s.master)
                bound += s.master->repeats().rdates.size() + 200000 * s.master->repeats().rrules.size();
            ASSERT_LE(out.size(), bound) << text.toStdString();
            if (s.master && s.master->start) {
                for (const QByteArray& rule : s.master->repeats().rrules)
                    (void)platform::vdir::platformRule(rule, *s.master->start, floating);
            }
            if (!file.hasErrors && s.master && round % 3 == 0)
                editCopy(text, uid.toUtf8());
        }
        if (round % 5 == 0)
            vdir.write(QStringLiteral("fuzz/%1.ics").arg(storeFiles++), text);
    }
    platform::FakePrivacy privacy;
    platform::vdir::VdirEventStore store(privacy, vdir.root);
    QSet<QString> identifiers;
    for (const auto& event : store.events(utc(2024, 3, 1), utc(2024, 4, 1), std::nullopt))
        identifiers.insert(event.eventIdentifier);
    for (const QString& identifier : std::as_const(identifiers)) {
        EXPECT_FALSE(identifier.contains(u'|')) << identifier.toStdString();
        (void)store.event(identifier);
    }
}

}  // namespace

namespace {

// libical lets a start such as day 57 through; a rule counted from it must not be walked as if it were a date.
TEST(IcsHostileInput, RulesFromAStartThatIsNoDateStayWithinBounds) {
    for (const char* start : {"DTSTART:20240157T100000Z", "DTSTART;VALUE=DATE:20241340"}) {
        for (const char* rule : {"RRULE:FREQ=MONTHLY;COUNT=3", "RRULE:FREQ=YEARLY", "RRULE:FREQ=WEEKLY;BYMONTH=2"}) {
            const ParsedSeries s(ics({QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:odd"), QLatin1String(start),
                                      QLatin1String(rule), QStringLiteral("END:VEVENT")}));
            EXPECT_LE(s.expand(utc(2023, 1, 1), utc(2026, 1, 1)).size(), 40u) << start << " " << rule;
        }
    }
}

// A file of megabytes is read in parts side by side. The parts must read as the whole: zone definitions wherever
// they stand, a series whose changed occurrences sit far from it, and damage in one part marks the whole file.
TEST(IcsHostileInput, ALargeCalendarReadInPartsReadsAsAWhole) {
    constexpr int kEvents = 6000;
    const QString padding = QStringLiteral("DESCRIPTION:") + QString(200, u'n');
    QStringList lines{QStringLiteral("X-WR-CALNAME:Export"),
                      QStringLiteral("BEGIN:VEVENT"),
                      QStringLiteral("UID:series"),
                      QStringLiteral("DTSTART;TZID=Far Away:20240101T090000"),
                      QStringLiteral("RRULE:FREQ=DAILY;COUNT=10"),
                      QStringLiteral("END:VEVENT")};
    for (int i = 0; i < kEvents; ++i) {
        lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:e%1").arg(i)
              << QStringLiteral("DTSTART;TZID=Far Away:20240201T120000") << padding << QStringLiteral("END:VEVENT");
        if (i == kEvents / 2)
            lines << QStringLiteral("BEGIN:VJOURNAL") << QStringLiteral("UID:j") << QStringLiteral("END:VJOURNAL");
    }
    lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:series")
          << QStringLiteral("RECURRENCE-ID;TZID=Far Away:20240105T090000")
          << QStringLiteral("DTSTART;TZID=Far Away:20240105T150000") << QStringLiteral("END:VEVENT");
    lines << QStringLiteral("BEGIN:VTIMEZONE") << QStringLiteral("TZID:Far Away") << QStringLiteral("BEGIN:STANDARD")
          << QStringLiteral("DTSTART:19700101T000000") << QStringLiteral("TZOFFSETFROM:+0530")
          << QStringLiteral("TZOFFSETTO:+0530") << QStringLiteral("END:STANDARD") << QStringLiteral("END:VTIMEZONE");
    const QByteArray text = ics(lines);
    ASSERT_GT(text.size(), 1024 * 1024);

    const ParsedSeries whole(text);
    ASSERT_TRUE(whole.file.problem.isEmpty()) << whole.file.problem.toStdString();
    EXPECT_FALSE(whole.file.hasErrors);
    ASSERT_EQ(whole.file.components.size(), static_cast<size_t>(kEvents + 2));
    EXPECT_EQ(whole.file.components[1].uid(), QStringLiteral("e0"));
    EXPECT_EQ(whole.file.components[kEvents].uid(), QStringLiteral("e%1").arg(kEvents - 1));
    const auto& last = whole.file.components.back();
    ASSERT_TRUE(last.recurrenceId && last.start);
    EXPECT_EQ(last.start->toDate(core::TimeZone::utc()), utc(2024, 1, 5, 9, 30)) << "read in its own zone";
    for (size_t i = 1; i <= static_cast<size_t>(kEvents); i += 997)
        EXPECT_EQ(whole.file.components[i].start->toDate(core::TimeZone::utc()), utc(2024, 2, 1, 6, 30));

    QStringList damaged = lines;
    damaged.replace(static_cast<qsizetype>(lines.size()) * 3 / 4, QStringLiteral("DTEND:not a date"));
    EXPECT_TRUE(ParsedSeries(ics(damaged)).file.hasErrors);
}

// A large file is cut into many small parts, each of which repeats every zone definition: a file whose zones are
// large must not be cut into so many that the copies take many times its own size.
TEST(IcsHostileInput, ZonesRepeatedInTheirPartsAddNoMoreThanTheFileItself) {
    QStringList lines{QStringLiteral("BEGIN:VTIMEZONE"), QStringLiteral("TZID:Padded")};
    for (int i = 0; i < 1000; ++i)
        lines << QStringLiteral("X-PAD-%1:").arg(i) + QString(1000, u'z');
    lines << QStringLiteral("BEGIN:STANDARD") << QStringLiteral("DTSTART:19700101T000000")
          << QStringLiteral("TZOFFSETFROM:+0100") << QStringLiteral("TZOFFSETTO:+0100") << QStringLiteral("END:STANDARD")
          << QStringLiteral("END:VTIMEZONE");
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:e%1").arg(i)
              << QStringLiteral("DTSTART;TZID=Padded:20240201T120000") << QStringLiteral("DESCRIPTION:") + QString(2400, u'n')
              << QStringLiteral("END:VEVENT");
    const QByteArray text = ics(lines);
    ASSERT_GT(text.size(), 8 * 1024 * 1024);

    const std::vector<QByteArray> parts = platform::vdir::splitIntoCalendars(text, 4);
    ASSERT_GE(parts.size(), 4u);
    qsizetype total = 0;
    for (const QByteArray& part : parts)
        total += part.size();
    EXPECT_LE(total, 2 * text.size()) << parts.size() << " parts";
    EXPECT_EQ(ParsedSeries(text).file.components.size(), 3000u);
}

}  // namespace
