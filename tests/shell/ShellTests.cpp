#include "alerts/CardPlacement.h"
#include "alerts/MeetingAlertController.h"
#include "alerts/MeetingCardPanel.h"
#include "design/values/Theme.h"
#include "imageimport/flow/ImageImportSession.h"
#include "platform/singleinstance/InstanceMessage.h"
#include "platform/statusitem/FakeStatusItem.h"
#include "settings/SettingsWindowController.h"
#include "shell/AppDelegate.h"
#include "shell/PopoverGeometry.h"
#include "shell/PopoverPanel.h"
#include "shell/StatusIcons.h"
#include "shell/StatusItemController.h"

#include "AnimationClock.h"
#include "EventLoop.h"
#include "FakePlatform.h"
#include "Rendering.h"
#include "StoreTestSupport.h"
#include "TestImages.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

using namespace storetest;
using namespace Qt::Literals::StringLiterals;
using app::HotKeyAction;
using app::PopoverRoute;
using ImportPhase = imageimport::ImageImportSession::Phase::Kind;
using platform::AuthorizationStatus;
using platform::EntityType;

namespace {

// The application on fakes: a tray item the test clicks, hot keys it presses,
// calendars in memory, the offscreen platform's screen.
class Shell : public ::testing::Test, protected testsupport::FakePlatform {
protected:
    Shell() : FakePlatform(local(2026, 3, 10, 9, 0) + 30) {}

    platform::FakeStatusItem item;
    std::unique_ptr<app::AppDelegate> delegate;

    void TearDown() override {
        delegate.reset();
        design::Theme::setAppearance({});
    }

