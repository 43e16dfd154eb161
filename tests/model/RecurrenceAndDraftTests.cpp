#include "core/Clock.h"
#include "model/Drafts.h"
#include "model/RecurrenceOption.h"

#include <gtest/gtest.h>

namespace {

using model::RecurrenceOption;
using Rule = platform::PlatformRecurrenceRule;
using Frequency = Rule::Frequency;

Rule rule(Frequency frequency, int interval, std::optional<std::vector<int>> weekdays = std::nullopt) {
    Rule result;
    result.frequency = frequency;
    result.interval = interval;
    if (weekdays) {
        result.daysOfTheWeek.emplace();
        for (int day : *weekdays) {
            result.daysOfTheWeek->push_back({day, 0});
        }
    }
    return result;
}

TEST(RecurrenceOptions, EveryPresetSurvivesTheRoundTripThroughARule) {
    for (RecurrenceOption option : model::kAllRecurrenceOptions) {
        EXPECT_EQ(model::recurrenceOptionFromRule(model::recurrenceRule(option)), option)
            << model::rawValue(option).toStdString();
        EXPECT_EQ(model::recurrenceOptionFromRawValue(model::rawValue(option)), option);
    }
    EXPECT_FALSE(model::recurrenceRule(RecurrenceOption::none).has_value());
    EXPECT_EQ(model::recurrenceOptionFromRule(std::nullopt), RecurrenceOption::none);
    EXPECT_FALSE(model::recurrenceOptionFromRawValue(QStringLiteral("fortnightly")).has_value());
    EXPECT_FALSE(model::recurrenceOptionFromRawValue(QStringLiteral("Daily")).has_value());
}

TEST(RecurrenceOptions, PresetRulesHaveNoEndAndOnlyWeekdaysNamesDays) {
    const Rule weekdays = *model::recurrenceRule(RecurrenceOption::weekdays);
    EXPECT_EQ(weekdays.frequency, Frequency::Weekly);
    EXPECT_EQ(weekdays.interval, 1);
    ASSERT_TRUE(weekdays.daysOfTheWeek.has_value());
    EXPECT_EQ(*weekdays.daysOfTheWeek,
              (std::vector<platform::PlatformRecurrenceDayOfWeek>{{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}));
    EXPECT_FALSE(weekdays.setPositions.has_value());
    EXPECT_FALSE(weekdays.end.has_value());

    const Rule biweekly = *model::recurrenceRule(RecurrenceOption::biweekly);
    EXPECT_EQ(biweekly.frequency, Frequency::Weekly);
    EXPECT_EQ(biweekly.interval, 2);
    EXPECT_FALSE(biweekly.daysOfTheWeek.has_value());
    EXPECT_FALSE(model::recurrenceRule(RecurrenceOption::weekly)->daysOfTheWeek.has_value());
    EXPECT_EQ(model::recurrenceRule(RecurrenceOption::yearly)->frequency, Frequency::Yearly);
}

TEST(RecurrenceOptions, RulesThatAreNoPresetReadAsWeekly) {
    auto read = [](const Rule& r) { return model::recurrenceOptionFromRule(r); };
    EXPECT_EQ(read(rule(Frequency::Daily, 2)), RecurrenceOption::weekly);
    EXPECT_EQ(read(rule(Frequency::Weekly, 3)), RecurrenceOption::weekly);
    EXPECT_EQ(read(rule(Frequency::Weekly, 2, std::vector<int>{2, 3, 4, 5, 6})), RecurrenceOption::biweekly);
    // Any five days make "weekdays", even a weekend among them.
    EXPECT_EQ(read(rule(Frequency::Weekly, 1, std::vector<int>{7, 1, 2, 3, 4})), RecurrenceOption::weekdays);
    EXPECT_EQ(read(rule(Frequency::Weekly, 1, std::vector<int>{2, 5})), RecurrenceOption::weekly);
    EXPECT_EQ(read(rule(Frequency::Weekly, 1, std::vector<int>{})), RecurrenceOption::weekly);
    EXPECT_EQ(read(rule(Frequency::Monthly, 6)), RecurrenceOption::weekly);
    EXPECT_EQ(read(rule(Frequency::Yearly, 2)), RecurrenceOption::weekly);
    Rule lastFriday = rule(Frequency::Monthly, 1, std::vector<int>{6});
    lastFriday.setPositions = std::vector<int>{-1};
    EXPECT_EQ(read(lastFriday), RecurrenceOption::monthly);
    Rule unknownFrequency = rule(static_cast<Frequency>(9), 1);
    EXPECT_EQ(read(unknownFrequency), RecurrenceOption::weekly);
}

TEST(EventDrafts, DefaultToAnHourFromNowAndCompareEveryField) {
    core::ScopedTestClock clock(core::Date(1'700'000'000));
    const model::EventDraft fresh;
    EXPECT_EQ(fresh.start, core::Date(1'700'000'000));
    EXPECT_EQ(fresh.end, core::Date(1'700'003'600));
    EXPECT_FALSE(fresh.url.has_value());
    EXPECT_FALSE(fresh.recurrence.has_value());

    const model::EventDraft lunch(QStringLiteral("Lunch"), core::Date(5000));
    EXPECT_EQ(lunch.end, core::Date(8600));
    model::EventDraft withNone = lunch;
    withNone.recurrence = RecurrenceOption::none;
    EXPECT_NE(withNone, lunch);
    EXPECT_EQ(model::EventDraft(QStringLiteral("Lunch"), core::Date(5000), core::Date(8600)), lunch);
}

TEST(EventDrafts, FromAnEventKeepTheCalendarAndLeaveRepetitionAlone) {
    model::ODEvent event;
    event.title = QStringLiteral("Review");
    event.start = core::Date(100);
    event.end = core::Date(50);  // an end before the start is kept as it is
    event.calendarID = QString();
    event.alarmOffsets = {-300};
    event.recurrence = RecurrenceOption::daily;
    event.url = QUrl(QStringLiteral("https://example.org"));
    const model::EventDraft draft = model::EventDraft::fromEvent(event);
    EXPECT_EQ(draft.title, event.title);
    EXPECT_EQ(draft.end, core::Date(50));
    ASSERT_TRUE(draft.calendarID.has_value());
    EXPECT_TRUE(draft.calendarID->isEmpty());
    EXPECT_EQ(draft.alarmOffsets, event.alarmOffsets);
    EXPECT_EQ(draft.url, event.url);
    EXPECT_FALSE(draft.recurrence.has_value());
}

TEST(ReminderDrafts, CompareEveryField) {
    model::ReminderDraft a{
        QStringLiteral("Call"), core::Date(10), std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0};
    model::ReminderDraft b = a;
    EXPECT_EQ(a, b);
    b.listID = QString();
    EXPECT_NE(a, b);
}

}  // namespace
