#include "platform/eventstore/vdir/IcsFileParser.h"

#include "platform/eventstore/vdir/IcsPreflight.h"
#include "platform/eventstore/vdir/IcsRuleText.h"
#include "platform/eventstore/vdir/IcsZoneResolver.h"

#include <libical/ical.h>

#include <QHash>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <utility>

namespace platform::vdir {

void prepareLibical() {
    static std::once_flag once;
    std::call_once(once, [] {
        icalerror_set_errors_are_fatal(0);
        (void)icaltimezone_get_utc_timezone();
    });
}

void forgetEmptyTextProperties(icalcomponent* root) {
    static const QByteArrayList kText{"SUMMARY", "LOCATION", "DESCRIPTION", "COMMENT", "CATEGORIES",
                                      "CONTACT", "RESOURCES", "URL"};
    std::vector<icalproperty*> marks;
    for (icalproperty* p = icalcomponent_get_first_property(root, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(root, ICAL_XLICERROR_PROPERTY)) {
        const QByteArray text(icalproperty_get_xlicerror(p) ? icalproperty_get_xlicerror(p) : "");
        for (const QByteArray& name : kText)
            if (text.startsWith(QByteArray("No value for " + name + " property.")))
                marks.push_back(p);
    }
    for (icalproperty* p : marks) {
        icalcomponent_remove_property(root, p);
        icalproperty_free(p);
    }
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
        forgetEmptyTextProperties(c);
}

namespace {

struct ComponentDeleter {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

std::optional<QByteArrayView> text(const char* value) {
    if (!value)
        return std::nullopt;
    return QByteArrayView(value, qstrlen(value));
}

int participantStatus(icalproperty* property) {
    icalparameter* p = icalproperty_get_first_parameter(property, ICAL_PARTSTAT_PARAMETER);
    if (!p)
        return 1;
    switch (icalparameter_get_partstat(p)) {
        case ICAL_PARTSTAT_NEEDSACTION:
            return 1;
        case ICAL_PARTSTAT_ACCEPTED:
            return 2;
        case ICAL_PARTSTAT_DECLINED:
            return 3;
        case ICAL_PARTSTAT_TENTATIVE:
            return 4;
        case ICAL_PARTSTAT_DELEGATED:
            return 5;
        case ICAL_PARTSTAT_COMPLETED:
            return 6;
        case ICAL_PARTSTAT_INPROCESS:
            return 7;
        default:
            return 0;
    }
}

IcsParticipant readParticipant(icalproperty* property, const char* address) {
    std::optional<QByteArrayView> name;
    if (icalparameter* cn = icalproperty_get_first_parameter(property, ICAL_CN_PARAMETER))
        name = text(icalparameter_get_cn(cn) ? icalparameter_get_cn(cn) : "");
    return IcsParticipant(name, address ? address : "", participantStatus(property));
}

// Reads one VCALENDAR: its VTIMEZONEs serve the TZIDs of its own components only.
class CalendarReader {
public:
    CalendarReader(IcsZoneResolver& zones, icalcomponent* calendar) : m_zones(zones) {
        for (icalcomponent* tz = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); tz;
             tz = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
            if (icalproperty* id = icalcomponent_get_first_property(tz, ICAL_TZID_PROPERTY))
                m_definitions.insert(QString::fromUtf8(icalproperty_get_tzid(id)), tz);
        }
    }

    std::optional<IcsTime> time(icalproperty* property, icaltimetype value) {
        if (icaltime_is_null_time(value) || !icaltime_is_valid_time(value))
            return std::nullopt;
        IcsTime time;
        time.wall = WallTime{value.year,
                             value.month,
                             value.day,
                             value.is_date ? 0 : value.hour,
                             value.is_date ? 0 : value.minute,
                             value.is_date ? 0 : value.second};
        time.isDate = value.is_date != 0;
        if (time.isDate)
            return time;
        if (icaltime_is_utc(value)) {
            time.anchor = IcsTime::Anchor::Utc;
            return time;
        }
        if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
            time.named = named(icalparameter_get_tzid(tzid) ? icalparameter_get_tzid(tzid) : "");
            if (time.named->zone)
                time.anchor = IcsTime::Anchor::Zone;
        }
        return time;
    }

    IcsComponent component(icalcomponent* c) {
        IcsComponent item;
        item.kind = icalcomponent_isa(c) == ICAL_VTODO_COMPONENT ? IcsComponent::Kind::Todo : IcsComponent::Kind::Event;
        // The texts stay libical's until the component is read, then go into one block.
        Texts texts;
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY))
            readProperty(item, texts, p);
        item.texts = IcsTexts<IcsComponent::TextCount>(texts);
        for (icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); alarm;
             alarm = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT))
            readAlarm(item, alarm);
        return item;
    }

    // Alarms relative to the end are turned into offsets from the start once both are known.
    void finish(IcsComponent& item) {
        if (m_relatedToEnd.empty())
            return;
        double length = item.duration.value_or(0);
        const IcsTime* endTime = item.endOrDue();
        if (item.start && endTime) {
            const core::TimeZone utc = core::TimeZone::utc();
            length = endTime->toDate(utc) - item.start->toDate(utc);
        }
        for (size_t index : m_relatedToEnd)
            item.alarms[index].relativeOffset += length;
        m_relatedToEnd.clear();
    }