    app::AppDelegate& launch() {
        delegate = FakePlatform::launch(item);
        return *delegate;
    }
    app::StatusItemController& controller() { return *delegate->statusItem(); }
    app::PopoverPanel& panel() { return controller().panel(); }
    app::AppState& state() { return delegate->appState(); }
    bool showing() { return controller().isShowingPopover(); }
    void escape(QWidget* window = nullptr) { QTest::keyClick(window ? window : &panel(), Qt::Key_Escape); }
    void press(HotKeyAction action) {
        hotKeys.press(static_cast<std::uint32_t>(action));
        testsupport::spinEventLoop(5);  // presses are answered on the next turn
    }
};

TEST_F(Shell, TheTrayItemShowsTheTitleAndFollowsTheSettingsAndTheMinute) {
    ek.addEvent(timedEvent(work, u"Dentist appointment"_s, local(2026, 3, 10, 14, 30)));
    launch();
    EXPECT_EQ(item.content().title, u"Tue 10 Mar  \u00B7  Dentist 2:30\u202FPM"_s);
    EXPECT_EQ(item.content().toolTip, u"Dentist appointment at 2:30\u202FPM"_s);
    EXPECT_EQ(item.content().accessibleName, u"Orbitday, Tue 10 Mar, Next: Dentist appointment"_s);
    ASSERT_EQ(item.content().icons.size(), 2U);  // the calendar symbol: no tray item goes without an icon
    EXPECT_EQ(item.content().icons[1].height, 2 * item.content().icons[0].height);

    delegate->settings().setMenuBarDisplayMode(app::MenuBarDisplayMode::date);
    EXPECT_EQ(item.content().title, u"Tue 10 Mar"_s);

    delegate->settings().setDateFormat(app::DateFormatPreset::weekdayDayMonthTime);
    EXPECT_EQ(item.content().title, u"Tue 10 Mar 9:00\u202FAM"_s);
    clock.advance(29);
    EXPECT_EQ(item.content().title, u"Tue 10 Mar 9:00\u202FAM"_s);
    clock.advance(1);  // the minute turns
    EXPECT_EQ(item.content().title, u"Tue 10 Mar 9:01\u202FAM"_s);
    clock.advance(3600);
    EXPECT_EQ(item.content().title, u"Tue 10 Mar 10:01\u202FAM"_s);
}

TEST_F(Shell, ACountdownIsDrawnAsAPillAndAWakeUpRefreshesTheTitle) {
    ek.addEvent(timedEvent(work, u"Standup"_s, local(2026, 3, 10, 9, 20)));
    launch();
    const platform::StatusIcon symbol = item.content().icons.at(0);
    EXPECT_EQ(item.content().title, u"Tue 10 Mar  \u00B7  Standup 9:20\u202FAM"_s);

    // Asleep past the moment the countdown begins; the timer has not counted the night.
    clock.clock().set(local(2026, 3, 10, 9, 10));
    systemEvents.simulateResume();
    EXPECT_EQ(item.content().title, u"Tue 10 Mar"_s);
    EXPECT_EQ(item.content().accessibleName, u"Orbitday, Tue 10 Mar, Standup in 10m"_s);
    const platform::StatusIcon pill = item.content().icons.at(0);
    EXPECT_EQ(item.content().icons.at(1).height, 32);
    EXPECT_EQ(pill.height, 16);
    EXPECT_GT(pill.width, 6 + 14);
    EXPECT_NE(pill, symbol);
    // The six pixels before the pill are empty; the pill itself is flame.
    EXPECT_EQ(pill.pixels[8 * static_cast<size_t>(pill.width) + 2] >> 24, 0U);
    EXPECT_EQ(pill.pixels[8 * static_cast<size_t>(pill.width) + 8] & 0xffffff, 0xF0561DU);
}

// WCAG's contrast between two opaque colours, 1 to 21.
double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixels of the icon that stand out from the panel it is laid on by at least 3:1.
int readablePixels(const platform::StatusIcon& icon, QColor panel) {
    int readable = 0;
    for (const std::uint32_t pixel : icon.pixels) {
        const QColor over = QColor::fromRgba(pixel);
        const auto mix = [&](int top, int bottom) {
            return static_cast<int>(std::lround(top * over.alphaF() + bottom * (1 - over.alphaF())));
        };
        const QColor shown(mix(over.red(), panel.red()), mix(over.green(), panel.green()),
                           mix(over.blue(), panel.blue()));
        readable += contrast(shown, panel) >= 3.0 ? 1 : 0;
    }
    return readable;
}

// The tray draws the symbol as it is given, and a panel's colour need not follow anything
// of ours: the symbol follows the desktop's scheme, not the popover's appearance, and
// keeps its outline readable on a light and on a dark panel either way. Trays that draw
// themed icons by name get a symbolic one.
TEST_F(Shell, TheTraySymbolFollowsTheDesktopAndStaysReadableOnLightAndDarkPanels) {
    launch();
    EXPECT_EQ(item.content().iconName, u"x-office-calendar-symbolic"_s);
    const QColor lightPanel(0xF0, 0xF0, 0xF0);
    const QColor darkPanel(0x24, 0x24, 0x24);
    for (const bool darkDesktop : {false, true}) {
        SCOPED_TRACE(darkDesktop ? "dark desktop" : "light desktop");
        appearance.set({.isDark = darkDesktop});
        const platform::StatusIcon symbol = item.content().icons.at(0);
        EXPECT_GE(readablePixels(symbol, lightPanel), 40);
        EXPECT_GE(readablePixels(symbol, darkPanel), 40);
        for (const auto mode : {app::AppearanceMode::light, app::AppearanceMode::dark}) {
            delegate->settings().setAppearance(mode);
            EXPECT_EQ(item.content().icons.at(0), symbol) << "the popover's appearance is not the panel's";
        }
        delegate->settings().setAppearance(app::AppearanceMode::system);
    }
}

TEST_F(Shell, AFirstLaunchOpensOnTheAccessQuestion) {
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::NotDetermined);
    launch();
    EXPECT_EQ(state().route(), PopoverRoute::onboarding());
    EXPECT_TRUE(delegate->meetingAlerts()->isStarted());
}

