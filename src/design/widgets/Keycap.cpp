#include "design/widgets/Keycap.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kHorizontalPadding = 6;
constexpr qreal kVerticalPadding = 2;
constexpr qreal kCornerRadius = 5;

constexpr qreal kAccentHorizontalPadding = 5;
constexpr qreal kAccentVerticalPadding = 2;
constexpr qreal kAccentCornerRadius = 4;
constexpr qreal kAccentPlateOpacity = 0.18;

QFont keycapFont() {
    return ODFont::body(11, FontWeight::semibold);
}

QFont accentKeycapFont() {
    return ODFont::body(10, FontWeight::bold);
}

QSizeF plateSize(const QString& text, const QFont& font, qreal horizontal, qreal vertical, qreal minimumWidth) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text) + 2 * horizontal;
    return QSizeF(std::max(minimumWidth, width), metrics.height() + 2 * vertical);
}

void drawCentred(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color) {
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

}  // namespace

KeyLabel::KeyLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(text);
    followAppearance(this);
}

void KeyLabel::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize KeyLabel::sizeHint() const {
    const QSizeF size = measure(m_text);
    return QSize(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())));
}

void KeyLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter, QRectF(rect()), m_text);
}

QSizeF Keycap::sizeFor(const QString& text) {
    return plateSize(text, keycapFont(), kHorizontalPadding, kVerticalPadding, kMinimumWidth);
}

void Keycap::paint(QPainter& painter, const QRectF& rect, const QString& text) {
    const Shape shape = Shape::rounded(kCornerRadius);
    shape.fill(painter, rect, toQColor(Theme::card()));
    shape.strokeBorder(painter, rect, toQColor(Theme::line()), 1);
    drawCentred(painter, rect, text, keycapFont(), toQColor(Theme::text2()));
}

QSizeF AccentKeycap::sizeFor(const QString& text) {
    return plateSize(text, accentKeycapFont(), kAccentHorizontalPadding, kAccentVerticalPadding, kMinimumWidth);
}

QSizeF AccentKeycap::sizeFor(const QString& text, qreal horizontalPadding) {
    return plateSize(text, accentKeycapFont(), horizontalPadding, kAccentVerticalPadding, 0);
}

void AccentKeycap::paint(QPainter& painter, const QRectF& rect, const QString& text) {
    Shape::rounded(kAccentCornerRadius).fill(painter, rect, toQColor(Theme::ink().withAlpha(kAccentPlateOpacity)));
    drawCentred(painter, rect, text, accentKeycapFont(), toQColor(Theme::onAccent()));
}

}  // namespace design
