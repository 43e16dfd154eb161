#include "EventLoop.h"
#include "X11KeysTest.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/hotkeys/X11HotKeyRegistrar.h"
#include "platform/keys/KeyTable.h"
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

using namespace Qt::Literals::StringLiterals;
using app::HotKeyAction;

constexpr xcb_keysym_t kControlL = 0xffe3;
constexpr xcb_keysym_t kAltL = 0xffe9;
constexpr xcb_keysym_t kEscape = 0xff1b;
constexpr xcb_keysym_t kShiftL = 0xffe1;
constexpr xcb_keysym_t kC = 'c';

// The Shortcuts tab on a real X server, typed into by a second client, with
// the X server's own key grabs.
class HotKeyRecorderOnX11 : public testsupport::X11KeysTest {
protected:
    void SetUp() override {
        X11KeysTest::SetUp();
        if (HasFatalFailure())
            return;
        hotKeys.bind(settings, [this](HotKeyAction action) {
            if (action == HotKeyAction::openPopover)
                ++popoverToggles;
        });
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    app::HotKeyManager hotKeys{registrar};
    int popoverToggles = 0;
    settings::SettingsTabModel tabs;
    settings::ShortcutsSettingsView view{settings, hotKeys, tabs};
};

// A grab takes its keys before any window of ours, so a field could never see
// a shortcut that is in use.
TEST_F(HotKeyRecorderOnX11, RecordingAShortcutInUseNeitherActsNorIsTakenAndEndingTakesTheGrabsAgain) {
    ASSERT_TRUE(hotKeys.isRegistered(HotKeyAction::openPopover));

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

// With Shift held the key event names the shifted symbol (! for 1, < for ,):
// the field must record the key itself, which is what a grab of it takes.
TEST_F(HotKeyRecorderOnX11, ShiftWithADigitOrPunctuationIsRecordedAsTheKeyItself) {
    settings::HotKeyRecorder* join = view.recorders()[1];
    ASSERT_EQ(join->model().action(), HotKeyAction::joinMeeting);

    namespace carbon = platform::keys::carbon;
    struct Case {
        xcb_keysym_t key;
        app::HotKeyCombo stored;
    };
    for (const Case& c : {Case{'1', {18, carbon::kCommand | carbon::kShift}},
                          Case{',', {43, carbon::kCommand | carbon::kShift}},
                          Case{'/', {44, carbon::kCommand | carbon::kOption | carbon::kShift}}}) {
        QTest::mouseClick(join->findChild<QAbstractButton*>(), Qt::LeftButton);
        ASSERT_TRUE(join->model().isRecording());
        if (c.stored.modifiers & carbon::kOption)
            keyboard.chord({kControlL, kAltL, kShiftL, c.key});
        else
            keyboard.chord({kControlL, kShiftL, c.key});
        EXPECT_TRUE(testsupport::waitUntil([&] { return !join->model().isRecording(); }, 3000))
            << "refused with " << join->model().hint().value_or(QString()).toStdString();
        EXPECT_EQ(settings.hotKeyJoinMeeting(), std::optional(c.stored)) << char(c.key);
        EXPECT_TRUE(hotKeys.isRegistered(HotKeyAction::joinMeeting)) << "the key recorded is the key grabbed";
    }
    EXPECT_EQ(join->model().face().keycaps, QStringList({u"Ctrl"_s, u"Alt"_s, u"Shift"_s, u"/"_s}));
}

}  // namespace
