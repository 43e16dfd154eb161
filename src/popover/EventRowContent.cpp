#include "popover/EventRowContent.h"

#include "popover/PopoverFormat.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace popover {

using namespace Qt::Literals::StringLiterals;

EventRowContent::EventRowContent(EventRowInput input)
    : m_input(std::move(input)),
      m_declined(m_input.event.isDeclined()),
      m_inProgress(m_input.isHighlighted && !m_input.event.isAllDay && m_input.event.start <= m_input.now &&
                   m_input.event.end > m_input.now) {}

int EventRowContent::minutesUntil(core::Date target, core::Date now) {
    const double minutes = std::ceil((target - now) / 60.0);
    // Dates from a calendar file can be anything; the count must still fit.
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(minutes))
        return 0;
    return static_cast<int>(std::clamp(minutes, lowest, highest));
}

QString EventRowContent::timeText(const core::Calendar& calendar) const {
    if (m_inProgress)
        return u"Now \u00B7 ends in "_s + PopoverFormat::minutes(minutesUntil(event().end, m_input.now));
    return PopoverFormat::timeRange(event(), calendar);
}

double EventRowContent::progress() const {
    const double length = std::max(1.0, event().end - event().start);
    const double passed = (m_input.now - event().start) / length;
    return std::isnan(passed) ? 0.0 : std::clamp(passed, 0.0, 1.0);
}

std::optional<QString> EventRowContent::stickerText() const {
    if (!m_input.isHighlighted || m_inProgress || m_declined)
        return std::nullopt;
    return u"in "_s + PopoverFormat::minutes(minutesUntil(event().start, m_input.now));
}

EventRowContent::Trailing EventRowContent::trailing() const {
    if (m_declined)
        return Trailing::declined;
    if (m_input.isHighlighted)
        return Trailing::highlighted;
    if (hasMeeting() && event().end > m_input.now)
        return Trailing::join;
    if (m_input.isOverlapped)
        return Trailing::overlapDot;
    return Trailing::none;
}

std::optional<QString> EventRowContent::overlapTag() const {
    if (!m_input.overlapsTitle || m_declined)
        return std::nullopt;
    return u"Overlaps "_s + *m_input.overlapsTitle;
}

QString EventRowContent::accessibilityText(const core::Calendar& calendar) const {
    const model::ODEvent& e = event();
    QStringList parts{e.title, PopoverFormat::timeRange(e, calendar)};
    if (m_input.isHighlighted) {
        if (m_inProgress)
            parts << u"in progress, ends in "_s + PopoverFormat::minutes(minutesUntil(e.end, m_input.now));
        else
            parts << u"starts in "_s + PopoverFormat::minutes(minutesUntil(e.start, m_input.now));
    }
    if (e.meeting && !m_declined)
        parts << model::displayName(e.meeting->provider) + u" meeting"_s;
    if (!e.calendarTitle.isEmpty())
        parts << e.calendarTitle;
    if (const auto place = e.mapLocation())
        parts << *place;
    if (m_declined)
        parts << u"declined"_s;
    if (m_input.overlapsTitle)
        parts << u"overlaps "_s + *m_input.overlapsTitle;
    return parts.join(u", "_s);
}

}  // namespace popover
