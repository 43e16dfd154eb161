#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"
#include "platform/eventstore/vdir/IcsRuleWalk.h"
#include "platform/eventstore/vdir/WallTime.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform::vdir {

// A TZID as written and the zone it names (none when it names no zone known); the values of a file that give the
// same TZID share one, so that each value holds a pointer rather than a copy of both.
struct IcsZoneName {
    QString tzid;
    std::optional<core::TimeZone> zone;
};

// A DATE or DATE-TIME value as the file gives it. Floating times and dates are read in the zone current at the
// time of reading, so they are kept unresolved; a TZID is resolved once, when the file is parsed.
struct IcsTime {
    enum class Anchor : quint8 { Floating, Utc, Zone };

    WallTime wall;
    bool isDate = false;
    Anchor anchor = Anchor::Floating;  // Zone only when `named` names a zone
    std::shared_ptr<const IcsZoneName> named;  // set when the value gives a TZID, also one that could not be resolved

    // The TZID as written; empty without one.
    const QString& tzid() const;
    // The zone the wall time is read in: its own, UTC, or the given one for floating values.
    core::TimeZone zoneOr(const core::TimeZone& floatingZone) const;
    core::Date toDate(const core::TimeZone& floatingZone) const;
    qint64 dayNumber() const { return daysFromCivil(wall.year, wall.month, wall.day); }
};

struct IcsAlarm {
    // Seconds from the item's start (negative = before); 0 for an alarm at an absolute moment.
    double relativeOffset = 0;
    std::optional<core::Date> absoluteDate;
};

// Texts as the file gives them (UTF-8), one after another in one block, made into strings only when read: a loaded
// calendar holds a set for every event, and few of them are ever shown.
template <int Count>
class IcsTexts {
public:
    IcsTexts() = default;
    // Absent fields are nullopt; an empty text is kept as such.
    explicit IcsTexts(const std::array<std::optional<QByteArrayView>, Count>& fields) {
        qsizetype size = 0;
        for (const auto& field : fields)
            size += field ? field->size() : 0;
        m_block.reserve(size);
        for (int i = 0; i < Count; ++i) {
            if (fields[static_cast<size_t>(i)]) {
                m_block.append(*fields[static_cast<size_t>(i)]);
                m_present |= static_cast<quint8>(1u << i);
            }
            m_ends[static_cast<size_t>(i)] = static_cast<quint32>(m_block.size());
        }
    }

    bool has(int field) const { return (m_present >> field) & 1u; }
    QByteArrayView utf8(int field) const {
        const quint32 begin = field == 0 ? 0 : m_ends[static_cast<size_t>(field - 1)];
        return QByteArrayView(m_block).sliced(begin, m_ends[static_cast<size_t>(field)] - begin);
    }
    std::optional<QString> text(int field) const {
        return has(field) ? std::optional<QString>(QString::fromUtf8(utf8(field))) : std::nullopt;
    }

private:
    QByteArray m_block;
    std::array<quint32, Count> m_ends{};
    quint8 m_present = 0;
};

class IcsParticipant {
public:
    IcsParticipant() = default;
    // `address` is kept with its scheme lower-cased.
    IcsParticipant(std::optional<QByteArrayView> name, QByteArrayView address, int status);

    std::optional<QString> name() const { return m_texts.text(0); }  // CN, kept even when empty
    QString address() const { return QString::fromUtf8(m_texts.utf8(1)); }  // the calendar address ("mailto:…")
    // The reply in the platform's numbering: 0 unknown, 1 pending, 2 accepted, 3 declined, 4 tentative,
    // 5 delegated, 6 completed, 7 in process. A participant without PARTSTAT has not answered yet (pending).
    int status() const { return m_status; }

private:
    IcsTexts<2> m_texts;
    quint8 m_status = 1;
};

// Who is invited to a component and by whom; most have no one.
struct IcsParticipants {
    std::unique_ptr<IcsParticipant> organizer;
    std::vector<IcsParticipant> attendees;
};

struct IcsRuleProgress {
    std::mutex mutex;
    std::vector<IcsRuleWalk::Progress> perRule;
};

// What a repeating component repeats by. Most components happen once, so it is kept apart and made only for those
// that give a rule or a date of their own.
struct IcsRepetition {
    std::vector<QByteArray> rrules;  // RRULE values as written; parsed when expanded
    // Where walking each rule with a COUNT from the start got (see IcsRuleWalk::Progress). Kept with the parsed
    // file, so that each read of an unchanged file goes on from there; set when a rule has a COUNT.
    std::shared_ptr<IcsRuleProgress> ruleProgress;
    std::vector<IcsTime> rdates;
    // Parallel to rdates: the length of an RDATE given as a period, in seconds.
    std::vector<std::optional<double>> rdateLengths;
    std::vector<IcsTime> exdates;
};

// One VEVENT or VTODO: a plain copy of what the store reads, so the libical tree can be freed at once. A loaded
// calendar holds one per event, so what few components have is held by pointer, made only when present.
struct IcsComponent {
    enum class Kind : quint8 { Event, Todo };
    // STATUS, as far as it is read: none given, COMPLETED, CANCELLED, or any other.
    enum class Status : quint8 { None, Completed, Cancelled, Other };
    enum Text { Uid, Summary, Location, Description, Url, TextCount };

    Kind kind = Kind::Event;
    bool transparent = false;  // TRANSP:TRANSPARENT (does not block time)
    Status status = Status::None;
    int priority = 0;
    IcsTexts<TextCount> texts;  // UID, SUMMARY, LOCATION, DESCRIPTION, URL

    std::optional<IcsTime> start;
    std::optional<IcsTime> end;               // DTEND of an event
    std::unique_ptr<IcsTime> due;             // DUE of a to-do
    std::unique_ptr<IcsTime> completed;       // COMPLETED of a to-do
    std::optional<int> duration;              // DURATION in seconds, when given instead of an end
    std::unique_ptr<IcsTime> recurrenceId;
    std::unique_ptr<IcsRepetition> repetition;  // none when the component gives no rule, RDATE or EXDATE

    std::vector<IcsAlarm> alarms;
    std::unique_ptr<IcsParticipants> participants;  // none when the component names no one

    QString uid() const { return QString::fromUtf8(texts.utf8(Uid)); }
    std::optional<QString> summary() const { return texts.text(Summary); }
    std::optional<QString> location() const { return texts.text(Location); }
    std::optional<QString> description() const { return texts.text(Description); }
    std::optional<QString> url() const { return texts.text(Url); }
    const IcsParticipant* organizer() const { return participants ? participants->organizer.get() : nullptr; }
    const std::vector<IcsParticipant>& attendees() const;
    // What the component repeats by; empty lists when it does not repeat.
    const IcsRepetition& repeats() const;
    // The end of an event, the due time of a to-do.
    const IcsTime* endOrDue() const { return kind == Kind::Todo ? due.get() : (end ? &*end : nullptr); }
    // A copy of its own, sharing the texts and the rules' progress.
    IcsComponent copy() const;
};

// Everything read from one .ics file.
struct IcsFile {
    std::vector<IcsComponent> components;
    // libical dropped something it could not read (X-LIC-ERROR) or cannot write (vendor components): writing the
    // file back would lose it.
    bool hasErrors = false;
    // Non-empty when the file was skipped: why.
    QString problem;
};

}  // namespace platform::vdir
