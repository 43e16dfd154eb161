#pragma once

#include "core/Color.h"
#include "core/Date.h"
#include "platform/eventstore/PlatformTypes.h"

#include <QHashFunctions>
#include <QString>

#include <optional>

namespace model {

// One incomplete reminder.
struct ODReminder {
    QString id;  // the calendar item identifier
    QString title;
    std::optional<core::Date> due;
    bool hasDueTime = false;
    QString listTitle;
    core::Color color;
    int priority = 0;

    // The due date is built with the current calendar.
    static ODReminder fromPlatform(const platform::PlatformReminder& reminder);

    // A timed reminder is overdue once its moment has passed; a date-only one only
    // once its day is over.
    bool isOverdue(core::Date now) const;

    bool operator==(const ODReminder&) const = default;
};

size_t qHash(const ODReminder& reminder, size_t hashSeed = 0) noexcept;

}  // namespace model
