#include "editor/EditorTexts.h"

#include "core/DateFormat.h"
#include "design/values/ODFormat.h"

#include <QStringList>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace editor::texts {

QString recurrenceTitle(model::RecurrenceOption option) {
    using model::RecurrenceOption;
    switch (option) {
        case RecurrenceOption::none:
            return u"Never"_s;
        case RecurrenceOption::daily:
            return u"Every day"_s;
        case RecurrenceOption::weekdays:
            return u"Every weekday"_s;
        case RecurrenceOption::weekly:
            return u"Every week"_s;
        case RecurrenceOption::biweekly:
            return u"Every 2 weeks"_s;
        case RecurrenceOption::monthly:
            return u"Every month"_s;
        case RecurrenceOption::yearly:
            return u"Every year"_s;
    }
    return u"Never"_s;
}

QString alertTitle(std::optional<double> offset, bool allDay) {
    if (!offset)
        return u"No alert"_s;
    if (*offset == 0)
        return allDay ? u"On the day"_s : u"At time of event"_s;
    // The menu only offers alerts before the start; a calendar file may hold any
    // offset, so alerts after the start and under a minute get words too. Counting
    // in doubles keeps an absurd offset from a file a number, never an overflow.
    const QString side = *offset > 0 ? u" after"_s : u" before"_s;
    const double minutes = std::trunc(std::abs(*offset) / 60);
    if (minutes == 0)
        return u"Less than a minute"_s + side;
    const auto counted = [&](double count, const QString& one, const QString& many) -> QString {
        if (count == 1)
            return u"1 "_s + one + side;
        return QString::number(count, 'f', 0) + u' ' + many + side;
    };
    if (std::fmod(minutes, 1440) == 0)
        return counted(minutes / 1440, u"day"_s, u"days"_s);
    if (std::fmod(minutes, 60) == 0)
        return counted(minutes / 60, u"hour"_s, u"hours"_s);
    return counted(minutes, u"minute"_s, u"minutes"_s);
}

QString alertLabel(const std::vector<double>& offsets, bool allDay) {
    if (offsets.empty())
        return alertTitle(std::nullopt, allDay);
    QString label = alertTitle(offsets.front(), allDay);
    if (offsets.size() > 1)
        label += u" +"_s + QString::number(offsets.size() - 1);
    return label;
}

namespace {

QString dayText(core::Date date, const core::TimeZone& zone) {
    return design::ODFormat::format(date, u"EEEdMMM"_s, zone);
}

QString timeText(core::Date date, const core::TimeZone& zone) {
    return design::ODFormat::format(date, u"jmm"_s, zone);
}

}  // namespace

QString sameDaySummary(const model::EventDraft& draft, const core::TimeZone& zone) {
    if (draft.isAllDay)
        return dayText(draft.start, zone);
    return dayText(draft.start, zone) + u" · "_s + timeText(draft.start, zone) + u" → "_s + timeText(draft.end, zone);
}

QString lengthText(const model::EventDraft& draft) {
    return draft.isAllDay ? QString() : design::ODFormat::duration(draft.end - draft.start);
}

QString endpointValue(core::Date date, bool allDay, const core::TimeZone& zone) {
    return allDay ? dayText(date, zone) : dayText(date, zone) + u" · "_s + timeText(date, zone);
}

QString placeName(const QString& zoneIdentifier) {
    const QStringList parts = zoneIdentifier.split(u'/', Qt::SkipEmptyParts);
    QString place = parts.isEmpty() ? zoneIdentifier : parts.last();
    return place.replace(u'_', u' ');
}

std::optional<QString> timeZoneChip(const core::TimeZone& eventZone, core::Date start, bool isAllDay,
                                    const core::TimeZone& here) {
    if (isAllDay)
        return std::nullopt;
    return placeName(eventZone.identifier()) + u" ("_s + core::DateFormat::formatTemplate(start, u"jmm"_s, here) +
           u" here)"_s;
}

QString timeZoneHelp(const core::TimeZone& eventZone, core::Date start, core::Date end, const core::TimeZone& here) {
    return placeName(eventZone.identifier()) + u" time · "_s + core::DateFormat::formatTemplate(start, u"jmm"_s, here) +
           u" – "_s + core::DateFormat::formatTemplate(end, u"jmm"_s, here) + u" here"_s;
}

bool isDeleteAction(const QString& actionTitle) {
    return actionTitle.toLower() == u"delete"_s;
}

QString recurringPromptTitle(const QString& actionTitle) {
    return isDeleteAction(actionTitle) ? u"Delete a repeating event"_s : u"Change a repeating event"_s;
}

QString recurringPromptSentence(const QString& actionTitle, const QString& eventTitle,
                                model::RecurrenceOption recurrence) {
    const QString name = eventTitle.isEmpty() ? u"This event"_s : u"“"_s + eventTitle + u"”"_s;
    QString repeats = u"repeats"_s;
    if (recurrence != model::RecurrenceOption::none)
        repeats += u' ' + recurrenceTitle(recurrence).toLower();
    const QString question =
        isDeleteAction(actionTitle) ? u". Which ones should be deleted?"_s : u". Which ones should get the changes?"_s;
    return name + u' ' + repeats + question;
}

}  // namespace editor::texts
