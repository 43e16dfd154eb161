#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "imageimport/extraction/ImageExtraction.h"
#include "model/Drafts.h"
#include "state/AppState.h"

#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

namespace app {
class AppSettings;
}
namespace store {
class CalendarStore;
}

namespace imageimport {

// A time of day as the numbers the user sees. It is put on a day only when a
// date is built, so that a day with a clock change does not move it (02:30 kept
// as a moment of a spring-forward today would come back as 03:30 on every day).
struct TimeOfDay {
    int hour = 0;
    int minute = 0;

    bool operator==(const TimeOfDay&) const = default;
};

// The state of the review of one import result: what the user may still change
// before the event or reminder is added (filled once from the extraction), what
// follows from it (the start, the draft, which values still come from the image)
// and the ways out (add it, hand it to the editor). The screen shows it and hands
// every input to it; it holds no widget. Main thread only.
class ImageReviewModel final : public QObject {
    Q_OBJECT

public:
    using Kind = ImageExtraction::Kind;
    // The field cards that open a pop-over: the first three are the event's, the
    // last two the reminder's.
    enum class Card { date, time, duration, due, remind };

    // A length used when neither the candidate nor the image gives one.
    static constexpr double kDefaultDuration = 3600;
    // A timed event is never shorter.
    static constexpr double kShortestEvent = 300;
    static constexpr TimeOfDay kDefaultRemindAt{9, 0};

    // The review of the session's result `resultID`; the store, state and
    // settings must outlive it.
    ImageReviewModel(ImageExtraction extraction, QUuid resultID, store::CalendarStore& store,
                     app::AppState& appState, const app::AppSettings& settings, QObject* parent = nullptr);
    ~ImageReviewModel() override;

    // --- Lifecycle --------------------------------------------------------------------------------

    // The screen came on screen: Escape closes an open card first.
    void appear();
    // The screen left: gives the Escape key back.
    void disappear();

    // --- What the user changes --------------------------------------------------------------------

    const ImageExtraction& extraction() const { return m_extraction; }
    const QUuid& resultID() const { return m_resultID; }
    const store::CalendarStore& store() const { return m_store; }

    Kind kind() const { return m_kind; }
    // Also closes an open card, even when the kind stays.
    void chooseKind(Kind kind);
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    // The candidate applied; none when a day was picked by hand or none was found.
    std::optional<int> selectedID() const { return m_selectedID; }
    // The start of the chosen day; none: no date yet, and nothing can be added.
    std::optional<core::Date> day() const { return m_day; }
    // None: the event lasts all day.
    std::optional<TimeOfDay> time() const { return m_time; }
    void chooseTime(std::optional<TimeOfDay> time);
    // Seconds.
    double duration() const { return m_duration; }
    void chooseDuration(double seconds);
    // Chosen by hand; none: the default calendar.
    const std::optional<QString>& calendarID() const { return m_calendarID; }
    const app::AppSettings& settings() const { return m_settings; }
    void chooseCalendar(const std::optional<QString>& calendarID);
    // The calendar chosen, else the default one; none when neither exists.
    std::optional<QString> currentCalendarID() const;
    const QString& location() const { return m_location; }
    void setLocation(const QString& location);
    const QString& notes() const { return m_notes; }
    void setNotes(const QString& notes);
    // When a reminder alerts, on its due day.
    TimeOfDay remindAt() const { return m_remindAt; }
    void chooseRemindAt(TimeOfDay time);
    // Chosen by hand; none: the store's default list.
    const std::optional<QString>& listID() const { return m_listID; }
    void chooseList(const std::optional<QString>& listID);
    // 0: none.
    int priority() const { return m_priority; }
    void choosePriority(int priority);

    bool dateEdited() const { return m_dateEdited; }
    bool timeEdited() const { return m_timeEdited; }
    bool durationEdited() const { return m_durationEdited; }
    bool remindEdited() const { return m_remindEdited; }

    // The recognised text is open, with the notes editor.
    bool showText() const { return m_showText; }
    void setShowText(bool show);
    std::optional<Card> openCard() const { return m_openCard; }
    void setOpenCard(std::optional<Card> card);
    // A tap on a chip opens its card, or closes it when it is the open one.
    void toggleCard(Card card);
    // The card's pop-over was closed from outside; a card opened since stays open.
    void cardDismissed(Card card);
    // The last failure of an add.
    const std::optional<QString>& errorText() const { return m_errorText; }
    // A reminder is being saved.
    bool isBusy() const { return m_busy; }