TEST_F(Shell, OpeningCorrectsTheRouteForTheAccessState) {
    ek.setAuthorizationStatus(EntityType::Event, AuthorizationStatus::Denied);
    launch();
    EXPECT_EQ(state().route(), PopoverRoute::main());
    item.click();
    EXPECT_TRUE(showing());
    EXPECT_EQ(state().route(), PopoverRoute::accessDenied());
    item.click();
    EXPECT_FALSE(showing());

    state().setRoute(PopoverRoute::quickCreate());
    item.click();  // only the main screen gives way to the access-denied screen
    EXPECT_EQ(state().route(), PopoverRoute::quickCreate());
}

// Without a compositor the panel is cut to its corners, and a pixel it keeps is
// shown mixed with black where it is transparent: only wholly drawn pixels may stay.
TEST_F(Shell, WithoutACompositorThePanelKeepsOnlyThePixelsItsCornersCoverWholly) {
    launch();
    item.click();
    ASSERT_TRUE(showing());
    const QRegion mask = panel().mask();
    ASSERT_FALSE(mask.isEmpty()) << "the offscreen platform has no compositor";
    EXPECT_EQ(testsupport::seeThroughPixels(mask, *panel().root()), QStringList());
    // The straight edges are kept whole from where the curves end.
    const int right = panel().width() - 1;
    const int bottom = panel().height() - 1;
    for (const QPoint edge : {QPoint(16, 0), QPoint(right - 16, 0), QPoint(0, 16), QPoint(right, bottom - 16),
                              QPoint(16, bottom), QPoint(right - 16, bottom)})
        EXPECT_TRUE(mask.contains(edge)) << edge.x() << ", " << edge.y();
}

TEST_F(Shell, ClosingReturnsToTheMainScreenExceptDuringOnboarding) {
    launch();
    state().openPopover(PopoverRoute::eventEdit(u"abc|1"_s));
    EXPECT_TRUE(showing());
    EXPECT_TRUE(state().isPopoverOpen());
    state().imageImport().begin(imageimport::ImageImportInput::data("x"));
    state().onClosePopover();
    EXPECT_FALSE(showing());
    EXPECT_FALSE(state().isPopoverOpen());
    EXPECT_EQ(state().imageImport().phase().kind, ImportPhase::idle);
    EXPECT_EQ(state().route(), PopoverRoute::main());

    state().openPopover(PopoverRoute::onboarding());
    state().onClosePopover();
    EXPECT_EQ(state().route(), PopoverRoute::onboarding());
}

TEST_F(Shell, EscapeGoesBackToMainThenClosesAndPassesThroughOtherWindows) {
    launch();
    state().openPopover(PopoverRoute::quickCreate());
    escape();
    EXPECT_EQ(state().route(), PopoverRoute::main());
    EXPECT_TRUE(showing());

    // A screen's own handler comes first; declining hands Escape on.
    int asked = 0;
    const auto token = state().installEscapeHandler([&] { return ++asked == 1; });
    escape();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(showing());

    QWidget settingsWindow;
    settingsWindow.show();
    escape(&settingsWindow);
    EXPECT_TRUE(showing());
    EXPECT_EQ(asked, 1);

    escape();  // declined this time: main closes
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(showing());
    state().removeEscapeHandler(token);

    for (const PopoverRoute& route : {PopoverRoute::eventCreate(core::Date(5)), PopoverRoute::imageImport(),
                                      PopoverRoute::eventEdit(u"x"_s)}) {
        state().openPopover(route);
        escape();
        EXPECT_EQ(state().route(), PopoverRoute::main());
        EXPECT_TRUE(showing());
        escape();
        EXPECT_FALSE(showing());
    }
    // Closed, Escape does nothing more.
    state().setRoute(PopoverRoute::quickCreate());
    escape();
    EXPECT_EQ(state().route(), PopoverRoute::quickCreate());
}

