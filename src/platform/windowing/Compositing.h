#pragma once

namespace platform {

// Whether a compositor blends our windows now, so that they can fade and have
// see-through corners. Always on Wayland; on X11 while a compositing manager
// holds its selection; never on platforms that draw off screen. Cheap enough
// to ask before each animation: compositors come and go.
bool desktopComposites();

}  // namespace platform
