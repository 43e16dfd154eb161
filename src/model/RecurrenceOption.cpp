#include "model/RecurrenceOption.h"

namespace model {

using Rule = platform::PlatformRecurrenceRule;
using Frequency = Rule::Frequency;

QString rawValue(RecurrenceOption option) {
    switch (option) {
        case RecurrenceOption::none:
            return QStringLiteral("none");
        case RecurrenceOption::daily:
            return QStringLiteral("daily");
        case RecurrenceOption::weekdays:
            return QStringLiteral("weekdays");
        case RecurrenceOption::weekly:
            return QStringLiteral("weekly");
        case RecurrenceOption::biweekly:
            return QStringLiteral("biweekly");
        case RecurrenceOption::monthly:
            return QStringLiteral("monthly");
        case RecurrenceOption::yearly:
            return QStringLiteral("yearly");
    }
    return QStringLiteral("none");
}

std::optional<RecurrenceOption> recurrenceOptionFromRawValue(const QString& value) {
    for (RecurrenceOption option : kAllRecurrenceOptions) {
        if (rawValue(option) == value) {
            return option;
        }
    }
    return std::nullopt;
}

std::optional<Rule> recurrenceRule(RecurrenceOption option) {
    auto make = [](Frequency frequency, int interval) {
        Rule rule;
        rule.frequency = frequency;
        rule.interval = interval;
        return rule;
    };
    switch (option) {
        case RecurrenceOption::none:
            return std::nullopt;
        case RecurrenceOption::daily:
            return make(Frequency::Daily, 1);
        case RecurrenceOption::weekdays: {
            Rule rule = make(Frequency::Weekly, 1);
            rule.daysOfTheWeek.emplace();
            for (int day = 2; day <= 6; ++day) {  // Monday ... Friday
                rule.daysOfTheWeek->push_back(platform::PlatformRecurrenceDayOfWeek{day, 0});
            }
            return rule;
        }
        case RecurrenceOption::weekly:
            return make(Frequency::Weekly, 1);
        case RecurrenceOption::biweekly:
            return make(Frequency::Weekly, 2);
        case RecurrenceOption::monthly:
            return make(Frequency::Monthly, 1);
        case RecurrenceOption::yearly:
            return make(Frequency::Yearly, 1);
    }
    return std::nullopt;
}

RecurrenceOption recurrenceOptionFromRule(const std::optional<Rule>& rule) {
    if (!rule) {
        return RecurrenceOption::none;
    }
    const int interval = rule->interval;
    switch (rule->frequency) {
        case Frequency::Daily:
            return interval == 1 ? RecurrenceOption::daily : RecurrenceOption::weekly;
        case Frequency::Weekly:
            if (interval == 2) {
                return RecurrenceOption::biweekly;
            }
            if (interval == 1 && rule->daysOfTheWeek && rule->daysOfTheWeek->size() == 5) {
                return RecurrenceOption::weekdays;
            }
            return RecurrenceOption::weekly;
        case Frequency::Monthly:
            return interval == 1 ? RecurrenceOption::monthly : RecurrenceOption::weekly;
        case Frequency::Yearly:
            return interval == 1 ? RecurrenceOption::yearly : RecurrenceOption::weekly;
    }
    return RecurrenceOption::weekly;
}

}  // namespace model
