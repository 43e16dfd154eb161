#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/hotkeys/X11HotKeyRegistrar.h"
#include "platform/keys/KeyTable.h"
#include "state/AppSettings.h"
#include "state/HotKeyManager.h"

#include "EventLoop.h"
#include "X11KeysTest.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>


#include <functional>
#include <initializer_list>

namespace {

using app::HotKeyAction;
using app::HotKeyCombo;
namespace carbon = platform::keys::carbon;

constexpr xcb_keysym_t kControlL = 0xffe3;
constexpr xcb_keysym_t kAltL = 0xffe9;
constexpr xcb_keysym_t kNumLock = 0xff7f;
constexpr xcb_keysym_t kJ = 'j';
constexpr xcb_keysym_t kK = 'k';
constexpr std::uint32_t kCarbonJ = 38;
constexpr std::uint32_t kCarbonK = 40;

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    return testsupport::waitUntil(done, milliseconds);
}

void settle(int milliseconds) {
    testsupport::spinEventLoop(milliseconds);
}

using X11HotKeys = testsupport::X11KeysTest;

TEST_F(X11HotKeys, GrabFiresOnceOnTheMainThreadAlsoWithNumLockAndStopsWhenCleared) {
    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings(defaults);
    settings.setHotKeyOpenPopover(std::nullopt);
    settings.setHotKeyQuickCreate(std::nullopt);
    ASSERT_EQ(settings.hotKeyJoinMeeting(), (HotKeyCombo{kCarbonJ, carbon::kCommand | carbon::kOption}));

    app::HotKeyManager manager(registrar);
    int presses = 0;
    bool onMainThread = true;
    manager.bind(settings, [&](HotKeyAction action) {
        EXPECT_EQ(action, HotKeyAction::joinMeeting);
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        ++presses;
    });
    ASSERT_TRUE(manager.isRegistered(HotKeyAction::joinMeeting));

    keyboard.chord({kControlL, kAltL, kJ});
    EXPECT_TRUE(waitFor([&] { return presses > 0; }, 3000));
    settle(200);
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(onMainThread);

    // Without the modifiers the key is the user's, not ours.
    keyboard.chord({kJ});
    settle(200);
    EXPECT_EQ(presses, 1);

    keyboard.chord({kNumLock});
    keyboard.chord({kControlL, kAltL, kJ});
    EXPECT_TRUE(waitFor([&] { return presses == 2; }, 3000));
    keyboard.chord({kNumLock});

    settings.setHotKeyJoinMeeting(std::nullopt);
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::joinMeeting));
    keyboard.chord({kControlL, kAltL, kJ});
    settle(300);
    EXPECT_EQ(presses, 2);
}

// Held past the keyboard's repeat delay, a key repeats; the shortcut must act once.
TEST_F(X11HotKeys, HoldingAShortcutActsOnceUntilItIsReleased) {
    int presses = 0;
    registrar.setPressHandler([&](std::uint32_t) { ++presses; });
    ASSERT_TRUE(registrar.registerHotKey(kCarbonJ, carbon::kCommand | carbon::kOption, 3));

    keyboard.hold({kControlL, kAltL, kJ});
    settle(1100);
    keyboard.release({kControlL, kAltL, kJ});
    settle(100);
    EXPECT_EQ(presses, 1);

    // Pressed again, it acts again.
    keyboard.chord({kControlL, kAltL, kJ});
    EXPECT_TRUE(waitFor([&] { return presses == 2; }, 3000));
}

TEST_F(X11HotKeys, GrabHeldByAnotherClientOrAnotherIdIsRefused) {
    keyboard.grab(kK, 0x04 | 0x08);  // Control + Mod1
    EXPECT_FALSE(registrar.registerHotKey(kCarbonK, carbon::kCommand | carbon::kOption, 1));

    const auto first = registrar.registerHotKey(kCarbonJ, carbon::kCommand | carbon::kShift, 1);
    ASSERT_TRUE(first);
    EXPECT_FALSE(registrar.registerHotKey(kCarbonJ, carbon::kCommand | carbon::kShift, 2));
    // A key code without a key is refused rather than grabbing something else.
    EXPECT_FALSE(registrar.registerHotKey(200, carbon::kCommand, 3));

    // Releasing and taking it again works: the refusal left no grab behind.
    registrar.unregisterHotKey(*first);
    EXPECT_TRUE(registrar.registerHotKey(kCarbonJ, carbon::kCommand | carbon::kShift, 2));
}

TEST(X11HotKeysUnavailable, WaylandSessionRefusesEveryRegistration) {
    const QByteArray previous = qgetenv("WAYLAND_DISPLAY");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    platform::X11HotKeyRegistrar registrar;
    EXPECT_FALSE(registrar.isAvailable());
    EXPECT_FALSE(registrar.registerHotKey(kCarbonJ, carbon::kCommand, 1));
    registrar.unregisterHotKey(platform::HotKeyRef{1});
    if (previous.isEmpty())
        qunsetenv("WAYLAND_DISPLAY");
    else
        qputenv("WAYLAND_DISPLAY", previous);
}

TEST(X11HotKeysUnavailable, MissingDisplayRefusesEveryRegistration) {
    platform::X11HotKeyRegistrar registrar(QByteArrayLiteral(":4242"));
    EXPECT_FALSE(registrar.isAvailable());
    EXPECT_FALSE(registrar.registerHotKey(kCarbonJ, carbon::kCommand, 1));
}

}  // namespace
