#include "imageimport/extraction/ImageExtraction.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

std::optional<core::Date> atTime(const core::Calendar& calendar, core::Date day, int hour, std::optional<int> minute) {
    return calendar.dateBySettingTime(hour, minute.value_or(0), 0, day);
}

QString counted(qsizetype n, const QString& one, const QString& many) {
    if (n == 1)
        return u"1 "_s + one;
    return QString::number(n) + u' ' + many;
}

}  // namespace

std::optional<core::Date> DateCandidate::start(const core::Calendar& calendar) const {
    if (!day)
        return std::nullopt;
    if (!hour)
        return *day;
    return atTime(calendar, *day, *hour, minute);
}

std::optional<core::Date> DateCandidate::end(const core::Calendar& calendar) const {
    const auto begin = start(calendar);
    if (!begin || !endHour)
        return std::nullopt;
    const auto finish = atTime(calendar, *day, *endHour, endMinute);
    if (!finish)
        return std::nullopt;
    if (*finish > *begin)
        return finish;
    return calendar.dateByAdding(core::CalendarUnit::Day, 1, *finish).value_or(*finish);
}

QStringList FlightDetails::noteLines() const {
    QStringList lines;
    const auto add = [&lines](const QString& label, const std::optional<QString>& value) {
        if (value)
            lines.append(label + *value);
    };
    add(u"Flight: "_s, number);
    if (origin && destination)
        lines.append(u"Route: "_s + *origin + u" → "_s + *destination);
    add(u"Departs: "_s, departure);
    add(u"Arrives: "_s, arrival);
    add(u"Terminal: "_s, terminal);
    add(u"Gate: "_s, gate);
    add(u"Seat: "_s, seat);
    add(u"Booking ref: "_s, bookingRef);
    return lines;
}

bool ImageExtraction::hasDate() const { return !dates.empty() && dates.front().day.has_value(); }

QString ImageExtraction::summary() const {
    if (flight && flight->number) {
        QString text = u"Found flight "_s + *flight->number;
        if (flight->origin && flight->destination)
            text += u" · "_s + *flight->origin + u" → "_s + *flight->destination;
        return text;
    }
    if (kind == Kind::reminder) {
        QString text = hasDate() ? u"Found a due date"_s : u"Found no date"_s;
        if (amount)
            text += u" and an amount"_s;
        return text;
    }
    QSet<core::Date> days;
    QSet<int> times;
    for (const DateCandidate& candidate : dates) {
        if (candidate.day)
            days.insert(*candidate.day);
        if (candidate.hour)
            times.insert(*candidate.hour * 60 + candidate.minute.value_or(0));
    }
    QStringList items;
    if (!days.isEmpty())
        items.append(counted(days.size(), u"date"_s, u"dates"_s));
    if (!times.isEmpty())
        items.append(counted(times.size(), u"time"_s, u"times"_s));
    if (location)
        items.append(u"1 place"_s);
    if (url)
        items.append(u"1 link"_s);
    return items.isEmpty() ? u"Found no date or time"_s : u"Found "_s + items.join(u", "_s);
}

}  // namespace imageimport
