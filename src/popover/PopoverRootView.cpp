#include "popover/PopoverRootView.h"

#include "design/values/Theme.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "editor/EventEditView.h"
#include "imageimport/flow/ImageDropTarget.h"
#include "imageimport/flow/ImageDropZone.h"
#include "imageimport/flow/ImageImportView.h"
#include "popover/AccessDeniedView.h"
#include "popover/AccessFlows.h"
#include "popover/PermissionsView.h"
#include "popover/PopoverMainView.h"
#include "popover/UndoToast.h"
#include "popover/UndoToastModel.h"
#include "quickadd/QuickCreateView.h"
#include "state/AppEnvironment.h"
#include "state/AppState.h"
#include "state/PlatformWords.h"
#include "state/Updater.h"
#include "store/CalendarStore.h"

#include <QAccessible>
#include <QEasingCurve>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace popover {

namespace {

constexpr int kToastSide = 20;
constexpr int kToastBottom = 76;
constexpr int kToastMotionMs = 200;

using Kind = app::PopoverRoute::Kind;

bool reduceMotion() {
    return design::Theme::appearance().reduceMotion;
}

}  // namespace

// Drawn over everything else: the rounded corners cut out of whatever the
// screens painted there, and the border.
class PopoverRootView::Frame final : public QWidget {
public:
    explicit Frame(QWidget* parent) : QWidget(parent) { design::makeOverlay(this); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const design::Shape shape = design::Shape::rounded(kCornerRadius);
        QPainterPath outside;
        outside.addRect(QRectF(rect()));
        outside = outside.subtracted(shape.path(QRectF(rect())));
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillPath(outside, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        shape.strokeBorder(painter, QRectF(rect()), design::toQColor(design::Theme::line()), 1);
    }
};

PopoverRootView::PopoverRootView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_toastModel(new UndoToastModel(environment.store, this)),
      m_toast(new UndoToast(this)),
      m_toastMotion(new QVariantAnimation(this)),
      m_dropTarget(new imageimport::ImageDropTarget(environment, this)),
      m_frame(new Frame(this)) {
    setObjectName(u"PopoverRootView"_s);
    setFont(design::ODFont::body(13));
    design::followAppearance(this);

    m_toast->hide();
    m_toastMotion->setDuration(kToastMotionMs);
    connect(m_toastMotion, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_toastPresence = value.toReal();
        placeToast();
    });
    connect(m_toastMotion, &QVariantAnimation::finished, this, [this] {
        if (m_toastPresence <= 0)
            m_toast->hide();
    });
    connect(m_toast, &UndoToast::undoClicked, m_toastModel, &UndoToastModel::undo);
    connect(m_toast, &UndoToast::hoveredChanged, m_toastModel, &UndoToastModel::setHovering);
    connect(m_toastModel, &UndoToastModel::changed, this, &PopoverRootView::updateToast);
    connect(m_toastModel, &UndoToastModel::toastShown, this, &PopoverRootView::bringToastIn);
    connect(m_toastModel, &UndoToastModel::expired, this, &PopoverRootView::takeToastOut);

    // A failure the screen that met it can no longer show (its screen is gone, or
    // it came while the popover was closed). Onboarding tells its own.
    connect(&m_env.store, &store::CalendarStore::lastErrorChanged, this, [this] {
        const std::optional<QString> message = m_env.store.lastError();
        if (message && m_shown.kind() != Kind::onboarding)
            m_toastModel->showNotice(*message);
    });
    m_toastModel->setSeen(isVisible());

    m_dropTarget->announce = [this](const QString& text) { design::announce(this, text); };
    connect(&m_env.appState, &app::AppState::routeChanged, this, &PopoverRootView::showRoute);
    connect(&m_env.store, &store::CalendarStore::eventAccessChanged, this, &PopoverRootView::showRoute);
    m_shown = effectiveRoute(m_env.appState.route(), m_env.store);
    m_screen = makeScreen(m_shown);
    m_toastModel->setOnMain(m_shown == app::PopoverRoute::main());
    stackOverlays();
    fitContent();
}

PopoverRootView::~PopoverRootView() = default;

void PopoverRootView::showRoute() {
    const app::PopoverRoute route = effectiveRoute(m_env.appState.route(), m_env.store);
    if (route == m_shown && m_screen)
        return;
    m_shown = route;
    // The old screen may be the one whose button changed the route: it goes
    // once that click is over.
    if (m_screen) {
        m_screen->hide();
        m_screen->deleteLater();
    }
    m_screen = makeScreen(route);
    m_toastModel->setOnMain(route == app::PopoverRoute::main());
    stackOverlays();
    fitContent();
}

