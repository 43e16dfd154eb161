#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/keys/KeyTable.h"
#include "settings/HotKeyRecorderModel.h"
#include "settings/SettingsTabModel.h"
#include "state/AppSettings.h"
#include "state/HotKeyManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Qt::Literals::StringLiterals;
using app::HotKeyAction;
using app::HotKeyCombo;
using settings::HotKeyRecorderModel;
namespace carbon = platform::keys::carbon;

constexpr std::uint32_t kCtrlAlt = carbon::kCommand | carbon::kOption;
const HotKeyCombo kCtrlAltC{8, kCtrlAlt};
const HotKeyCombo kCtrlAltN{45, kCtrlAlt};
const HotKeyCombo kCtrlAltJ{38, kCtrlAlt};

class HotKeyRecording : public ::testing::Test {
protected:
    HotKeyRecording() {
        hotKeys.bind(settings, [this](HotKeyAction action) { performed.push_back(action); });
    }

    HotKeyRecorderModel& field(HotKeyAction action) {
        auto& slot = fields[static_cast<size_t>(action) - 1];
        if (!slot)
            slot = std::make_unique<HotKeyRecorderModel>(action, settings, hotKeys, tabs);
        return *slot;
    }

    std::optional<HotKeyCombo> registered(HotKeyAction action) const {
        for (const auto& r : registrar.registrations()) {
            if (r.id == static_cast<std::uint32_t>(action))
                return HotKeyCombo{r.keyCode, r.modifiers};
        }
        return std::nullopt;
    }

    void expectAllRegisteredAsStored() const {
        for (HotKeyAction action : app::kAllHotKeyActions)
            EXPECT_EQ(registered(action), settings::storedHotKey(settings, action)) << settings::hotKeyActionLabel(action).toStdString();
    }

    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    platform::FakeHotKeyRegistrar registrar;
    app::HotKeyManager hotKeys{registrar};
    settings::SettingsTabModel tabs;
    std::vector<HotKeyAction> performed;
    std::array<std::unique_ptr<HotKeyRecorderModel>, 3> fields;
};

TEST_F(HotKeyRecording, RecordingReleasesEveryShortcutAndAnAcceptedOneIsStoredAndTakenWithTheOthers) {
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    ASSERT_EQ(registrar.registrations().size(), 3u);

    quick.toggleRecording();
    EXPECT_TRUE(quick.isRecording());
    EXPECT_TRUE(quick.isCapturing());
    EXPECT_EQ(tabs.recordingAction(), HotKeyAction::quickCreate);
    EXPECT_TRUE(registrar.registrations().empty()) << "a grab would take the keys before the field";
    EXPECT_EQ(quick.face().text, u"Type shortcut\u2026"_s);

    // Super+Shift+K: the modifiers are read in any order and shown in one.
    quick.modifiersChanged(Qt::MetaModifier);
    quick.modifiersChanged(Qt::MetaModifier | Qt::ShiftModifier);
    EXPECT_EQ(quick.face().keycaps, QStringList({u"Shift"_s, u"Super"_s}));
    EXPECT_TRUE(quick.keyPressed(Qt::Key_K, Qt::MetaModifier | Qt::ShiftModifier));

    EXPECT_FALSE(quick.isRecording());
    EXPECT_FALSE(quick.isCapturing());
    EXPECT_EQ(tabs.recordingAction(), std::nullopt);
    EXPECT_EQ(settings.hotKeyQuickCreate(), (HotKeyCombo{40, carbon::kControl | carbon::kShift}));
    expectAllRegisteredAsStored();
    EXPECT_EQ(quick.face().keycaps, QStringList({u"Shift"_s, u"Super"_s, u"K"_s}));
}

