#pragma once

#include "core/Color.h"

#include <QHashFunctions>
#include <QString>

namespace model {

// An event calendar or a reminder list.
struct ODCalendar {
    QString id;
    QString title;
    core::Color color;
    QString sourceTitle;
    bool allowsModifications = false;
    bool isSubscribed = false;

    bool operator==(const ODCalendar&) const = default;
};

size_t qHash(const ODCalendar& calendar, size_t hashSeed = 0) noexcept;

}  // namespace model
