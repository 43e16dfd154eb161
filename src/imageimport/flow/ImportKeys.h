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

}  // namespace imageimport
