#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "platform/loginitem/FakeLoginItem.h"
#include "platform/sound/FakeSoundPlayer.h"
#include "settings/SettingsTabModel.h"
#include "settings/SettingsWindow.h"
#include "settings/SettingsWindowController.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::SettingsTab;
using settings::SettingsWindowController;

namespace {

class SettingsWindow : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    SettingsWindow() : ScreenEnvironment(core::Date(1773131400)) {}

    QWidget& window() { return controller.window(); }
    void clickTab(SettingsTab tab) {
        QTest::mouseClick(controller.window().tabBar().button(tab), Qt::LeftButton);
    }

    platform::FakeSoundPlayer sound;
    platform::FakeLoginItem loginItem;
    SettingsWindowController controller{environment, sound, loginItem};
};

TEST_F(SettingsWindow, IsBuiltHiddenOnGeneralAtAFixedSize) {
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), u"General"_s);
    EXPECT_EQ(window().minimumSize(), QSize(560, 470));
    EXPECT_EQ(window().maximumSize(), QSize(560, 470));
    EXPECT_TRUE(window().isWindow());
    EXPECT_TRUE(controller.window().tabBar().button(SettingsTab::general)->isSelected());
}

TEST_F(SettingsWindow, KeepsItsTabFromOneShowingToTheNextAndSwitchesInPlaceWhileShown) {
    controller.show(std::nullopt);
    ASSERT_TRUE(window().isVisible());
    clickTab(SettingsTab::shortcuts);
    EXPECT_EQ(controller.selectedTab(), SettingsTab::shortcuts);
    EXPECT_EQ(window().windowTitle(), u"Shortcuts"_s);
    EXPECT_TRUE(controller.window().tabBar().button(SettingsTab::shortcuts)->isSelected());
    EXPECT_FALSE(controller.window().tabBar().button(SettingsTab::general)->isSelected());

    window().close();
    EXPECT_FALSE(window().isVisible());
    controller.show(std::nullopt);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(controller.selectedTab(), SettingsTab::shortcuts);

    window().move(40, 50);
    const QPoint place = window().pos();
    controller.show(SettingsTab::calendars);
    EXPECT_EQ(window().windowTitle(), u"Calendars"_s);
    EXPECT_EQ(window().pos(), place) << "a shown window keeps its place";
}

TEST_F(SettingsWindow, ClosingStopsARecorderAndReselectingATabKeepsItsView) {
    controller.show(SettingsTab::notifications);
    QWidget* const view = controller.window().tabView();
    clickTab(SettingsTab::notifications);
    EXPECT_EQ(controller.window().tabView(), view);

    controller.tabModel().setRecordingAction(app::HotKeyAction::quickCreate);
    window().close();
    EXPECT_FALSE(controller.tabModel().recordingAction());
    EXPECT_EQ(controller.selectedTab(), SettingsTab::notifications) << "the selection outlives the window's closing";
}

TEST_F(SettingsWindow, TheTabBarMarksTheSelectedTabInEitherAppearance) {
    ASSERT_TRUE(testsupport::missingFontFamilies().isEmpty());
    controller.tabModel().setSelection(SettingsTab::notifications);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(controller.window().tabBar(), 560, dark, u"settings-tabs"_s));
}

}  // namespace
