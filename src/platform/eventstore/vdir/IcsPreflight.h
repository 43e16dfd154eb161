#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace platform::vdir {

// One linear pass over the lines of a file before libical reads it: libical's own time grows faster than the size
// of some input, and it cannot be told to stop, so whatever would make it slow is refused or reshaped here.
struct IcsPreflight {
    // What libical is to read: the file itself, with every overlong physical line folded.
    QByteArray text;
    // Non-empty when libical must not read the file at all: why.
    QString problem;
    // BEGIN lines, to tell whether libical kept every component.
    int components = 0;
    // Of them, events and to-dos: what the reader keeps.
    int items = 0;
    // libical splits list values (CATEGORIES, RESOURCES) at every comma and writes them back without their "\,"
    // escapes: "Work\, urgent" would come back as two categories.
    bool escapedListComma = false;
};

IcsPreflight preflightIcs(const QByteArray& data);

// Where the parts of a text that is one plain calendar lie: BEGIN:VCALENDAR on the first line, nothing but blank
// lines after its END.
struct IcsOutline {
    // One component of the calendar, from its BEGIN line to the end of its END line.
    struct Part {
        qsizetype begin = 0;
        qsizetype end = 0;
        QByteArrayView name;  // as its BEGIN line gives it, blanks trimmed
    };
    QByteArray frame;  // the calendar's own lines, BEGIN:VCALENDAR first, without its END
    std::vector<Part> components;
    // Every END line names the component its BEGIN line opened.
    bool namesMatch = true;
};
// Nullopt when the text is not one plain calendar.
std::optional<IcsOutline> outlineCalendar(const QByteArray& text);

// A calendar of many components cut into at least `parts` calendars of whole components, each with the calendar's
// own properties and every zone definition, to be read side by side: libical reads one file on one thread only, at
// about a second for 16 MiB. A large file is cut into more parts, of about 256 KiB, as long as the zone definitions
// repeated in them add no more than the file's own size. Empty when the text is not one plain calendar (or too
// small to be worth it).
std::vector<QByteArray> splitIntoCalendars(const QByteArray& text, int parts);

}  // namespace platform::vdir
