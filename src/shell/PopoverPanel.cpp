#include "shell/PopoverPanel.h"

#include "design/values/Theme.h"
#include "design/widgets/Painting.h"
#include "platform/windowing/Compositing.h"
#include "shell/PopoverGeometry.h"

#include <QEasingCurve>
#include <QGraphicsEffect>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QResizeEvent>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

constexpr int kOpenMs = 180;
constexpr int kCloseMs = 120;
constexpr double kStartScale = 0.97;
// The root draws its surface with these corners; without a compositor the
// window is cut to them so no dark corners show.
constexpr double kCornerRadius = 16;

}  // namespace

// Draws the panel's content faded and scaled about a point of its top edge.
class ZoomFadeEffect : public QGraphicsEffect {
public:
    using QGraphicsEffect::QGraphicsEffect;

    void set(double opacity, double scale, double originX) {
        m_opacity = opacity;
        m_scale = scale;
        m_originX = originX;
        update();
    }

protected:
    void draw(QPainter* painter) override {
        painter->save();
        painter->setOpacity(m_opacity);
        if (m_scale != 1.0) {
            painter->translate(m_originX, 0);
            painter->scale(m_scale, m_scale);
            painter->translate(-m_originX, 0);
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
        }
        drawSource(painter);
        painter->restore();
    }

private:
    double m_opacity = 1;
    double m_scale = 1;
    double m_originX = 0;
};

PopoverPanel::PopoverPanel(std::function<QWidget*()> makeRoot)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      m_makeRoot(std::move(makeRoot)),
      m_maxContentHeight(popover::kMaxContentHeight),
      m_canAnimate([] { return platform::desktopComposites(); }) {
    setAttribute(Qt::WA_TranslucentBackground);
    setObjectName(QStringLiteral("PopoverPanel"));
    setWindowTitle(QStringLiteral("Orbitday"));
    resize(static_cast<int>(popover::kPanelWidth), static_cast<int>(popover::kMaxContentHeight));
    QMetaObject::invokeMethod(this, [this] { root(); }, Qt::QueuedConnection);
}

QWidget* PopoverPanel::root() {
    if (!m_root) {
        m_root = m_makeRoot();
        m_makeRoot = nullptr;
        m_root->setParent(this);
        m_root->setGeometry(rect());
    }
    return m_root;
}

PopoverPanel::~PopoverPanel() = default;

void PopoverPanel::setContentHeight(double height) {
    const double target = popover::panelHeight(height, m_maxContentHeight);
    if (!popover::needsResize(size(), target))
        return;
    const QRect frame = geometry();
    setGeometry(frame.x(), frame.y(), static_cast<int>(popover::kPanelWidth), static_cast<int>(target));
    if (onSizeChange)
        onSizeChange();
}

void PopoverPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_root)
        m_root->setGeometry(rect());
    updateMask();
}

void PopoverPanel::updateMask() {
    // Cut the corners only where nothing blends the window's transparent pixels.
    const bool wanted = !platform::desktopComposites();
    if (!wanted) {
        if (m_masked)
            clearMask();
        m_masked = false;
        return;
    }
    setMask(design::wholePixels(size(), kCornerRadius));
    m_masked = true;
}

ZoomFadeEffect* PopoverPanel::effect() {
    auto* current = dynamic_cast<ZoomFadeEffect*>(root()->graphicsEffect());
    if (!current) {
        current = new ZoomFadeEffect();
        root()->setGraphicsEffect(current);
    }
    return current;
}

void PopoverPanel::stopAnimation() {
    if (m_animation) {
        m_animation->disconnect(this);
        m_animation->stop();
        m_animation->deleteLater();
    }
    // The content is drawn plainly again: the effect costs a redraw per frame.
    root()->setGraphicsEffect(nullptr);
}

void PopoverPanel::animateOpen(double anchorX) {
    m_isAnimatingClose = false;
    stopAnimation();
    updateMask();
    if (!m_canAnimate())
        return;
    const bool zoom = !design::Theme::appearance().reduceMotion;
    ZoomFadeEffect* fade = effect();
    fade->set(0, zoom ? kStartScale : 1, anchorX);
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(kOpenMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(animation, &QVariantAnimation::valueChanged, this, [fade, zoom, anchorX](const QVariant& value) {
        const double t = value.toDouble();
        fade->set(t, zoom ? kStartScale + (1 - kStartScale) * t : 1, anchorX);
    });
    connect(animation, &QVariantAnimation::finished, this, [this] { stopAnimation(); });
    m_animation = animation;
    animation->start();
}

void PopoverPanel::animateClose(double anchorX, std::function<void()> completion) {
    stopAnimation();
    if (!m_canAnimate()) {
        completion();
        return;
    }
    m_isAnimatingClose = true;
    ZoomFadeEffect* fade = effect();
    fade->set(1, 1, anchorX);
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(1.0);
    animation->setEndValue(0.0);
    animation->setDuration(kCloseMs);
    animation->setEasingCurve(QEasingCurve::InCubic);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [fade, anchorX](const QVariant& value) { fade->set(value.toDouble(), 1, anchorX); });
    connect(animation, &QVariantAnimation::finished, this, [this, completion = std::move(completion)] {
        if (!m_isAnimatingClose)
            return;
        m_isAnimatingClose = false;
        completion();
        // Drawn plainly again for the next opening.
        stopAnimation();
    });
    m_animation = animation;
    animation->start();
}

}  // namespace app
