// The card's window as the X server sees it: what a window manager reads to
// keep it on every workspace and out of the keyboard's way.

#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "alerts/MeetingCardPanel.h"

#include <QGuiApplication>
#include <QWindow>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection(),
                              xcb_intern_atom(connection(), 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> property(xcb_window_t window, const char* name, xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection(), xcb_get_property(connection(), 0, window, atom(name), type, 0, 64),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

TEST(MeetingCardWindow, AsksToBeOnEveryWorkspaceAboveOthersAndNeverForTheKeyboard) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
    testsupport::ScreenEnvironment environment(storetest::local(2026, 3, 10, 9, 29));
    alerts::MeetingCardPanel panel(environment.settings, environment.workspace, [] { return std::nullopt; });
    model::ODEvent event;
    event.id = u"standup|1"_s;
    event.title = u"Standup"_s;
    event.start = storetest::local(2026, 3, 10, 9, 30);
    event.end = storetest::local(2026, 3, 10, 9, 45);
    panel.present(event, {});
    xcb_flush(connection());
    const auto window = static_cast<xcb_window_t>(panel.windowHandle()->winId());

    const std::vector<std::uint32_t> states = property(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
    EXPECT_NE(std::find(states.begin(), states.end(), atom("_NET_WM_STATE_STICKY")), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), atom("_NET_WM_STATE_ABOVE")), states.end());
    EXPECT_EQ(property(window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL), std::vector<std::uint32_t>{0xFFFFFFFF});
    // WM_HINTS: flags, then input; the input hint present and false.
    const std::vector<std::uint32_t> hints = property(window, "WM_HINTS", atom("WM_HINTS"));
    ASSERT_GE(hints.size(), 2u);
    EXPECT_TRUE(hints[0] & 1u);
    EXPECT_EQ(hints[1], 0u);
}

}  // namespace
