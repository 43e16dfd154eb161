#pragma once

#include "platform/eventstore/PlatformTypes.h"
#include "platform/eventstore/vdir/VdirCatalog.h"

namespace platform::vdir {

// The platform's view of one occurrence of an item.
PlatformEvent makePlatformEvent(const VdirItem& item, const VdirCollection& collection, const IcsOccurrence& occurrence,
                                const core::TimeZone& floatingZone);
// Moves `event` to another occurrence of the same component.
void placeAtOccurrence(PlatformEvent& event, const IcsOccurrence& occurrence);

// The platform's view of a to-do; due dates with a zone are given as wall time in `floatingZone`.
PlatformReminder makePlatformReminder(const VdirItem& item, const VdirCollection& collection,
                                      const core::TimeZone& floatingZone);

// Whether a to-do is still open: not completed and not cancelled.
bool isIncomplete(const IcsComponent& todo);

}  // namespace platform::vdir
