#pragma once

#include "core/Calendar.h"
#include "core/ClockTimer.h"
#include "core/Color.h"
#include "core/Date.h"
#include "core/Regex.h"
#include "model/Drafts.h"
#include "model/ODEvent.h"
#include "quickadd/NLParser.h"
#include "state/AppState.h"

#include <QObject>
#include <QString>

#include <optional>
#include <set>
#include <vector>

namespace app {
class AppSettings;
}
namespace store {
class CalendarStore;
}

namespace quickadd {

// The state of the quick-add screen: the typed line, what the user chose on the
// cards instead of what the line says, the event that would be made of both,
// the events of its day with the ones it overlaps, and the two ways out (add it,
// or open it in the full editor). The screen shows it and hands every input to
// it; it holds no widget. Main thread only.
//
// The line is parsed once per change of it (a full field takes milliseconds),
// and the draft is worked out once per change of the line or a choice; both are
// redone when the store's calendars or events are published anew, since the
// calendar names and "now" feed the parse, and at every minute while the screen
// shows, so that a line naming no time never starts in the past.
class QuickCreateModel final : public QObject {
    Q_OBJECT

public:
    // The cards that open a pop-over; the calendar card opens a menu instead.
    enum class Card { date, time, duration };

    // A recognised part of the line and the colour it is shown in.
    struct Highlight {
        core::TextRange range;
        core::Color color;
        bool operator==(const Highlight&) const = default;
    };

    // One row of the day preview.
    struct PreviewItem {
        QString id;
        QString title;
        core::Date start;
        core::Date end;
        bool isAllDay = false;
        core::Color color;
        // The event being made.
        bool isNew = false;
        bool overlaps = false;
        bool operator==(const PreviewItem&) const = default;
    };

    // What the day preview shows: at most kPreviewRows rows around the new event
    // (and the flashed one), and the line under them.
    struct Preview {
        std::vector<PreviewItem> rows;
        std::optional<QString> closingLine;
    };

    static constexpr int kPreviewRows = 5;
    static constexpr double kFlashSeconds = 1.4;
    static inline const QString kNewItemID = QStringLiteral("__new__");

    // The store, state and settings must outlive it.
    QuickCreateModel(store::CalendarStore& store, app::AppState& appState, const app::AppSettings& settings,
                     QObject* parent = nullptr);
    ~QuickCreateModel() override;

    // --- Lifecycle --------------------------------------------------------------------------------

    // The screen came on screen: takes the text handed over by whatever opened
    // quick add, takes the Escape key, loads the draft's day, and starts the minute tick.
    void appear();
    // The screen left: gives the Escape key back and stops the minute tick.
    void disappear();

    // --- The line ---------------------------------------------------------------------------------

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    // Nothing but white space, line breaks included: nothing to add.
    bool isBlank() const;
    // The parse of the line; nothing when it holds no word.
    const std::optional<NLParser::Result>& parsed() const { return m_parsed; }
    // The kinds of the parts of the line that were recognised.
    std::set<NLParser::TokenKind> tokenKinds() const;
    // The recognised parts, in the line's order, each with its colour.
    std::vector<Highlight> highlights() const;
    static core::Color highlightColor(NLParser::TokenKind kind);

    // --- Choices made on the cards ------------------------------------------------------------------

    std::optional<core::Date> dateOverride() const { return m_dateOverride; }
    void setDateOverride(std::optional<core::Date> date);
    // Only its hour and minute count.
    std::optional<core::Date> timeOverride() const { return m_timeOverride; }
    void setTimeOverride(std::optional<core::Date> time);
    std::optional<bool> allDayOverride() const { return m_allDayOverride; }
    void setAllDayOverride(std::optional<bool> allDay);
    // Seconds.
    std::optional<double> durationOverride() const { return m_durationOverride; }
    void setDurationOverride(std::optional<double> seconds);
    std::optional<QString> calendarOverride() const { return m_calendarOverride; }
    void setCalendarOverride(std::optional<QString> calendarID);
    // The card whose pop-over is open.
    std::optional<Card> openCard() const { return m_openCard; }
    void setOpenCard(std::optional<Card> card);

    // --- The cards ---------------------------------------------------------------------------------

    // What a card shows: its value, whether the line or the user gave it, and a
    // calendar's colour before it.
    struct CardFace {
        QString value;
        bool active = false;
        std::optional<core::Color> dot;
        bool operator==(const CardFace&) const = default;
    };
    CardFace face(Card card) const;
    // "Default" without a dot when the draft's calendar is none the store knows.
    CardFace calendarFace() const;
    // The calendar menu: every calendar that allows changes, in the store's
    // order, the draft's own checked.
    struct CalendarChoice {
        QString id;
        QString title;
        core::Color color;
        bool checked = false;
    };
    std::vector<CalendarChoice> calendarChoices() const;

