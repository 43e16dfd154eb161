#pragma once

#include "core/Date.h"

#include <QString>

namespace platform {

// Decides, from periodic looks at the wall clock, what happened since the last look. Kept free of timers and
// system calls so that it can be driven by a test clock.
class WallClockWatch {
public:
    struct Observation {
        core::Date now;
        QString zoneSignature;   // anything that changes when the system zone does
        double sleptSeconds = 0;  // total time the machine spent suspended so far
    };
    struct Changes {
        bool dayChanged = false;
        bool resumed = false;
        bool timeZoneChanged = false;
    };

    explicit WallClockWatch(const Observation& first);

    // The zone change must already be visible to core::TimeZone::current() when this is called.
    Changes look(const Observation& observation);

private:
    core::Date m_dayStart;
    QString m_zoneSignature;
    double m_slept;
};

}  // namespace platform
