#pragma once

#include "app/AppEnvironment.h"
#include "app/AppSettings.h"
#include "app/AppState.h"
#include "app/HotKeyManager.h"
#include "core/Clock.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/eventstore/FakeEventStore.h"
#include "platform/haptics/FakeHaptics.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/systemevents/FakeSystemEvents.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/ReminderCompletions.h"
#include "store/CalendarStore.h"

namespace testsupport {

// Everything a popover screen takes from its environment, on fakes, with the
// clock standing at `now` from before the store first loads.
struct ScreenEnvironment {
    explicit ScreenEnvironment(core::Date now) : clock(now) {}

    core::ScopedTestClock clock;
    platform::FakeEventStore ek;
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
    platform::FakeHotKeyRegistrar registrar;
    app::HotKeyManager hotKeys{registrar};
    platform::FakeSystemEvents systemEvents;
    platform::FakeWorkspace workspace;
    platform::FakeHaptics haptics;
    store::CalendarStore store{ek};
    popover::ReminderCompletions completions{store};
    app::AppEnvironment environment{store,        settings,  appState, hotKeys,
                                    systemEvents, workspace, haptics,  completions};

    void setAccess(platform::AuthorizationStatus events, platform::AuthorizationStatus reminders) {
        ek.setAuthorizationStatus(platform::EntityType::Event, events);
        ek.setAuthorizationStatus(platform::EntityType::Reminder, reminders);
        store.reload();
    }
};

}  // namespace testsupport
