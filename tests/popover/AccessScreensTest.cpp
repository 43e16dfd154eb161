#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/values/Theme.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainTextButton.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "platform/workspace/Workspace.h"
#include "popover/AccessDeniedView.h"
#include "popover/AccessScreenParts.h"
#include "popover/PermissionsView.h"
#include "popover/UndoToast.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using platform::EntityType;
using popover::AccessDeniedView;
using popover::PermissionRow;
using popover::PermissionsView;

namespace {

constexpr auto kUndecided = AuthorizationStatus::NotDetermined;
constexpr auto kGranted = AuthorizationStatus::FullAccess;
constexpr auto kDenied = AuthorizationStatus::Denied;

// The width of the accent keycap on a primary button: the plate darkens the
// button's accent and the keys on it are light. It is measured on the line of
// the button that it crosses widest, no letter in the way, its soft edges
// counted by how far they darken.
qreal accentKeycapWidth(const QImage& image, const QRect& button) {
    const int accent = image.pixelColor(button.left() + 3, button.center().y()).lightness();
    int line = -1;
    int runEnd = 0;
    int widest = 0;
    for (int y = button.top() + 2; y < button.bottom() - 1; ++y) {
        int run = 0;
        for (int x = button.left(); x <= button.right(); ++x) {
            run = image.pixelColor(x, y).lightness() < accent - 10 ? run + 1 : 0;
            if (run > widest) {
                widest = run;
                line = y;
                runEnd = x;
            }
        }
    }
    if (line < 0)
        return 0;
    const int runStart = runEnd - widest + 1;
    int darkest = accent;
    for (int x = runStart; x <= runEnd; ++x)
        darkest = std::min(darkest, image.pixelColor(x, line).lightness());
    qreal width = 0;
    for (int x = runStart - 1; x <= runEnd + 1; ++x)
        width += std::clamp(qreal(accent - image.pixelColor(x, line).lightness()) / (accent - darkest), 0.0, 1.0);
    return width;
}

class AccessScreens : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    AccessScreens() : ScreenEnvironment(popovertest::local(2026, 3, 10, 12)) {}

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    template <class View>
    View& show() {
        auto* view = new View(environment);
        m_window.reset(view);
        view->resize(364, view->sizeHint().height());
        view->show();
        QCoreApplication::processEvents();
        return *view;
    }
    void screenshot(QWidget& view, const QString& name) {
        for (const bool dark : {false, true})
            EXPECT_TRUE(testsupport::rendersAsReference(view, 364, dark, name));
    }
    static void expectRow(const PermissionRow& row, bool allow, bool enabled, const QString& status, bool active) {
        EXPECT_EQ(row.allowButton()->isVisibleTo(&row), allow) << row.accessibleName().toStdString();
        if (allow) {
            EXPECT_EQ(row.allowButton()->isEnabled(), enabled);
        }
        EXPECT_EQ(row.statusText(), status);
        EXPECT_EQ(row.isActive(), active);
    }

private:
    std::unique_ptr<QWidget> m_window;
};

TEST_F(AccessScreens, OnboardingRowsShowAllowUntilAnsweredThenAllowedOrTurnedOff) {
    setAccess(kUndecided, kUndecided);
    appState.setRoute(PopoverRoute::onboarding());
    PermissionsView& view = show<PermissionsView>();
    expectRow(*view.calendarsRow(), true, true, QString(), true);
    expectRow(*view.remindersRow(), true, true, QString(), false);
    EXPECT_FALSE(view.skipButton()->isVisibleTo(&view));
    EXPECT_EQ(view.calendarsRow()->allowButton()->accessibleName(), u"Allow Calendars"_s);
    const auto lines = view.calendarsRow()->findChildren<design::TextLine*>();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const design::TextLine* line) {
        return line->text() == u"Events in the popover and tray"_s;
    })) << "the tray, where the other platform has a menu bar";
    screenshot(view, u"onboarding"_s);

    // While the calendars question is out both buttons wait.
    QTest::mouseClick(view.calendarsRow()->allowButton(), Qt::LeftButton);
    expectRow(*view.calendarsRow(), true, false, QString(), true);
    expectRow(*view.remindersRow(), true, false, QString(), false);
    QCoreApplication::processEvents();
    expectRow(*view.calendarsRow(), false, true, u"Allowed"_s, false);
    expectRow(*view.remindersRow(), true, true, QString(), true);
    EXPECT_TRUE(view.skipButton()->isVisibleTo(&view));
    EXPECT_EQ(view.skipButton()->toolTip(), u"Continue without Reminders"_s);
    screenshot(view, u"onboarding-calendars-allowed"_s);

    // Turned off elsewhere, while the screen shows.
    ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::Restricted);
    store.reload();
    expectRow(*view.remindersRow(), false, true, u"Turned off"_s, false);

    QTest::mouseClick(view.skipButton(), Qt::LeftButton);
    EXPECT_EQ(appState.route(), PopoverRoute::main());
    EXPECT_FALSE(settings.showReminders());
    EXPECT_TRUE(settings.hasCompletedOnboarding());
}

