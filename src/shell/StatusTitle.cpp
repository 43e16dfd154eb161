#include "shell/StatusTitle.h"

#include "core/Calendar.h"
#include "core/CharacterClass.h"
#include "core/DateFormat.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <QStringList>

#include <cmath>

namespace app {

namespace {

constexpr int kShortTitleLength = 15;
constexpr int kCutLength = 13;
constexpr double kJustStartedSeconds = 300;
constexpr int kDateGap = 6;

const QString& appName() {
    static const QString name = QStringLiteral("Orbitday");
    return name;
}

}  // namespace

QString formatMinutes(int minutes) {
    if (minutes < 60)
        return QString::number(minutes) + u'm';
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    if (rest == 0)
        return QString::number(hours) + u'h';
    return QString::number(hours) + QStringLiteral("h ") + QString::number(rest) + u'm';
}

QString shortTitle(const QString& title) {
    if (core::chars::characterCount(title) < kShortTitleLength)
        return title;
    const QStringList words = title.split(u' ', Qt::SkipEmptyParts);
    const QString word = words.isEmpty() ? title : words.first();
    if (core::chars::characterCount(word) < kShortTitleLength)
        return word;
    return core::chars::leadingCharacters(word, kCutLength) + QChar(0x2026);
}

std::optional<QString> countdownText(const store::CalendarStore& store, core::Date now, double leadTime) {
    for (const model::ODEvent& e : store.events()) {
        if (e.isAllDay || e.isDeclined())
            continue;
        if (e.start <= now && now - e.start < kJustStartedSeconds && e.end > now)
            return shortTitle(e.title) + QStringLiteral(" now");
    }
    const auto next = store.nextEvent(now, false);
    if (!next || next->isAllDay)
        return std::nullopt;
    const double seconds = next->start - now;
    if (seconds > (leadTime > 0 ? leadTime : 0))
        return std::nullopt;
    const int minutes = static_cast<int>(std::ceil(seconds / 60));
    return shortTitle(next->title) + QStringLiteral(" in ") + formatMinutes(minutes);
}

std::optional<model::ODEvent> nextToday(const store::CalendarStore& store, core::Date now) {
    auto next = store.nextEvent(now, false);
    if (!next || next->isAllDay || !core::Calendar::current().isDateInSameDay(next->start, now))
        return std::nullopt;
    return next;
}

QString shortTime(core::Date date) {
    return core::DateFormat::fromStyles(core::DateFormat::Style::None, core::DateFormat::Style::Short).format(date);
}

StatusPresentation statusPresentation(const store::CalendarStore& store, const AppSettings& settings,
                                      core::Date now) {
    StatusPresentation shown;
    const std::optional<QString> countdown =
        settings.showMeetingCountdown() ? countdownText(store, now, settings.meetingCountdownLeadTime())
                                        : std::nullopt;
    const QString date = settings.formattedDate(now);

    if (settings.menuBarDisplayMode() == MenuBarDisplayMode::icon) {
        shown.pill = countdown;
        shown.calendarSymbol = !countdown;
    } else {
        shown.title = date;
        if (countdown) {
            shown.pill = countdown;
            shown.pillLeadingGap = kDateGap;
        } else if (settings.menuBarDisplayMode() == MenuBarDisplayMode::dateAndNext) {
            if (const auto event = nextToday(store, now))
                shown.title += QStringLiteral("  \u00B7  ") + shortTitle(event->title) + u' ' + shortTime(event->start);
        }
    }

    const auto next = store.nextEvent(now, false);
    if (next)
        shown.toolTip = next->title + QStringLiteral(" at ") + shortTime(next->start);

    QStringList parts{appName(), date};
    if (countdown)
        parts << *countdown;
    else if (next)
        parts << QStringLiteral("Next: ") + next->title;
    shown.accessibleText = parts.join(QStringLiteral(", "));
    return shown;
}

}  // namespace app
