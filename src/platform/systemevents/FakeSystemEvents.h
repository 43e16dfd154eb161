#pragma once

#include "platform/systemevents/SystemEvents.h"

namespace platform {

// Raises the system events when a test says so.
class FakeSystemEvents : public SystemEvents {
    Q_OBJECT

public:
    using SystemEvents::SystemEvents;

    void simulateDayChange() { emit dayChanged(); }
    // A wake-up after sleeping past midnight raises both.
    void simulateResume(bool pastMidnight = false) {
        emit resumed();
        if (pastMidnight)
            emit dayChanged();
    }
    void simulateTimeZoneChange() {
        emit timeZoneChanged();
        emit dayChanged();
    }
};

}  // namespace platform
