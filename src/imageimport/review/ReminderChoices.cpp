#include "imageimport/review/ReminderChoices.h"

#include "core/Calendar.h"
#include "core/Date.h"
#include "core/TimeZone.h"
#include "design/values/ODFormat.h"
#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "imageimport/review/ImageReviewModel.h"
#include "store/CalendarStore.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {

namespace {

// The first character alone upper-cased ("due by" reads "Due by"); a letter
// outside the basic plane is one character, not two halves.
QString withCapitalFirst(const QString& text) {
    if (text.isEmpty())
        return text;
    const qsizetype first = text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
    return text.first(first).toUpper() + text.sliced(first);
}

// Only the hour and minute count; today's date merely carries them.
core::Date today(TimeOfDay time) {
    const core::Date now = core::Date::now();
    return core::Calendar().dateBySettingTime(time.hour, time.minute, 0, now).value_or(now);
}

}  // namespace

const std::vector<ReminderChoices::Priority>& ReminderChoices::priorities() {
    static const std::vector<Priority> table{{u"None"_s, 0}, {u"Low"_s, 9}, {u"Medium"_s, 5}, {u"High"_s, 1}};
    return table;
}

QString ReminderChoices::priorityTitle(int value) {
    const auto& table = priorities();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Priority& p) { return p.value == value; });
    return found == table.end() ? table.front().title : found->title;
}

ReminderChoices::ReminderChoices(const ImageReviewModel& review, const store::CalendarStore& store)
    : m_review(review), m_store(store) {}

QString ReminderChoices::dueIcon() {
    const QString clock = u"calendar.badge.clock"_s;
    return design::SymbolTable::hasSymbol(clock) ? clock : u"calendar"_s;
}

QString ReminderChoices::dueValue() const {
    const std::optional<core::Date> day = m_review.day();
    return day ? design::ODFormat::format(*day, u"EEEdMMM"_s, core::TimeZone::current()) : u"Pick a day"_s;
}

std::optional<ValueTag> ReminderChoices::dueTag() const {
    if (m_review.day() && m_review.dateFound())
        return ValueTag::found;
    return std::nullopt;
}

QString ReminderChoices::remindValue() const {
    return design::ODFormat::format(remindTime(), u"jmm"_s, core::TimeZone::current());
}

core::Date ReminderChoices::remindTime() const { return today(m_review.remindAt()); }

std::vector<core::Date> ReminderChoices::quickTimes() {
    std::vector<core::Date> times;
    for (const int hour : {9, 12, 13, 15, 18})
        times.push_back(today({hour, 0}));
    return times;
}

TimeOfDay ReminderChoices::timeOfDay(core::Date time) {
    const core::Calendar calendar;
    return {calendar.component(core::CalendarUnit::Hour, time), calendar.component(core::CalendarUnit::Minute, time)};
}

std::optional<ValueTag> ReminderChoices::remindTag() const {
    if (m_review.remindEdited())
        return std::nullopt;
    return m_review.remindFound() ? ValueTag::found : ValueTag::defaulted;
}

std::optional<QString> ReminderChoices::currentListID() const {
    return m_review.listID() ? m_review.listID() : m_store.defaultReminderListID();
}

ReminderChoices::ListFace ReminderChoices::listFace() const {
    const std::optional<model::ODCalendar> list = m_store.reminderList(currentListID().value_or(QString()));
    if (!list)
        return {u"Reminders"_s, design::Theme::sky()};
    return {list->title, list->color};
}

std::vector<ReminderChoices::ListChoice> ReminderChoices::listChoices() const {
    const std::optional<QString> current = currentListID();
    std::vector<ListChoice> choices;
    for (const model::ODCalendar& list : m_store.writableReminderLists())
        choices.push_back({list.id, list.title, list.color, current == list.id});
    return choices;
}

QString ReminderChoices::priorityValue() const { return priorityTitle(m_review.priority()); }

std::vector<ReminderChoices::PriorityChoice> ReminderChoices::priorityChoices() const {
    std::vector<PriorityChoice> choices;
    for (const Priority& p : priorities())
        choices.push_back({p.title, p.value, p.value == m_review.priority()});
    return choices;
}

std::optional<QString> ReminderChoices::reasonLine() const {
    const ImageExtraction& extraction = m_review.extraction();
    if (extraction.kind != ImageExtraction::Kind::reminder || !extraction.reminderTrigger)
        return std::nullopt;
    return u"Picked Reminder because it says \u201C%1\u201D. Switch to Event any time."_s.arg(
        withCapitalFirst(*extraction.reminderTrigger));
}

}  // namespace imageimport
