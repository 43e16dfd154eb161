#include "PopoverTestSupport.h"

namespace popovertest {

model::ODEvent event(const QString& title, core::Date start, core::Date end, core::Color color) {
    model::ODEvent e;
    e.id = title;
    e.eventIdentifier = title;
    e.title = title;
    e.start = start;
    e.end = end;
    e.color = color;
    return e;
}

model::ODEvent allDay(const QString& title, core::Date day, core::Color color) {
    const core::Calendar calendar;
    model::ODEvent e = event(title, calendar.startOfDay(day), *calendar.dateBySettingTime(23, 59, 59, day), color);
    e.isAllDay = true;
    return e;
}

model::ODEvent declined(model::ODEvent event) {
    model::ODAttendee me;
    me.name = QStringLiteral("Me");
    me.isCurrentUser = true;
    me.status = model::ParticipantStatus::declined;
    event.attendees.push_back(me);
    return event;
}

QStringList titles(const std::vector<model::ODEvent>& events) {
    QStringList list;
    for (const model::ODEvent& e : events)
        list << e.title;
    return list;
}

}  // namespace popovertest
