#include "model/Drafts.h"

#include <utility>

namespace model {

EventDraft::EventDraft(QString title_, core::Date start_, std::optional<core::Date> end_, bool isAllDay_,
                       std::optional<QString> location_, std::optional<QString> notes_, std::optional<QUrl> url_,
                       std::optional<QString> calendarID_, std::vector<double> alarmOffsets_,
                       std::optional<RecurrenceOption> recurrence_)
    : title(std::move(title_)),
      start(start_),
      end(end_.value_or(start_ + 3600)),
      isAllDay(isAllDay_),
      location(std::move(location_)),
      notes(std::move(notes_)),
      url(std::move(url_)),
      calendarID(std::move(calendarID_)),
      alarmOffsets(std::move(alarmOffsets_)),
      recurrence(recurrence_) {}

EventDraft EventDraft::fromEvent(const ODEvent& event) {
    return EventDraft(event.title, event.start, event.end, event.isAllDay, event.location, event.notes, event.url,
                      event.calendarID, event.alarmOffsets, std::nullopt);
}

DraftFields differingFields(const EventDraft& a, const EventDraft& b) {
    DraftFields fields;
    fields.setFlag(DraftField::title, a.title != b.title);
    fields.setFlag(DraftField::times, a.start != b.start || a.end != b.end || a.isAllDay != b.isAllDay);
    fields.setFlag(DraftField::location, a.location != b.location);
    fields.setFlag(DraftField::notes, a.notes != b.notes);
    fields.setFlag(DraftField::url, a.url != b.url);
    fields.setFlag(DraftField::calendar, a.calendarID != b.calendarID);
    fields.setFlag(DraftField::alerts, a.alarmOffsets != b.alarmOffsets);
    return fields;
}

EventDraft withFields(EventDraft onto, const EventDraft& from, DraftFields fields) {
    if (fields.testFlag(DraftField::title))
        onto.title = from.title;
    if (fields.testFlag(DraftField::times)) {
        onto.start = from.start;
        onto.end = from.end;
        onto.isAllDay = from.isAllDay;
    }
    if (fields.testFlag(DraftField::location))
        onto.location = from.location;
    if (fields.testFlag(DraftField::notes))
        onto.notes = from.notes;
    if (fields.testFlag(DraftField::url))
        onto.url = from.url;
    if (fields.testFlag(DraftField::calendar))
        onto.calendarID = from.calendarID;
    if (fields.testFlag(DraftField::alerts))
        onto.alarmOffsets = from.alarmOffsets;
    return onto;
}

}  // namespace model
