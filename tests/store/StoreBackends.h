#pragma once

#include "platform/eventstore/EventStore.h"

#include <QString>

#include <functional>
#include <memory>

namespace storetest {

// A calendar database for the store to run on, with what a test needs to set it
// up and to look at what was stored. The first calendar and the first list added
// are the defaults for new items.
class StoreBackend {
public:
    virtual ~StoreBackend() = default;

    virtual platform::EventStore& eventStore() = 0;
    virtual platform::PlatformCalendar addCalendar(platform::EntityType entity, const QString& title) = 0;
    virtual platform::PlatformEvent addEvent(const platform::PlatformEvent& event) = 0;
    virtual platform::PlatformReminder addReminder(const platform::PlatformReminder& reminder) = 0;
    virtual void setCalendarWritable(const QString& calendarIdentifier, bool writable) = 0;
    virtual void setAccess(platform::EntityType entity, platform::AuthorizationStatus status) = 0;
    // What is written, not what is staged: a series counts once.
    virtual int storedEventCount() = 0;
    virtual int storedReminderCount() = 0;
};

struct BackendKind {
    const char* name;
    std::function<std::unique_ptr<StoreBackend>()> make;
};

// The in-memory fake and the calendar files in a temporary folder.
BackendKind fakeBackend();
BackendKind vdirBackend();

}  // namespace storetest
