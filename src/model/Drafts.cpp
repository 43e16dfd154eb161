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

}  // namespace model
