#include "shell/StatusItemController.h"

#include "core/Clock.h"
#include "design/widgets/KitWidget.h"
#include "imageimport/flow/ImageDropTarget.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImportKeys.h"
#include "platform/appearance/SystemAppearance.h"
#include "platform/statusitem/StatusItem.h"
#include "platform/systemevents/SystemEvents.h"
#include "shell/PopoverGeometry.h"
#include "shell/PopoverPanel.h"
#include "shell/StatusIcons.h"
#include "shell/StatusTitle.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include <array>
#include <cmath>

namespace app {

namespace {

// Measuring, resizing and re-placing can feed each other; after this many
// rounds the last height stays.
constexpr int kMaxHeightRounds = 4;
// A click on the tray item that arrives this soon after the same click took
// the activation away (and so closed the popover) only closes it.
constexpr qint64 kDeactivationClickMs = 400;

core::Date nextMinute(core::Date now) {
    // Every zone in use is a whole number of minutes off UTC, so its minutes
    // start when UTC's do.
    return core::Date(std::floor(now.secondsSince1970() / 60.0) * 60.0 + 60.0);
}

// Panels scale the icon to their own height, often above 16 pixels: a second,
// doubled image keeps it sharp there.
constexpr std::array<qreal, 2> kIconScales{1.0, 2.0};

}  // namespace

StatusItemController::StatusItemController(AppEnvironment& environment, platform::StatusItem& item,
                                           const platform::SystemAppearance& desktop,
                                           std::function<QWidget*()> makeRoot, QObject* parent)
    : QObject(parent),
      m_env(environment),
      m_item(item),
      m_desktop(desktop),
      m_panel(new PopoverPanel(std::move(makeRoot))) {
    connect(&m_item, &platform::StatusItem::activated, this, &StatusItemController::onActivated);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window && window == m_panel->windowHandle())
            m_panelActivated = true;
    });
    m_panel->onSizeChange = [this] { positionPanel(true); };
    // Registered on the panel itself: Qt fires a shortcut only while what
    // carries it is shown, and the menus that name this one mostly are not.
    auto* importKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), m_panel);
    connect(importKey, &QShortcut::activated, this, [this] {
        if (imageimport::importKeysApply(m_env.appState, m_env.store))
            m_env.appState.imageImport().chooseFile();
    });
    new imageimport::ImagePasteKey(m_env, m_panel);
    // What an import found is said over the popover, where it shows.
    m_env.appState.imageImport().setAnnouncer([panel = QPointer<QWidget>(m_panel)](const QString& text) {
        if (panel)
            design::announce(panel, text);
    });
    m_env.appState.onContentHeightChange = [this](double) { onContentHeightChange(); };

    AppSettings& settings = m_env.settings;
    connect(&m_env.store, &store::CalendarStore::eventsChanged, this, &StatusItemController::updateButton);
    connect(&settings, &AppSettings::menuBarDisplayModeChanged, this, &StatusItemController::updateButton);
    connect(&settings, &AppSettings::dateFormatChanged, this, &StatusItemController::updateButton);
    connect(&settings, &AppSettings::showMeetingCountdownChanged, this, &StatusItemController::updateButton);
    connect(&settings, &AppSettings::meetingCountdownLeadTimeChanged, this, &StatusItemController::updateButton);
    // The symbol is drawn for the desktop's scheme, whatever the popover's appearance.
    connect(&m_desktop, &platform::SystemAppearance::changed, this, &StatusItemController::updateButton);
    // Timers do not count through a suspend, and the day may change under them.
    for (const auto signal : {&platform::SystemEvents::resumed, &platform::SystemEvents::dayChanged,
                              &platform::SystemEvents::timeZoneChanged}) {
        connect(&m_env.systemEvents, signal, this, [this] {
            scheduleMinuteTimer();
            updateButton();
        });
    }
    connect(&m_minuteTimer, &core::ClockTimer::timeout, this, [this] {
        scheduleMinuteTimer();
        updateButton();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &StatusItemController::onApplicationStateChanged);

    scheduleMinuteTimer();
    updateButton();
}

StatusItemController::~StatusItemController() {
    removeMonitors();
    m_env.appState.onContentHeightChange = nullptr;
    delete m_panel;
}

void StatusItemController::scheduleMinuteTimer() {
    m_minuteTimer.startAt(nextMinute(core::Date::now()));
}

void StatusItemController::updateButton() {
    const StatusPresentation shown = statusPresentation(m_env.store, m_env.settings, core::Date::now());
    platform::StatusItemContent content;
    content.title = shown.title;
    // Where nothing but the title would show, the calendar symbol still does: a
    // tray item needs an icon, and most panels show no text beside it.
    for (const qreal scale : kIconScales) {
        content.icons.push_back(statusicons::toStatusIcon(
            shown.pill ? statusicons::pill(*shown.pill, shown.pillLeadingGap, scale)
                       : statusicons::calendarSymbol(m_desktop.state().isDark, scale)));
    }
    // Where the panel's icon theme has a calendar, it is drawn in the panel's colours.
    if (!shown.pill)
        content.iconName = QStringLiteral("x-office-calendar-symbolic");
    content.toolTip = shown.toolTip.value_or(QString());
    content.accessibleName = shown.accessibleText;
    m_item.setContent(content);
}