QWidget* PopoverRootView::makeScreen(const app::PopoverRoute& route) {
    QWidget* screen = nullptr;
    switch (route.kind()) {
        case Kind::main: screen = new PopoverMainView(m_env, app::Updater::shared(), this); break;
        case Kind::onboarding: screen = new PermissionsView(m_env, this); break;
        case Kind::accessDenied: screen = new AccessDeniedView(m_env, this); break;
        case Kind::eventEdit:
            screen = new editor::EventEditView(m_env, route.eventID(), std::nullopt, this);
            break;
        case Kind::eventCreate:
            screen = new editor::EventEditView(m_env, std::nullopt, route.start(), this);
            break;
        case Kind::quickCreate: screen = new quickadd::QuickCreateView(m_env, this); break;
        case Kind::imageImport: screen = new imageimport::ImageImportView(m_env, this); break;
    }
    screen->show();
    return screen;
}

void PopoverRootView::fitContent() {
    if (!m_screen)
        return;
    if (QLayout* layout = m_screen->layout())
        layout->activate();
    // Asked of the screen itself: its layout keeps what it measured while the
    // panel was closed, when its changes reached no layout.
    const int height = design::wantedHeight(*m_screen, kWidth);
    m_screen->setGeometry(0, 0, kWidth, height);
    m_env.appState.reportContentHeight(height);
}

void PopoverRootView::stackOverlays() {
    m_toast->raise();
    m_dropTarget->zone()->raise();
    m_frame->raise();
}

void PopoverRootView::updateToast() {
    m_toastMotion->stop();
    const bool shown = m_toastModel->isShown();
    if (const auto& label = m_toastModel->label())
        m_toast->setLabel(*label);
    m_toast->setError(m_toastModel->error());
    m_toast->setNotice(m_toastModel->notice());
    m_toastPresence = shown ? 1 : 0;
    placeToast();
    m_toast->setVisible(shown);
    stackOverlays();
}

void PopoverRootView::bringToastIn(const QString& label) {
    if (m_toastModel->notice())
        m_toast->setAccessibleDescription(label);
    else
        m_toast->setAccessibleDescription(UndoToast::title(label) + u". "_s +
                                          app::words::spokenCommandShortcut(u"Z"_s) + u" to undo."_s);
    QAccessibleEvent alert(m_toast, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    if (m_toastModel->isShown())
        moveToast(0, QEasingCurve::OutCubic);
}

void PopoverRootView::takeToastOut() {
    moveToast(m_toastPresence, QEasingCurve::InCubic);
}

// Slides the toast from where `from` puts it to where the model wants it.
void PopoverRootView::moveToast(qreal from, QEasingCurve::Type easing) {
    const qreal to = m_toastModel->isShown() ? 1 : 0;
    m_toastMotion->stop();
    if (reduceMotion() || from == to) {
        updateToast();
        return;
    }
    m_toast->show();
    m_toastMotion->setEasingCurve(easing);
    m_toastMotion->setStartValue(from);
    m_toastMotion->setEndValue(to);
    m_toastMotion->start();
}

void PopoverRootView::placeToast() {
    const int toastHeight = m_toast->heightForWidth(width() - 2 * kToastSide);
    const int rest = height() - kToastBottom - toastHeight;
    const int hidden = height();
    const int y = static_cast<int>(std::lround(hidden + (rest - hidden) * m_toastPresence));
    m_toast->setGeometry(kToastSide, y, width() - 2 * kToastSide, toastHeight);
    m_toast->setOpacity(m_toastPresence);
}

QSize PopoverRootView::sizeHint() const {
    return QSize(kWidth, m_screen ? m_screen->height() : 0);
}

bool PopoverRootView::event(QEvent* event) {
    // The screen asks for another size: another day's agenda, a month of six weeks.
    // On show too: what changed while the panel was closed (the reload that
    // opens it) reached no layout, and the panel is to open at its true height.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        fitContent();
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        m_toastModel->setSeen(event->type() == QEvent::Show);
    return QWidget::event(event);
}

void PopoverRootView::resizeEvent(QResizeEvent*) {
    m_frame->setGeometry(rect());
    m_dropTarget->zone()->setGeometry(rect());
    placeToast();
}

void PopoverRootView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::Shape::rounded(kCornerRadius).fill(painter, rect(), design::toQColor(design::Theme::surface()));
}

}  // namespace popover
