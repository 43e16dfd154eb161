#include "EventLoop.h"
#include "XTestKeyboard.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/hotkeys/X11HotKeyRegistrar.h"
#include "settings/HotKeyRecorder.h"
#include "settings/HotKeyRecorderModel.h"
#include "settings/SettingsTabModel.h"
#include "settings/ShortcutsSettingsView.h"
#include "state/AppSettings.h"
#include "state/HotKeyManager.h"

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using app::HotKeyAction;

constexpr xcb_keysym_t kControlL = 0xffe3;
constexpr xcb_keysym_t kAltL = 0xffe9;
constexpr xcb_keysym_t kEscape = 0xff1b;
constexpr xcb_keysym_t kC = 'c';

// The real key grabs of the X server: a grab takes its keys before any window
// of ours, so a field could never see a shortcut that is in use.
TEST(HotKeyRecorderOnX11, RecordingAShortcutInUseNeitherActsNorIsTakenAndEndingTakesTheGrabsAgain) {
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "x11");
    testsupport::XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.ok());
    platform::X11HotKeyRegistrar registrar;
    ASSERT_TRUE(registrar.isAvailable());

    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings(defaults);
    app::HotKeyManager hotKeys(registrar);
    int popoverToggles = 0;
    hotKeys.bind(settings, [&](HotKeyAction action) {
        if (action == HotKeyAction::openPopover)
            ++popoverToggles;
    });
    ASSERT_TRUE(hotKeys.isRegistered(HotKeyAction::openPopover));

    settings::SettingsTabModel tabs;
    settings::ShortcutsSettingsView view(settings, hotKeys, tabs);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));

    keyboard.chord({kControlL, kAltL, kC});
    ASSERT_TRUE(testsupport::waitUntil([&] { return popoverToggles == 1; }, 3000)) << "the grab works";

    settings::HotKeyRecorder* quickAdd = view.recorders()[2];
    ASSERT_EQ(quickAdd->model().action(), HotKeyAction::quickCreate);
    QTest::mouseClick(quickAdd->findChild<QAbstractButton*>(), Qt::LeftButton);
    ASSERT_TRUE(quickAdd->model().isRecording());

    keyboard.chord({kControlL, kAltL, kC});
    EXPECT_TRUE(testsupport::waitUntil([&] { return quickAdd->model().hint().has_value(); }, 3000))
        << "the keys reach the field";
    EXPECT_EQ(quickAdd->model().hint(), QStringLiteral("Already used for Open Orbitday"));
    testsupport::spinEventLoop(200);
    EXPECT_EQ(popoverToggles, 1) << "the popover is not toggled";
    EXPECT_EQ(settings.hotKeyQuickCreate(), app::AppSettings::defaultHotKeyQuickCreate());

    keyboard.chord({kEscape});
    ASSERT_TRUE(testsupport::waitUntil([&] { return !quickAdd->model().isRecording(); }, 3000));
    EXPECT_TRUE(hotKeys.isRegistered(HotKeyAction::openPopover));
    EXPECT_TRUE(hotKeys.isRegistered(HotKeyAction::quickCreate));
    keyboard.chord({kControlL, kAltL, kC});
    EXPECT_TRUE(testsupport::waitUntil([&] { return popoverToggles == 2; }, 3000)) << "the grab is back";
}

}  // namespace
