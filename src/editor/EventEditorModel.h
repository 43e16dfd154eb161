#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "core/TimeZone.h"
#include "model/Drafts.h"
#include "model/EditSpan.h"
#include "model/MeetingLink.h"
#include "model/ODCalendar.h"
#include "model/ODEvent.h"
#include "model/RecurrenceOption.h"
#include "state/AppState.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

namespace app {
class AppSettings;
}
namespace store {
class CalendarStore;
}

namespace editor {

// The state of the event editor, for one existing event or one new event: what is
// loaded, what the user changed, and how it is saved or deleted through the store.
// The editor's screens show it and hand every input to it; it holds no widget.
// Main thread only.
//
// Each stored property has a change signal, emitted when its value changes. The
// derived values (readOnly, foreignTimeZone, isMultiDay, meeting, hasChanges, ...)
// are recomputed on every read from the stored ones, so they change with them.
class EventEditorModel final : public QObject {
    Q_OBJECT

public:
    enum class Prompt { save, deleteEvent };

    // An event id edits that event; none creates an event, starting at
    // `initialStart` (now when none) unless another screen left a pending draft.
    // Loads nothing until appear(). The store, state and settings must outlive it.
    EventEditorModel(std::optional<QString> eventID, std::optional<core::Date> initialStart,
                     store::CalendarStore& store, app::AppState& appState, const app::AppSettings& settings,
                     QObject* parent = nullptr);
    ~EventEditorModel() override;

    // --- Lifecycle --------------------------------------------------------------------------------

    // The screen came on screen: takes the Escape key, and loads on the first call.
    void appear();
    // The screen left: gives the Escape key back.
    void disappear();

    // --- Inputs and stored state ------------------------------------------------------------------

    const std::optional<QString>& eventID() const { return m_eventID; }
    bool isNew() const { return !m_eventID; }
    std::optional<core::Date> initialStart() const { return m_initialStart; }

    bool isLoaded() const { return m_loaded; }
    // The event to edit was not found; nothing else is loaded.
    bool isMissing() const { return m_missing; }
    // The event being edited; nothing while creating or when missing.
    const std::optional<model::ODEvent>& event() const { return m_event; }
    const model::EventDraft& draft() const { return m_draft; }
    // The draft as loaded, set once before loadedChanged (with originalRecurrence): what a save tells the user's
    // changes by. A save refused because another program changed a field the user changed too takes that
    // program's value for it here.
    const model::EventDraft& original() const { return m_original; }
    // The repetition chosen in the editor, held apart from the draft.
    model::RecurrenceOption recurrence() const { return m_recurrence; }
    model::RecurrenceOption originalRecurrence() const { return m_originalRecurrence; }
    // The link field's text as typed.
    const QString& urlText() const { return m_urlText; }
    std::optional<Prompt> prompt() const { return m_prompt; }
    // The last failure of a save or delete, for the footer's error line.
    const std::optional<QString>& errorText() const { return m_errorText; }
    bool showTime() const { return m_showTime; }
    bool showStart() const { return m_showStart; }
    bool showEnd() const { return m_showEnd; }
    bool showAttendees() const { return m_showAttendees; }
    bool titleFocused() const { return m_titleFocused; }

    // --- Derived values ---------------------------------------------------------------------------

    // The loaded event's calendar allows no changes; every edit below is then refused.
    bool readOnly() const;
    // The event's own zone when its offset at the draft's start differs from this
    // computer's; times are then shown and edited on that zone's clock.
    std::optional<core::TimeZone> foreignTimeZone() const;
    // The zone times are shown and picked in: the foreign zone, else this computer's.
    core::TimeZone editingTimeZone() const;
    // A calendar on that zone's clock, for the pickers.
    core::Calendar editingCalendar() const;
    bool isMultiDay() const;
    // The meeting link in the link field, the location or the notes.
    std::optional<model::MeetingLink> meeting() const;
    // The URL the link field stands for: the loaded one while its text is unchanged,
    // else the text with "https://" in front when it names no scheme.
    std::optional<QUrl> normalizedURL() const;
    // The link field holds text that forms no URL; saving is refused until it does.
    bool urlTextIsInvalid() const;
    // Saving an existing event would change something.
    bool hasChanges() const;
    // The draft as it would be saved now.
    model::EventDraft finalDraft() const;

    // The calendar chip: the draft's calendar when the store knows it, its title
    // (else the loaded event's calendar title, else "Calendar"), and whether the
    // calendar may be changed here (not for a read-only or a repeating existing event).
    std::optional<model::ODCalendar> calendar() const;
    QString calendarTitle() const;
    bool canChangeCalendar() const;
    // The alert row's label and the offset its menu checks.
    QString alertLabel() const;
    std::optional<double> currentAlert() const;
    // The hint shown over the day button and its help text; nothing without a foreign zone.
    std::optional<QString> timeZoneChip() const;
    std::optional<QString> timeZoneHelp() const;
    // A location that is a place rather than a meeting link may be shown on a map.
    bool canShowLocationOnMap() const;
    // The draft's length in whole minutes, for the quick-length choices.
    int lengthInMinutes() const;

