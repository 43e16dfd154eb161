#pragma once

#include "core/Date.h"
#include "model/ODEvent.h"
#include "model/RecurrenceOption.h"

#include <QFlags>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace model {

// What a screen fills in to create or change an event; compared as a whole to tell
// whether the user changed anything.
struct EventDraft {
    QString title;
    core::Date start;
    core::Date end;
    bool isAllDay = false;
    std::optional<QString> location;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    // nullopt: a new event goes to the default calendar for new events.
    std::optional<QString> calendarID;
    std::vector<double> alarmOffsets;
    // nullopt leaves the event's repetition as it is; `none` removes it.
    std::optional<RecurrenceOption> recurrence;

    // Starts now and lasts an hour.
    EventDraft() : EventDraft(QString(), core::Date::now()) {}
    // An omitted end is one hour after the start.
    explicit EventDraft(QString title, core::Date start, std::optional<core::Date> end = std::nullopt,
                        bool isAllDay = false, std::optional<QString> location = std::nullopt,
                        std::optional<QString> notes = std::nullopt, std::optional<QUrl> url = std::nullopt,
                        std::optional<QString> calendarID = std::nullopt, std::vector<double> alarmOffsets = {},
                        std::optional<RecurrenceOption> recurrence = std::nullopt);

    // A draft for editing an event; its repetition stays untouched unless set.
    static EventDraft fromEvent(const ODEvent& event);

    bool operator==(const EventDraft&) const = default;
};

// The parts of an event draft a save writes one by one; the start, the end and whether it lasts all day go together.
enum class DraftField {
    title = 0x1,
    times = 0x2,
    location = 0x4,
    notes = 0x8,
    url = 0x10,
    calendar = 0x20,
    alerts = 0x40,
};
Q_DECLARE_FLAGS(DraftFields, DraftField)
Q_DECLARE_OPERATORS_FOR_FLAGS(DraftFields)

inline constexpr DraftFields kAllDraftFields{0x7f};

// The fields in which two drafts differ; the repetition, which a draft only carries when it is to change, aside.
DraftFields differingFields(const EventDraft& a, const EventDraft& b);
// `onto` with the fields as `from` has them.
EventDraft withFields(EventDraft onto, const EventDraft& from, DraftFields fields);

// What a screen fills in to create a reminder.
struct ReminderDraft {
    QString title;
    core::Date due = core::Date::now();
    std::optional<core::Date> remindAt;
    std::optional<QString> notes;
    std::optional<QUrl> url;
    // nullopt: the default list for new reminders.
    std::optional<QString> listID;
    int priority = 0;

    bool operator==(const ReminderDraft&) const = default;
};

}  // namespace model
