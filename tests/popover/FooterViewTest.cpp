#include "AnimationClock.h"
#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "core/Clock.h"
#include "design/values/Theme.h"
#include "design/widgets/KitMenu.h"
#include "imageimport/flow/ImageImportSession.h"
#include "popover/PopoverFooterView.h"
#include "state/AppState.h"
#include "state/Updater.h"
#include "store/CalendarStore.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using popover::PopoverFooterView;
using popovertest::local;

namespace {

// Tuesday 10 March 2026, 9:05 in the morning.
class FooterScreen : public ::testing::Test {
protected:
    FooterScreen() {
        appState.setImageImport(import);
        appState.imageImport().setAppState(&appState);
        appState.onClosePopover = [this] { calls << u"close"_s; };
        appState.onOpenSettings = [this](std::optional<app::SettingsTab> tab) {
            calls << (tab ? u"settings at a tab"_s : u"settings"_s);
        };
        appState.imageImport().setFileChooser([this] {
            calls << u"choose a file"_s;
            return std::optional<QUrl>();
        });
        footer.setQuit([this] { calls << u"quit"_s; });
        footer.resize(364, footer.sizeHint().height());
        footer.show();
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    // The menu's rows by title, separators as "-", disabled rows in brackets.
    QStringList menuRows(const design::KitMenu& menu) {
        QStringList rows;
        for (const QAction* action : menu.actions()) {
            if (action->isSeparator()) {
                rows << u"-"_s;
                continue;
            }
            const design::MenuRow* row = menu.row(action);
            QString text = row->title + (row->detail ? u" "_s + *row->detail : QString());
            rows << (action->isEnabled() ? text : u"["_s + text + u"]"_s);
        }
        return rows;
    }
    void choose(const QString& title) {
        const auto menu = footer.buildMenu();
        for (QAction* action : menu->actions())
            if (const design::MenuRow* row = menu->row(action); row && row->title == title)
                action->trigger();
        QCoreApplication::processEvents();
    }

    core::ScopedTestClock clock{local(2026, 3, 10, 9, 5)};
    platform::FakeEventStore ek;
    store::CalendarStore store{ek};
    app::AppState appState;
    imageimport::ImageImportSession import;
    PopoverFooterView footer{store, appState, app::Updater::shared()};
    QStringList calls;
};

TEST_F(FooterScreen, TheSyncLineSaysWhenTheCalendarsWereReadAndAClickReadsThemAgain) {
    EXPECT_EQ(PopoverFooterView::syncText(false, std::nullopt), u"Not synced yet"_s);
    EXPECT_EQ(PopoverFooterView::syncText(true, local(2026, 3, 10, 9)), u"Syncing\u2026"_s);
    EXPECT_EQ(PopoverFooterView::syncText(false, local(2026, 3, 9, 21, 30)), u"Synced 9:30\u202FPM"_s)
        << "yesterday's sync reads as its time of day alone";

    EXPECT_EQ(footer.syncButton()->text(), u"Synced 9:05\u202FAM"_s);
    EXPECT_EQ(footer.syncButton()->accessibleName(), u"Synced 9:05\u202FAM. Refresh now"_s);
    clock.advance(120);
    const int refreshes = ek.refreshSourcesCount();
    footer.syncButton()->click();
    EXPECT_EQ(ek.refreshSourcesCount(), refreshes + 1);
    EXPECT_EQ(footer.syncButton()->text(), u"Synced 9:07\u202FAM"_s);
    EXPECT_EQ(footer.syncButton()->toolTip(), u"Refresh now (Ctrl+R)"_s);

    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(footer, 364, dark, u"footer"_s));
}

TEST(SyncIcon, TurnsHalfATurnEverySixTenthsOfASecondWhileTheCalendarsAreReadAndRestsOtherwise) {
    testsupport::AnimationClock animations;
    popover::SyncRow row;
    row.setState(true, std::nullopt);
    row.show();
    animations.advance(150);
    EXPECT_NEAR(row.turn(), 45, 1);
    animations.advance(300);
    EXPECT_NEAR(row.turn(), 135, 1);
    animations.advance(300);
    EXPECT_NEAR(row.turn(), 45, 1) << "the half turn repeats";
    row.setState(false, local(2026, 3, 10, 9));
    EXPECT_EQ(row.turn(), 0);

    design::Theme::setAppearance({.reduceMotion = true});
    row.setState(true, std::nullopt);
    animations.advance(150);
    EXPECT_EQ(row.turn(), 0) << "reduced motion";
    design::Theme::setAppearance({});
}

TEST_F(FooterScreen, QuickAddStartsEmptyAndTheImageButtonClosesThePopoverBeforeAskingForAFile) {
    appState.setQuickCreateText(u"left over"_s);
    footer.quickAddButton()->click();
    EXPECT_EQ(appState.route(), PopoverRoute::quickCreate());
    EXPECT_EQ(appState.quickCreateText(), std::nullopt);
    EXPECT_EQ(footer.quickAddButton()->toolTip(), u"Quick add (Ctrl+N)"_s);
    EXPECT_EQ(footer.imageButton()->toolTip(), u"New from Image\u2026 (Ctrl+Shift+I)"_s);

    footer.imageButton()->click();
    EXPECT_EQ(calls, QStringList{u"close"_s}) << "the chooser comes up on a later turn";
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (QStringList{u"close"_s, u"choose a file"_s}));
}

TEST_F(FooterScreen, TheGearMenuListsItsItemsWithShortcutsAndUpdatesCannotBeChecked) {
    const auto menu = footer.buildMenu();
    EXPECT_EQ(menuRows(*menu), (QStringList{u"New from Image\u2026 Ctrl+Shift+I"_s, u"-"_s, u"Settings\u2026 Ctrl+,"_s,
                                            u"Refresh now Ctrl+R"_s, u"[Check for Updates\u2026]"_s,
                                            u"About Orbitday"_s, u"-"_s, u"Quit Orbitday Ctrl+Q"_s}));
    EXPECT_EQ(footer.gearButton()->toolTip(), u"New from image, settings, refresh, quit"_s);
    EXPECT_EQ(footer.gearButton()->accessibleDescription(), u"New from image, settings, refresh, updates and quit"_s);

    choose(u"Settings\u2026"_s);
    EXPECT_EQ(calls, (QStringList{u"close"_s, u"settings"_s}));
    calls.clear();
    choose(u"New from Image\u2026"_s);
    EXPECT_EQ(calls, (QStringList{u"close"_s, u"choose a file"_s}));
    calls.clear();
    const int refreshes = ek.refreshSourcesCount();
    choose(u"Refresh now"_s);
    EXPECT_EQ(ek.refreshSourcesCount(), refreshes + 1);
    choose(u"Quit Orbitday"_s);
    EXPECT_EQ(calls, QStringList{u"quit"_s});
    calls.clear();

    choose(u"About Orbitday"_s);
    EXPECT_EQ(calls, QStringList{u"close"_s});
    QWidget* about = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == u"AboutDialog"_s && window->isVisible())
            about = window;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), u"About Orbitday"_s);
    for (const bool dark : {false, true})
        EXPECT_FALSE(testsupport::renderOnSurface(*about, about->width(), dark, u"about"_s).isNull());
    about->close();
}

}  // namespace
