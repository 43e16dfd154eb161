#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"
#include "platform/loginitem/FakeLoginItem.h"
#include "platform/sound/FakeSoundPlayer.h"
#include "settings/HotKeyRecorder.h"
#include "settings/HotKeyRecorderModel.h"
#include "settings/SettingsTabModel.h"
#include "settings/SettingsWindow.h"
#include "settings/SettingsWindowController.h"
#include "settings/ShortcutsSettingsView.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;
using app::SettingsTab;
using platform::EntityType;

class SettingsWindowTabs : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    SettingsWindowTabs() : ScreenEnvironment(storetest::local(2026, 3, 10, 9, 0)) {
        hotKeys.bind(settings, [](app::HotKeyAction) {});
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    settings::ShortcutsSettingsView& shortcuts() {
        controller.show(SettingsTab::shortcuts);
        auto* view = qobject_cast<settings::ShortcutsSettingsView*>(controller.window().tabView());
        EXPECT_NE(view, nullptr);
        return *view;
    }

    platform::FakeSoundPlayer sound;
    platform::FakeLoginItem loginItem;
    settings::SettingsWindowController controller{environment, sound, loginItem};
};

TEST_F(SettingsWindowTabs, ChoosingAnotherTabOrClosingTheWindowEndsARecordingAndTakesTheShortcutsAgain) {
    shortcuts().recorders()[2]->model().toggleRecording();
    ASSERT_TRUE(registrar.registrations().empty());
    QTest::mouseClick(controller.window().tabBar().button(SettingsTab::general), Qt::LeftButton);
    EXPECT_EQ(controller.tabModel().recordingAction(), std::nullopt);
    EXPECT_EQ(registrar.registrations().size(), 3u);

    shortcuts().recorders()[0]->model().toggleRecording();
    ASSERT_TRUE(registrar.registrations().empty());
    controller.window().close();
    EXPECT_EQ(controller.tabModel().recordingAction(), std::nullopt);
    EXPECT_EQ(registrar.registrations().size(), 3u);
}

TEST_F(SettingsWindowTabs, TheShortcutsAndCalendarsTabsInTheWindow) {
    ek.addCalendar(EntityType::Event, u"Team"_s, core::Color::fromHex(u"#3B82F6"_s), u"iCloud"_s);
    ek.addCalendar(EntityType::Event, u"Home"_s, core::Color::fromHex(u"#22A06B"_s));
    store.reload();
    for (const auto& [tab, name] : {std::pair{SettingsTab::shortcuts, u"settings-window-shortcuts"_s},
                                    std::pair{SettingsTab::calendars, u"settings-window-calendars"_s}}) {
        controller.show(tab);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        for (const bool dark : {false, true})
            EXPECT_TRUE(testsupport::rendersAsReference(controller.window(), 560, dark, name)) << name.toStdString();
    }
}

}  // namespace
