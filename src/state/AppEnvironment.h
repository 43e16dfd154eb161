#pragma once

namespace platform {
class Haptics;
class SystemEvents;
class Workspace;
}  // namespace platform
namespace popover {
class ReminderCompletions;
}
namespace store {
class CalendarStore;
}

namespace app {

class AppSettings;
class AppState;
class HotKeyManager;

// The long-lived objects every screen and controller may use. The application
// delegate owns them for the life of the process; everyone else holds this
// bundle of references and owns none of them.
struct AppEnvironment {
    store::CalendarStore& store;
    AppSettings& settings;
    AppState& appState;
    HotKeyManager& hotKeys;
    // Day changes and wake-ups, for whatever shows the time.
    platform::SystemEvents& systemEvents;
    // Addresses, the clipboard and the keys held, for actions that leave the app.
    platform::Workspace& workspace;
    platform::Haptics& haptics;
    // Reminders ticked in the popover and not yet completed: they outlive its screens.
    ::popover::ReminderCompletions& reminderCompletions;
};

}  // namespace app
