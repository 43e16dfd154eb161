#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitMenu.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSegmented.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/TextBlock.h"
#include "platform/loginitem/FakeLoginItem.h"
#include "platform/sound/FakeSoundPlayer.h"
#include "settings/CustomDateFormatPopover.h"
#include "settings/GeneralSettingsView.h"
#include "settings/NotificationsSettingsView.h"
#include "settings/SettingsTabModel.h"
#include "settings/SettingsWindow.h"
#include "settings/SettingsWindowController.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>
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
    settings::SettingsTabContext SettingsTabContext() { return {environment, controller.tabModel(), sound, loginItem}; }
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

// Which tab buttons show the focus ring.
QList<SettingsTab> ringed(settings::SettingsTabBar& bar) {
    QList<SettingsTab> tabs;
    for (const SettingsTab tab : app::kAllSettingsTabs)
        if (const auto* ring = bar.button(tab)->findChild<design::FocusRing*>(); ring && ring->isShown())
            tabs << tab;
    return tabs;
}

TEST_F(SettingsWindow, TheTabBarsFocusGoesWithTheClickedTabAndItsRingOnlyWhereKeysTookIt) {
    controller.show(SettingsTab::general);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    settings::SettingsTabBar& bar = controller.window().tabBar();
    EXPECT_EQ(QApplication::focusWidget(), bar.button(SettingsTab::general));
    EXPECT_TRUE(ringed(bar).isEmpty()) << "the first focus a window hands out shows none";

    // Keys typed while the focus sits quietly on the tab show where it is.
    QTest::keyClick(window().windowHandle(), Qt::Key_A);
    EXPECT_EQ(ringed(bar), QList{SettingsTab::general});
    clickTab(SettingsTab::notifications);
    EXPECT_EQ(QApplication::focusWidget(), bar.button(SettingsTab::notifications));
    EXPECT_TRUE(ringed(bar).isEmpty()) << "a ring stayed behind on a tab the user left";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(ringed(bar), QList{SettingsTab::shortcuts});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(controller.tabModel().selection(), SettingsTab::shortcuts);
    EXPECT_EQ(ringed(bar), QList{SettingsTab::shortcuts});

    // Opened at another tab, the window's focus is on that tab.
    controller.window().close();
    controller.show(SettingsTab::calendars);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(QApplication::focusWidget(), bar.button(SettingsTab::calendars));
}

TEST_F(SettingsWindow, ATabWithTheKeyboardsFocusWearsTheKitsRingInEitherAppearance) {
    ASSERT_TRUE(testsupport::missingFontFamilies().isEmpty());
    controller.show(SettingsTab::general);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    clickTab(SettingsTab::notifications);
    // The offscreen platform takes the window's activation away as a tab's
    // view is replaced; the ring shows only in an active window.
    QCoreApplication::processEvents();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(ringed(controller.window().tabBar()), QList{SettingsTab::calendars});
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(controller.window().tabBar(), 560, dark, u"settings-tabs-focus"_s));
}

// Chooses the row of that title in the button's menu, as a click on it would.
void choose(design::MenuButtonControl& button, const QString& title) {
    const std::unique_ptr<design::KitMenu> menu = button.buildMenu();
    for (QAction* action : menu->actions())
        if (const design::MenuRow* row = menu->row(action); row && row->title == title) {
            action->trigger();
            return;
        }
    ADD_FAILURE() << "no row " << title.toStdString();
}

// The row's second line, empty while it has none.
QString detailOf(const design::SettingsRow& row) {
    for (const design::TextBlock* block : row.findChildren<design::TextBlock*>())
        if (block->text() != row.label() && !block->isHidden())
            return block->text();
    return {};
}

QString shown(const design::MenuButtonControl& button) {
    const auto index = button.currentIndex();
    return index ? button.entries()[*index].row.title : button.placeholder();
}

class SettingsTabs : public SettingsWindow {
protected:
    settings::GeneralSettingsView& general() {
        controller.show(SettingsTab::general);
        return *qobject_cast<settings::GeneralSettingsView*>(controller.window().tabView());
    }
    settings::NotificationsSettingsView& notifications() {
        controller.show(SettingsTab::notifications);
        return *qobject_cast<settings::NotificationsSettingsView*>(controller.window().tabView());
    }
};

