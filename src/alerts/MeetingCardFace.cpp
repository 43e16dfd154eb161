#include "alerts/MeetingCardFace.h"

#include "core/TimeZone.h"
#include "design/values/ODFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace alerts {

using namespace Qt::Literals::StringLiterals;

namespace {

// Past this a clock only says that the start is far: about 11 years.
constexpr double kLongestClock = 99999.0 * 3600.0;

}  // namespace

QString MeetingCardFace::clock(double seconds) {
    if (!std::isfinite(seconds))
        seconds = 0;
    const auto whole = static_cast<long long>(std::ceil(std::clamp(seconds, -kLongestClock, kLongestClock)));
    const long long a = std::llabs(whole);
    const QString sign = whole < 0 ? u"+"_s : QString();
    if (a < 3600)
        return sign + QString::asprintf("%lld:%02lld", a / 60, a % 60);
    return sign + QString::asprintf("%lld:%02lld:%02lld", a / 3600, (a % 3600) / 60, a % 60);
}

QString MeetingCardFace::timeLine(const model::ODEvent& event) {
    QString line = design::ODFormat::timeRange(event.start, event.end, core::TimeZone::current());
    if (!event.calendarTitle.isEmpty())
        line += u" \u00B7 "_s + event.calendarTitle;
    return line;
}

QString MeetingCardFace::joinSymbol(model::MeetingProvider provider) {
    switch (provider) {
        case model::MeetingProvider::other:
            return u"link"_s;
        case model::MeetingProvider::slack:
        case model::MeetingProvider::discord:
            // Chats rather than calls.
            return u"bubble.left.and.bubble.right"_s;
        default:
            return u"video.fill"_s;
    }
}

core::Date MeetingCardFace::nextChange(core::Date start, core::Date now) {
    const double remaining = start - now;
    if (!std::isfinite(remaining))
        return now + 1;
    const double step = remaining - std::floor(remaining);
    return now + (step > 0 ? step : 1.0);
}

MeetingCardFace MeetingCardFace::make(const model::ODEvent& event, core::Date now,
                                      const std::optional<app::HotKeyCombo>& joinShortcut) {
    MeetingCardFace face;
    const double remaining = event.start - now;
    face.started = remaining <= 0;
    face.header = face.started ? u"STARTED"_s : u"STARTS IN"_s;
    face.clockText = clock(remaining);
    face.clockAccessibleName = face.started ? QString(u"Started "_s + face.clockText + u" ago"_s)
                                            : QString(u"Starts in "_s + face.clockText);
    face.title = event.title;
    face.timeText = timeLine(event);
    if (const auto people = event.allPeople(); !people.empty())
        face.invited = QString::number(people.size()) + u" invited"_s;
    face.offersJoin = event.meeting.has_value();
    face.offersCopyLink = face.offersJoin;
    if (event.meeting) {
        face.joinGlyph = joinSymbol(event.meeting->provider);
        face.joinName = u"Join "_s + model::displayName(event.meeting->provider);
    }
    if (joinShortcut) {
        face.joinShortcut = joinShortcut->displayString();
        face.joinHint = u"Shortcut: "_s + *face.joinShortcut;
    }
    face.offersRemindAtStart = !face.started;
    return face;
}

}  // namespace alerts
