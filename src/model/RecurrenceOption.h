#pragma once

#include "platform/eventstore/PlatformTypes.h"

#include <QString>

#include <array>
#include <optional>

namespace model {

// The repetitions offered to the user.
enum class RecurrenceOption { none, daily, weekdays, weekly, biweekly, monthly, yearly };

inline constexpr std::array kAllRecurrenceOptions{
    RecurrenceOption::none,     RecurrenceOption::daily,   RecurrenceOption::weekdays, RecurrenceOption::weekly,
    RecurrenceOption::biweekly, RecurrenceOption::monthly, RecurrenceOption::yearly};

QString rawValue(RecurrenceOption option);
// Exactly the seven case names; anything else gives nothing.
std::optional<RecurrenceOption> recurrenceOptionFromRawValue(const QString& rawValue);

// A new rule without end for the option; nullopt for `none`.
std::optional<platform::PlatformRecurrenceRule> recurrenceRule(RecurrenceOption option);
// The option an existing rule is shown as: every rule that is no preset reads as `weekly`.
RecurrenceOption recurrenceOptionFromRule(const std::optional<platform::PlatformRecurrenceRule>& rule);

}  // namespace model