private:
    std::shared_ptr<const IcsZoneName> named(const char* written) {
        const QByteArray key = QByteArray::fromRawData(written, qstrlen(written));
        const auto known = m_named.constFind(key);
        if (known != m_named.constEnd())
            return *known;
        const QString tzid = QString::fromUtf8(key);
        auto name = m_zones.name(tzid, m_definitions.value(tzid, nullptr));
        m_named.insert(QByteArray(written), name);
        return name;
    }

    // A time that only some components have, made when the file gives it.
    std::unique_ptr<IcsTime> rareTime(icalproperty* property, icaltimetype value) {
        auto t = time(property, value);
        return t ? std::make_unique<IcsTime>(std::move(*t)) : nullptr;
    }

    static IcsRepetition& repetitionOf(IcsComponent& item) {
        if (!item.repetition)
            item.repetition = std::make_unique<IcsRepetition>();
        return *item.repetition;
    }

    static IcsParticipants& participantsOf(IcsComponent& item) {
        if (!item.participants)
            item.participants = std::make_unique<IcsParticipants>();
        return *item.participants;
    }

    static IcsComponent::Status statusOf(const char* written) {
        const QByteArray status = QByteArray(written).toUpper();
        if (status.isEmpty())
            return IcsComponent::Status::None;
        if (status == "COMPLETED")
            return IcsComponent::Status::Completed;
        return status == "CANCELLED" ? IcsComponent::Status::Cancelled : IcsComponent::Status::Other;
    }

    using Texts = std::array<std::optional<QByteArrayView>, IcsComponent::TextCount>;

    void readProperty(IcsComponent& item, Texts& texts, icalproperty* p) {
        switch (icalproperty_isa(p)) {
            case ICAL_UID_PROPERTY:
                texts[IcsComponent::Uid] = text(icalproperty_get_uid(p) ? icalproperty_get_uid(p) : "");
                break;
            case ICAL_SUMMARY_PROPERTY:
                texts[IcsComponent::Summary] = text(icalproperty_get_summary(p));
                break;
            case ICAL_LOCATION_PROPERTY:
                texts[IcsComponent::Location] = text(icalproperty_get_location(p));
                break;
            case ICAL_DESCRIPTION_PROPERTY:
                texts[IcsComponent::Description] = text(icalproperty_get_description(p));
                break;
            case ICAL_URL_PROPERTY:
                texts[IcsComponent::Url] = text(icalproperty_get_url(p));
                break;
            case ICAL_STATUS_PROPERTY:
                item.status = statusOf(icalproperty_status_to_string(icalproperty_get_status(p)));
                break;
            case ICAL_COMPLETED_PROPERTY:
                item.completed = rareTime(p, icalproperty_get_completed(p));
                break;
            case ICAL_TRANSP_PROPERTY: {
                const icalproperty_transp transp = icalproperty_get_transp(p);
                item.transparent = transp == ICAL_TRANSP_TRANSPARENT || transp == ICAL_TRANSP_TRANSPARENTNOCONFLICT;
                break;
            }
            case ICAL_PRIORITY_PROPERTY:
                item.priority = icalproperty_get_priority(p);
                break;
            case ICAL_DTSTART_PROPERTY:
                item.start = time(p, icalproperty_get_dtstart(p));
                break;
            case ICAL_DTEND_PROPERTY:
                item.end = time(p, icalproperty_get_dtend(p));
                break;
            case ICAL_DUE_PROPERTY:
                item.due = rareTime(p, icalproperty_get_due(p));
                break;
            case ICAL_DURATION_PROPERTY: {
                const icaldurationtype d = icalproperty_get_duration(p);
                if (!icaldurationtype_is_bad_duration(d))
                    item.duration = icaldurationtype_as_int(d);
                break;
            }
            case ICAL_RECURRENCEID_PROPERTY:
                item.recurrenceId = rareTime(p, icalproperty_get_recurrenceid(p));
                break;
            case ICAL_RRULE_PROPERTY: {
                const QByteArray value = ruleTextOf(p);
                if (!value.isEmpty())
                    repetitionOf(item).rrules.push_back(value);
                break;
            }
            case ICAL_RDATE_PROPERTY: {
                const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
                const bool isPeriod = icaltime_is_null_time(rdate.time);
                if (auto t = time(p, isPeriod ? rdate.period.start : rdate.time)) {
                    IcsRepetition& repetition = repetitionOf(item);
                    repetition.rdateLengths.push_back(isPeriod ? periodLength(p, *t, rdate.period) : std::nullopt);
                    repetition.rdates.push_back(std::move(*t));
                }
                break;
            }
            case ICAL_EXDATE_PROPERTY:
                if (auto t = time(p, icalproperty_get_exdate(p)))
                    repetitionOf(item).exdates.push_back(std::move(*t));
                break;
            case ICAL_ATTENDEE_PROPERTY:
                participantsOf(item).attendees.push_back(readParticipant(p, icalproperty_get_attendee(p)));
                break;
            case ICAL_ORGANIZER_PROPERTY:
                participantsOf(item).organizer =
                    std::make_unique<IcsParticipant>(readParticipant(p, icalproperty_get_organizer(p)));
                break;
            default:
                break;
        }
    }

    // A period's own length, from its end or its duration; nullopt when it has neither that makes sense.
    std::optional<double> periodLength(icalproperty* property, const IcsTime& start, const icalperiodtype& period) {
        std::optional<double> length;
        if (!icaltime_is_null_time(period.end)) {
            if (auto end = time(property, period.end))
                length = end->toDate(core::TimeZone::utc()) - start.toDate(core::TimeZone::utc());
        } else if (!icaldurationtype_is_bad_duration(period.duration)) {
            length = icaldurationtype_as_int(period.duration);
        }
        if (length && *length < 0)
            return std::nullopt;
        return length;
    }

    void readAlarm(IcsComponent& item, icalcomponent* alarm) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger)
            return;
        // A placeholder some clients keep so that no default alarm is added: it never goes off.
        if (icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY)) {
            const char* value = icalproperty_get_value_as_string(action);
            if (value && qstricmp(value, "NONE") == 0)
                return;
        }
        const icaltriggertype value = icalproperty_get_trigger(trigger);
        IcsAlarm result;
        if (!icaltime_is_null_time(value.time)) {
            if (auto t = time(trigger, value.time))
                result.absoluteDate = t->toDate(core::TimeZone::utc());
            item.alarms.push_back(result);
            return;
        }
        if (icaldurationtype_is_bad_duration(value.duration))
            return;
        result.relativeOffset = icaldurationtype_as_int(value.duration);
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
            m_relatedToEnd.push_back(item.alarms.size());
        item.alarms.push_back(result);
    }