TEST_F(Shell, HotKeysToggleOpenOnQuickAddAndReachTheAlerts) {
    launch();
    press(HotKeyAction::openPopover);
    EXPECT_TRUE(showing());
    press(HotKeyAction::openPopover);
    EXPECT_FALSE(showing());
    press(HotKeyAction::quickCreate);
    EXPECT_TRUE(showing());
    EXPECT_EQ(state().route(), PopoverRoute::quickCreate());
    press(HotKeyAction::joinMeeting);  // nothing to join: the bell, and the popover stays
    EXPECT_TRUE(showing());
    EXPECT_EQ(sound.beeps, 1);

    delegate->handleMessage(platform::InstanceMessage::reopen());
    EXPECT_TRUE(showing());
    state().onOpenSettings(app::SettingsTab::shortcuts);
    EXPECT_EQ(delegate->settingsWindow()->selectedTab(), app::SettingsTab::shortcuts);
}

TEST_F(Shell, AMeetingAboutToStartShowsItsCardUnderTheTrayItemAndTheJoinKeyJoinsIt) {
    platform::PlatformEvent review = timedEvent(work, u"Review"_s, local(2026, 3, 10, 9, 1));
    review.url = QUrl(u"https://meet.google.com/abc-defg-hij"_s);
    ek.addEvent(review);
    launch();
    alerts::MeetingCardPanel& card = *delegate->meetingCard();
    ASSERT_TRUE(card.isShowingCard());
    EXPECT_EQ(sound.played, QStringList{u"Pop"_s});
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(card.pos(), alerts::cardTopLeft(std::nullopt, screen, card.size()).toPoint());

    // Shown again through the application state, after a click told where the item is.
    item.click(QPointF(400, 10));
    state().onShowMeetingCard(*delegate->meetingAlerts()->cardEvent());
    EXPECT_EQ(card.pos(), QPoint(400 - 170, 8));
    EXPECT_EQ(sound.played.size(), 1);

    press(HotKeyAction::joinMeeting);
    EXPECT_EQ(workspace.opened, QList<QUrl>{review.url.value()});
    EXPECT_FALSE(card.isShowingCard());
}

TEST_F(Shell, FilesHandedOverStartAnImport) {
    launch();
    const QByteArray png = testsupport::encoded(QImage(20, 10, QImage::Format_RGB32), "PNG");
    const QTemporaryDir folder;
    const QString ticket = folder.filePath(u"ticket.png"_s);
    QFile file(ticket);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    file.close();
    imageLoader.add(png, platform::ImageLoader::Format::image, {20, 10, QByteArray(800, '\xff')});
    delegate->handleMessage(platform::InstanceMessage::openFiles({ticket, u"/home/u/b.pdf"_s}));
    // The first file is read, and the popover comes up on its result.
    EXPECT_TRUE(testsupport::waitUntil([&] { return showing(); }, 5000));
    EXPECT_EQ(state().route(), PopoverRoute::imageImport());
    EXPECT_EQ(state().imageImport().phase().kind, ImportPhase::noText);
    EXPECT_EQ(state().imageImport().thumbnail()->width, 20);
}

TEST_F(Shell, AHandedOverPathWithANulCharacterEndsOnTheUnreadableCard) {
    launch();
    delegate->handleMessage(platform::InstanceMessage::openFiles({u"/tmp/a\0\0.d"_s}));
    EXPECT_TRUE(testsupport::waitUntil([&] { return showing(); }, 5000));
    EXPECT_EQ(state().imageImport().phase().error, imageimport::ImageImportError::unreadable());
}

TEST_F(Shell, TheLaunchersPrivacyActionOpensOurPrivacySettingsWithoutThePopover) {
    launch();
    delegate->handleMessage(platform::InstanceMessage::privacySettings());
    EXPECT_EQ(workspace.opened, QList<QUrl>{platform::privacySettingsURL(EntityType::Event)});
    EXPECT_FALSE(showing());
}