    // A tap on a card opens its pop-over, or closes it when it is open.
    void toggleCard(Card card);
    // The card's pop-over was closed from outside: a click elsewhere or Escape.
    void cardDismissed(Card card);
    // The date card: only the day changes; the pop-over stays.
    void chooseDay(core::Date day);
    // The time card's switch; switched off with no time chosen, the event starts at nine.
    void setAllDay(bool allDay);
    // The time card's field: only its hour and minute count; the pop-over stays.
    void chooseTime(core::Date time);
    // The quick hours on the draft's day, in order; an hour the day lacks
    // (a clock change) gives the next time that exists.
    std::vector<core::Date> quickHours() const;
    // A quick hour: the time, and the pop-over closes.
    void chooseQuickHour(core::Date time);
    // The length of a timed draft in whole minutes, for the list's check mark.
    std::optional<int> selectedDurationMinutes() const;
    // A length from the list: a timed event of that many minutes, and the pop-over closes.
    void chooseDuration(int minutes);

    // --- The event that would be made ----------------------------------------------------------------

    // The line read with the choices laid over it: a choice always beats the line.
    const model::EventDraft& draft() const { return m_draft; }
    // Where a new event goes when neither the line nor a card names a calendar.
    std::optional<QString> defaultCalendarID() const;
    // The timed events of the day that the timed draft overlaps, in the day's order.
    std::vector<model::ODEvent> conflicts() const;
    // "1 day", "3 days": how many days an all-day draft spans.
    static QString dayCount(const model::EventDraft& draft);

    // --- The day preview ---------------------------------------------------------------------------

    // The events of the draft's day, all-day ones first, then by start.
    const std::vector<model::ODEvent>& dayEvents() const { return m_dayEvents; }
    std::optional<core::Date> loadedDay() const { return m_loadedDay; }
    // Fetches the events of the day, unless they are the ones loaded already.
    void loadDay(core::Date day);
    // The row briefly marked by "Show".
    const std::optional<QString>& flashID() const { return m_flashID; }
    // Marks the event's row (bringing it into view) for kFlashSeconds.
    void flash(const QString& eventID);
    Preview preview() const;
    // "10:00 AM – 11:00 AM" in this computer's zone.
    static QString timeRange(core::Date start, core::Date end);
    // The overlap line: "Overlaps “Review” 10:00 AM – 11:00 AM", with "+1" for each further clash.
    static QString conflictText(const model::ODEvent& first, int count);
    // The preview's heading: "WED, MAR 11".
    static QString dayHeading(core::Date day);
    // Which of `count` rows show when at most `max` fit: a window around the row
    // `around`, and the row `revealing` in place of the one farthest from it.
    static std::vector<int> previewIndices(int count, int around, std::optional<int> revealing, int max);

    // --- Ways out --------------------------------------------------------------------------------

    // The error of the last failed add, for the screen's error line.
    const std::optional<QString>& errorText() const { return m_errorText; }
    // Saves the draft and shows its day on the main screen; a failure stays as errorText.
    void add();
    // Hands the draft to the full editor.
    void moreDetails();
    // Escape closes an open pop-over; false when none was open.
    bool handleEscape();

signals:
    // The line changed; its parse has been redone.
    void textChanged();
    // The parse or the draft changed (the highlights and cards follow them).
    void draftChanged();
    void overridesChanged();
    void openCardChanged();
    void dayEventsChanged();
    void flashIDChanged();
    void errorTextChanged();

private:
    NLParser parser(bool withCalendars) const;
    void reparse();
    void updateDraft();
    // "Now" moved on to another minute: the line is read again from it.
    void minutePassed();
    model::EventDraft computeDraft() const;
    void setFlashID(std::optional<QString> id);
    void setErrorText(const std::optional<QString>& text);
    template <class Change>
    void changeOverrides(Change&& change);
    template <class T>
    void setOverride(std::optional<T>& field, std::optional<T> value);

    store::CalendarStore& m_store;
    app::AppState& m_appState;
    const app::AppSettings& m_settings;
    // The user's calendar, in which the draft's days and hours are counted.
    core::Calendar m_calendar;

    QString m_text;
    std::optional<NLParser::Result> m_parsed;
    // What an empty line stands for: an untitled hour from the next whole hour.
    NLParser::Result m_fallback;
    std::optional<core::Date> m_dateOverride;
    std::optional<core::Date> m_timeOverride;
    std::optional<bool> m_allDayOverride;
    std::optional<double> m_durationOverride;
    std::optional<QString> m_calendarOverride;
    std::optional<Card> m_openCard;
    model::EventDraft m_draft;

    std::vector<model::ODEvent> m_dayEvents;
    std::optional<core::Date> m_loadedDay;
    std::optional<QString> m_flashID;
    std::optional<QString> m_errorText;
    app::EscapeHandlerToken m_escapeToken = 0;
    core::ClockTimer m_minuteTick;
};

}  // namespace quickadd