private:
    IcsZoneResolver& m_zones;
    QHash<QString, icalcomponent*> m_definitions;
    QHash<QByteArray, std::shared_ptr<const IcsZoneName>> m_named;
    std::vector<size_t> m_relatedToEnd;
};

void readCalendar(IcsZoneResolver& zones, icalcomponent* calendar, IcsFile& file) {
    CalendarReader reader(zones, calendar);
    const auto readOne = [&](icalcomponent* c) {
        IcsComponent item = reader.component(c);
        reader.finish(item);
        if (IcsRepetition* repetition = item.repetition.get();
            repetition && std::any_of(repetition->rrules.begin(), repetition->rrules.end(),
                                      [](const QByteArray& rule) { return rule.contains("COUNT="); })) {
            repetition->ruleProgress = std::make_shared<IcsRuleProgress>();
            repetition->ruleProgress->perRule.resize(repetition->rrules.size());
        }
        file.components.push_back(std::move(item));
    };
    const icalcomponent_kind kind = icalcomponent_isa(calendar);
    if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) {
        readOne(calendar);
        return;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind childKind = icalcomponent_isa(c);
        if (childKind == ICAL_VEVENT_COMPONENT || childKind == ICAL_VTODO_COMPONENT)
            readOne(c);
    }
}

