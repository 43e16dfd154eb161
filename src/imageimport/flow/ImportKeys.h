#pragma once

namespace app {
class AppState;
}
namespace store {
class CalendarStore;
}

namespace imageimport {

// Whether the popover's import keys act now: with calendar access, on the main,
// quick-add or import screen (never over the editor or the permission screens).
bool importKeysApply(const app::AppState& appState, const store::CalendarStore& store);
// Whether an image dropped on the popover is taken now: with calendar access, on
// every screen but the permission screens.
bool importDropsApply(const app::AppState& appState, const store::CalendarStore& store);

}  // namespace imageimport
