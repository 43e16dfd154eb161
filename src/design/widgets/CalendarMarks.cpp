#include "design/widgets/CalendarMarks.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/Painting.h"

#include <QPainter>

#include <cmath>

namespace design {

namespace {

int wholePixels(qreal length) {
    return std::max(0, static_cast<int>(std::ceil(length)));
}

}  // namespace

CalendarDot::CalendarDot(core::Color color, qreal size, QWidget* parent)
    : QWidget(parent), m_color(color), m_size(size) {
    odSquare(this, wholePixels(size));
    setAccessibleRole(this, QAccessible::Graphic);
}

void CalendarDot::setColor(core::Color color) {
    m_color = color;
    update();
}

QSize CalendarDot::sizeHint() const {
    return QSize(wholePixels(m_size), wholePixels(m_size));
}

void CalendarDot::paint(QPainter& painter, const QRectF& area, core::Color color, qreal size) {
    Shape::circle().fill(painter, odSquare(area, size), toQColor(color));
}

void CalendarDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_color, m_size);
}

CalendarPill::CalendarPill(core::Color color, qreal width, qreal height, QWidget* parent)
    : QWidget(parent), m_color(color), m_size(width, height) {
    setFixedSize(wholePixels(width), wholePixels(height));
    setAccessibleRole(this, QAccessible::Graphic);
}

void CalendarPill::setColor(core::Color color) {
    m_color = color;
    update();
}

QSize CalendarPill::sizeHint() const {
    return QSize(wholePixels(m_size.width()), wholePixels(m_size.height()));
}

void CalendarPill::paint(QPainter& painter, const QRectF& rect, core::Color color) {
    Shape::capsule().fill(painter, rect, toQColor(color));
}

void CalendarPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(QPointF(0, 0), m_size), m_color);
}

}  // namespace design
