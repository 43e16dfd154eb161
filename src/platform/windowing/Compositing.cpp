#include "platform/windowing/Compositing.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace platform {

namespace {

bool x11Composites(xcb_connection_t* connection) {
    // Multi-screen X servers are rare; the first screen's manager speaks for the desktop.
    static constexpr char kSelection[] = "_NET_WM_CM_S0";
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(sizeof kSelection - 1), kSelection);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, atomCookie, nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

}  // namespace

bool desktopComposites() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
    if (platform != QLatin1String("xcb") || !qGuiApp)
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && x11->connection() && x11Composites(x11->connection());
}

}  // namespace platform
