#include "core/Calendar.h"
#include "core/Clock.h"
#include "imageimport/flow/ImageImportSession.h"
#include "state/AppState.h"
#include "state/Updater.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

namespace {

using app::AppState;
using app::PopoverRoute;

// Thursday 5 March 2026, 14:30 in Berlin.
constexpr core::Date kAfternoon(1772717400.0);
constexpr core::Date kMidnightBerlin(1772665200.0);

TEST(AppStateStart, SelectsTodayAtMidnightAndShowsTheCurrentMoment) {
    core::ScopedTestClock clock(kAfternoon);
    const AppState state;
    EXPECT_EQ(state.route(), PopoverRoute::main());
    EXPECT_EQ(state.popoverMaxHeight(), 680);
    EXPECT_EQ(state.popoverContentHeight(), 0);
    EXPECT_EQ(state.selectedDate(), kMidnightBerlin);
    EXPECT_EQ(state.displayedMonth(), kAfternoon);
    EXPECT_FALSE(state.isPopoverOpen());
    EXPECT_FALSE(state.quickCreateText());
    EXPECT_FALSE(state.pendingDraft());
    EXPECT_FALSE(state.hasEscapeHandler());
}

TEST(AppStateOpening, RouteIsSetBeforeThePopoverOpensAndKeptWithoutOne) {
    AppState state;
    std::vector<PopoverRoute> routesSeenOnOpen;
    state.onOpenPopover = [&] { routesSeenOnOpen.push_back(state.route()); };

    state.openPopover(PopoverRoute::quickCreate());
    state.openPopover();
    EXPECT_EQ(routesSeenOnOpen, (std::vector{PopoverRoute::quickCreate(), PopoverRoute::quickCreate()}));

    // Before the shell installs its callback only the route changes.
    state.onOpenPopover = nullptr;
    state.openPopover(PopoverRoute::accessDenied());
    EXPECT_EQ(state.route(), PopoverRoute::accessDenied());
}

TEST(AppStateOpening, GoToTodayKeepsTheTimeOfDayOnlyInTheDisplayedMonth) {
    core::ScopedTestClock clock(core::Date(0));
    AppState state;
    state.setSelectedDate(core::Date(0));
    clock.set(kAfternoon);
    QSignalSpy selected(&state, &AppState::selectedDateChanged);
    state.goToToday();
    EXPECT_EQ(state.selectedDate(), kMidnightBerlin);
    EXPECT_EQ(state.displayedMonth(), kAfternoon);
    EXPECT_EQ(selected.count(), 1);
}

TEST(AppStateHeights, OnlyADifferentHeightIsReported) {
    AppState state;
    std::vector<double> reported;
    state.onContentHeightChange = [&](double height) { reported.push_back(height); };
    state.reportContentHeight(320);
    state.reportContentHeight(320);
    state.reportContentHeight(410.5);
    EXPECT_EQ(reported, (std::vector{320.0, 410.5}));
    EXPECT_EQ(state.popoverContentHeight(), 410.5);
}

TEST(AppStateEscape, AScreenRemovesOnlyTheHandlerItInstalled) {
    AppState state;
    EXPECT_FALSE(state.offerEscape());

    int editorCalls = 0;
    const auto editor = state.installEscapeHandler([&] {
        ++editorCalls;
        return true;
    });
    EXPECT_TRUE(state.offerEscape());

    // The next screen appears before the editor's disappearance is handled.
    const auto quickAdd = state.installEscapeHandler([] { return false; });
    state.removeEscapeHandler(editor);
    ASSERT_TRUE(state.hasEscapeHandler());
    EXPECT_FALSE(state.offerEscape());
    EXPECT_EQ(editorCalls, 1);

    state.removeEscapeHandler(quickAdd);
    EXPECT_FALSE(state.hasEscapeHandler());
    state.removeEscapeHandler(0);
    EXPECT_FALSE(state.offerEscape());
}

TEST(AppStateEscape, HandlerMayRemoveItselfWhileRunning) {
    AppState state;
    app::EscapeHandlerToken token = 0;
    token = state.installEscapeHandler([&] {
        state.removeEscapeHandler(token);
        return true;
    });
    EXPECT_TRUE(state.offerEscape());
    EXPECT_FALSE(state.hasEscapeHandler());
}

TEST(PopoverRoutes, PayloadsTakePartInEquality) {
    EXPECT_EQ(PopoverRoute::eventEdit(QStringLiteral("a|1")), PopoverRoute::eventEdit(QStringLiteral("a|1")));
    EXPECT_NE(PopoverRoute::eventEdit(QStringLiteral("a|1")), PopoverRoute::eventEdit(QStringLiteral("a|2")));
    EXPECT_EQ(PopoverRoute::eventCreate(kAfternoon), PopoverRoute::eventCreate(kAfternoon));
    EXPECT_NE(PopoverRoute::eventCreate(kAfternoon), PopoverRoute::eventCreate(kAfternoon + 1));
    EXPECT_NE(PopoverRoute::eventCreate(core::Date(0)), PopoverRoute::main());
    EXPECT_NE(PopoverRoute::eventEdit(QString()), PopoverRoute::main());
    EXPECT_EQ(PopoverRoute(), PopoverRoute::main());
}

TEST(SettingsTabs, RawValuesNameTheCases) {
    EXPECT_EQ(app::settingsTabFromRaw(QStringLiteral("general")), app::SettingsTab::general);
    EXPECT_EQ(app::settingsTabFromRaw(QStringLiteral("shortcuts")), app::SettingsTab::shortcuts);
    EXPECT_FALSE(app::settingsTabFromRaw(QStringLiteral("General")));
    EXPECT_FALSE(app::settingsTabFromRaw(QStringLiteral("advanced")));
}

TEST(Updates, CannotBeCheckedHereAndACheckOnlySaysSo) {
    auto& updater = app::Updater::shared();
    EXPECT_FALSE(updater.canCheck());
    QSignalSpy changes(&updater, &app::Updater::canCheckChanged);
    testing::internal::CaptureStderr();
    updater.checkForUpdates();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Orbitday] updates unavailable: no update framework on this platform\n");
    EXPECT_FALSE(updater.canCheck());
    EXPECT_EQ(changes.count(), 0);
}

}  // namespace