// How many components libical kept; `writable` turns false when one of them is a vendor (X-) component, which
// libical keeps while reading but leaves out when it writes the file back.
int componentsIn(icalcomponent* component, bool& writable) {
    int count = 0;
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        writable = writable && kind != ICAL_X_COMPONENT && kind != ICAL_NO_COMPONENT;
        count += 1 + componentsIn(c, writable);
    }
    return count;
}

QString noItems() {
    return QStringLiteral("no event or to-do in it");
}

// The parts of a large file are read side by side. Each part read joins the file as soon as the parts before it
// have, moved in by whichever reader is free then: the moving overlaps the reading of the other parts, and each part
// is freed while the others are still read, so that its memory serves them.
class PartJoin {
public:
    PartJoin(IcsFile& file, size_t parts) : m_file(file), m_parts(parts) {}

    void add(size_t index, IcsFile part) {
        std::unique_lock lock(m_mutex);
        m_parts[index] = std::move(part);
        if (m_joining)
            return;
        m_joining = true;
        while (m_next < m_parts.size() && m_parts[m_next]) {
            std::optional<IcsFile> next = std::exchange(m_parts[m_next++], std::nullopt);
            lock.unlock();
            append(*next);
            next.reset();
            lock.lock();
        }
        m_joining = false;
    }

private:
    // A part may hold only components other than events and to-dos; any other failure is the file's.
    void append(IcsFile& part) {
        if (!m_file.problem.isEmpty())
            return;
        if (!part.problem.isEmpty() && part.problem != noItems()) {
            m_file.problem = part.problem;
            return;
        }
        m_file.hasErrors = m_file.hasErrors || part.hasErrors;
        m_file.components.insert(m_file.components.end(), std::make_move_iterator(part.components.begin()),
                                 std::make_move_iterator(part.components.end()));
    }

    IcsFile& m_file;
    std::mutex m_mutex;
    std::vector<std::optional<IcsFile>> m_parts;  // read and waiting for those before them
    size_t m_next = 0;
    bool m_joining = false;  // a reader is moving parts in
};

}  // namespace

IcsParticipant::IcsParticipant(std::optional<QByteArrayView> name, QByteArrayView address, int status)
    : m_status(static_cast<quint8>(status)) {
    // Only a scheme of plain letters, digits, "+", "-" and "." is lower-cased.
    QByteArray lowered;
    const qsizetype colon = address.indexOf(':');
    const auto isSchemeCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    };
    if (colon > 0 && std::all_of(address.begin(), address.begin() + colon, isSchemeCharacter)) {
        lowered = address.toByteArray();
        for (qsizetype i = 0; i < colon; ++i)
            if (lowered[i] >= 'A' && lowered[i] <= 'Z')
                lowered[i] = static_cast<char>(lowered[i] - 'A' + 'a');
        address = lowered;
    }
    m_texts = IcsTexts<2>({name, address});
}

const QString& IcsTime::tzid() const {
    static const QString none;
    return named ? named->tzid : none;
}

const IcsRepetition& IcsComponent::repeats() const {
    static const IcsRepetition none;
    return repetition ? *repetition : none;
}

// Of the component as it is laid out now.
constexpr size_t kComponentSize = 240;

