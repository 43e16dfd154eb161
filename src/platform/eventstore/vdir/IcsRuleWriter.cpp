#include "platform/eventstore/vdir/IcsRuleWriter.h"

#include "platform/eventstore/vdir/WallTime.h"

#include <QList>

namespace platform::vdir {
namespace {

QByteArray numberList(const std::vector<int>& values) {
    QList<QByteArray> parts;
    for (const int v : values) {
        parts.append(QByteArray::number(v));
    }
    return parts.join(',');
}

QByteArray twoDigits(int value) {
    return QByteArray::number(value).rightJustified(2, '0');
}

QByteArray untilText(core::Date end, IcsEditor::StartKind kind, const core::TimeZone& floatingZone) {
    const bool utc = kind == IcsEditor::StartKind::Utc || kind == IcsEditor::StartKind::Zoned;
    const WallTime wall = dateToWall(end, utc ? core::TimeZone::utc() : floatingZone);
    QByteArray text =
        QByteArray::number(wall.year).rightJustified(4, '0') + twoDigits(wall.month) + twoDigits(wall.day);
    if (kind == IcsEditor::StartKind::Date) {
        return text;
    }
    text += 'T' + twoDigits(wall.hour) + twoDigits(wall.minute) + twoDigits(wall.second);
    return utc ? text + 'Z' : text;
}

}  // namespace

QByteArray rruleText(const PlatformRecurrenceRule& rule, IcsEditor::StartKind kind,
                     const core::TimeZone& floatingZone) {
    static const char* const kFrequencies[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    static const char* const kDays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    QList<QByteArray> parts;
    parts.append(QByteArray("FREQ=") + kFrequencies[static_cast<int>(rule.frequency)]);
    if (rule.end) {
        if (rule.end->endDate) {
            parts.append("UNTIL=" + untilText(*rule.end->endDate, kind, floatingZone));
        } else if (rule.end->occurrenceCount > 0) {
            parts.append("COUNT=" + QByteArray::number(rule.end->occurrenceCount));
        }
    }
    if (rule.interval > 1) {
        parts.append("INTERVAL=" + QByteArray::number(rule.interval));
    }
    if (rule.daysOfTheWeek && !rule.daysOfTheWeek->empty()) {
        QList<QByteArray> days;
        for (const PlatformRecurrenceDayOfWeek& day : *rule.daysOfTheWeek) {
            if (day.dayOfWeek < 1 || day.dayOfWeek > 7) {
                continue;
            }
            days.append((day.weekNumber != 0 ? QByteArray::number(day.weekNumber) : QByteArray()) +
                        kDays[day.dayOfWeek - 1]);
        }
        if (!days.isEmpty()) {
            parts.append("BYDAY=" + days.join(','));
        }
    }
    const std::pair<const char*, const std::optional<std::vector<int>>*> lists[] = {
        {"BYMONTHDAY=", &rule.daysOfTheMonth}, {"BYYEARDAY=", &rule.daysOfTheYear}, {"BYWEEKNO=", &rule.weeksOfTheYear},
        {"BYMONTH=", &rule.monthsOfTheYear},   {"BYSETPOS=", &rule.setPositions},
    };
    for (const auto& [name, values] : lists) {
        if (*values && !(*values)->empty()) {
            parts.append(name + numberList(**values));
        }
    }
    if (rule.firstDayOfTheWeek >= 1 && rule.firstDayOfTheWeek <= 7) {
        parts.append(QByteArray("WKST=") + kDays[rule.firstDayOfTheWeek - 1]);
    }
    return parts.join(';');
}

}  // namespace platform::vdir
