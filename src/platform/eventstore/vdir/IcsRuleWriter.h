#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/IcsEditor.h"

#include <QByteArray>

namespace platform::vdir {

// The RRULE value of a platform rule for a series whose DTSTART is of `kind`:
// UNTIL is a DATE for all-day series, UTC for zoned or UTC starts and a
// floating time for floating starts, read in `floatingZone`.
QByteArray rruleText(const PlatformRecurrenceRule& rule, IcsEditor::StartKind kind, const core::TimeZone& floatingZone);

}  // namespace platform::vdir