TEST_F(Shell, CtrlShiftIClosesThePopoverThenAsksForAFileAndImportsTheChoice) {
    launch();
    std::optional<QUrl> answer;
    QStringList calls;
    state().imageImport().setFileChooser([&] {
        calls << (showing() ? u"chooser over the popover"_s : u"chooser"_s);
        // Asked again while the chooser is open: no second chooser.
        state().imageImport().chooseFile();
        return answer;
    });
    auto importKey = [&] {
        panel().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel()));
        QTest::keyClick(&panel(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        testsupport::spinEventLoop(5);
    };

    controller().showPopover();
    importKey();
    EXPECT_EQ(calls, QStringList{u"chooser"_s});
    EXPECT_FALSE(showing()) << "a cancelled choice leaves the popover closed";
    EXPECT_EQ(state().imageImport().phase().kind, ImportPhase::idle);

    const QUrl ticket = QUrl::fromLocalFile(u"/home/u/ticket.png"_s);
    answer = ticket;
    controller().showPopover();
    state().setRoute(PopoverRoute::quickCreate());
    importKey();
    EXPECT_EQ(calls.size(), 2);
    // The file does not exist: its reading may already have failed on its worker.
    EXPECT_NE(state().imageImport().phase().kind, ImportPhase::idle);
    // The popover comes back once the import has worked for a moment (or has ended).
    clock.advance(imageimport::ImageImportSession::kReadingDelay);
    EXPECT_TRUE(showing());
    EXPECT_EQ(state().route(), PopoverRoute::imageImport());

    // Over the editor the key is not the import's.
    state().setRoute(PopoverRoute::eventCreate(local(2026, 3, 10, 10)));
    importKey();
    EXPECT_EQ(calls.size(), 2);
    EXPECT_TRUE(showing());
}

TEST_F(Shell, TheOpenHotKeyDuringTheClosingFadeOpensAgain) {
    launch();
    panel().setAnimationPolicy([] { return true; });
    press(HotKeyAction::openPopover);
    ASSERT_TRUE(showing());
    press(HotKeyAction::openPopover);
    EXPECT_TRUE(panel().isAnimatingClose());
    EXPECT_TRUE(panel().isVisible());
    press(HotKeyAction::openPopover);
    EXPECT_FALSE(panel().isAnimatingClose());
    testsupport::spinEventLoop(300);  // the cancelled fade would have hidden the panel by now
    EXPECT_TRUE(panel().isVisible());
    EXPECT_TRUE(showing());

    press(HotKeyAction::openPopover);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !panel().isVisible(); }, 2000));
    EXPECT_FALSE(panel().isAnimatingClose());
}

TEST_F(Shell, ThePanelHangsUnderTheClickedPointInsideTheScreen) {
    launch();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen.topLeft(), QPoint(0, 0));
    item.click(QPointF(500, 10));
    EXPECT_EQ(panel().geometry().topLeft(), QPoint(500 - 182, 22));
    EXPECT_EQ(panel().width(), 364);
    // As tall as the screen it shows.
    EXPECT_EQ(panel().height(), static_cast<int>(std::ceil(state().popoverContentHeight())));
    EXPECT_EQ(state().popoverMaxHeight(), std::min(680, screen.height() - 8 - 22));

    item.click();
    item.click(QPointF(screen.width() - 10, 10));
    EXPECT_EQ(panel().geometry().right() + 1, screen.width() - 8);
    item.click();
    item.click(QPointF(20, screen.height() - 10));  // a tray along the bottom edge: above it
    EXPECT_EQ(panel().geometry().left(), 8);
    EXPECT_EQ(panel().geometry().bottom() + 1, screen.height() - 10 - 12);
}

