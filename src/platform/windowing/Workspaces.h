#pragma once

class QWindow;

namespace platform {

// Asks the window manager to show the window on every workspace (virtual
// desktop) and keep it there as the user switches: sticky in EWMH words. Call
// it once the window exists, before it is first shown. Does nothing where
// windows cannot be placed on workspaces by their program (Wayland, off screen).
void keepOnAllWorkspaces(QWindow* window);

}  // namespace platform
