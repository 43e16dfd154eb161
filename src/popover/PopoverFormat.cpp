#include "popover/PopoverFormat.h"

#include "core/DateFormat.h"

#include <array>

namespace popover {

using namespace Qt::Literals::StringLiterals;

QString PopoverFormat::minutes(int minutes) {
    if (minutes < 60)
        return QString::number(std::max(minutes, 0)) + u"m"_s;
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    if (rest == 0)
        return QString::number(hours) + u"h"_s;
    return QString::number(hours) + u"h "_s + QString::number(rest) + u"m"_s;
}

QString PopoverFormat::timeRange(const model::ODEvent& event, const core::Calendar& calendar) {
    const QString end =
        calendar.isDateInSameDay(event.start, event.end) ? time(event.end) : weekdayTime(event.end);
    return time(event.start) + u" \u2013 "_s + end;
}

QString PopoverFormat::relativeDay(core::Date date, core::Date reference, const core::Calendar& calendar) {
    const int days = calendar.daysBetween(reference, date);
    switch (days) {
    case 0:
        return u"Today"_s;
    case 1:
        return u"Tomorrow"_s;
    case -1:
        return u"Yesterday"_s;
    default:
        break;
    }
    if (days > 1)
        return u"in "_s + QString::number(days) + u" days"_s;
    return QString::number(-static_cast<qint64>(days)) + u" days ago"_s;
}

QString PopoverFormat::emptyDayCopy(core::Date date) {
    static const std::array<QString, 3> lines{u"Free as a bird. Go outside."_s, u"Nothing on. Go outside."_s,
                                               u"Clear skies."_s};
    // The day's number counted from 1 January of year 1, so the line turns over
    // with the calendar day, not every 24 hours.
    const core::Calendar calendar;
    qint64 ordinal = 0;
    if (date.isInCalendarRange()) {
        if (const auto firstDay = calendar.date({.year = 1, .month = 1, .day = 1}))
            ordinal = static_cast<qint64>(calendar.daysBetween(*firstDay, date)) + 1;
    }
    return lines[static_cast<size_t>(((ordinal % 3) + 3) % 3)];
}

QString PopoverFormat::time(core::Date date) {
    return core::DateFormat::formatStyles(date, core::DateFormat::Style::None, core::DateFormat::Style::Short);
}

QString PopoverFormat::day(core::Date date) {
    return core::DateFormat::formatTemplate(date, u"EEEdMMM"_s);
}

QString PopoverFormat::weekdayDay(core::Date date) {
    return core::DateFormat::formatTemplate(date, u"EEEd"_s);
}

QString PopoverFormat::weekdayTime(core::Date date) {
    return core::DateFormat::formatTemplate(date, u"EEEjmm"_s);
}

}  // namespace popover
