#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/IcsItem.h"

#include <optional>

namespace platform::vdir {

// The platform's view of an RRULE of a series starting at `start`. Rules the platform cannot express (more often
// than daily) give nullopt; their occurrences are still expanded.
std::optional<PlatformRecurrenceRule> platformRule(const QByteArray& rrule, const IcsTime& start,
                                                   const core::TimeZone& floatingZone);

}  // namespace platform::vdir
