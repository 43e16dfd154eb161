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

// The colour of an item whose calendar names none, or that has no calendar. The
// kit's sky is this colour, so such items look like the kit's own blue.
inline constexpr core::Color kDefaultCalendarColor = core::Color::rgb(0x3E, 0x8E, 0xD0);

size_t qHash(const ODCalendar& calendar, size_t hashSeed = 0) noexcept;

}  // namespace model