TEST_F(HotKeyRecording, BareDeleteClearsButWithAModifierItIsTheShortcutsKey) {
    HotKeyRecorderModel& join = field(HotKeyAction::joinMeeting);
    join.toggleRecording();
    EXPECT_TRUE(join.keyPressed(Qt::Key_Backspace, Qt::NoModifier));
    EXPECT_EQ(settings.hotKeyJoinMeeting(), std::nullopt);
    EXPECT_FALSE(join.isRecording());
    EXPECT_EQ(registered(HotKeyAction::joinMeeting), std::nullopt);
    EXPECT_EQ(registered(HotKeyAction::openPopover), kCtrlAltC) << "the others are taken again";
    EXPECT_EQ(join.face().style, HotKeyRecorderModel::Face::Style::placeholder);
    EXPECT_EQ(join.face().text, u"Record shortcut"_s);
    EXPECT_TRUE(join.isAccessoryEnabled());

    join.toggleRecording();
    EXPECT_TRUE(join.keyPressed(Qt::Key_Backspace, Qt::ControlModifier));
    EXPECT_EQ(settings.hotKeyJoinMeeting(), (HotKeyCombo{51, carbon::kCommand}));
    EXPECT_EQ(registered(HotKeyAction::joinMeeting), (HotKeyCombo{51, carbon::kCommand}));

    join.toggleRecording();
    join.keyPressed(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(settings.hotKeyJoinMeeting(), std::nullopt) << "forward delete clears too";
}

TEST_F(HotKeyRecording, EveryWayOutWithoutANewShortcutKeepsTheStoredOneAndTakesItAgain) {
    HotKeyRecorderModel& open = field(HotKeyAction::openPopover);
    const auto escape = [&] { return open.keyPressed(Qt::Key_Escape, Qt::NoModifier); };
    const auto secondClick = [&] {
        open.toggleRecording();
        return true;
    };
    const auto cancelButton = [&] {
        open.clickAccessory();
        return true;
    };
    const auto windowCloses = [&] {
        tabs.setRecordingAction(std::nullopt);
        return true;
    };
    const auto fieldLeaves = [&] {
        open.disappear();
        return true;
    };
    for (const auto& way : std::vector<std::function<bool()>>{escape, secondClick, cancelButton, windowCloses,
                                                              fieldLeaves}) {
        open.toggleRecording();
        ASSERT_TRUE(open.isCapturing());
        EXPECT_EQ(open.accessoryHelp(), u"Cancel"_s);
        EXPECT_TRUE(way());
        EXPECT_FALSE(open.isCapturing());
        EXPECT_FALSE(open.isRecording());
        EXPECT_EQ(settings.hotKeyOpenPopover(), kCtrlAltC);
        expectAllRegisteredAsStored();
    }
}

TEST_F(HotKeyRecording, RefusedKeysLeaveTheFieldRecordingWithAHint) {
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    quick.toggleRecording();
    const std::vector<std::pair<int, Qt::KeyboardModifiers>> needModifier = {
        {Qt::Key_A, Qt::NoModifier},     {Qt::Key_A, Qt::ShiftModifier}, {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier},   {Qt::Key_Space, Qt::NoModifier}, {Qt::Key_F5, Qt::NoModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : needModifier) {
        EXPECT_TRUE(quick.keyPressed(key, modifiers)) << key;
        EXPECT_EQ(quick.hint(), u"Add Ctrl, Alt or Super"_s) << key;
    }
    const std::vector<std::pair<int, Qt::KeyboardModifiers>> unsupported = {
        {Qt::Key_Escape, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ControlModifier},
        {Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier},
        {Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier},
        {Qt::Key_F13, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : unsupported) {
        EXPECT_TRUE(quick.keyPressed(key, modifiers)) << key;
        EXPECT_EQ(quick.hint(), u"Key not supported"_s) << key;
    }
    EXPECT_TRUE(quick.isRecording());
    EXPECT_EQ(settings.hotKeyQuickCreate(), kCtrlAltN);
    EXPECT_TRUE(registrar.registrations().empty());

    // The hint stays under the field while the modifiers held show in it.
    EXPECT_EQ(quick.message(), u"Key not supported"_s);
    quick.modifiersChanged(Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(quick.face().keycaps, QStringList({u"Ctrl"_s, u"Alt"_s}));
    EXPECT_EQ(quick.message(), u"Key not supported"_s);
    quick.modifiersChanged(Qt::NoModifier);
    EXPECT_EQ(quick.face().text, u"Type shortcut\u2026"_s);

    quick.toggleRecording();
    quick.toggleRecording();
    EXPECT_EQ(quick.message(), std::nullopt) << "a new recording starts without the old hint";
}

// Shift turns 1 into ! in the key event: the key the platform names is recorded.
TEST_F(HotKeyRecording, AKeyThePlatformNamesIsRecordedAsItselfWhateverShiftMadeOfIt) {
    constexpr std::uint32_t kScanCodeOfOne = 10;
    registrar.mapKey(kScanCodeOfOne, 18);
    HotKeyRecorderModel& join = field(HotKeyAction::joinMeeting);
    join.toggleRecording();
    EXPECT_TRUE(join.keyPressed(Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, kScanCodeOfOne));
    EXPECT_EQ(settings.hotKeyJoinMeeting(), (HotKeyCombo{18, carbon::kCommand | carbon::kShift}));

    join.toggleRecording();
    EXPECT_TRUE(join.keyPressed(Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 99));
    EXPECT_EQ(join.hint(), u"Key not supported"_s) << "a key the platform does not name goes by its symbol";
    EXPECT_TRUE(join.keyPressed(Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier, kScanCodeOfOne));
    EXPECT_EQ(join.hint(), u"Key not supported"_s) << "the keypad stays out";
}

TEST_F(HotKeyRecording, AShortcutOfAnotherActionIsRefusedByName) {
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    quick.toggleRecording();
    EXPECT_TRUE(quick.keyPressed(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_EQ(quick.hint(), u"Already used for Open Orbitday"_s);
    EXPECT_TRUE(quick.isRecording());
    EXPECT_EQ(settings.hotKeyQuickCreate(), kCtrlAltN);

    EXPECT_TRUE(quick.keyPressed(Qt::Key_N, Qt::ControlModifier | Qt::AltModifier))
        << "its own stored shortcut is recorded again";
    EXPECT_FALSE(quick.isRecording());
    expectAllRegisteredAsStored();
    EXPECT_TRUE(performed.empty());
}

TEST_F(HotKeyRecording, StartingAnotherFieldHandsOverAndTheLastToEndTakesTheShortcutsAgain) {
    HotKeyRecorderModel& open = field(HotKeyAction::openPopover);
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    open.toggleRecording();
    quick.toggleRecording();
    EXPECT_FALSE(open.isCapturing());
    EXPECT_FALSE(open.isRecording());
    EXPECT_TRUE(quick.isCapturing());
    EXPECT_FALSE(open.keyPressed(Qt::Key_K, Qt::ControlModifier)) << "only the field that records reads keys";
    EXPECT_TRUE(registrar.registrations().empty()) << "still recording: nothing is taken yet";

    quick.keyPressed(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(settings.hotKeyOpenPopover(), kCtrlAltC);
    expectAllRegisteredAsStored();
}

// A shortcut taken while a field records would act on the very keys the
// user is pressing to record.
TEST_F(HotKeyRecording, AShortcutChangedWhileAnotherFieldRecordsIsTakenOnlyWhenTheRecordingEnds) {
    HotKeyRecorderModel& open = field(HotKeyAction::openPopover);
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    open.toggleRecording();
    open.keyPressed(Qt::Key_Backspace, Qt::NoModifier);
    ASSERT_EQ(settings.hotKeyOpenPopover(), std::nullopt);

    quick.toggleRecording();
    ASSERT_TRUE(quick.isCapturing());
    open.clickAccessory();
    EXPECT_EQ(settings.hotKeyOpenPopover(), kCtrlAltC);
    EXPECT_TRUE(registrar.registrations().empty()) << "the reset took its grab during the recording";
    settings.setHotKeyJoinMeeting(HotKeyCombo{40, kCtrlAlt});
    EXPECT_TRUE(registrar.registrations().empty()) << "a change from elsewhere took its grab";
    EXPECT_TRUE(quick.isCapturing());

    quick.keyPressed(Qt::Key_Escape, Qt::NoModifier);
    expectAllRegisteredAsStored();
    EXPECT_EQ(registered(HotKeyAction::openPopover), kCtrlAltC);
}

TEST_F(HotKeyRecording, TheResetButtonRestoresTheDefaultAndIsOffWhileItIsStored) {
    HotKeyRecorderModel& open = field(HotKeyAction::openPopover);
    EXPECT_FALSE(open.isAccessoryEnabled());
    EXPECT_EQ(open.accessoryHelp(), u"Default"_s);
    EXPECT_EQ(open.accessorySymbol(), u"arrow.counterclockwise"_s);

    open.toggleRecording();
    open.keyPressed(Qt::Key_K, Qt::MetaModifier | Qt::ShiftModifier);
    EXPECT_TRUE(open.isAccessoryEnabled());
    EXPECT_EQ(open.accessoryHelp(), u"Reset to Ctrl+Alt+C"_s);
    open.clickAccessory();
    EXPECT_EQ(settings.hotKeyOpenPopover(), kCtrlAltC);
    EXPECT_EQ(registered(HotKeyAction::openPopover), kCtrlAltC);
}

TEST_F(HotKeyRecording, AStoredShortcutThatIsNotInEffectSaysWhy) {
    HotKeyRecorderModel& open = field(HotKeyAction::openPopover);
    HotKeyRecorderModel& quick = field(HotKeyAction::quickCreate);
    HotKeyRecorderModel& join = field(HotKeyAction::joinMeeting);
    EXPECT_EQ(open.problem(), std::nullopt);

    // Another program holds it.
    registrar.refuse(kCtrlAltJ.keyCode, kCtrlAltJ.modifiers);
    settings.setHotKeyJoinMeeting(kCtrlAltJ);
    EXPECT_EQ(join.problem(), u"Not active: refused by the desktop"_s);

    // A duplicate from the settings file or a reset: the second is refused.
    settings.setHotKeyQuickCreate(kCtrlAltC);
    EXPECT_EQ(quick.problem(), u"Not active: also set for Open Orbitday"_s);
    EXPECT_EQ(open.problem(), std::nullopt);

    // A settings file may hold a shortcut without Ctrl, Alt or Super.
    settings.setHotKeyQuickCreate(HotKeyCombo{0, carbon::kShift});
    EXPECT_EQ(quick.problem(), u"Not active: it needs Ctrl, Alt or Super"_s);

    // While a field records, every shortcut is off on purpose.
    open.toggleRecording();
    EXPECT_EQ(join.problem(), std::nullopt);
    EXPECT_EQ(quick.problem(), std::nullopt);
    open.cancel();
    EXPECT_TRUE(join.problem().has_value());

    settings.setHotKeyJoinMeeting(std::nullopt);
    EXPECT_EQ(join.problem(), std::nullopt) << "no shortcut is not a fault";
}

TEST_F(HotKeyRecording, AFieldDestroyedWhileRecordingTakesTheShortcutsAgain) {
    field(HotKeyAction::joinMeeting).toggleRecording();
    ASSERT_TRUE(registrar.registrations().empty());
    fields[2].reset();
    expectAllRegisteredAsStored();
    EXPECT_EQ(tabs.recordingAction(), std::nullopt);
}

}  // namespace
