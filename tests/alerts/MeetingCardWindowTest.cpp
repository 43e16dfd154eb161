// The card's window as the X server sees it: what a window manager reads to
// keep it on every workspace and out of the keyboard's way until it is clicked.

#include "EventLoop.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "XTestKeyboard.h"
#include "alerts/MeetingCardPanel.h"
#include "alerts/MeetingCardView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr xcb_keysym_t kTab = 0xff09;
constexpr xcb_keysym_t kReturn = 0xff0d;

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

model::ODEvent meeting() {
    model::ODEvent event;
    event.id = u"standup|1"_s;
    event.title = u"Standup"_s;
    event.start = storetest::local(2026, 3, 10, 9, 30);
    event.end = storetest::local(2026, 3, 10, 9, 45);
    event.meeting = model::MeetingLink{model::MeetingProvider::zoom, QUrl(u"https://zoom.us/j/1"_s)};
    return event;
}

TEST(MeetingCardWindow, AsksToBeOnEveryWorkspaceAboveOthersAndNotToBeFocusedAsItMaps) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
    testsupport::ScreenEnvironment environment(storetest::local(2026, 3, 10, 9, 29));
    alerts::MeetingCardPanel panel(environment.settings, environment.workspace, [] { return std::nullopt; });
    panel.present(meeting(), {});
    xcb_flush(connection());
    const auto window = static_cast<xcb_window_t>(panel.windowHandle()->winId());

    const std::vector<std::uint32_t> states = property(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
    EXPECT_NE(std::find(states.begin(), states.end(), atom("_NET_WM_STATE_STICKY")), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), atom("_NET_WM_STATE_ABOVE")), states.end());
    EXPECT_EQ(property(window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL), std::vector<std::uint32_t>{0xFFFFFFFF});
    // A user time of 0 asks the window manager not to focus the card as it maps.
    EXPECT_EQ(property(window, "_NET_WM_USER_TIME", XCB_ATOM_CARDINAL), std::vector<std::uint32_t>{0});
}

// The card comes without taking the keyboard from the window being typed in,
// but once clicked its buttons are reached by Tab and pressed by keys.
TEST(MeetingCardWindow, TakesTheKeyboardOnlyWhenClickedAndThenItsButtonsAnswerKeys) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
    testsupport::XTestKeyboard user;
    ASSERT_TRUE(user.ok());
    testsupport::ScreenEnvironment environment(storetest::local(2026, 3, 10, 9, 29));
    QWidget typing;
    typing.setWindowTitle(u"Editor"_s);
    typing.resize(200, 100);
    typing.move(40, 400);
    typing.show();
    typing.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing));

    alerts::MeetingCardPanel panel(environment.settings, environment.workspace, [] { return std::nullopt; });
    panel.setAnimationPolicy([] { return false; });
    QStringList pressed;
    panel.present(meeting(), {[&] { pressed << u"join"_s; }, {}, {}, [&] { pressed << u"close"_s; }});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    testsupport::spinEventLoop(100);
    EXPECT_TRUE(typing.isActiveWindow()) << "the card took the keyboard as it came";
    EXPECT_FALSE(panel.isActiveWindow());

    // On the countdown tile, which is no button.
    const QPoint tile = panel.mapToGlobal(QPoint(40, 80));
    user.clickAt(static_cast<std::int16_t>(tile.x()), static_cast<std::int16_t>(tile.y()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return panel.isActiveWindow(); }, 3000)) << "a click gives it the keyboard";
    EXPECT_TRUE(pressed.isEmpty());

    QAbstractButton* join = panel.card()->joinButton();
    for (int tabs = 0; tabs < 8 && QApplication::focusWidget() != join; ++tabs) {
        user.chord({kTab});
        testsupport::spinEventLoop(20);
    }
    ASSERT_EQ(QApplication::focusWidget(), join);
    user.chord({kReturn});
    EXPECT_TRUE(testsupport::waitUntil([&] { return !pressed.isEmpty(); }, 3000));
    EXPECT_EQ(pressed, QStringList{u"join"_s});
}

}  // namespace
