#include "imageimport/review/ReviewFaces.h"

#include "core/Clock.h"
#include "design/values/ODFormat.h"
#include "imageimport/review/ImageReviewModel.h"
#include "store/CalendarStore.h"

using namespace Qt::Literals::StringLiterals;

namespace imageimport {

namespace {

constexpr int kSaturday = 7;
const QString kDayTemplate = u"EEEdMMM"_s;
const QString kTimeTemplate = u"jmm"_s;

QString dayText(core::Date day, const core::Calendar& calendar) {
    return design::ODFormat::format(day, kDayTemplate, calendar.timeZone());
}

QString timeText(const ImageReviewModel& review, TimeOfDay time) {
    const core::Calendar calendar;
    const core::Date base = review.day().value_or(core::Clock::current().now());
    const auto at = calendar.dateBySettingTime(time.hour, time.minute, 0, base);
    return at ? design::ODFormat::format(*at, kTimeTemplate, calendar.timeZone()) : QString();
}

std::optional<core::Date> nextDay(const core::Calendar& calendar, core::Date day) {
    const auto next = calendar.dateByAdding(core::CalendarUnit::Day, 1, day);
    return next ? std::optional(calendar.startOfDay(*next)) : std::nullopt;
}

}  // namespace

ChipFace eventDateFace(const ImageReviewModel& review) {
    if (!review.day())
        return {u"Pick a day"_s, std::nullopt, true};
    return {dayText(*review.day(), core::Calendar()), review.dateFound() ? std::optional(ValueTag::found) : std::nullopt};
}

ChipFace eventTimeFace(const ImageReviewModel& review) {
    const std::optional<ValueTag> tag = review.timeFound() ? std::optional(ValueTag::found) : std::nullopt;
    if (!review.time())
        return {review.day() ? u"All day"_s : u"\u2014"_s, tag};
    return {timeText(review, *review.time()), tag};
}

ChipFace eventDurationFace(const ImageReviewModel& review) {
    if (!review.time())
        return {u"All day"_s, std::nullopt};
    // A length the user chose is no default, though the image did not give it.
    if (review.durationEdited())
        return {design::ODFormat::duration(review.duration()), std::nullopt};
    return {design::ODFormat::duration(review.duration()),
            review.durationFound() ? ValueTag::found : ValueTag::defaulted};
}

CalendarFace calendarFace(const ImageReviewModel& review) {
    const std::optional<model::ODCalendar> shown = review.store().calendar(review.currentCalendarID().value_or(QString()));
    if (!shown)
        return {u"Default"_s, std::nullopt};
    return {shown->title, shown->color};
}

std::vector<CalendarChoice> calendarChoices(const ImageReviewModel& review) {
    const std::optional<QString> current = review.currentCalendarID();
    std::vector<CalendarChoice> choices;
    for (const model::ODCalendar& calendar : review.store().writableCalendars())
        choices.push_back({calendar.id, calendar.title, calendar.color, current == calendar.id});
    return choices;
}

std::vector<QuickDay> quickDays(const core::Calendar& calendar, core::Date now) {
    const core::Date today = calendar.startOfDay(now);
    const core::Date tomorrow = nextDay(calendar, today).value_or(today);
    // Strictly after tomorrow: on a Friday the Saturday is a week and a day away.
    std::optional<core::Date> saturday = nextDay(calendar, tomorrow);
    for (int step = 0; saturday && step < 7 && calendar.component(core::CalendarUnit::Weekday, *saturday) != kSaturday;
         ++step)
        saturday = nextDay(calendar, *saturday);
    const core::Date third = saturday.value_or(tomorrow);
    return {{u"Today"_s, today}, {u"Tomorrow"_s, tomorrow}, {dayText(third, calendar), third}};
}

std::vector<DateCandidate> datedCandidates(const ImageExtraction& extraction) {
    std::vector<DateCandidate> dated;
    for (const DateCandidate& candidate : extraction.dates) {
        if (candidate.day)
            dated.push_back(candidate);
    }
    return dated;
}

QString pillLabel(const ImageExtraction& extraction, const DateCandidate& candidate, const core::Calendar& calendar) {
    const std::optional<core::Date> start = candidate.hour ? candidate.start(calendar) : std::nullopt;
    const QString time = start ? design::ODFormat::format(*start, kTimeTemplate, calendar.timeZone()) : QString();
    const QString day = candidate.day ? dayText(*candidate.day, calendar) : QString();
    const QString separator = u" \u00B7 "_s;
    if (candidate.label && !time.isEmpty()) {
        const bool mainDay = !extraction.dates.empty() && extraction.dates.front().day == candidate.day;
        if (mainDay)
            return *candidate.label + u' ' + time;
        return *candidate.label + u' ' + day + separator + time;
    }
    QStringList parts;
    for (const QString& part : {day, time}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(separator);
}

}  // namespace imageimport