    // --- Edits (refused while read-only) ---------------------------------------------------------

    void setTitle(const QString& title);
    // Empty texts are stored as none; nothing is trimmed.
    void setLocation(const QString& location);
    void setNotes(const QString& notes);
    void setURLText(const QString& text);
    // Refused unless canChangeCalendar().
    void setCalendarID(const QString& calendarID);
    void setRecurrence(model::RecurrenceOption recurrence);
    // One alert at that offset, or none.
    void chooseAlert(std::optional<double> offset);
    void setAllDay(bool allDay);
    // Any moment of the day to move to, as the screen's clock (editingTimeZone) shows it.
    void moveDay(core::Date day);
    void setStartKeepingDuration(core::Date start);
    void setEnd(core::Date end);
    // The end picked in the end pop-over: a moment for a timed draft, a day for an all-day one.
    void chooseEnd(core::Date end);
    void setLengthInMinutes(int minutes);

    // --- Pop-overs and focus ---------------------------------------------------------------------

    // The time pop-overs do not open while read-only; the attendee list does.
    void setShowTime(bool shown);
    void setShowStart(bool shown);
    void setShowEnd(bool shown);
    void setShowAttendees(bool shown);
    void setTitleFocused(bool focused);

    // --- Actions ---------------------------------------------------------------------------------

    // Creates the event, or updates it (asking first which occurrences of a repeating
    // event to change), or leaves when nothing changed. An update writes only the fields
    // the user changed, onto the event as it now is. A failure stays as errorText.
    void save();
    // Deletes the event, asking first for a repeating one.
    void requestDelete();
    // The store calls behind saving and deleting an existing event.
    void performUpdate(model::EditSpan span);
    void performDelete(model::EditSpan span);
    // The answer to the prompt: closes it, then updates or deletes with that span.
    void choosePromptSpan(model::EditSpan span);
    void cancelPrompt();
    // The wording the prompt is shown with.
    QString promptActionTitle() const;
    // Back to the popover's main screen, saving nothing.
    void close();
    // Escape closes the prompt, else every open pop-over; false when nothing was open.
    bool handleEscape();

signals:
    void loadedChanged();
    void missingChanged();
    void eventChanged();
    void draftChanged();
    void recurrenceChanged();
    void urlTextChanged();
    void promptChanged();
    void errorTextChanged();
    void showTimeChanged();
    void showStartChanged();
    void showEndChanged();
    void showAttendeesChanged();
    void titleFocusedChanged();

private:
    void load();
    void loadNewDraft();
    // The calendar days are counted on: in the event's own zone whenever it has one.
    core::Calendar dayCalendar() const;
    // A moment of a day picked on the screen's clock, as midday of that date on the day calendar's.
    core::Date sameDayOnDayCalendar(core::Date day) const;
    // Applies an edit of the draft unless read-only; signals when it changed anything.
    template <class Edit>
    void editDraft(Edit&& edit);
    void setDraft(const model::EventDraft& draft);
    void setPrompt(std::optional<Prompt> prompt);
    void setErrorText(const std::optional<QString>& text);
    // The link field still shows the loaded URL, which then stands as it was.
    bool urlTextIsUnchanged() const;
    void setFlag(bool& flag, bool value, void (EventEditorModel::*changed)());
    // Refuses to save a link that forms no URL, saying so in the error line.
    bool checkURL();
    // Runs a store call; true on success, else the error's text is kept.
    template <class Call>
    bool runStoreCall(Call&& call);
    void leave();

    const std::optional<QString> m_eventID;
    const std::optional<core::Date> m_initialStart;
    store::CalendarStore& m_store;
    app::AppState& m_appState;
    const app::AppSettings& m_settings;

    bool m_loaded = false;
    bool m_missing = false;
    std::optional<model::ODEvent> m_event;
    model::EventDraft m_draft;
    model::EventDraft m_original;
    model::RecurrenceOption m_recurrence = model::RecurrenceOption::none;
    model::RecurrenceOption m_originalRecurrence = model::RecurrenceOption::none;
    QString m_urlText;
    std::optional<Prompt> m_prompt;
    std::optional<QString> m_errorText;
    bool m_showTime = false;
    bool m_showStart = false;
    bool m_showEnd = false;
    bool m_showAttendees = false;
    bool m_titleFocused = false;
    app::EscapeHandlerToken m_escapeToken = 0;
};

}  // namespace editor