// The answer went through but could not be stored: it holds until the app quits, and the screen that asked says
// that it cannot be kept after a restart instead of coming back with the same question.
TEST_F(AccessScreens, AnAnswerThatCannotBeKeptIsSaidOnTheOnboardingScreen) {
    setAccess(kUndecided, kUndecided);
    const QString note = u"Your answer holds until Orbitday quits, but it cannot be kept after a restart: "
                         u"/home/me/.config/orbitday/privacy.conf cannot be written."_s;
    ek.setAccessAnswer(EntityType::Event, kGranted, true, note);
    appState.setRoute(PopoverRoute::onboarding());
    PermissionsView& view = show<PermissionsView>();
    EXPECT_FALSE(view.noteText()->isVisibleTo(&view));

    QTest::mouseClick(view.calendarsRow()->allowButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    expectRow(*view.calendarsRow(), false, true, u"Allowed"_s, false);
    expectRow(*view.remindersRow(), true, true, QString(), true);
    EXPECT_TRUE(view.noteText()->isVisibleTo(&view));
    EXPECT_EQ(view.noteText()->text(), note);
    screenshot(view, u"onboarding-answer-not-kept"_s);

    // Once the reminders are answered too, onboarding leaves for the main screen.
    QTest::mouseClick(view.remindersRow()->allowButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(appState.route(), PopoverRoute::main());
}

TEST_F(AccessScreens, OnboardingWithCalendarsRefusedElsewhereOffersSkipToTheAccessDeniedScreen) {
    setAccess(AuthorizationStatus::WriteOnly, kUndecided);
    appState.setRoute(PopoverRoute::onboarding());
    PermissionsView& view = show<PermissionsView>();
    expectRow(*view.calendarsRow(), false, true, u"Turned off"_s, false);
    expectRow(*view.remindersRow(), true, true, QString(), true);
    screenshot(view, u"onboarding-calendars-off"_s);
    QTest::mouseClick(view.skipButton(), Qt::LeftButton);
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());
}

TEST_F(AccessScreens, AccessDeniedNamesOurPrivacySettingsAndOpensThemAtCalendars) {
    setAccess(kDenied, kGranted);
    AccessDeniedView& view = show<AccessDeniedView>();
    EXPECT_EQ(view.steps(), (QStringList{u"Open Privacy Settings"_s, u"Privacy Settings \u203A Calendars"_s,
                                         u"Turn on Orbitday"_s}));
    EXPECT_EQ(view.openSettingsButton()->title(), u"Open Privacy Settings"_s);
    EXPECT_EQ(view.message(), AccessDeniedView::normalMessage());
    screenshot(view, u"access-denied"_s);

    QTest::mouseClick(view.openSettingsButton(), Qt::LeftButton);
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(platform::privacySettingsPane(workspace.opened.first()), EntityType::Event);
}

TEST_F(AccessScreens, CheckAgainSaysStillOffInTheAccentAndBecomingActiveWithAccessLeavesForMain) {
    setAccess(kDenied, kGranted);
    appState.setRoute(PopoverRoute::accessDenied());
    AccessDeniedView& view = show<AccessDeniedView>();
    QTest::mouseClick(view.checkAgainButton(), Qt::LeftButton);
    EXPECT_EQ(view.message(), AccessDeniedView::stillOffMessage());
    EXPECT_TRUE(view.isStillOff());
    screenshot(view, u"access-denied-still-off"_s);

    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(view.message(), AccessDeniedView::stillOffMessage());
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied());

    ek.setAuthorizationStatus(EntityType::Event, kGranted);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(appState.route(), PopoverRoute::accessDenied()) << "only becoming active checks";
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(appState.route(), PopoverRoute::main());
}

// Our privacy settings window is the application's own: switching access back on there
// makes nothing active again, yet the screen leaves as soon as the store reads the change,
// for the main screen, or for onboarding when the answers were forgotten.
TEST_F(AccessScreens, AccessSwitchedBackOnInOurPrivacySettingsLeavesWithoutAPress) {
    for (const auto& [now, leavesFor] : {std::pair{kGranted, PopoverRoute::main()},
                                        std::pair{kUndecided, PopoverRoute::onboarding()}}) {
        setAccess(kDenied, kGranted);
        appState.setRoute(PopoverRoute::accessDenied());
        AccessDeniedView& view = show<AccessDeniedView>();
        QTest::mouseClick(view.checkAgainButton(), Qt::LeftButton);
        ek.setAuthorizationStatus(EntityType::Event, now);
        emit ek.accessChanged();
        QCoreApplication::processEvents();
        EXPECT_EQ(appState.route(), leavesFor);
    }

    // A screen on its way out, hidden once a route replaced it, decides nothing.
    setAccess(kDenied, kGranted);
    appState.setRoute(PopoverRoute::accessDenied());
    show<AccessDeniedView>().hide();
    appState.setRoute(PopoverRoute::quickCreate());
    setAccess(kGranted, kGranted);
    EXPECT_EQ(appState.route(), PopoverRoute::quickCreate());
}

