#include "alerts/MeetingCardPanel.h"

#include "alerts/CardPlacement.h"
#include "alerts/MeetingCardView.h"
#include "design/values/Theme.h"
#include "design/widgets/Painting.h"
#include "platform/windowing/Compositing.h"
#include "platform/windowing/Workspaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariantAnimation>

namespace alerts {

namespace {

// The card's corners; without a compositor the window is cut to them.
constexpr double kCornerRadius = 16;

}  // namespace

MeetingCardPanel::MeetingCardPanel(app::AppSettings& settings, platform::Workspace& workspace,
                                   std::function<std::optional<QRectF>()> anchor)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      m_settings(settings),
      m_workspace(workspace),
      m_anchor(std::move(anchor)),
      m_canAnimate([] { return platform::desktopComposites() && !design::Theme::appearance().reduceMotion; }) {
    setAttribute(Qt::WA_TranslucentBackground);
    // Whoever types elsewhere keeps typing there when a card comes; a click on
    // the card gives it the keyboard, so that its buttons can be reached by Tab.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("MeetingCardPanel"));
    setWindowTitle(QStringLiteral("Orbitday"));
    create();
    platform::keepOnAllWorkspaces(windowHandle());
}

MeetingCardPanel::~MeetingCardPanel() {
    stopFade();
}

void MeetingCardPanel::present(const model::ODEvent& event, MeetingCardActions actions) {
    if (m_card == nullptr)
        m_card = new MeetingCardView(m_settings, m_workspace, this);
    m_card->setEvent(event, std::move(actions));
    fitAndPlace();
    if (isShowingCard())
        return;
    // A new card, or one coming back while the last faded away.
    m_withdrawing = false;
    stopFade();
    const bool animate = m_canAnimate();
    setWindowOpacity(animate ? 0.0 : 1.0);
    show();
    raise();
    if (animate)
        fade(1.0, kFadeInMs);
}

void MeetingCardPanel::withdraw() {
    if (!isShowingCard())
        return;
    m_withdrawing = true;
    stopFade();
    if (!m_canAnimate()) {
        m_withdrawing = false;
        hide();
        return;
    }
    fade(0.0, kFadeOutMs);
}

void MeetingCardPanel::fade(double to, int ms) {
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(windowOpacity());
    animation->setEndValue(to);
    animation->setDuration(ms);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setWindowOpacity(value.toDouble()); });
    connect(animation, &QVariantAnimation::finished, this, [this] {
        if (m_withdrawing) {
            m_withdrawing = false;
            hide();
        }
        stopFade();
    });
    m_fade = animation;
    animation->start();
}

void MeetingCardPanel::stopFade() {
    if (!m_fade)
        return;
    m_fade->disconnect(this);
    m_fade->stop();
    m_fade->deleteLater();
    m_fade = nullptr;
}

void MeetingCardPanel::fitAndPlace() {
    const QSize size = m_card->sizeHint();
    m_card->setGeometry(QRect(QPoint(0, 0), size));
    resize(size);
    const std::optional<QRectF> anchor = m_anchor ? m_anchor() : std::nullopt;
    QScreen* screen = anchor ? QGuiApplication::screenAt(anchor->center().toPoint()) : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    // With no screen at all the card keeps its place.
    if (screen == nullptr)
        return;
    move(cardTopLeft(anchor, screen->availableGeometry(), size).toPoint());
}

void MeetingCardPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateMask();
}

void MeetingCardPanel::updateMask() {
    // Cut the corners only where nothing blends the window's transparent pixels.
    if (platform::desktopComposites()) {
        clearMask();
        return;
    }
    setMask(design::wholePixels(size(), kCornerRadius));
}

}  // namespace alerts
