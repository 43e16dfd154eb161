#include "VdirGenerator.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimeZone>

namespace bench {

namespace {

const char* const kBerlin =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
    "TZNAME:CEST\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\nDTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

const char* const kNewYork =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\n"
    "TZNAME:EDT\r\nDTSTART:19700308T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nDTSTART:19701101T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

// What a Windows mail client writes: a zone under its own name, defined only by its observances.
const char* const kCustom =
    "BEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\nBEGIN:STANDARD\r\nDTSTART:16010101T030000\r\n"
    "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

struct Zone {
    const char* tzid;
    const char* definition;
};
const Zone kZones[] = {{"Europe/Berlin", kBerlin}, {"America/New_York", kNewYork}, {"Customized Time Zone", kCustom}};

const char* const kCollections[] = {"personal", "work", "family", "acme/team", "acme/projects"};

const char* const kTitles[] = {"Standup",       "Planning", "Lunch with Sam",     "Dentist", "1:1",
                               "Design review", "Gym",      "Call with the bank", "Release", "Retro"};

QString stamp(const QDateTime& local, bool utc) {
    return local.toString(QStringLiteral("yyyyMMdd'T'HHmmss")) + (utc ? QStringLiteral("Z") : QString());
}

}  // namespace

int generateVdir(const QString& root, core::Date around, const VdirShape& shape) {
    QRandomGenerator random(shape.randomSeed);
    for (const char* collection : kCollections) {
        const QString folder = root + QLatin1Char('/') + QLatin1String(collection);
        QDir().mkpath(folder);
        QFile name(folder + QStringLiteral("/displayname"));
        if (name.open(QIODevice::WriteOnly))
            name.write(QByteArray(collection).replace('/', ' '));
        QFile color(folder + QStringLiteral("/color"));
        if (color.open(QIODevice::WriteOnly))
            color.write("#3A87AD");
    }
    QFile account(root + QStringLiteral("/acme/displayname"));
    if (account.open(QIODevice::WriteOnly))
        account.write("ACME");

    const QDateTime centre = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(around.secondsSince1970()), Qt::UTC);
    int written = 0;
    for (int i = 0; i < shape.files; ++i) {
        const double kind = random.generateDouble();
        const bool allDay = kind < shape.allDay;
        const bool zoned = !allDay && random.generateDouble() < shape.withTimeZone;
        const bool weekly = random.generateDouble() < shape.weekly;
        const Zone& zone = kZones[random.bounded(3)];

        const qint64 dayOffset = static_cast<qint64>(random.bounded(730)) - 365;
        const int hour = 7 + static_cast<int>(random.bounded(12));
        const int minute = static_cast<int>(random.bounded(4)) * 15;
        const QDateTime start(centre.date().addDays(dayOffset), QTime(hour, minute), Qt::UTC);
        const QDateTime end = start.addSecs(1800 * (1 + static_cast<int>(random.bounded(4))));

        const QString uid =
            QStringLiteral("%1-%2@generated.example").arg(i).arg(random.generate(), 8, 16, QLatin1Char('0'));
        QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orbitday//bench//EN\r\n";
        if (zoned)
            text += zone.definition;
        text += "BEGIN:VEVENT\r\nUID:" + uid.toUtf8() + "\r\nDTSTAMP:20240101T000000Z\r\n";
        text += "SUMMARY:" + QByteArray(kTitles[random.bounded(10)]) + " " + QByteArray::number(i) + "\r\n";
        if (allDay) {
            text += "DTSTART;VALUE=DATE:" + start.toString(QStringLiteral("yyyyMMdd")).toUtf8() + "\r\n";
            text += "DTEND;VALUE=DATE:" + start.addDays(1).toString(QStringLiteral("yyyyMMdd")).toUtf8() + "\r\n";
        } else if (zoned) {
            text += "DTSTART;TZID=" + QByteArray(zone.tzid) + ":" + stamp(start, false).toUtf8() + "\r\n";
            text += "DTEND;TZID=" + QByteArray(zone.tzid) + ":" + stamp(end, false).toUtf8() + "\r\n";
        } else {
            text += "DTSTART:" + stamp(start, true).toUtf8() + "\r\nDTEND:" + stamp(end, true).toUtf8() + "\r\n";
        }
        if (weekly)
            text += random.bounded(2) ? "RRULE:FREQ=WEEKLY\r\n" : "RRULE:FREQ=WEEKLY;COUNT=20\r\n";
        if (random.bounded(3) == 0)
            text += "LOCATION:Room " + QByteArray::number(random.bounded(40)) + "\r\n";
        text += "DESCRIPTION:Generated event with a few words of notes\\, to be realistic in size.\r\n";
        if (random.bounded(4) == 0) {
            text += "ORGANIZER;CN=Organizer:mailto:organizer@example.com\r\n";
            text += "ATTENDEE;CN=Alex;PARTSTAT=ACCEPTED:mailto:alex@example.com\r\n";
            text += "ATTENDEE;CN=Kim;PARTSTAT=NEEDS-ACTION:mailto:kim@example.com\r\n";
        }
        if (random.bounded(2) == 0)
            text += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n";
        text += "END:VEVENT\r\nEND:VCALENDAR\r\n";

        QFile file(root + QLatin1Char('/') + QLatin1String(kCollections[i % 5]) + QLatin1Char('/') + uid +
                   QStringLiteral(".ics"));
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
            ++written;
    }
    return written;
}

}  // namespace bench