IcsComponent IcsComponent::copy() const {
    // A field added to the component must be copied here too.
    static_assert(sizeof(IcsComponent) == kComponentSize);
    const auto copied = [](const auto& pointer) {
        using Value = typename std::decay_t<decltype(pointer)>::element_type;
        return pointer ? std::make_unique<Value>(*pointer) : nullptr;
    };
    IcsComponent c;
    c.kind = kind;
    c.transparent = transparent;
    c.status = status;
    c.priority = priority;
    c.texts = texts;
    c.start = start;
    c.end = end;
    c.due = copied(due);
    c.completed = copied(completed);
    c.duration = duration;
    c.recurrenceId = copied(recurrenceId);
    c.repetition = copied(repetition);
    c.alarms = alarms;
    if (participants) {
        c.participants = std::make_unique<IcsParticipants>();
        c.participants->organizer = copied(participants->organizer);
        c.participants->attendees = participants->attendees;
    }
    return c;
}

const std::vector<IcsParticipant>& IcsComponent::attendees() const {
    static const std::vector<IcsParticipant> none;
    return participants ? participants->attendees : none;
}

core::TimeZone IcsTime::zoneOr(const core::TimeZone& floatingZone) const {
    switch (anchor) {
        case Anchor::Utc:
            return core::TimeZone::utc();
        case Anchor::Zone:
            return *named->zone;
        case Anchor::Floating:
            break;
    }
    return floatingZone;
}

core::Date IcsTime::toDate(const core::TimeZone& floatingZone) const {
    if (anchor == Anchor::Utc) {
        return core::Date(static_cast<double>(daysFromCivil(wall.year, wall.month, wall.day)) * 86400.0 +
                          wall.hour * 3600.0 + wall.minute * 60.0 + wall.second);
    }
    return wallToDate(wall, anchor == Anchor::Zone ? *named->zone : floatingZone);
}

IcsFileParser::IcsFileParser(IcsZoneResolver& zones) : m_zones(zones) {
    prepareLibical();
}

IcsFile IcsFileParser::parse(const QByteArray& data) const {
    IcsPreflight preflight = preflightIcs(data);
    if (!preflight.problem.isEmpty()) {
        IcsFile file;
        file.problem = preflight.problem;
        return file;
    }
    const std::vector<QByteArray> parts = splitIntoCalendars(preflight.text, QThread::idealThreadCount());
    if (parts.empty())
        return parseWhole(preflight);
    IcsFile file;
    file.components.reserve(static_cast<size_t>(preflight.items));
    PartJoin join(file, parts.size());
    std::vector<size_t> order(parts.size());
    std::iota(order.begin(), order.end(), size_t{0});
    QtConcurrent::blockingMap(order, [&](size_t index) { join.add(index, parseWhole(preflightIcs(parts[index]))); });
    if (!file.problem.isEmpty())
        file.components = std::vector<IcsComponent>();
    else if (file.components.empty())
        file.problem = noItems();
    return file;
}

IcsFile IcsFileParser::parseWhole(const IcsPreflight& preflight) const {
    IcsFile file;
    if (!preflight.problem.isEmpty()) {
        file.problem = preflight.problem;
        return file;
    }
    ComponentPtr root(icalparser_parse_string(preflight.text.constData()));
    if (!root) {
        file.problem = QStringLiteral("not an iCalendar file");
        return file;
    }
    forgetEmptyTextProperties(root.get());
    restoreRulesWithBothEnds(root.get());
    // libical drops components it does not know without marking an error, at once or when writing.
    bool writable = true;
    const int kept =
        componentsIn(root.get(), writable) + (icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT ? 0 : 1);
    file.hasErrors = icalcomponent_count_errors(root.get()) > 0 || !writable || kept < preflight.components ||
                     preflight.escapedListComma;
    // Growing the list would copy every component read so far, again and again; room for the zones and alarms
    // that are not kept would stay with the file for as long as it is loaded.
    file.components.reserve(static_cast<size_t>(preflight.items));
    if (icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT))
            readCalendar(m_zones, c, file);
    } else {
        readCalendar(m_zones, root.get(), file);
    }
    if (file.components.empty())
        file.problem = noItems();
    return file;
}

}  // namespace platform::vdir