TEST_F(Shell, ThePanelOpensAtTheHeightOfWhatChangedWhileItWasClosed) {
    launch();
    item.click(QPointF(500, 10));
    testsupport::spinEventLoop(20);
    item.click();
    ASSERT_FALSE(showing());
    const int before = panel().height();

    // A reminder comes due and is read in while the popover is closed.
    const auto list = ek.addCalendar(EntityType::Reminder, u"Inbox"_s);
    ek.addReminder(reminder(list, u"Water the plants"_s, core::DateComponents{.year = 2026, .month = 3, .day = 10}));
    delegate->store().reload();
    testsupport::spinEventLoop(20);

    item.click(QPointF(500, 10));
    const int opened = panel().height();
    EXPECT_GT(opened, before) << "the reminders section is in the height it opens at";
    testsupport::spinEventLoop(20);
    EXPECT_EQ(panel().height(), opened);
}

TEST_F(Shell, WithoutAClickThePanelStandsInTheTopRightCorner) {
    launch();
    item.setGeometry(std::nullopt);
    state().openPopover();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(panel().geometry().topLeft(), QPoint(screen.right() + 1 - 364 - 8, 12));
}

TEST_F(Shell, TheAppearanceSettingReachesTheTheme) {
    appearance.set({false, true, false});
    launch();
    EXPECT_EQ(design::Theme::appearance(), (design::Appearance{false, true, false}));
    delegate->settings().setAppearance(app::AppearanceMode::dark);
    EXPECT_TRUE(design::Theme::appearance().isDark);
    delegate->settings().setAppearance(app::AppearanceMode::system);
    EXPECT_FALSE(design::Theme::appearance().isDark);
    appearance.set({true, false, true});
    EXPECT_EQ(design::Theme::appearance(), (design::Appearance{true, false, true}));
}

TEST_F(Shell, TurningACalendarOffReachesTheStore) {
    launch();
    delegate->settings().setEnabledCalendarIDs(app::CalendarIDSet{u"a"_s});
    EXPECT_EQ(delegate->store().enabledCalendarIDs(), (QSet<QString>{u"a"_s}));
}

// A root whose measured height depends on the panel's height, the way a screen
// that fills the room it is given can keep changing its mind.
class RestlessRoot : public QWidget {
public:
    explicit RestlessRoot(app::AppState& state) : m_state(state) {}
    int reports = 0;

protected:
    void resizeEvent(QResizeEvent*) override {
        ++reports;
        m_state.reportContentHeight(height() == 300 ? 400 : 300);
    }

private:
    app::AppState& m_state;
};

TEST_F(Shell, ContentHeightThatKeepsChangingStopsAfterAFewRounds) {
    launch();
    delegate.reset();
    app::AppDelegate shell(app::PlatformServices{defaults, ek, systemEvents, hotKeys, appearance, item, workspace, haptics, sound, loginItem, imageLoader, textRecognizer, dataDetector});
    auto* root = new RestlessRoot(shell.appState());
    app::StatusItemController controller(shell.environment(), item, appearance, [root]() -> QWidget* { return root; });
    controller.showPopover();
    root->reports = 0;
    shell.appState().reportContentHeight(250);
    EXPECT_LE(root->reports, 5);
    EXPECT_TRUE(controller.panel().height() == 300 || controller.panel().height() == 400);
}

// The opening fades and zooms in over 0.18 s, the closing fades out over 0.12 s and only
// then lets the panel go.
TEST(PanelMotion, TheOpeningTakes180MsAndTheClosing120Ms) {
    testsupport::AnimationClock animations;
    auto* root = new QWidget;
    app::PopoverPanel panel([root]() -> QWidget* { return root; });
    panel.setAnimationPolicy([] { return true; });
    panel.show();
    panel.animateOpen(182);
    animations.advance(179);
    EXPECT_NE(root->graphicsEffect(), nullptr) << "still fading in";
    animations.advance(1);
    EXPECT_EQ(root->graphicsEffect(), nullptr) << "drawn plainly once open";

    int closed = 0;
    panel.animateClose(182, [&closed] { ++closed; });
    animations.advance(119);
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(panel.isAnimatingClose());
    animations.advance(1);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(panel.isAnimatingClose());
}

