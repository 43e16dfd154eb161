#pragma once

#include "core/Date.h"
#include "model/MeetingLink.h"
#include "model/ODEvent.h"
#include "state/Preferences.h"

#include <QString>

#include <optional>

namespace alerts {

// What the meeting card shows at one moment, derived from the event, the time
// and the join shortcut alone: the card keeps no state of its own.
struct MeetingCardFace {
    // The start has come (exactly at the start counts as started).
    bool started = false;
    // "STARTS IN" or "STARTED".
    QString header;
    // The countdown, or the count up with a leading "+".
    QString clockText;
    // What the countdown tile is read as: "Starts in 4:07", "Started +2:05 ago".
    QString clockAccessibleName;
    QString title;
    // "9:00 AM – 9:30 AM · Work"
    QString timeText;
    // "3 invited"; empty when the event names nobody.
    QString invited;
    // The join button's glyph, its name ("Join Zoom") and its shortcut's keys;
    // the button shows only for an event with a meeting link.
    bool offersJoin = false;
    QString joinGlyph;
    QString joinName;
    std::optional<QString> joinShortcut;
    // "Shortcut: Ctrl+Alt+J", or empty without a join shortcut.
    QString joinHint;
    bool offersRemindAtStart = false;
    bool offersCopyLink = false;

    static MeetingCardFace make(const model::ODEvent& event, core::Date now,
                                const std::optional<app::HotKeyCombo>& joinShortcut);

    // Seconds to the start (negative after it) as the card's clock: rounded up
    // to whole seconds, "m:ss" below an hour, "h:mm:ss" from there, with "+"
    // once the whole seconds are below zero ("+1:02:05").
    static QString clock(double seconds);
    // The start and end times in the locale's habit and the calendar, when it has a title.
    static QString timeLine(const model::ODEvent& event);
    static QString joinSymbol(model::MeetingProvider provider);
    // When the clock next changes after `now`: the next whole number of seconds
    // before or after the start.
    static core::Date nextChange(core::Date start, core::Date now);
};

}  // namespace alerts
