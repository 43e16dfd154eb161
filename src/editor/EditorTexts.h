#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"
#include "model/Drafts.h"
#include "model/RecurrenceOption.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The words the event editor shows for its choices and its time-zone hints.
namespace editor::texts {

// "Never", "Every day", ... "Every year".
QString recurrenceTitle(model::RecurrenceOption option);

// The alert choices offered, in menu order; nullopt is "No alert".
inline constexpr std::array<std::optional<double>, 9> kAlertOptions{std::nullopt, 0.0,     -300.0,  -600.0,  -900.0,
                                                                    -1800.0,      -3600.0, -7200.0, -86400.0};

// An alert offset (seconds from the start, negative before it) in words; whole
// minutes, hours and days, truncated towards the start.
QString alertTitle(std::optional<double> offset, bool allDay);
// The first alert's title, with " +N" for the N further ones.
QString alertLabel(const std::vector<double>& offsets, bool allDay);

// The day button of a one-day event, on the editing clock: "Wed, Mar 11 · 10:00 AM →
// 11:00 AM", or the day alone when it is all-day.
QString sameDaySummary(const model::EventDraft& draft, const core::TimeZone& zone);
// "45m", "1h 30m" to the nearest minute; nothing for an all-day event.
QString lengthText(const model::EventDraft& draft);
// A start or end button: "Wed, Mar 11 · 10:00 AM", or the day alone when all-day.
QString endpointValue(core::Date date, bool allDay, const core::TimeZone& zone);
// The lengths the day's pop-over offers at a click, in minutes.
inline constexpr std::array<int, 5> kQuickLengths{15, 30, 45, 60, 90};

// "America/Argentina/Buenos_Aires" → "Buenos Aires".
QString placeName(const QString& zoneIdentifier);
// "Tokyo (17:00 here)": where the event's clock is, and when it starts on this
// computer's clock. Nothing for an all-day event.
std::optional<QString> timeZoneChip(const core::TimeZone& eventZone, core::Date start, bool isAllDay,
                                    const core::TimeZone& here);
// "Tokyo time · 17:00 – 18:00 here".
QString timeZoneHelp(const core::TimeZone& eventZone, core::Date start, core::Date end, const core::TimeZone& here);

// The question asked before a repeating event is changed or deleted. Any letter
// case of "delete" as the action asks about deleting; every other action about changing.
bool isDeleteAction(const QString& actionTitle);
QString recurringPromptTitle(const QString& actionTitle);
QString recurringPromptSentence(const QString& actionTitle, const QString& eventTitle,
                                model::RecurrenceOption recurrence);

}  // namespace editor::texts
