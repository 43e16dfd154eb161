#include "platform/eventstore/vdir/VdirEventMapping.h"

#include "platform/eventstore/vdir/IcsRuleMapping.h"

namespace platform::vdir {

namespace {

PlatformCalendar calendarFor(const VdirItem& item, const VdirCollection& collection) {
    PlatformCalendar calendar = collection.calendar;
    // The item itself cannot be written back, so nothing may offer to edit it.
    if (item.readOnly)
        calendar.allowsContentModifications = false;
    return calendar;
}

PlatformParticipant participant(const IcsParticipant& p, const QStringList& owners) {
    PlatformParticipant result;
    result.name = p.name();
    const QString address = p.address();
    result.url = QUrl(address, QUrl::TolerantMode);
    result.participantStatus = p.status();
    if (!owners.isEmpty()) {
        QString ownAddress = address.toLower();
        if (ownAddress.startsWith(QLatin1String("mailto:")))
            ownAddress = ownAddress.mid(7);
        result.isCurrentUser = owners.contains(ownAddress);
    }
    return result;
}

std::vector<PlatformAlarm> alarms(const IcsComponent& c) {
    std::vector<PlatformAlarm> result;
    result.reserve(c.alarms.size());
    for (const IcsAlarm& a : c.alarms)
        result.push_back(PlatformAlarm{a.relativeOffset, a.absoluteDate});
    return result;
}

std::optional<QUrl> url(const std::optional<QString>& text) {
    if (!text)
        return std::nullopt;
    return QUrl(*text, QUrl::TolerantMode);
}

}  // namespace

PlatformItemValuesMaker::PlatformItemValuesMaker(core::TimeZone floatingZone) : m_floating(std::move(floatingZone)) {}

PlatformItemValues PlatformItemValuesMaker::valuesOf(const VdirItem& item) {
    PlatformItemValues values;
    if (item.stamp) {
        if (item.stamp != m_revisionStamp) {
            m_revision = item.stamp->toString();
            m_revisionStamp = item.stamp;
        }
        values.revision = m_revision;
    }
    // Without a start the rule has nothing to count from (and nothing to read its UNTIL in).
    if (const IcsComponent* master = item.series.master; master && master->start && !master->repeats().rrules.empty())
        values.recurrenceRules = rulesOf(*master);
    return values;
}

const QList<PlatformRecurrenceRule>& PlatformItemValuesMaker::rulesOf(const IcsComponent& master) {
    const IcsTime& start = *master.start;
    const std::vector<QByteArray>& texts = master.repeats().rrules;
    // Of the start, a rule's mapping reads only the zone of its UNTIL.
    const bool sameStart = m_ruleStart && m_ruleStart->isDate == start.isDate &&
                           m_ruleStart->anchor == start.anchor && m_ruleStart->named == start.named;
    if (sameStart && texts == m_ruleTexts)
        return m_rules;
    QList<PlatformRecurrenceRule> rules;
    for (const QByteArray& rule : texts)
        if (auto mapped = platformRule(rule, start, m_floating))
            rules.push_back(std::move(*mapped));
    m_rules = std::move(rules);
    m_ruleTexts = texts;
    m_ruleStart = start;
    return m_rules;
}

PlatformEvent makePlatformEvent(const VdirItem& item, const VdirCollection& collection, const IcsOccurrence& occurrence,
                                const core::TimeZone& floatingZone) {
    return makePlatformEvent(item, collection, occurrence, floatingZone,
                             PlatformItemValuesMaker(floatingZone).valuesOf(item));
}

PlatformEvent makePlatformEvent(const VdirItem& item, const VdirCollection& collection, const IcsOccurrence& occurrence,
                                const core::TimeZone& floatingZone, const PlatformItemValues& values) {
    const IcsComponent& c = *occurrence.component;
    PlatformEvent event;
    event.eventIdentifier = itemIdentifier(item, collection);
    event.calendarItemIdentifier = event.eventIdentifier;
    if (QString uid = item.uid(); !uid.isEmpty())
        event.calendarItemExternalIdentifier = std::move(uid);
    event.calendar = calendarFor(item, collection);
    event.title = c.summary();
    placeAtOccurrence(event, occurrence);
    event.isAllDay = c.start && c.start->isDate;
    event.location = c.location();
    event.notes = c.description();
    event.url = url(c.url());
    if (c.start && !c.start->isDate && c.start->anchor != IcsTime::Anchor::Floating)
        event.timeZone = c.start->zoneOr(floatingZone);
    event.availability = c.transparent ? Availability::Free : Availability::Busy;
    event.alarms = alarms(c);
    event.recurrenceRules = values.recurrenceRules;
    const QStringList& owners = collection.folder.ownerAddresses;
    if (const IcsParticipant* organizer = c.organizer())
        event.organizer = participant(*organizer, owners);
    event.attendees.reserve(c.attendees().size());
    for (const IcsParticipant& p : c.attendees())
        event.attendees.push_back(participant(p, owners));
    event.revision = values.revision;
    return event;
}

void placeAtOccurrence(PlatformEvent& event, const IcsOccurrence& occurrence) {
    event.startDate = occurrence.start;
    event.endDate = occurrence.end;
    event.occurrenceDate = occurrence.occurrenceDate;
    event.isDetached = occurrence.isDetached;
}

bool isIncomplete(const IcsComponent& todo) {
    if (todo.status == IcsComponent::Status::Completed || todo.status == IcsComponent::Status::Cancelled)
        return false;
    return !(todo.status == IcsComponent::Status::None && todo.completed);
}

PlatformReminder makePlatformReminder(const VdirItem& item, const VdirCollection& collection,
                                      const core::TimeZone& floatingZone) {
    const IcsComponent& c = item.main();
    PlatformReminder reminder;
    reminder.calendarItemIdentifier = itemIdentifier(item, collection);
    if (QString uid = item.uid(); !uid.isEmpty())
        reminder.calendarItemExternalIdentifier = std::move(uid);
    reminder.calendar = calendarFor(item, collection);
    reminder.title = c.summary();
    reminder.notes = c.description();
    reminder.url = url(c.url());
    reminder.priority = c.priority;
    if (c.due) {
        core::DateComponents due;
        WallTime wall = c.due->wall;
        if (!c.due->isDate && c.due->anchor != IcsTime::Anchor::Floating)
            wall = dateToWall(c.due->toDate(floatingZone), floatingZone);
        due.year = wall.year;
        due.month = wall.month;
        due.day = wall.day;
        if (!c.due->isDate) {
            due.hour = wall.hour;
            due.minute = wall.minute;
            due.second = wall.second;
        }
        reminder.dueDateComponents = due;
    }
    reminder.isCompleted = !isIncomplete(c) && c.status != IcsComponent::Status::Cancelled;
    if (c.completed)
        reminder.completionDate = c.completed->toDate(floatingZone);
    reminder.alarms = alarms(c);
    reminder.revision = item.etag();
    return reminder;
}

}  // namespace platform::vdir
