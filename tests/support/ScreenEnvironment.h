#pragma once

#include "core/Clock.h"
#include "imageimport/flow/ImageImportSession.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/eventstore/FakeEventStore.h"
#include "platform/haptics/FakeHaptics.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/systemevents/FakeSystemEvents.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/ReminderCompletions.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "state/HotKeyManager.h"
#include "store/CalendarStore.h"

namespace testsupport {

// Everything a popover screen takes from its environment but the calendars, on
// fakes, over the event store given (which must outlive it): a benchmark gives
// it a real folder of calendar files.
struct ScreenServices {
    explicit ScreenServices(platform::EventStore& ek) : store(ek) { appState.setImageImport(imageImport); }

    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::AppState appState;
    imageimport::ImageImportSession imageImport;
    platform::FakeHotKeyRegistrar registrar;
    app::HotKeyManager hotKeys{registrar};
    platform::FakeSystemEvents systemEvents;
    platform::FakeWorkspace workspace;
    platform::FakeHaptics haptics;
    store::CalendarStore store;
    popover::ReminderCompletions completions{store};
    app::AppEnvironment environment{store,        settings,  appState, hotKeys,
                                    systemEvents, workspace, haptics,  completions};
};

// The clock standing at `now` and the calendars on a fake, made before the
// store first loads.
struct FakeCalendars {
    explicit FakeCalendars(core::Date now) : clock(now) {}

    core::ScopedTestClock clock;
    platform::FakeEventStore ek;
};

// Everything a popover screen takes from its environment, on fakes, with the
// clock standing at `now` from before the store first loads.
struct ScreenEnvironment : FakeCalendars, ScreenServices {
    explicit ScreenEnvironment(core::Date now) : FakeCalendars(now), ScreenServices(ek) {}

    void setAccess(platform::AuthorizationStatus events, platform::AuthorizationStatus reminders) {
        ek.setAuthorizationStatus(platform::EntityType::Event, events);
        ek.setAuthorizationStatus(platform::EntityType::Reminder, reminders);
        store.reload();
    }
};

}  // namespace testsupport