TEST_F(SettingsTabs, GeneralWritesEachChoiceAtOnceAndTheTrayDisplayFollowsIt) {
    settings::GeneralSettingsView& tab = general();
    tab.displayMode().segments()[0]->click();
    EXPECT_EQ(settings.menuBarDisplayMode(), app::MenuBarDisplayMode::icon);
    EXPECT_EQ(defaults.object(u"menuBarDisplayMode"_s).toString(), u"icon"_s);
    choose(tab.dateFormat(), u"2026-03-10"_s);
    EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::iso);
    EXPECT_EQ(shown(tab.dateFormat()), u"2026-03-10"_s);
    tab.appearance().segments()[2]->click();
    EXPECT_EQ(settings.appearance(), app::AppearanceMode::dark);
    choose(tab.firstWeekday(), u"Saturday"_s);
    EXPECT_EQ(settings.firstWeekday(), app::FirstWeekday::saturday);
    tab.weekNumbers().click();
    EXPECT_TRUE(settings.showWeekNumbers());

    // Changed elsewhere, shown here.
    settings.setMenuBarDisplayMode(app::MenuBarDisplayMode::date);
    EXPECT_EQ(tab.displayMode().selection(), app::MenuBarDisplayMode::date);
}

TEST_F(SettingsTabs, TheCountdownLeadWaitsOnItsSwitchAndKeepsItsValue) {
    settings.setMeetingCountdownLeadTime(1800);
    settings::GeneralSettingsView& tab = general();
    EXPECT_EQ(shown(tab.countdownLead()), u"30 min before"_s);
    tab.countdownSwitch().click();
    EXPECT_FALSE(settings.showMeetingCountdown());
    EXPECT_FALSE(tab.countdownLead().isEnabled());
    EXPECT_EQ(settings.meetingCountdownLeadTime(), 1800);
    tab.countdownSwitch().click();
    EXPECT_TRUE(tab.countdownLead().isEnabled());
    settings.setMeetingCountdownLeadTime(420);
    EXPECT_EQ(shown(tab.countdownLead()), u"Choose\u2026"_s) << "a lead of no entry";
}

TEST_F(SettingsTabs, CustomOpensThePatternPopOverWhichWritesOnlyAReadablePattern) {
    settings::GeneralSettingsView& tab = general();
    choose(tab.dateFormat(), u"Custom\u2026"_s);
    EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::weekdayDayMonth) << "picking Custom writes nothing";
    settings::CustomDateFormatPopover* popover = tab.customFormatPopover();
    ASSERT_TRUE(popover);
    EXPECT_EQ(popover->width(), settings::CustomDateFormatPopover::kWidth);
    EXPECT_TRUE(tab.dateFormat().showsFocused());
    EXPECT_EQ(popover->patternField().text(), u"EEE d MMM"_s);
    EXPECT_EQ(popover->previewText(), u"Tue 10 Mar"_s);

    popover->patternField().setText(u"EEE 'd"_s);
    EXPECT_FALSE(popover->useButton().isEnabled());
    EXPECT_EQ(popover->previewText(), u"Not a date pattern"_s);
    QTest::keyClick(&popover->patternField(), Qt::Key_Return);
    EXPECT_EQ(tab.customFormatPopover(), popover) << "Return does nothing for a refused pattern";
    EXPECT_EQ(settings.customDateFormat(), u"EEE d MMM"_s);

    // Typed as a user types it: spaces alone preview blank, and spaces round
    // the letters show in the preview though they are not stored.
    popover->patternField().clear();
    QTest::keyClicks(&popover->patternField(), u"  "_s);
    EXPECT_EQ(popover->previewText(), u"  "_s);
    EXPECT_FALSE(popover->useButton().isEnabled());
    QTest::keyClicks(&popover->patternField(), u"yyyy  "_s);
    EXPECT_EQ(popover->previewText(), u"  2026  "_s);
    QTest::keyClick(&popover->patternField(), Qt::Key_Return);
    EXPECT_EQ(settings.customDateFormat(), u"yyyy"_s);
    EXPECT_EQ(settings.dateFormat(), app::DateFormatPreset::custom);
    QTest::qWait(0);
    EXPECT_FALSE(tab.customFormatPopover());
    EXPECT_FALSE(tab.dateFormat().showsFocused());
    EXPECT_EQ(shown(tab.dateFormat()), u"2026"_s);

    tab.showCustomFormat();
    tab.customFormatPopover()->patternField().setText(u"d.M."_s);
    tab.customFormatPopover()->cancelButton().click();
    EXPECT_EQ(settings.customDateFormat(), u"yyyy"_s) << "Cancel writes nothing";
}