    // --- What follows from it ---------------------------------------------------------------------

    // Whether the shown day, time and length still come from the image: from the
    // candidate that was applied last, and not set by hand since.
    bool dateFound() const;
    bool timeFound() const;
    bool durationFound() const;
    // The time to be reminded at is the hour of the candidate applied last.
    bool remindFound() const;
    // Where a new event goes when no calendar was chosen.
    std::optional<QString> defaultCalendarID() const;
    std::optional<core::Date> start() const;
    std::optional<model::EventDraft> eventDraft() const;
    // Only with a day.
    std::optional<model::ReminderDraft> reminderDraft() const;
    bool canAdd() const { return m_day.has_value() && !m_busy; }

    // --- Ways out and choices -----------------------------------------------------------------------

    // Saves the event, or the reminder (asking for access first when needed), and
    // shows the main screen on its day. Without a day it opens the day's card.
    void add();
    // An event goes to the full editor; a reminder opens its notes.
    void moreDetails();
    // Nothing can be offered as a reminder's list before access to Reminders is
    // given: asks for it, and where it is refused says where to turn it on.
    void askForRemindersAccess();
    // Applies a candidate of the extraction: its day, time and length are again
    // the image's.
    void pick(const DateCandidate& candidate);
    // Applies a day chosen by hand; the time and length stay.
    void pickDay(core::Date date);

    // --- What the event's cards choose --------------------------------------------------------------

    // The day card: the day, and the card closes.
    void chooseDayInCard(core::Date date);
    // The time card's switch; switched off with no time, the event starts at nine.
    void setAllDay(bool allDay);
    // A quick time: the time, and the card closes.
    void chooseQuickTime(TimeOfDay time);
    // A length from the list: an all-day event becomes one at nine, and the card closes.
    void chooseLength(int minutes);
    // The whole minutes of the length, as the list marks them; none for a length
    // no list can show.
    std::optional<int> lengthMinutes() const;
    static constexpr TimeOfDay kDefaultStart{9, 0};

    // --- Texts ------------------------------------------------------------------------------------

    // The title field's placeholder and accessible name.
    QString titlePlaceholder() const;
    QString addTitle() const;
    QString moreDetailsAccessibleName() const;
    // The line under "From your screenshot".
    QString statusLine() const;
    // The recognised text on one run, its pieces joined by " · ".
    QString recognisedTextPreview() const;
    static QString remindersAccessMessage();
    static QString noDateMessage();

signals:
    // Any of the state above changed; the screen shows it anew.
    void changed();

private:
    void fillFromExtraction();
    const DateCandidate* candidate(std::optional<int> id) const;
    void applyCandidateTime(const DateCandidate& candidate);
    std::optional<double> candidateLength(const DateCandidate& candidate) const;
    std::optional<core::Date> onDay(core::Date day, TimeOfDay time) const;
    void finish(core::Date date);
    void saveReminder(const model::ReminderDraft& draft);
    // Saves the reminder when access allows; otherwise says why not.
    static std::optional<QString> storeReminder(store::CalendarStore& store, const model::ReminderDraft& draft);
    // The review of this result is still the one on screen.
    bool isStillShown() const;
    void setErrorText(const std::optional<QString>& text);
    void setBusy(bool busy);
    void notify() { emit changed(); }

    const ImageExtraction m_extraction;
    const QUuid m_resultID;
    store::CalendarStore& m_store;
    app::AppState& m_appState;
    const app::AppSettings& m_settings;
    core::Calendar m_calendar;

    Kind m_kind = Kind::event;
    QString m_title;
    std::optional<int> m_selectedID;
    // The candidate whose time and length the review shows; a day picked by hand
    // keeps them, so it keeps this too.
    std::optional<int> m_appliedID;
    std::optional<core::Date> m_day;
    std::optional<TimeOfDay> m_time;
    double m_duration = kDefaultDuration;
    std::optional<QString> m_calendarID;
    QString m_location;
    QString m_notes;
    TimeOfDay m_remindAt = kDefaultRemindAt;
    std::optional<QString> m_listID;
    int m_priority = 0;
    bool m_dateEdited = false;
    bool m_timeEdited = false;
    bool m_durationEdited = false;
    bool m_remindEdited = false;
    bool m_showText = false;
    std::optional<Card> m_openCard;
    std::optional<QString> m_errorText;
    bool m_busy = false;
    std::optional<app::EscapeHandlerToken> m_escapeToken;
};

}  // namespace imageimport
