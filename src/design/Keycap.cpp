#include "design/Keycap.h"

#include "design/KitWidget.h"
#include "design/ODFont.h"
#include "design/Painting.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kHorizontalPadding = 6;
constexpr qreal kVerticalPadding = 2;
constexpr qreal kCornerRadius = 5;

QFont keycapFont() {
    return ODFont::body(11, FontWeight::semibold);
}

QFont accentKeycapFont() {
    return ODFont::body(10, FontWeight::bold);
}

constexpr qreal kAccentPlateOpacity = 0.18;

QSize wholeSize(const QSizeF& size) {
    return QSize(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())));
}

}  // namespace

Keycap::Keycap(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(text);
    followAppearance(this);
}

void Keycap::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSizeF Keycap::sizeFor(const QString& text) {
    const QFontMetricsF metrics(keycapFont());
    const qreal width = metrics.horizontalAdvance(text) + 2 * kHorizontalPadding;
    return QSizeF(std::max(kMinimumWidth, width), metrics.height() + 2 * kVerticalPadding);
}

QSize Keycap::sizeHint() const {
    return wholeSize(sizeFor(m_text));
}

void Keycap::paint(QPainter& painter, const QRectF& rect, const QString& text) {
    const Shape shape = Shape::rounded(kCornerRadius);
    shape.fill(painter, rect, toQColor(Theme::card()));
    shape.strokeBorder(painter, rect, toQColor(Theme::line()), 1);
    painter.save();
    painter.setFont(keycapFont());
    painter.setPen(toQColor(Theme::text2()));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void Keycap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_text);
}

AccentKeycap::AccentKeycap(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(text);
    followAppearance(this);
}

void AccentKeycap::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSizeF AccentKeycap::sizeFor(const QString& text) {
    const QFontMetricsF metrics(accentKeycapFont());
    const qreal width = metrics.horizontalAdvance(text) + 2 * 5;
    return QSizeF(std::max(kMinimumWidth, width), metrics.height() + 2 * 2);
}

QSize AccentKeycap::sizeHint() const {
    return wholeSize(sizeFor(m_text));
}

void AccentKeycap::paint(QPainter& painter, const QRectF& rect, const QString& text) {
    Shape::rounded(4).fill(painter, rect, toQColor(Theme::ink().withAlpha(kAccentPlateOpacity)));
    painter.save();
    painter.setFont(accentKeycapFont());
    painter.setPen(toQColor(Theme::onAccent()));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void AccentKeycap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_text);
}

}  // namespace design