TEST_F(SettingsTabs, LaunchAtLoginShowsTheDesktopsStateAndWhyItCouldNotChange) {
    loginItem.enabled = true;
    settings::GeneralSettingsView& tab = general();
    EXPECT_TRUE(tab.launchAtLoginSwitch().isOn()) << "shown as the desktop has it";
    EXPECT_TRUE(settings.launchAtLogin());

    loginItem.failure = u"Permission denied"_s;
    tab.launchAtLoginSwitch().click();
    EXPECT_TRUE(tab.launchAtLoginSwitch().isOn());
    EXPECT_EQ(detailOf(tab.launchAtLoginRow()), u"Couldn't change: Permission denied"_s);
    loginItem.failure.reset();
    tab.launchAtLoginSwitch().click();
    EXPECT_FALSE(tab.launchAtLoginSwitch().isOn());
    EXPECT_EQ(detailOf(tab.launchAtLoginRow()), QString());
    EXPECT_FALSE(loginItem.enabled);
}

TEST_F(SettingsTabs, NotificationRowsWaitOnTheAlertSwitchAndTheSoundPlaysWhenChosen) {
    settings::NotificationsSettingsView& tab = notifications();
    EXPECT_EQ(shown(tab.leadTime()), u"1 min before"_s);
    EXPECT_EQ(shown(tab.sound()), u"Pop"_s);
    EXPECT_EQ(shown(tab.autoDismiss()), u"5 min after start"_s);

    tab.alertSwitch().click();
    EXPECT_FALSE(settings.meetingAlertsEnabled());
    EXPECT_FALSE(tab.leadTime().isEnabled());
    for (design::SettingsRow* row : tab.dependentRows())
        EXPECT_FALSE(row->isEnabled()) << row->label().toStdString();
    EXPECT_TRUE(tab.alertSwitch().isEnabled());
    tab.alertSwitch().click();
    EXPECT_TRUE(tab.leadTime().isEnabled());
    EXPECT_TRUE(tab.previewButton().isEnabled());

    choose(tab.leadTime(), u"At start"_s);
    EXPECT_EQ(settings.alertLeadTime(), 0);
    EXPECT_EQ(shown(tab.leadTime()), u"At start"_s);
    choose(tab.sound(), u"Glass"_s);
    EXPECT_EQ(sound.played, QStringList{u"Glass"_s});
    tab.previewButton().click();
    EXPECT_EQ(sound.played, (QStringList{u"Glass"_s, u"Glass"_s}));
    choose(tab.sound(), u"None"_s);
    EXPECT_EQ(settings.alertSound(), std::nullopt);
    EXPECT_FALSE(tab.previewButton().isEnabled());
    choose(tab.autoDismiss(), u"Never"_s);
    EXPECT_EQ(defaults.object(u"alertAutoDismissAfter"_s).toDouble(), -1);
    EXPECT_EQ(shown(tab.autoDismiss()), u"Never"_s);
}

// The widest day either date menu can show: the longest weekday and month names.
constexpr double kWednesday30September = 1790757900;  // 2026-09-30 10:45 in Berlin

std::vector<design::MenuButtonControl*> menusOf(QWidget& tab) {
    std::vector<design::MenuButtonControl*> menus;
    for (design::MenuButtonControl* menu : tab.findChildren<design::MenuButtonControl*>())
        menus.push_back(menu);
    return menus;
}