bool StatusItemController::isShowingPopover() const {
    return m_panel->isVisible() && !m_panel->isAnimatingClose();
}

void StatusItemController::togglePopover() {
    if (isShowingPopover())
        closePopover();
    else
        showPopover();
}

void StatusItemController::onActivated(std::optional<QPointF> at) {
    if (at)
        m_lastClick = at;
    if (m_closedByDeactivation.isValid() && m_closedByDeactivation.elapsed() < kDeactivationClickMs) {
        m_closedByDeactivation.invalidate();
        return;
    }
    togglePopover();
}

void StatusItemController::showPopover() {
    AppState& state = m_env.appState;
    store::CalendarStore& store = m_env.store;
    if (store.eventAccess() == model::AccessStatus::notDetermined)
        state.setRoute(PopoverRoute::onboarding());
    else if (store.isAccessDenied() && state.route() == PopoverRoute::main())
        state.setRoute(PopoverRoute::accessDenied());
    store.reload();

    // Its content reports the height the panel takes.
    m_panel->root();
    positionPanel(false);
    m_panel->setContentHeight(state.popoverContentHeight() > 0 ? state.popoverContentHeight()
                                                               : state.popoverMaxHeight());
    positionPanel(false);
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
    // Still the focus window from an opening a moment ago: no new focus change comes then.
    m_panelActivated = QGuiApplication::focusWindow() == m_panel->windowHandle();
    m_panel->animateOpen(iconAnchorX());
    state.setPopoverOpen(true);
    removeMonitors();
    installMonitors();
}

void StatusItemController::closePopover() {
    if (!isShowingPopover())
        return;
    m_panel->animateClose(iconAnchorX(), [panel = m_panel] { panel->hide(); });
    removeMonitors();
    AppState& state = m_env.appState;
    state.setPopoverOpen(false);
    state.imageImport().cancel();
    // The review stays behind a file chooser it opened, edits and all, to come back
    // as it was when the choice is cancelled.
    if (!state.route().is(PopoverRoute::Kind::onboarding) && !state.imageImport().isChoosingForReview())
        state.setRoute(PopoverRoute::main());
}

void StatusItemController::onContentHeightChange() {
    if (m_isApplyingHeight)
        return;
    m_isApplyingHeight = true;
    double height = m_env.appState.popoverContentHeight();
    for (int round = 0; round < kMaxHeightRounds && height > 0 && m_panel->isVisible(); ++round) {
        m_panel->setContentHeight(height);
        const double measured = m_env.appState.popoverContentHeight();
        if (measured == height)
            break;
        height = measured;
    }
    m_isApplyingHeight = false;
}

std::optional<QRectF> StatusItemController::anchor() const {
    if (m_lastClick)
        return QRectF(*m_lastClick, QSizeF(0, 0));
    return m_item.geometry();
}

void StatusItemController::positionPanel(bool keepX) {
    const std::optional<QRectF> known = anchor();
    QScreen* screen = known ? QGuiApplication::screenAt(known->center().toPoint()) : nullptr;
    if (!screen)
        screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRectF visible = screen->availableGeometry();
    const QRectF itemRect = known.value_or(popover::cornerAnchor(visible));
    const QRectF frame = m_panel->geometry();
    const popover::Placement placement =
        popover::place(itemRect, visible, frame.size(), keepX ? std::optional<double>(frame.left()) : std::nullopt);
    if (placement.maxContentHeight) {
        m_panel->setMaxContentHeight(*placement.maxContentHeight);
        if (std::abs(m_env.appState.popoverMaxHeight() - *placement.maxContentHeight) > popover::kTolerance)
            m_env.appState.setPopoverMaxHeight(*placement.maxContentHeight);
    }
    m_panel->move(placement.topLeft.toPoint());
}

double StatusItemController::iconAnchorX() const {
    return popover::anchorX(anchor(), QRectF(m_panel->geometry()));
}

void StatusItemController::installMonitors() {
    qApp->installEventFilter(this);
    m_monitoring = true;
}

void StatusItemController::removeMonitors() {
    if (!m_monitoring)
        return;
    qApp->removeEventFilter(this);
    m_monitoring = false;
}

void StatusItemController::onApplicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive || !m_monitoring)
        return;
    // Our own windows (the settings window, the consent prompt) keep the
    // application active; anything else taking the keyboard is an outside
    // click. The news of an earlier closing can arrive just after an opening,
    // with the panel's own activation right behind it: decide once that has
    // been taken in.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QGuiApplication::applicationState() == Qt::ApplicationActive || !m_monitoring || !m_panelActivated ||
                !isShowingPopover())
                return;
            closePopover();
            m_closedByDeactivation.start();
        },
        Qt::QueuedConnection);
}

bool StatusItemController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_panel)
        return false;
    handleEscape();
    return true;
}

void StatusItemController::handleEscape() {
    AppState& state = m_env.appState;
    if (state.offerEscape())
        return;
    using Kind = PopoverRoute::Kind;
    switch (state.route().kind()) {
        case Kind::main:
        case Kind::onboarding:
        case Kind::accessDenied: closePopover(); break;
        case Kind::eventEdit:
        case Kind::eventCreate:
        case Kind::quickCreate:
        case Kind::imageImport: state.setRoute(PopoverRoute::main()); break;
    }
}

}  // namespace app
