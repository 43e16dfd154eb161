#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "state/AppSettings.h"
#include "state/HotKeyManager.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSignalSpy>

#include <vector>

namespace {

using app::HotKeyAction;
using app::HotKeyCombo;

class HotKeyManagerTest : public ::testing::Test {
protected:
    void bind() {
        manager.bind(settings, [this](HotKeyAction action) { pressed.push_back(action); });
    }
    std::vector<std::uint32_t> registeredIds() const {
        std::vector<std::uint32_t> ids;
        for (const auto& registration : registrar.registrations())
            ids.push_back(registration.id);
        return ids;
    }
    const platform::FakeHotKeyRegistrar::Registration* registrationOf(HotKeyAction action) const {
        for (const auto& registration : registrar.registrations()) {
            if (registration.id == static_cast<std::uint32_t>(action))
                return &registration;
        }
        return nullptr;
    }

    platform::InMemoryUserDefaults defaults;
    app::AppSettings settings{defaults};
    platform::FakeHotKeyRegistrar registrar;
    app::HotKeyManager manager{registrar};
    std::vector<HotKeyAction> pressed;
};

TEST_F(HotKeyManagerTest, BindRegistersTheThreeSettingsAndFollowsTheirChanges) {
    EXPECT_TRUE(registrar.registrations().empty());
    bind();
    EXPECT_EQ(registeredIds(), (std::vector<std::uint32_t>{1, 2, 3}));
    ASSERT_TRUE(registrationOf(HotKeyAction::quickCreate));
    EXPECT_EQ(registrationOf(HotKeyAction::quickCreate)->keyCode, 45u);
    EXPECT_EQ(registrationOf(HotKeyAction::quickCreate)->modifiers, 0x900u);

    // Clearing one unregisters only that one.
    const auto quickRef = registrationOf(HotKeyAction::quickCreate)->ref;
    settings.setHotKeyQuickCreate(std::nullopt);
    EXPECT_EQ(registeredIds(), (std::vector<std::uint32_t>{1, 3}));
    EXPECT_EQ(registrar.unregistered(), std::vector<platform::HotKeyRef>{quickRef});
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::quickCreate));
    EXPECT_TRUE(manager.isRegistered(HotKeyAction::openPopover));

    // A changed combination swaps the registration.
    settings.setHotKeyJoinMeeting(HotKeyCombo{0, 0x100});
    ASSERT_TRUE(registrationOf(HotKeyAction::joinMeeting));
    EXPECT_EQ(registrationOf(HotKeyAction::joinMeeting)->keyCode, 0u);
    EXPECT_EQ(registrar.registrations().size(), 2u);
}

TEST_F(HotKeyManagerTest, SameComboRegistersAgainUnderAFreshReference) {
    bind();
    const auto before = registrationOf(HotKeyAction::openPopover)->ref;
    settings.setHotKeyOpenPopover(settings.hotKeyOpenPopover());
    ASSERT_TRUE(registrationOf(HotKeyAction::openPopover));
    EXPECT_NE(registrationOf(HotKeyAction::openPopover)->ref, before);
    EXPECT_EQ(registrar.unregistered(), std::vector<platform::HotKeyRef>{before});
    EXPECT_TRUE(manager.isRegistered(HotKeyAction::openPopover));
}

TEST_F(HotKeyManagerTest, RefusedCombosLeaveNoEntryAndTheSettingStands) {
    registrar.refuse(8, 0x900);
    QSignalSpy changes(&manager, &app::HotKeyManager::registrationChanged);
    bind();
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::openPopover));
    EXPECT_EQ(settings.hotKeyOpenPopover(), (HotKeyCombo{8, 0x900}));
    EXPECT_EQ(registeredIds(), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(changes.count(), 2);

    // A second action on the keys of the first is refused, not shared.
    settings.setHotKeyJoinMeeting(settings.hotKeyQuickCreate());
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::joinMeeting));
    EXPECT_TRUE(manager.isRegistered(HotKeyAction::quickCreate));
    // Unregistering the refused one must not take the other's keys with it.
    settings.setHotKeyJoinMeeting(std::nullopt);
    EXPECT_TRUE(registrationOf(HotKeyAction::quickCreate));
}

// A grab without Ctrl, Alt or Super would take the key from every other program.
TEST_F(HotKeyManagerTest, CombinationsWithoutARealModifierAreNeverRegistered) {
    settings.setHotKeyQuickCreate(HotKeyCombo{0, 0x400});  // a bit no modifier has, as a damaged file may hold
    settings.setHotKeyOpenPopover(HotKeyCombo{8, 0x200});  // Shift alone
    settings.setHotKeyJoinMeeting(HotKeyCombo{38, 0});
    bind();
    EXPECT_TRUE(registrar.registrations().empty());
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::quickCreate));
    EXPECT_EQ(settings.hotKeyQuickCreate(), (HotKeyCombo{0, 0x400})) << "the setting stands";

    for (std::uint32_t modifiers : {0x100u, 0x800u, 0x1000u, 0x300u, 0x1600u}) {
        manager.registerHotKey(HotKeyAction::joinMeeting, HotKeyCombo{38, modifiers});
        EXPECT_TRUE(manager.isRegistered(HotKeyAction::joinMeeting)) << modifiers;
    }
}

TEST_F(HotKeyManagerTest, PressesReachTheHandlerLaterAndOnlyForKnownIds) {
    bind();
    registrar.press(2);
    EXPECT_TRUE(pressed.empty());  // never from inside the press
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, std::vector<HotKeyAction>{HotKeyAction::quickCreate});

    pressed.clear();
    registrar.press(0);
    registrar.press(4);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.empty());
}

TEST_F(HotKeyManagerTest, SecondBindReplacesTheHandlerWithoutASecondInstall) {
    bind();
    std::vector<HotKeyAction> second;
    platform::InMemoryUserDefaults otherDefaults;
    app::AppSettings other(otherDefaults);
    manager.bind(other, [&](HotKeyAction action) { second.push_back(action); });
    EXPECT_EQ(registrar.handlerInstalls(), 1);

    registrar.press(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.empty());
    EXPECT_EQ(second, std::vector<HotKeyAction>{HotKeyAction::openPopover});

    // The first settings no longer drive the registrations.
    settings.setHotKeyOpenPopover(std::nullopt);
    EXPECT_TRUE(manager.isRegistered(HotKeyAction::openPopover));
    other.setHotKeyOpenPopover(std::nullopt);
    EXPECT_FALSE(manager.isRegistered(HotKeyAction::openPopover));
}

TEST_F(HotKeyManagerTest, PressAfterTheManagerIsGoneIsDropped) {
    auto owned = std::make_unique<app::HotKeyManager>(registrar);
    int calls = 0;
    owned->bind(settings, [&](HotKeyAction) { ++calls; });
    registrar.press(1);
    owned.reset();
    registrar.press(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

}  // namespace
