#include "editor/EditorDrafts.h"

#include "core/Calendar.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace editor {

namespace {

// The first moment after `now` whose minute is 0, on the calendar's wall clock
// (which matters in zones with half-hour offsets).
std::optional<core::Date> nextWholeHour(core::Date now, const core::Calendar& calendar) {
    const core::DateComponents parts = calendar.components(now);
    const double intoMinute = now.secondsSince1970() - std::floor(now.secondsSince1970()) + parts.second.value_or(0);
    core::Date candidate = now - intoMinute + 60;
    // An hour of minutes always holds one that reads :00, whatever the offset; two
    // hours leave room for a clock change in between.
    for (int step = 0; step < 120; ++step, candidate += 60) {
        if (calendar.component(core::CalendarUnit::Minute, candidate) == 0)
            return candidate;
    }
    return std::nullopt;
}

}  // namespace

model::EventDraft newDraft(core::Date start) {
    const core::Calendar calendar = core::Calendar::current();
    core::Date chosen = start;
    if (start == calendar.startOfDay(start)) {
        if (calendar.isDateInToday(start)) {
            const core::Date now = core::Date::now();
            chosen = nextWholeHour(now, calendar).value_or(now);
        } else {
            chosen = calendar.dateBySettingTime(9, 0, 0, start).value_or(start);
        }
    }
    return model::EventDraft(QString(), chosen);
}

namespace link {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool hasScheme(const QString& text) {
    if (text.isEmpty() || !isAsciiLetter(text.front()))
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u':')
            return i + 1 == text.size() || !isAsciiDigit(text.at(i + 1));
        const bool schemeCharacter = isAsciiLetter(c) || isAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.';
        if (!schemeCharacter)
            return false;
    }
    return false;
}

std::optional<QUrl> parse(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

Normalized normalize(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const std::optional<QUrl> url = parse(hasScheme(trimmed) ? trimmed : u"https://"_s + trimmed);
    return Normalized{url, !url};
}

QString displayText(const std::optional<QUrl>& url) {
    // Readable, but with spaces still escaped: the text must parse back to the same URL.
    return url ? url->toString(QUrl::EncodeSpaces) : QString();
}

}  // namespace link

}  // namespace editor
