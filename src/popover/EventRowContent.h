#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "model/ODEvent.h"

#include <QString>

#include <optional>

namespace popover {

// What the agenda hands one event row: the event, the minute it is drawn at,
// and the facts of its section.
struct EventRowInput {
    model::ODEvent event;
    core::Date now;
    bool isHighlighted = false;
    // The title the overlap tag names.
    std::optional<QString> overlapsTitle;
    // Drawn with the plain overlap mark.
    bool isOverlapped = false;

    bool operator==(const EventRowInput&) const = default;
};

// What an event row shows at its `now`, worked out without a window. The row
// never reads the clock: a later `now` moves the countdowns, the progress and
// the trailing controls on.
class EventRowContent {
public:
    // What sits at the row's trailing end.
    enum class Trailing {
        none,
        // A "Declined" pill instead of anything else.
        declined,
        // The countdown sticker before the start and the prominent join button,
        // each only when it applies.
        highlighted,
        // The quiet join button of a meeting not yet over.
        join,
        // The amber dot of the first event of a clash.
        overlapDot,
    };

    explicit EventRowContent(EventRowInput input);

    const EventRowInput& input() const { return m_input; }
    const model::ODEvent& event() const { return m_input.event; }

    bool isDeclined() const { return m_declined; }
    // Only the highlighted event is ever shown as running.
    bool isInProgress() const { return m_inProgress; }

    // "Now · ends in 25m" while running, else the start and end times.
    QString timeText(const core::Calendar& calendar) const;
    // How much of the event has passed, 0 to 1; for a running event.
    double progress() const;
    // "in 5m" until the highlighted event starts.
    std::optional<QString> stickerText() const;
    Trailing trailing() const;
    // Whether the highlighted row shows its join button.
    bool hasMeeting() const { return m_input.event.meeting.has_value(); }
    // The place the location link searches the map for.
    std::optional<QString> location() const { return m_input.event.mapLocation(); }
    // "Overlaps " and the other event's title; none on a declined event.
    std::optional<QString> overlapTag() const;

    // Everything the row says, for assistive technologies.
    QString accessibilityText(const core::Calendar& calendar) const;

    // Whole minutes from `now` until `target`, a started minute counting whole.
    static int minutesUntil(core::Date target, core::Date now);

private:
    EventRowInput m_input;
    bool m_declined;
    bool m_inProgress;
};

}  // namespace popover