// Chooses the entry whose title needs the widest field.
void chooseLongest(design::MenuButtonControl& menu) {
    const auto& entries = menu.entries();
    const auto longest = std::max_element(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return design::MenuButtonControl::widthToShow(a.row) < design::MenuButtonControl::widthToShow(b.row);
    });
    choose(menu, longest->row.title);
}

TEST_F(SettingsTabs, EveryValueOfTheGeneralAndNotificationMenusReadsWholeInItsField) {
    clock.set(core::Date(kWednesday30September));
    settings::GeneralSettingsView generalTab(SettingsTabContext());
    settings::NotificationsSettingsView notificationsTab(SettingsTabContext());
    for (QWidget* tab : {static_cast<QWidget*>(&generalTab), static_cast<QWidget*>(&notificationsTab)}) {
        const std::vector<design::MenuButtonControl*> menus = menusOf(*tab);
        ASSERT_FALSE(menus.empty());
        for (design::MenuButtonControl* menu : menus)
            for (const auto& entry : menu->entries())
                EXPECT_LE(design::MenuButtonControl::widthToShow(entry.row), menu->width())
                    << entry.row.title.toStdString() << " is cut in a field " << menu->width() << " wide";
    }
    // Where the face is narrow enough the fields keep the widths they were given.
    EXPECT_GE(notificationsTab.leadTime().width(), 140);
    EXPECT_GE(notificationsTab.sound().width(), 120);
    EXPECT_GE(notificationsTab.autoDismiss().width(), 160);
    EXPECT_GE(generalTab.dateFormat().width(), 190);
    EXPECT_GE(generalTab.countdownLead().width(), 150);
    EXPECT_GE(generalTab.firstWeekday().width(), 150);
}

TEST_F(SettingsTabs, GeneralAndNotificationsWithTheirLongestValuesInEitherAppearance) {
    ASSERT_TRUE(testsupport::missingFontFamilies().isEmpty());
    clock.set(core::Date(kWednesday30September));
    settings.setShowMeetingCountdown(true);
    settings.setMeetingAlertsEnabled(true);
    for (const bool dark : {false, true}) {
        settings::GeneralSettingsView generalTab(SettingsTabContext());
        for (design::MenuButtonControl* menu : menusOf(generalTab))
            if (menu != &generalTab.dateFormat())
                chooseLongest(*menu);
        choose(generalTab.dateFormat(), app::formatDate(app::DateFormatPreset::long_, core::Date::now(), {}));
        EXPECT_EQ(shown(generalTab.dateFormat()), u"Wednesday, 30 September"_s);
        EXPECT_TRUE(testsupport::rendersAsReference(generalTab, 560, dark, u"settings-general-longest"_s));

        settings::NotificationsSettingsView notificationsTab(SettingsTabContext());
        for (design::MenuButtonControl* menu : menusOf(notificationsTab))
            chooseLongest(*menu);
        EXPECT_TRUE(testsupport::rendersAsReference(notificationsTab, 560, dark, u"settings-notifications-longest"_s));
    }
}

TEST_F(SettingsTabs, GeneralNotificationsAndThePatternPopOverInEitherAppearance) {
    ASSERT_TRUE(testsupport::missingFontFamilies().isEmpty());
    settings.setCustomDateFormat(u"EEE d MMM yyyy"_s);
    for (const bool dark : {false, true}) {
        settings::GeneralSettingsView generalTab(SettingsTabContext());
        EXPECT_TRUE(testsupport::rendersAsReference(generalTab, 560, dark, u"settings-general"_s));
        for (const bool alertsOn : {true, false}) {
            settings.setMeetingAlertsEnabled(alertsOn);
            settings::NotificationsSettingsView notificationsTab(SettingsTabContext());
            EXPECT_TRUE(testsupport::rendersAsReference(
                notificationsTab, 560, dark, alertsOn ? u"settings-notifications"_s : u"settings-notifications-off"_s));
        }
        settings::CustomDateFormatPopover popover(settings);
        EXPECT_TRUE(testsupport::rendersAsReference(popover, settings::CustomDateFormatPopover::kWidth, dark,
                                                    u"settings-date-pattern"_s));
    }
}

}  // namespace
