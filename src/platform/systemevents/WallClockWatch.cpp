#include "platform/systemevents/WallClockWatch.h"

#include "core/Calendar.h"

namespace platform {

namespace {

// Less than this between two looks is clock noise, not a suspend.
constexpr double kMinimumSleep = 2.0;

core::Date dayStart(core::Date now) { return core::Calendar::current().startOfDay(now); }

}  // namespace

WallClockWatch::WallClockWatch(const Observation& first)
    : m_dayStart(dayStart(first.now)), m_zoneSignature(first.zoneSignature), m_slept(first.sleptSeconds) {}

WallClockWatch::Changes WallClockWatch::look(const Observation& observation) {
    Changes changes;
    changes.timeZoneChanged = observation.zoneSignature != m_zoneSignature;
    changes.resumed = observation.sleptSeconds - m_slept >= kMinimumSleep;
    const core::Date start = dayStart(observation.now);
    changes.dayChanged = start != m_dayStart || changes.timeZoneChanged;
    m_dayStart = start;
    m_zoneSignature = observation.zoneSignature;
    m_slept = observation.sleptSeconds;
    return changes;
}

}  // namespace platform