TEST_F(AccessScreens, TheUndoToastNamesTheChangeAndOffersUndoWithItsKeycap) {
    popover::UndoToast toast;
    toast.setLabel(u"Deleted \u201CDentist\u201D"_s);
    EXPECT_EQ(toast.shownText(), u"Event deleted"_s);
    EXPECT_EQ(toast.undoButton()->keycap(), u"Ctrl+Z"_s);
    QSignalSpy undo(&toast, &popover::UndoToast::undoClicked);
    toast.resize(324, toast.sizeHint().height());
    toast.show();
    QTest::mouseClick(toast.undoButton(), Qt::LeftButton);
    EXPECT_EQ(undo.size(), 1);
    screenshot(toast, u"undo-toast"_s);

    toast.setError(u"The calendar item was changed elsewhere. Please try again."_s);
    EXPECT_EQ(toast.shownText(), u"The calendar item was changed elsewhere. Please try again."_s);
    EXPECT_EQ(toast.accessibleName(), toast.shownText());
    screenshot(toast, u"undo-toast-error"_s);
}

TEST_F(AccessScreens, ALongToastTitleEndsItsLineWellClearOfUndo) {
    popover::UndoToast toast;
    toast.setLabel(u"Moved every occurrence of the weekly planning meeting to Thursday afternoon"_s);
    toast.resize(324, toast.sizeHint().height());
    toast.show();
    const QImage image = testsupport::renderOnSurface(toast, 324, false, u"undo-toast-long"_s);

    // The capsule's fill in the gap just before the button; the title is written
    // in the surface colour over it.
    const int buttonLeft = toast.undoButton()->geometry().left();
    const QColor fill = image.pixelColor(buttonLeft - 2, image.height() / 2);
    int titleRight = -1;
    for (int x = buttonLeft - 1; x > 0 && titleRight < 0; --x)
        for (int y = 2; y < image.height() - 2; ++y)
            if (std::abs(image.pixelColor(x, y).lightness() - fill.lightness()) > 60) {
                titleRight = x;
                break;
            }
    ASSERT_GT(titleRight, 0);
    // The title, a spacer of at least 8 and the button are 8 apart from one another.
    EXPECT_LE(titleRight, buttonLeft - 24);
}

TEST_F(AccessScreens, TheToastsKeycapSitsCloserRoundItsKeysThanTheKitsOnPrimaryButtons) {
    popover::UndoToast toast;
    toast.setLabel(u"Created \u201CLunch\u201D"_s);
    toast.resize(324, toast.sizeHint().height());
    toast.show();
    const QImage shown = testsupport::renderOnSurface(toast, 324, false, u"undo-toast-keycap"_s);
    const qreal toastKeycap = accentKeycapWidth(shown, toast.undoButton()->geometry());

    design::KeycapButton kit(u"Undo"_s, std::nullopt, u"Ctrl+Z"_s, design::ODButtonKind::primary,
                             design::ODButtonSize::small);
    const QImage plain = testsupport::renderOnSurface(kit, kit.sizeHint().width(), false, u"kit-keycap"_s);
    const qreal kitKeycap = accentKeycapWidth(plain, kit.rect());

    ASSERT_GT(toastKeycap, 30);
    // 4 px either side of the keys rather than 5.
    EXPECT_NEAR(kitKeycap - toastKeycap, 2.0, 0.5);
}

TEST_F(AccessScreens, APromiseLineALittleTooLongShrinksOnlyAsFarAsItMustAndStillFillsItsRoom) {
    const QFont font = design::ODFont::body(11, design::FontWeight::medium);
    const QString text = u"No account. No analytics. You can change this later."_s;
    // A tenth too long: nine tenths of the size fit, above the smallest allowed.
    const int width = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text) * 0.9));
    popover::ShrinkingTextLine line(text, font, design::Theme::text());
    const QImage image = testsupport::renderOnSurface(line, width, false, u"promise-line-shrunk"_s);

    const QColor surface = image.pixelColor(0, 0);
    int inkRight = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (std::abs(image.pixelColor(x, y).lightness() - surface.lightness()) > 40)
                inkRight = x;
    // Smaller letters than needed would leave room unused at the end of the line.
    EXPECT_GE(inkRight, width - 3);
}

}  // namespace