// The tray's pictures as they were last reviewed: the countdown pill and the calendar symbol.
TEST(TrayPictures, ThePillAndTheSymbolLookAsReviewed) {
    for (const bool dark : {false, true}) {
        design::Theme::setAppearance({.isDark = dark});
        const QString appearance = dark ? u"dark"_s : u"light"_s;
        EXPECT_TRUE(testsupport::matchesReference(app::statusicons::pill(u"Standup in 10m"_s, 6),
                                                  u"tray-pill-"_s + appearance));
        EXPECT_TRUE(
            testsupport::matchesReference(app::statusicons::calendarSymbol(dark), u"tray-symbol-"_s + appearance));
    }
    design::Theme::setAppearance({});
}

TEST(PanelHeight, FollowsTheContentWithinItsLimits) {
    using namespace app::popover;
    EXPECT_EQ(panelHeight(300.2, 680), 301);
    EXPECT_EQ(panelHeight(50, 680), 120);
    EXPECT_EQ(panelHeight(900, 680), 680);
    EXPECT_EQ(panelHeight(50, 100), 100);  // a lower maximum wins over the minimum
    EXPECT_FALSE(needsResize(QSizeF(364, 300.9), panelHeight(300.4, 680)));
    EXPECT_TRUE(needsResize(QSizeF(363, 301), 301));
    EXPECT_TRUE(needsResize(QSizeF(364, 300.4), 301));
}

TEST(PanelHeight, TheMaximumFollowsTheRoomButNeverFallsBelow240) {
    using namespace app::popover;
    const QRectF screen(0, 0, 1280, 800);
    EXPECT_EQ(place(QRectF(600, 0, 24, 24), screen, QSizeF(364, 300)).maxContentHeight, 680);
    EXPECT_EQ(place(QRectF(600, 0, 24, 24), QRectF(0, 0, 1280, 400), QSizeF(364, 300)).maxContentHeight,
              400 - 8 - 36);
    // Room for 200 only: 240 all the same.
    EXPECT_EQ(place(QRectF(600, 0, 24, 24), QRectF(0, 0, 1280, 244), QSizeF(364, 300)).maxContentHeight, 240);
    EXPECT_EQ(place(QRectF(600, 0, 24, 24), QRectF(), QSizeF(364, 300)).maxContentHeight, std::nullopt);
}

TEST(PanelHeight, PanelKeepsItsLeftEdgeOnAHeightChangeAndClampsToTheScreen) {
    using namespace app::popover;
    const QRectF screen(0, 0, 1280, 800);
    EXPECT_EQ(place(QRectF(1270, 0, 10, 24), screen, QSizeF(364, 300)).topLeft, QPointF(1280 - 364 - 8, 36));
    EXPECT_EQ(place(QRectF(0, 0, 10, 24), screen, QSizeF(364, 300)).topLeft, QPointF(8, 36));
    EXPECT_EQ(place(QRectF(1270, 0, 10, 24), screen, QSizeF(364, 300), 100.0).topLeft, QPointF(100, 36));
    // Narrower than the panel and both margins: the right margin wins.
    EXPECT_EQ(place(QRectF(100, 0, 10, 24), QRectF(0, 0, 300, 800), QSizeF(364, 300)).topLeft.x(), 300 - 364 - 8);
    EXPECT_EQ(anchorX(QRectF(1270, 0, 10, 24), QRectF(908, 36, 364, 300)), 364);
    EXPECT_EQ(anchorX(std::nullopt, QRectF(908, 36, 364, 300)), 182);
}

}  // namespace
